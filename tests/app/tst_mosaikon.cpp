// The main window: the project commands with the unsaved-project question,
// recent files, and undo and redo following the active editor.

#include "app/recentfiles.h"
#include "app/recoverycopy.h"
#include "app/windowtest.h"
#include "model/projectfile.h"
#include "model/version.h"
#include "project/itemcommands.h"
#include "support/core/datatable.h"
#include "support/core/recordbytes.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QSettings>

namespace {
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
    void projectCommands_data() { datatable::addRows("mainwindow/commands.txt"); }

    void projectCommands()
    {
        QFETCH(QStringList, fields);
        // The project afterwards is A, B (b.mzprj) or empty; the title shows
        // Untitled or @file, " *" when unsaved.
        const QString &command = fields[0], &start = fields[1], &prompts = fields[3], &after = fields[5], &title = fields[6],
                      &written = fields[7], answers = fields[2].replace(' ', '|');
        QFile::remove(file("new.mzprj"));
        PromptScript script;
        auto window = openWindow();
        window->itemCommands()->addNew(ItemKind::Charset);
        window->itemCommands()->addNew(ItemKind::Screen);
        if (start.startsWith("titled")) {
            script.text(file("a%2%3.mzprj"));
            QVERIFY(window->saveAs());
        }
        if (start.startsWith("titled*"))
            window->itemCommands()->addNew(ItemKind::Spriteset);
        if (start.endsWith(" editor"))
            editImageset(*window, CharsetNode, 0);
        script.shown.clear();
        window->recoveryCopy()->update();
        QCOMPARE(QFile::exists(RecoveryCopy::projectFile()), window->isUnsaved());
        const Project before = window->currentProject();
        queueAnswers(script, answers, environment);

        bool went = false;
        if (command == "new") {
            went = window->newProject();
        } else if (command == "open") {
            went = window->open();
        } else if (command.startsWith("recent")) {
            const QString recent = file(command.section(' ', 1));
            RecentFiles::add(recent);
            QCOMPARE(recentEntries(*window).value(0), recent);
            fileMenu(*window)->findChild<QMenu*>()->actions().first()->trigger();
            went = window->projectPath() == recent;
            QCOMPARE(RecentFiles::load().contains(recent), QFile::exists(recent));
        } else if (command == "save") {
            went = window->save();
            // The editor handed its change to the project before the file was written.
            QCOMPARE(window->currentProject().charsets.at(0)->colors[1], 9);
        } else if (command == "close") {
            went = window->close();
        } else {
            fileMenu(*window)->actions().last()->trigger(); // Exit
            went = !window->isVisible();
        }

        QCOMPARE(promptKinds(script), prompts);
        QCOMPARE(went, fields[4] == "true");
        // Saving or giving up the work on exit removes the recovery copy.
        const bool exits = command == "close" || command == "exit";
        QCOMPARE(QFile::exists(RecoveryCopy::projectFile()), exits ? !went : title.endsWith(" *"));
        const QString name = title.section(' ', 0, 0);
        const QString shown = (name.startsWith('@') ? file(name.mid(1)) : name) + title.mid(name.size());
        // A maximized editor's title may follow.
        QVERIFY2(window->windowTitle().startsWith(QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [") + shown + ']'),
                 qPrintable(window->windowTitle()));
        const Project expected = after == "A" ? before : after == "B" ? filetest::richProject() : Project();
        QCOMPARE(filetest::compareProjects(expected, window->currentProject()), QString());
        Project saved;
        ProjectFile::read(file(written), saved);
        QCOMPARE(filetest::compareProjects(written.isEmpty() ? Project() : before, saved), QString());
        QCOMPARE(QFile::exists(file("new.mzprj")), written == "new.mzprj");
        QCOMPARE(RecentFiles::load().contains(file("new.mzprj")), written == "new.mzprj");
        if (after == "B")
            QCOMPARE(RecentFiles::load().value(0), file("b.mzprj"));
        // An editor stays when it refused to close or the command closes none.
        const bool editorStays = start.endsWith(" editor") && (answers == "Cancel" || command == "save");
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
