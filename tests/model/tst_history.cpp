// The editors' undo history of whole state copies: at most 100 entries (99
// undoable steps), undo and redo as index moves, the modified mark as a
// comparison with the saved entry, and changes applied to every held state.

#include "model/history.h"

#include <QtTest>

namespace {

struct State {
    int value = 0;
    QString name;

    bool operator==(const State& other) const { return value == other.value && name == other.name; }
};

using StateHistory = History<State>;

// Records one step and gives the new current state the value.
void edit(StateHistory& history, int value)
{
    history.push();
    history.current().value = value;
}

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT

private slots:
    void freshHistory()
    {
        StateHistory history(State {7, QStringLiteral("start")});
        QCOMPARE(history.currentIndex(), 0);
        QCOMPARE(history.savedIndex(), 0);
        QVERIFY(!history.canUndo());
        QVERIFY(!history.canRedo());
        QVERIFY(!history.isModified());
        QVERIFY(!history.undo());
        QVERIFY(!history.redo());
        QCOMPARE(history.currentIndex(), 0);
        QCOMPARE(history.current().value, 7);
        QCOMPARE(history.current().name, QStringLiteral("start"));
    }

    void capacityIsOneHundredEntries()
    {
        QCOMPARE(StateHistory::capacity, 100);

        StateHistory history(State {0, QString()});
        for (int step = 1; step <= 99; ++step)
            edit(history, step);
        // 99 steps fit beside the first entry: nothing was dropped yet.
        QCOMPARE(history.currentIndex(), 99);
        QCOMPARE(history.savedIndex(), 0);
        QVERIFY(!history.canRedo());
        int undone = 0;
        while (history.undo())
            ++undone;
        QCOMPARE(undone, 99);
        QCOMPARE(history.current().value, 0);
        QVERIFY(!history.isModified());
        while (history.redo()) {
        }
        QCOMPARE(history.current().value, 99);

        // The hundredth step drops the oldest entry.
        edit(history, 100);
        QCOMPARE(history.currentIndex(), 99);
        QCOMPARE(history.savedIndex(), -1);
        undone = 0;
        while (history.undo())
            ++undone;
        QCOMPARE(undone, 99);
        QCOMPARE(history.current().value, 1);
        QVERIFY(history.isModified());
    }

    void manyEdits_data()
    {
        QTest::addColumn<int>("edits");
        QTest::addColumn<int>("undoable");
        QTest::addColumn<int>("savedIndex");

        QTest::newRow("1") << 1 << 1 << 0;
        QTest::newRow("2") << 2 << 2 << 0;
        QTest::newRow("50") << 50 << 50 << 0;
        QTest::newRow("98") << 98 << 98 << 0;
        QTest::newRow("99") << 99 << 99 << 0;
        QTest::newRow("100") << 100 << 99 << -1;
        QTest::newRow("101") << 101 << 99 << -2;
        QTest::newRow("120") << 120 << 99 << -21;
        QTest::newRow("250") << 250 << 99 << -151;
    }

    void manyEdits()
    {
        QFETCH(int, edits);
        QFETCH(int, undoable);
        QFETCH(int, savedIndex);

        StateHistory history(State {0, QStringLiteral("set")});
        for (int step = 1; step <= edits; ++step) {
            edit(history, step);
            QVERIFY(history.isModified());
        }
        QCOMPARE(history.currentIndex(), undoable);
        QCOMPARE(history.savedIndex(), savedIndex);
        QCOMPARE(history.current().value, edits);

        int undone = 0;
        while (history.undo()) {
            ++undone;
            QCOMPARE(history.current().value, edits - undone);
        }
        QCOMPARE(undone, undoable);
        QCOMPARE(history.currentIndex(), 0);
        QVERIFY(!history.canUndo());
        // Undone to the oldest entry: modified exactly when the saved entry
        // was dropped.
        QCOMPARE(history.isModified(), edits > undoable);

        int redone = 0;
        while (history.redo()) {
            ++redone;
            QCOMPARE(history.current().value, edits - undoable + redone);
        }
        QCOMPARE(redone, undoable);
        QCOMPARE(history.current().value, edits);
        QVERIFY(!history.canRedo());
    }

