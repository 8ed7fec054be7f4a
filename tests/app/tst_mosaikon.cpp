// The main window: the project commands with the unsaved-project question,
// recent files, and undo and redo following the active editor.

#include "app/recentfiles.h"
#include "app/windowtest.h"
#include "model/projectfile.h"
#include "model/version.h"
#include "project/itemcommands.h"
#include "support/core/recordbytes.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QSettings>

namespace {
// A row of the project command table.
struct Command {
    QString command, start, answers, prompts;
    bool went;
    QString after;   // the project afterwards: A, B (b.mzprj) or empty
    QString shown;   // in the title: Untitled or @file, " *" when unsaved
    QString written; // the file that holds A afterwards
};

QMenu* fileMenu(const Mosaikon& window)
{
    return window.menuBar()->actions().first()->menu();
}

// The files the recent menu shows, newest first.
QStringList recentEntries(Mosaikon& window)
{
    window.updateRecentFileActions();
    QStringList files;
    for (const QAction* action : fileMenu(window)->findChild<QMenu*>()->actions()) {
        if (action->isVisible())
            files << action->data().toString();
    }
    return files;
}
}
Q_DECLARE_METATYPE(Command)

class MosaikonTest : public QObject {
    Q_OBJECT

private:
    TestEnvironment environment;
    QString file(const QString& name) const { return environment.path(name); }

private slots:
    void initTestCase()
    {
        // Closing the main window must not end the test program.
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(ProjectFile::write(file("b.mzprj"), filetest::richProject()));
        QByteArray bytes = ProjectFile::serialize(filetest::richProject());
        QVERIFY(Files::writeSafely(file("truncated.mzprj"), bytes.chopped(5)));
        filetest::putI32(bytes, 4, 13); // version 0.13.0
        QVERIFY(Files::writeSafely(file("future.mzprj"), bytes));
    }

    void init() { QSettings().clear(); }

    // The window starts on project A: untitled with changes, titled (saved
    // as a%2%3.mzprj) or titled with changes, and with an open charset editor
    // holding changes. The command runs with the answers queued; "recent
    // name" opens that entry of the recent menu.
    void projectCommands_data()
    {
        QTest::addColumn<Command>("row");
        QTest::newRow("new, saved project") << Command {"new", "titled", "", "", true, "empty", "Untitled", ""};
        QTest::newRow("new, No") << Command {"new", "untitled", "No", "Q", true, "empty", "Untitled", ""};
        QTest::newRow("new, Cancel") << Command {"new", "untitled", "Cancel", "Q", false, "A", "Untitled *", ""};
        QTest::newRow("new, Yes, saved as") << Command {"new", "untitled", "Yes|@new.mzprj", "QS", true, "empty", "Untitled", "new.mzprj"};
        QTest::newRow("new, Yes, saved to its path") << Command {"new", "titled*", "Yes", "Q", true, "empty", "Untitled", "a%2%3.mzprj"};
        QTest::newRow("new, Yes, save cancelled") << Command {"new", "untitled", "Yes|!", "QS", false, "A", "Untitled *", ""};
        QTest::newRow("new, Yes, save fails") << Command {"new", "untitled", "Yes|@absent/p.mzprj", "QSE", false, "A", "Untitled *", ""};
        QTest::newRow("new, editor refuses") << Command {"new", "titled* editor", "Cancel", "Q", false, "A", "@a%2%3.mzprj *", ""};
        QTest::newRow("open, dialog cancelled") << Command {"open", "untitled", "!", "O", false, "A", "Untitled *", ""};
        QTest::newRow("open, No") << Command {"open", "untitled", "@b.mzprj|No", "OQ", true, "B", "@b.mzprj", ""};
        QTest::newRow("open, Cancel") << Command {"open", "titled*", "@b.mzprj|Cancel", "OQ", false, "A", "@a%2%3.mzprj *", ""};
        QTest::newRow("open, Yes, saved as") << Command {"open", "untitled", "@b.mzprj|Yes|@new.mzprj", "OQS", true, "B", "@b.mzprj", "new.mzprj"};
        QTest::newRow("open truncated file") << Command {"open", "titled", "@truncated.mzprj", "OE", false, "empty", "Untitled", ""};
        QTest::newRow("open newer version") << Command {"open", "titled", "@future.mzprj", "OE", false, "empty", "Untitled", ""};
        QTest::newRow("recent, No") << Command {"recent b.mzprj", "titled*", "No", "Q", true, "B", "@b.mzprj", ""};
        QTest::newRow("recent file gone") << Command {"recent gone.mzprj", "titled*", "", "E", false, "A", "@a%2%3.mzprj *", ""};
        QTest::newRow("save, editor hands back") << Command {"save", "titled editor", "", "", true, "A", "@a%2%3.mzprj", "a%2%3.mzprj"};
        QTest::newRow("close, saved project") << Command {"close", "titled", "", "", true, "A", "@a%2%3.mzprj", ""};
        QTest::newRow("close, No") << Command {"close", "untitled", "No", "Q", true, "A", "Untitled *", ""};
        QTest::newRow("close, Cancel") << Command {"close", "titled*", "Cancel", "Q", false, "A", "@a%2%3.mzprj *", ""};
        QTest::newRow("close, Yes, saved as") << Command {"close", "untitled", "Yes|@new.mzprj", "QS", true, "A", "@new.mzprj", "new.mzprj"};
        QTest::newRow("close, editor refuses") << Command {"close", "titled* editor", "Cancel", "Q", false, "A", "@a%2%3.mzprj *", ""};
        QTest::newRow("exit, editor discarded, Cancel") << Command {"exit", "titled* editor", "No|Cancel", "QQ", false, "A", "@a%2%3.mzprj *", ""};
        QTest::newRow("exit, No") << Command {"exit", "untitled", "No", "Q", true, "A", "Untitled *", ""};
    }

