// The main window: the project commands with the unsaved-project question,
// recent files, undo and redo following the active editor, and editors
// handing their changes back when the project is saved.

#include "app/recentfiles.h"
#include "app/windowtest.h"
#include "editors/imageset/imageseteditor.h"
#include "model/projectfile.h"
#include "model/version.h"
#include "project/itemcommands.h"
#include "support/core/recordbytes.h"
#include "support/testenvironment.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QSettings>

namespace {
QString title(const QString& shown)
{
    return QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [") + shown + ']';
}

// The title without the one of a maximized editor that follows it.
QString titleOf(const Mosaikon& window)
{
    const int end = window.windowTitle().indexOf("] - [");
    return end < 0 ? window.windowTitle() : window.windowTitle().left(end + 1);
}

QMenu* fileMenu(const Mosaikon& window)
{
    return window.menuBar()->actions().first()->menu();
}

QMenu* recentMenu(const Mosaikon& window)
{
    for (QAction* action : fileMenu(window)->actions()) {
        if (action->menu())
            return action->menu();
    }
    return nullptr;
}

// The files the recent menu shows, newest first.
QStringList recentEntries(Mosaikon& window)
{
    window.updateRecentFileActions();
    QStringList files;
    for (const QAction* action : recentMenu(window)->actions()) {
        if (action->isVisible())
            files << action->data().toString();
    }
    return files;
}

Project readBack(const QString& path)
{
    Project project;
    if (!ProjectFile::read(path, project).ok())
        project.charsets.append(QSharedPointer<Imageset>::create(-1, QStringLiteral("unreadable"), 8, 8, Imageset::Charset));
    return project;
}

ImagesetEditor* editCharset(Mosaikon& window, qint32 id)
{
    auto* editor = static_cast<ImagesetEditor*>(window.openEditor({CharsetNode, id}, true, false));
    editor->setMultiColor01(9);
    return editor;
}
}

class MosaikonTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> environment;
    QString file(const QString& name) const { return environment->path(name); }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        // Closing the main window must not end the test program.
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(ProjectFile::write(file("b.mzprj"), filetest::richProject()));
        QByteArray bytes = ProjectFile::serialize(filetest::richProject());
        QFile truncated(file("truncated.mzprj"));
        QVERIFY(truncated.open(QIODevice::WriteOnly) && truncated.write(bytes.chopped(5)) == bytes.size() - 5);
        filetest::putI32(bytes, 4, 13); // version 0.13.0
        QFile future(file("future.mzprj"));
        QVERIFY(future.open(QIODevice::WriteOnly) && future.write(bytes) == bytes.size());
    }

    void init() { QSettings().clear(); }

    // The window starts on project A: untitled with changes, titled (saved
    // to a path holding placeholders) or titled with changes, with a charset
    // editor holding changes when asked. The dialogue lists the prompts in
    // order with their answers; "recent:" names the recent entry chosen.
    void projectCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("editor");
        QTest::addColumn<QString>("dialogue");
        QTest::addColumn<bool>("went");
        QTest::addColumn<QString>("after");   // project afterwards: A, B (the opened file) or empty
        QTest::addColumn<QString>("shown");   // title: Untitled, A, B or new, with " *" when unsaved
        QTest::addColumn<QString>("written"); // where A was saved: A, new or nowhere
        const auto row = [](const char* name, const char* command, const char* start, bool editor, const char* dialogue,
                            bool went, const char* after, const char* shown, const char* written) {
            QTest::newRow(name) << command << start << editor << dialogue << went << after << shown << written;
        };
        row("new, saved project", "new", "titled", false, "", true, "empty", "Untitled", "");
        row("new, No", "new", "untitled", false, "ask:No", true, "empty", "Untitled", "");
        row("new, Cancel", "new", "untitled", false, "ask:Cancel", false, "A", "Untitled *", "");
        row("new, Yes, saved as", "new", "untitled", false, "ask:Yes save:new", true, "empty", "Untitled", "new");
        row("new, Yes, saved to its path", "new", "titled*", false, "ask:Yes", true, "empty", "Untitled", "A");
        row("new, Yes, save cancelled", "new", "untitled", false, "ask:Yes save:cancel", false, "A", "Untitled *", "");
        row("new, Yes, save fails", "new", "untitled", false, "ask:Yes save:bad error", false, "A", "Untitled *", "");
        row("new, editor refuses", "new", "titled*", true, "editor:Cancel", false, "A", "A *", "");
        row("open, dialog cancelled", "open", "untitled", false, "open:cancel", false, "A", "Untitled *", "");
        row("open, No", "open", "untitled", false, "open:B ask:No", true, "B", "B", "");
        row("open, Cancel", "open", "titled*", false, "open:B ask:Cancel", false, "A", "A *", "");
        row("open, Yes, saved as", "open", "untitled", false, "open:B ask:Yes save:new", true, "B", "B", "new");
        row("open, Yes, save fails", "open", "untitled", false, "open:B ask:Yes save:bad error", false, "A", "Untitled *", "");
        row("open truncated file", "open", "titled", false, "open:truncated error", false, "empty", "Untitled", "");
        row("open newer version", "open", "titled", false, "open:future error", false, "empty", "Untitled", "");
        row("recent, No", "recent", "titled*", false, "recent:B ask:No", true, "B", "B", "");
        row("recent, Cancel", "recent", "titled*", false, "recent:B ask:Cancel", false, "A", "A *", "");
        row("recent file gone", "recent", "titled*", false, "recent:gone error", false, "A", "A *", "");
        row("close, saved project", "close", "titled", false, "", true, "A", "A", "");
        row("close, No", "close", "untitled", false, "ask:No", true, "A", "Untitled *", "");
        row("close, Cancel", "close", "titled*", false, "ask:Cancel", false, "A", "A *", "");
        row("close, Yes, saved as", "close", "untitled", false, "ask:Yes save:new", true, "A", "new", "new");
        row("close, Yes, save fails", "close", "untitled", false, "ask:Yes save:bad error", false, "A", "Untitled *", "");
        row("close, editor refuses", "close", "titled*", true, "editor:Cancel", false, "A", "A *", "");
        row("exit, No", "exit", "untitled", false, "ask:No", true, "A", "Untitled *", "");
        row("exit, Cancel after the editor closed", "exit", "titled*", true, "editor:No ask:Cancel", false, "A", "A *", "");
    }

    void projectCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, start);
        QFETCH(bool, editor);
        QFETCH(QString, dialogue);
        QFETCH(bool, went);
        QFETCH(QString, after);
        QFETCH(QString, shown);
        QFETCH(QString, written);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const QMap<QString, QString> paths {{"A", file(tag + " %2%3 a.mzprj")}, {"B", file("b.mzprj")},
                                            {"new", file(tag + " new.mzprj")}, {"bad", file("absent/p.mzprj")},
                                            {"truncated", file("truncated.mzprj")}, {"future", file("future.mzprj")},
                                            {"gone", file("gone.mzprj")}};
        PromptScript script;
        auto window = openWindow();
        window->itemCommands()->addNew(ItemKind::Charset);
        window->itemCommands()->addNew(ItemKind::Screen);
        if (start != "untitled") {
            script.text(paths["A"]);
            QVERIFY(window->saveAs());
        }
        if (start == "titled*")
            window->itemCommands()->addNew(ItemKind::Spriteset);
        if (editor)
            editCharset(*window, 0);
        script.shown.clear();
        const Project before = window->currentProject();

        QString expectedKinds;
        QString recent;
        for (const QString& token : dialogue.split(' ', Qt::SkipEmptyParts)) {
            const QString prompt = token.section(':', 0, 0);
            const QString answer = token.section(':', 1);
            if (prompt == "recent") {
                recent = paths[answer];
                continue;
            }
            expectedKinds += QStringLiteral("OQQSE").at(QStringList({"open", "ask", "editor", "save", "error"}).indexOf(prompt));
            if (answer == "cancel")
                script.cancel();
            else if (prompt == "ask" || prompt == "editor")
                script.button(answer == "Yes" ? QMessageBox::Yes
                                                             : answer == "No" ? QMessageBox::No : QMessageBox::Cancel);
            else if (!answer.isEmpty())
                script.text(paths[answer]);
        }

        bool wentAhead = false;
        if (command == "new") {
            wentAhead = window->newProject();
        } else if (command == "open") {
            wentAhead = window->open();
        } else if (command == "recent") {
            RecentFiles::add(recent);
            QCOMPARE(recentEntries(*window).value(0), recent);
            recentMenu(*window)->actions().first()->trigger();
            wentAhead = window->projectPath() == recent;
            QCOMPARE(RecentFiles::load().contains(recent), recent == paths["B"]);
        } else if (command == "close") {
            wentAhead = window->close();
        } else {
            fileMenu(*window)->actions().last()->trigger(); // Exit
            wentAhead = !window->isVisible();
        }

        QCOMPARE(promptKinds(script), expectedKinds);
        QCOMPARE(script.pendingAnswers(), 0);
        QCOMPARE(script.unexpected, 0);
        QCOMPARE(wentAhead, went);
        const QString word = shown.section(' ', 0, 0);
        QCOMPARE(titleOf(*window), title(paths.value(word, word) + shown.mid(word.size())));
        const Project expected = after == "A" ? before : after == "B" ? filetest::richProject() : Project();
        QCOMPARE(filetest::compareProjects(expected, window->currentProject()), QString());
        if (!written.isEmpty())
            QCOMPARE(filetest::compareProjects(before, readBack(paths[written])), QString());
        QCOMPARE(QFile::exists(paths["new"]), written == "new");
        QCOMPARE(RecentFiles::load().contains(paths["new"]), written == "new");
        if (after == "B")
            QCOMPARE(RecentFiles::load().value(0), paths["B"]);
        // An editor that refused stays; the others closed on the way.
        QCOMPARE(editorWindows(window->editorArea()).size(), dialogue.contains("editor:Cancel") ? 1 : 0);
    }

    void recentFiles()
    {
        PromptScript script;
        auto window = openWindow();
        QMenu* menu = recentMenu(*window);
        QVERIFY(!menu->menuAction()->isVisible());
        window->itemCommands()->addNew(ItemKind::Charset);
        QStringList saved;
        for (int i = 0; i < 12; ++i) {
            saved.prepend(file(QStringLiteral("r%1.mzprj").arg(i)));
            script.text(saved.first());
            QVERIFY(window->saveAs());
            if (i == 2)
                QCOMPARE(recentEntries(*window), saved);
        }
        // Saved again under an older name: that name moves to the front.
        script.text(saved.last());
        QVERIFY(window->saveAs());
        saved.move(11, 0);
        // All are kept; the menu shows ten.
        QCOMPARE(RecentFiles::load(), saved);
        QCOMPARE(recentEntries(*window), saved.mid(0, 10));
        QVERIFY(menu->menuAction()->isVisible());
        // A window opened later shows the menu from the start.
        QVERIFY(recentMenu(Mosaikon())->menuAction()->isVisible());
        QCOMPARE(script.unexpected, 0);
    }

    void undoAndRedoFollowTheActiveEditor()
    {
        PromptScript script;
        auto window = openWindow();
        const QList<QAction*> edit = window->menuBar()->actions().at(1)->menu()->actions();
        QAction* undo = edit.at(0);
        QAction* redo = edit.at(1);
        window->itemCommands()->addNew(ItemKind::Charset);
        window->itemCommands()->addNew(ItemKind::Charset);
        ImagesetEditor* first = editCharset(*window, 0);
        const auto colour = [first] { return static_cast<const Imageset&>(first->document()->dataset()).colors[1]; };
        QVERIFY(undo->isEnabled() && !redo->isEnabled());
        undo->trigger();
        QCOMPARE(colour(), window->currentProject().charsets.at(0)->colors[1]);
        QVERIFY(!undo->isEnabled() && redo->isEnabled());

        window->openEditor({CharsetNode, 1}, true, false);
        QTRY_VERIFY(!undo->isEnabled() && !redo->isEnabled());
        window->openEditor({CharsetNode, 0}, true, false);
        QTRY_VERIFY(!undo->isEnabled() && redo->isEnabled());
        redo->trigger();
        QCOMPARE(colour(), 9);
        QVERIFY(undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(script.unexpected, 0);
    }

    void editorsHandBackWhenTheProjectIsSaved()
    {
        PromptScript script;
        auto window = openWindow();
        window->itemCommands()->addNew(ItemKind::Charset);
        const QString path = file(QStringLiteral("handback.mzprj"));
        script.text(path);
        QVERIFY(window->saveAs());
        ImagesetEditor* editor = editCharset(*window, 0);
        QVERIFY(window->isUnsaved());
        window->updateTitle();
        QCOMPARE(titleOf(*window), title(path + " *"));

        QVERIFY(window->save());
        QVERIFY(!editor->isModified());
        QCOMPARE(titleOf(*window), title(path));
        QCOMPARE(window->currentProject().charsets.at(0)->colors[1], 9);
        QCOMPARE(readBack(path).charsets.at(0)->colors[1], 9);
        QCOMPARE(script.unexpected, 0);
    }
};

QTEST_MAIN(MosaikonTest)
#include "tst_mosaikon.moc"
