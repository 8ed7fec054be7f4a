#pragma once

#include "project/mdichild.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSharedPointer>
#include <QStringList>

// What happened to a fake editor. Kept apart from the editor because an
// editor deletes itself once it accepted its close event.
struct FakeEditorLog {
    int closeRequests = 0;  // close events received
    int closesAccepted = 0; // close events accepted
    bool forcedWhenClosed = false; // forceClose was set when the close was accepted
    int undoCalls = 0;
    int redoCalls = 0;
    int invalidateCalls = 0;
    int handBacks = 0; // states handed to the project
    QStringList names; // every setName
};

// A stand-in editor window for the main window's multi-document area. Like a
// real editor it refuses to close while it holds unsaved changes, unless its
// item is being deleted (forceClose); refuseAlways makes it refuse even then.
class FakeEditor : public MdiChild {
public:
    FakeEditor(int nodeKind, qint32 id, const QSharedPointer<FakeEditorLog>& log = {})
        : MdiChild(nodeKind, id)
        , log(log ? log : QSharedPointer<FakeEditorLog>::create())
    {
        resize(120, 80);
    }

    void undo() override { ++log->undoCalls; }
    void redo() override { ++log->redoCalls; }
    bool canUndo() const override { return undoAvailable; }
    bool canRedo() const override { return redoAvailable; }
    void setName(const QString& name) override { log->names.append(name); }
    bool isModified() const override { return modified; }
    void invalidateCache() override { ++log->invalidateCalls; }
    // Like a real editor's save: the project gets the state, the editor is saved.
    void handBack() override
    {
        ++log->handBacks;
        modified = false;
    }

    bool modified = false;
    bool undoAvailable = false;
    bool redoAvailable = false;
    bool refuseAlways = false;
    QSharedPointer<FakeEditorLog> log;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++log->closeRequests;
        if (refuseAlways || (modified && !forceClose)) {
            event->ignore();
            return;
        }
        closing = true;
        ++log->closesAccepted;
        log->forcedWhenClosed = forceClose;
        event->accept();
    }
};

// Puts the editor into the area as a small, shown and active window.
inline QMdiSubWindow* addFakeEditor(QMdiArea* area, FakeEditor* editor)
{
    QMdiSubWindow* window = area->addSubWindow(editor);
    window->resize(160, 120);
    window->show();
    area->setActiveSubWindow(window);
    return window;
}
