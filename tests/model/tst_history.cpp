// The editors' undo history of whole state copies: at most 100 entries (99
// undoable steps), undo and redo as index moves, the modified mark as a
// comparison with the saved entry, and changes applied to every held state.

#include "model/history.h"

#include <QtTest>

#include <functional>

namespace {

struct State {
    int value = 0;
    QString name;
};

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT

private slots:
    void steps_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        // Script: e<n> n edits (each records a step, then sets the value to
        // the number of edits so far), u<n> and r<n> undo and redo n times,
        // s marks the current state saved, c renames every state.
        // Expected: the current value, the steps that can be undone and
        // redone, the oldest value held, the value of the unmodified state
        // (- for none) and how many states were renamed.
        QTest::newRow("fresh") << "" << "0 u0 r0 o0 s0 c0";
        QTest::newRow("undo and redo at the ends do nothing") << "u1 e2 r3" << "2 u2 r0 o0 s0 c0";
        QTest::newRow("undo") << "e5 u2" << "3 u3 r2 o0 s0 c0";
        QTest::newRow("undo all, redo one") << "e5 u9 r1" << "1 u1 r4 o0 s0 c0";
        QTest::newRow("99 steps fit") << "e99 u99" << "0 u0 r99 o0 s0 c0";
        QTest::newRow("the 100th drops the oldest") << "e100" << "100 u99 r0 o1 s- c0";
        QTest::newRow("far beyond") << "e250 u20" << "230 u79 r20 o151 s- c0";
        QTest::newRow("saved after undo") << "e5 u2 s r1" << "4 u4 r1 o0 s3 c0";
        QTest::newRow("saved, then dropped") << "e5 s e95" << "100 u99 r0 o1 s5 c0";
        QTest::newRow("saved, then dropped for good") << "e5 s e100" << "105 u99 r0 o6 s- c0";
        // An edit after undo discards the redo steps, and a saved state among them for good.
        QTest::newRow("edit after undo") << "e5 u2 e1" << "6 u4 r0 o0 s0 c0";
        QTest::newRow("saved state discarded") << "e5 s u2 e2" << "7 u5 r0 o0 s- c0";
        QTest::newRow("saved state kept below") << "e5 u2 s e1" << "6 u4 r0 o0 s3 c0";
        // A renaming reaches every state held and the states that follow.
        QTest::newRow("rename") << "e6 u3 c" << "3 u3 r3 o0 s0 c7";
        QTest::newRow("rename, then edit") << "e6 u3 c e2" << "8 u5 r0 o0 s0 c6";
        QTest::newRow("rename after dropping") << "e140 u40 c" << "100 u59 r40 o41 s- c100";
    }

    void steps()
    {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        History<State> history(State {0, QStringLiteral("first")});
        int edits = 0;
        const QMap<QChar, std::function<void()>> steps {
            {'e',
             [&] {
                 history.push();
                 history.current().value = ++edits;
             }},
            {'u', [&] { history.undo(); }},
            {'r', [&] { history.redo(); }},
            {'s', [&] { history.markSaved(); }},
            {'c', [&] { history.changeEveryState([](State& state) { state.name = QStringLiteral("new"); }); }}};
        for (const QString& step : script.split(' ', Qt::SkipEmptyParts)) {
            for (int i = 0; i < qMax(1, step.mid(1).toInt()); ++i)
                steps.value(step.at(0))();
        }
        // Walk a copy from the oldest state to the newest.
        History<State> walk = history;
        int undos = 0, redos = 0, renamed = 0;
        while (walk.canUndo()) {
            QVERIFY(walk.undo());
            ++undos;
        }
        QVERIFY(!walk.undo());
        const int oldest = walk.current().value;
        QString saved = QStringLiteral("-");
        do {
            if (!walk.isModified())
                saved = QString::number(walk.current().value);
            renamed += walk.current().name == QStringLiteral("new");
        } while (walk.redo() && ++redos);
        QCOMPARE(QStringLiteral("%1 u%2 r%3 o%4 s%5 c%6")
                     .arg(history.current().value)
                     .arg(undos)
                     .arg(redos - undos)
                     .arg(oldest)
                     .arg(saved)
                     .arg(renamed),
                 expected);
        QCOMPARE(history.canUndo(), undos > 0);
        QCOMPARE(history.canRedo(), redos > undos);
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"
