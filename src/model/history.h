#pragma once

#include <QList>

#include <optional>

// An editor's undo history of whole copies of its state. Every edit first
// records a step (push), then changes current(); undo and redo only move the
// current index. The editor holds unsaved changes while the current entry is
// not the one last handed to the project. At most capacity - 1 steps can be
// undone; older ones are dropped.
template<typename State>
class History {
public:
    static constexpr int capacity = 100;

    explicit History(const State& initial)
    {
        entries.reserve(capacity);
        entries.append(initial);
        for (int i = 1; i < capacity; ++i)
            entries.append(std::nullopt);
    }

    State& current() { return *entries[currentIndex_]; }
    const State& current() const { return *entries.at(currentIndex_); }

    // Copies the current state into a new entry that becomes current and
    // discards whatever could have been redone.
    void push()
    {
        if (currentIndex_ >= capacity - 1) {
            entries.removeFirst();
            entries.append(std::nullopt);
            --currentIndex_;
            --savedIndex_;
        }
        entries[currentIndex_ + 1] = entries.at(currentIndex_);
        // A saved state in the redo branch is gone for good: no later state
        // can be the saved one.
        if (savedIndex_ > currentIndex_)
            savedIndex_ = -1;
        ++currentIndex_;
        for (int i = currentIndex_ + 1; i < capacity; ++i)
            entries[i].reset();
    }

    bool canUndo() const { return currentIndex_ > 0; }
    bool canRedo() const
    {
        return currentIndex_ < capacity - 1 && entries.at(currentIndex_ + 1).has_value();
    }
    bool undo()
    {
        if (!canUndo())
            return false;
        --currentIndex_;
        return true;
    }
    bool redo()
    {
        if (!canRedo())
            return false;
        ++currentIndex_;
        return true;
    }

    bool isModified() const { return currentIndex_ != savedIndex_; }
    // The current state was handed to the project (or its changes given up).
    void markSaved() { savedIndex_ = currentIndex_; }

    int currentIndex() const { return currentIndex_; }
    // Negative once the saved entry was dropped as too old.
    int savedIndex() const { return savedIndex_; }

    // Applies a change to every state held, such as a new name that undo
    // must not take back.
    template<typename Change>
    void changeEveryState(Change change)
    {
        for (std::optional<State>& entry : entries) {
            if (entry)
                change(*entry);
        }
    }

private:
    QList<std::optional<State>> entries;
    int currentIndex_ = 0;
    int savedIndex_ = 0;
};
