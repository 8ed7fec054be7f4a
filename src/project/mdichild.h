#pragma once

#include "model/itemkind.h"

#include <QVariantList>
#include <QWidget>

class QMdiArea;

// The project item an editor window edits: its item node kind and identifier.
struct ItemKey {
    int nodeKind = -1;
    qint32 id = -1;

    ItemKind kind() const { return itemKindOf(nodeKind); }
    // The form the project tree keeps as node data.
    QVariantList toVariantList() const { return {nodeKind, id}; }
    bool operator==(const ItemKey& other) const { return nodeKind == other.nodeKind && id == other.id; }
    bool operator!=(const ItemKey& other) const { return !(*this == other); }
};

// Base of every editor window in the main window's multi-document area. An
// editor works on its own copy of one project item, named by itemKey, and
// hands the copy back to the project when the user saves it.
class MdiChild : public QWidget {
    Q_OBJECT

public:
    MdiChild(int nodeKind, qint32 id, QWidget* parent = nullptr);

    virtual void undo() {}
    virtual void redo() {}
    virtual bool canUndo() const { return false; }
    virtual bool canRedo() const { return false; }
    // The item was renamed in the project tree.
    virtual void setName(const QString& name) = 0;
    // The editor holds changes not yet handed back to the project.
    virtual bool isModified() const = 0;
    // Drop cached pictures and redraw, after a dataset it shows changed.
    virtual void invalidateCache() = 0;
    // Hands the current state to the project, as the editor's save command
    // does (before the project is written).
    virtual void handBack() = 0;

    const ItemKey itemKey;
    bool closing = false;    // the editor accepted its close event
    bool forceClose = false; // close without asking: its item is being deleted
    bool maximizedBeforeMinimized = false; // restored maximized

signals:
    void titleUpdated();
    void menuUpdated();
};

// The editor windows of the area, in creation order, skipping closing ones.
QList<MdiChild*> editorWindows(const QMdiArea* area);
// The open editor of the item, or null.
MdiChild* findEditor(const QMdiArea* area, const ItemKey& key);
