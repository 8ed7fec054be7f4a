#pragma once

#include "model/dataset.h"
#include "model/history.h"

#include <QObject>
#include <QSet>
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
    // Only these elements of the current state changed (the slots a drawing
    // stroke wrote into): observers that keep pictures redraw just those.
    void elementsChanged(const QSet<int>& indexes);
    // What an editor's title and the undo and redo commands show may have
    // changed: the modified state, undo or redo availability, the name.
    void statusChanged();
};

// What an editor keeps beside its item in every undo state: nothing, unless
// the editor has its own, such as a selection.
struct NoExtra {
    // A step is about to change the item.
    void itemEdited() {}
};

// A document over a history of whole copies of one item class, each with
// the editor's extra state.
template<typename Item, typename Extra = NoExtra>
class ItemDocument : public Document {
public:
    struct State {
        Item item;
        Extra extra;
    };
    // Changes a state; returns whether it changed anything.
    using Change = std::function<bool(Item&, Extra&)>;

    explicit ItemDocument(const Item& item)
        : history_(State {item, Extra()})
    {
    }

    const Item& current() const { return history_.current().item; }
    const Extra& extra() const { return history_.current().extra; }
    const Dataset& dataset() const override { return current(); }
    QSharedPointer<Dataset> copy() const override { return QSharedPointer<Item>::create(current()); }

    // Applies a change as one undo step. A change that leaves the item as it
    // was records nothing and returns false.
    bool edit(const std::function<void(Item&)>& change)
    {
        return step([&change](Item& item, Extra&) {
            const Item before = item;
            change(item);
            return !(item == before);
        });
    }

    // Applies a change of the item and the extra as one undo step, unless
    // the change says it changed nothing. The extra is told the item changes
    // before the change runs, which may restore what it must keep. With
    // elements given (filled by the change), only those elements changed.
    bool step(const Change& change, const QSet<int>* elements = nullptr)
    {
        State next = history_.current();
        next.extra.itemEdited();
        if (!change(next.item, next.extra))
            return false;
        history_.push();
        history_.current() = std::move(next);
        announce(elements);
        emit statusChanged();
        return true;
    }

    // Continues the current step (the rest of a drawing stroke): changes the
    // current state without recording a step of its own.
    void amend(const Change& change, const QSet<int>* elements = nullptr)
    {
        if (change(history_.current().item, history_.current().extra))
            announce(elements);
    }

    // Changes a view setting that belongs to every state and is no step of
    // its own, such as the size of a list.
    void changeSetting(const std::function<void(Item&)>& change)
    {
        history_.changeEveryState([&change](State& state) { change(state.item); });
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
        history_.changeEveryState([&name](State& state) { state.item.name = name; });
        emit statusChanged();
    }

private:
    void announce(const QSet<int>* elements)
    {
        if (elements)
            emit elementsChanged(*elements);
        else
            emit changed();
    }

    void moved(bool didMove)
    {
        if (!didMove)
            return;
        emit changed();
        emit statusChanged();
    }

    History<State> history_;
};
