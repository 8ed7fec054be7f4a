#pragma once

#include "model/dataset.h"
#include "model/history.h"

#include <QObject>
#include <QSharedPointer>

#include <functional>

// The working copy of one project item as an editor holds it, with its undo
// history and saved state. Panes observe a document through its signals and
// read its current state; only the document changes it.
class Document : public QObject {
    Q_OBJECT

public:
    // The current state as a project item, for look-ups by other editors.
    virtual const Dataset& dataset() const = 0;
    // A copy of the current state, to hand to the project.
    virtual QSharedPointer<Dataset> copy() const = 0;

    virtual bool canUndo() const = 0;
    virtual bool canRedo() const = 0;
    virtual void undo() = 0;
    virtual void redo() = 0;
    // The document holds changes not yet handed back to the project.
    virtual bool isModified() const = 0;
    // The current state was handed to the project, or its changes given up.
    virtual void markSaved() = 0;
    // The item was renamed: every state takes the name, so undo keeps it.
    virtual void setName(const QString& name) = 0;

signals:
    // The current state changed: an edit, an undo or redo, a view setting.
    void changed();
    // What an editor's title and the undo and redo commands show may have
    // changed: the modified state, undo or redo availability, the name.
    void statusChanged();
};

// A document over a history of whole copies of one item class.
template<typename Item>
class ItemDocument : public Document {
public:
    explicit ItemDocument(const Item& item)
        : history_(item)
    {
    }

    const Item& current() const { return history_.current(); }
    const Dataset& dataset() const override { return current(); }
    QSharedPointer<Dataset> copy() const override { return QSharedPointer<Item>::create(current()); }
    const History<Item>& history() const { return history_; }

    // Applies a change as one undo step. A change that leaves the item as it
    // was records nothing and returns false.
    bool edit(const std::function<void(Item&)>& change)
    {
        Item changedItem = current();
        change(changedItem);
        if (changedItem == current())
            return false;
        history_.push();
        history_.current() = std::move(changedItem);
        emit changed();
        emit statusChanged();
        return true;
    }

    // Changes a view setting that belongs to every state and is no step of
    // its own, such as the size of a list.
    void changeSetting(const std::function<void(Item&)>& change)
    {
        history_.changeEveryState(change);
        emit changed();
    }

    bool canUndo() const override { return history_.canUndo(); }
    bool canRedo() const override { return history_.canRedo(); }
    void undo() override { moved(history_.undo()); }
    void redo() override { moved(history_.redo()); }
    bool isModified() const override { return history_.isModified(); }
    void markSaved() override
    {
        history_.markSaved();
        emit statusChanged();
    }
    void setName(const QString& name) override
    {
        history_.changeEveryState([&name](Item& item) { item.name = name; });
        emit statusChanged();
    }

private:
    void moved(bool didMove)
    {
        if (!didMove)
            return;
        emit changed();
        emit statusChanged();
    }

    History<Item> history_;
};