    void projectCommands()
    {
        QFETCH(Command, row);
        QFile::remove(file("new.mzprj"));
        PromptScript script;
        auto window = openWindow();
        window->itemCommands()->addNew(ItemKind::Charset);
        window->itemCommands()->addNew(ItemKind::Screen);
        if (row.start.startsWith("titled")) {
            script.text(file("a%2%3.mzprj"));
            QVERIFY(window->saveAs());
        }
        if (row.start.startsWith("titled*"))
            window->itemCommands()->addNew(ItemKind::Spriteset);
        if (row.start.endsWith(" editor"))
            editImageset(*window, CharsetNode, 0);
        script.shown.clear();
        const Project before = window->currentProject();
        queueAnswers(script, row.answers, environment);

        bool went = false;
        if (row.command == "new") {
            went = window->newProject();
        } else if (row.command == "open") {
            went = window->open();
        } else if (row.command.startsWith("recent")) {
            const QString recent = file(row.command.section(' ', 1));
            RecentFiles::add(recent);
            QCOMPARE(recentEntries(*window).value(0), recent);
            fileMenu(*window)->findChild<QMenu*>()->actions().first()->trigger();
            went = window->projectPath() == recent;
            QCOMPARE(RecentFiles::load().contains(recent), QFile::exists(recent));
        } else if (row.command == "save") {
            went = window->save();
            // The editor handed its change to the project before the file was written.
            QCOMPARE(window->currentProject().charsets.at(0)->colors[1], 9);
        } else if (row.command == "close") {
            went = window->close();
        } else {
            fileMenu(*window)->actions().last()->trigger(); // Exit
            went = !window->isVisible();
        }

        QCOMPARE(promptKinds(script), row.prompts);
        QCOMPARE(went, row.went);
        const QString name = row.shown.section(' ', 0, 0);
        const QString shown = (name.startsWith('@') ? file(name.mid(1)) : name) + row.shown.mid(name.size());
        // A maximized editor's title may follow.
        QVERIFY2(window->windowTitle().startsWith(QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [") + shown + ']'),
                 qPrintable(window->windowTitle()));
        const Project expected = row.after == "A" ? before : row.after == "B" ? filetest::richProject() : Project();
        QCOMPARE(filetest::compareProjects(expected, window->currentProject()), QString());
        Project written;
        ProjectFile::read(file(row.written), written);
        QCOMPARE(filetest::compareProjects(row.written.isEmpty() ? Project() : before, written), QString());
        QCOMPARE(QFile::exists(file("new.mzprj")), row.written == "new.mzprj");
        QCOMPARE(RecentFiles::load().contains(file("new.mzprj")), row.written == "new.mzprj");
        if (row.after == "B")
            QCOMPARE(RecentFiles::load().value(0), file("b.mzprj"));
        // An editor stays when it refused to close or the command closes none.
        const bool editorStays = row.start.endsWith(" editor") && (row.answers == "Cancel" || row.command == "save");
        QCOMPARE(editorWindows(window->editorArea()).size(), editorStays ? 1 : 0);
    }

    void recentFiles()
    {
        PromptScript script;
        auto window = openWindow();
        QAction* menu = fileMenu(*window)->findChild<QMenu*>()->menuAction();
        QVERIFY(!menu->isVisible());
        window->itemCommands()->addNew(ItemKind::Charset);
        QStringList saved;
        for (int i = 0; i < 12; ++i) {
            saved.prepend(file(QStringLiteral("r%1.mzprj").arg(i)));
            script.text(saved.first());
            QVERIFY(window->saveAs());
        }
        // Saved again under an older name: that name moves to the front.
        script.text(saved.last());
        QVERIFY(window->saveAs());
        saved.move(11, 0);
        // All are kept; the menu shows ten, in a window opened later too.
        QCOMPARE(RecentFiles::load(), saved);
        QCOMPARE(recentEntries(*window), saved.mid(0, 10));
        QVERIFY(menu->isVisible());
        QVERIFY(fileMenu(Mosaikon())->findChild<QMenu*>()->menuAction()->isVisible());
        QCOMPARE(script.unexpected, 0);
    }

    void undoAndRedoFollowTheActiveEditor()
    {
        PromptScript script;
        auto window = openWindow();
        const QList<QAction*> edit = window->menuBar()->actions().at(1)->menu()->actions();
        const auto enabled = [&edit] { return QList<bool>({edit.at(0)->isEnabled(), edit.at(1)->isEnabled()}); };
        window->itemCommands()->addNew(ItemKind::Charset);
        window->itemCommands()->addNew(ItemKind::Charset);
        ImagesetEditor* first = editImageset(*window, CharsetNode, 0);
        const auto colour = [first] { return static_cast<const Imageset&>(first->document()->dataset()).colors[1]; };
        QCOMPARE(enabled(), QList<bool>({true, false}));
        edit.at(0)->trigger();
        QCOMPARE(colour(), window->currentProject().charsets.at(0)->colors[1]);
        QCOMPARE(enabled(), QList<bool>({false, true}));
        window->openEditor({CharsetNode, 1}, true, false);
        QTRY_COMPARE(enabled(), QList<bool>({false, false}));
        window->openEditor({CharsetNode, 0}, true, false);
        QTRY_COMPARE(enabled(), QList<bool>({false, true}));
        edit.at(1)->trigger();
        QCOMPARE(colour(), 9);
        QCOMPARE(enabled(), QList<bool>({true, false}));
        QCOMPARE(script.unexpected, 0);
    }
};

QTEST_MAIN(MosaikonTest)
#include "tst_mosaikon.moc"