    void savedEntry_data()
    {
        QTest::addColumn<int>("edits");       // before saving
        QTest::addColumn<int>("undosBefore"); // before saving
        QTest::addColumn<int>("undos");       // after saving
        QTest::addColumn<int>("redos");       // after those undos

        QTest::newRow("save, undo, redo") << 3 << 0 << 1 << 1;
        QTest::newRow("save, undo twice, redo twice") << 3 << 0 << 2 << 2;
        QTest::newRow("save after undo, undo, redo") << 5 << 2 << 1 << 1;
        QTest::newRow("save after undo, undo all, redo") << 5 << 2 << 3 << 3;
        QTest::newRow("save at the start") << 4 << 4 << 0 << 0;
        QTest::newRow("save after dropping entries, undo, redo") << 120 << 0 << 5 << 5;
    }

    void savedEntry()
    {
        QFETCH(int, edits);
        QFETCH(int, undosBefore);
        QFETCH(int, undos);
        QFETCH(int, redos);

        StateHistory history(State {0, QString()});
        for (int step = 1; step <= edits; ++step)
            edit(history, step);
        for (int i = 0; i < undosBefore; ++i)
            QVERIFY(history.undo());
        history.markSaved();
        const int saved = history.currentIndex();
        QCOMPARE(history.savedIndex(), saved);
        QVERIFY(!history.isModified());

        for (int i = 0; i < undos; ++i) {
            QVERIFY(history.undo());
            QVERIFY(history.isModified());
        }
        for (int i = 0; i < redos; ++i) {
            QVERIFY(history.redo());
            QCOMPARE(history.isModified(), i + 1 != undos);
        }
        QCOMPARE(history.currentIndex(), saved);
        QVERIFY(!history.isModified());
        QCOMPARE(history.current().value, edits - undosBefore);

        // Moving away from the saved entry in either direction marks it modified.
        if (history.redo()) {
            QVERIFY(history.isModified());
            QVERIFY(history.undo());
            QVERIFY(!history.isModified());
        }
        if (history.undo()) {
            QVERIFY(history.isModified());
            QVERIFY(history.redo());
        }
        edit(history, 1000);
        QVERIFY(history.isModified());
    }

    void editAfterUndoDiscardsRedo_data()
    {
        QTest::addColumn<int>("edits");
        QTest::addColumn<int>("undos");

        QTest::newRow("5 edits, 2 undos") << 5 << 2;
        QTest::newRow("5 edits, 5 undos") << 5 << 5;
        QTest::newRow("1 edit, 1 undo") << 1 << 1;
        QTest::newRow("99 edits, 2 undos") << 99 << 2;
        QTest::newRow("150 edits, 50 undos") << 150 << 50;
    }

    void editAfterUndoDiscardsRedo()
    {
        QFETCH(int, edits);
        QFETCH(int, undos);

        StateHistory history(State {0, QString()});
        for (int step = 1; step <= edits; ++step)
            edit(history, step);
        for (int i = 0; i < undos; ++i)
            QVERIFY(history.undo());
        QVERIFY(history.canRedo());
        const int index = history.currentIndex();
        const int value = history.current().value;
        QCOMPARE(value, edits - undos);

        history.push();
        // The new entry starts as a copy of the state it was pushed from.
        QCOMPARE(history.current().value, value);
        QCOMPARE(history.currentIndex(), index + 1);
        QVERIFY(!history.canRedo());
        QVERIFY(!history.redo());
        history.current().value = -1;

        QVERIFY(history.undo());
        QCOMPARE(history.current().value, value);
        QVERIFY(history.redo());
        QCOMPARE(history.current().value, -1); // not the discarded value + 1
        QVERIFY(!history.canRedo());
    }

    void savedStateLostWithTheRedoBranch_data()
    {
        QTest::addColumn<int>("undos");
        QTest::addColumn<int>("newEdits");
        QTest::newRow("back to the saved index by new edits") << 2 << 2;
        QTest::newRow("one new edit") << 1 << 1;
        QTest::newRow("past the saved index") << 3 << 5;
    }

    void savedStateLostWithTheRedoBranch()
    {
        QFETCH(int, undos);
        QFETCH(int, newEdits);
        StateHistory history(State {0, QStringLiteral("s")});
        for (int i = 1; i <= 5; ++i)
            edit(history, i);
        history.markSaved(); // the state with value 5
        for (int i = 0; i < undos; ++i)
            QVERIFY(history.undo());
        for (int i = 0; i < newEdits; ++i) {
            edit(history, 100 + i);
            // The saved state was discarded: no state reached now is it.
            QVERIFY(history.isModified());
        }
        while (history.undo())
            QVERIFY(history.isModified() || history.current().value == 5);
    }

    void pushCopiesTheState_data()
    {
        QTest::addColumn<int>("earlierEdits");

        QTest::newRow("from the first entry") << 0;
        QTest::newRow("after some edits") << 10;
        QTest::newRow("at full capacity") << 130;
    }

    void pushCopiesTheState()
    {
        QFETCH(int, earlierEdits);

        StateHistory history(State {0, QStringLiteral("first")});
        for (int step = 1; step <= earlierEdits; ++step)
            edit(history, step);
        history.current().name = QStringLiteral("a");
        const int value = history.current().value;

        history.push();
        QCOMPARE(history.current().name, QStringLiteral("a"));
        history.current().name = QStringLiteral("b");
        history.current().value = 4242;

        QVERIFY(history.undo());
        QCOMPARE(history.current().name, QStringLiteral("a"));
        QCOMPARE(history.current().value, value);
        QVERIFY(history.redo());
        QCOMPARE(history.current().name, QStringLiteral("b"));
        QCOMPARE(history.current().value, 4242);
    }

    void changeEveryState_data()
    {
        QTest::addColumn<int>("edits");
        QTest::addColumn<int>("undos"); // before the rename

        QTest::newRow("fresh") << 0 << 0;
        QTest::newRow("at the newest entry") << 6 << 0;
        QTest::newRow("in the middle") << 6 << 3;
        QTest::newRow("at the oldest entry") << 6 << 6;
        QTest::newRow("after dropping entries") << 140 << 40;
    }

    void changeEveryState()
    {
        QFETCH(int, edits);
        QFETCH(int, undos);

        StateHistory history(State {0, QStringLiteral("old 0")});
        for (int step = 1; step <= edits; ++step) {
            edit(history, step);
            history.current().name = QStringLiteral("old %1").arg(step);
        }
        for (int i = 0; i < undos; ++i)
            QVERIFY(history.undo());
        const int index = history.currentIndex();

        history.changeEveryState([](State& state) { state.name = QStringLiteral("new"); });
        QCOMPARE(history.currentIndex(), index);
        QCOMPARE(history.current().name, QStringLiteral("new"));

        // No step, backwards or forwards, brings an old name back; the rest
        // of each state is kept.
        while (history.undo()) {
            QCOMPARE(history.current().name, QStringLiteral("new"));
        }
        const int oldest = history.current().value;
        QCOMPARE(oldest, edits > 99 ? edits - 99 : 0);
        int expected = oldest;
        while (history.redo()) {
            ++expected;
            QCOMPARE(history.current().name, QStringLiteral("new"));
            QCOMPARE(history.current().value, expected);
        }
        QCOMPARE(expected, edits);

        // Later steps copy the new name.
        edit(history, -5);
        QCOMPARE(history.current().name, QStringLiteral("new"));
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"
