// The main window driven as a user would: title, project commands with the
// unsaved-project question, opening and saving files, recent files, editor
// window arrangement, menu state and the menus themselves.

#include "app/fakeeditor.h"
#include "app/mosaikon.h"
#include "app/recentfiles.h"
#include "model/projectfile.h"
#include "model/version.h"
#include "project/editorservices.h"
#include "project/itemcommands.h"
#include "project/projecttree.h"
#include "support/promptscript.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace {

const QString freshTitle = QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [Untitled]");
const QString unsavedQuestion =
    QStringLiteral("The project have some unsaved changes. Do you want to save it now?\n");

QString titleFor(const QString& path, bool unsaved)
{
    return QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [%1%2]").arg(path, unsaved ? QStringLiteral(" *") : QString());
}

template<typename T>
bool sameList(const QList<QSharedPointer<T>>& a, const QList<QSharedPointer<T>>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (!(*a.at(i) == *b.at(i)))
            return false;
    }
    return true;
}

bool sameProject(const Project& a, const Project& b)
{
    return sameList(a.charsets, b.charsets) && sameList(a.spritesets, b.spritesets)
        && sameList(a.blocksets, b.blocksets) && sameList(a.tilesets, b.tilesets)
        && sameList(a.screens, b.screens);
}

int itemCount(const Project& project)
{
    return project.charsets.size() + project.spritesets.size() + project.blocksets.size()
        + project.tilesets.size() + project.screens.size();
}

// A project with one item of every kind, each holding some data of its own.
Project sampleProject()
{
    Project project;
    auto charset = project.addItem(ItemKind::Charset).staticCast<Imageset>();
    ImageData image(8, 8);
    image.bytes[0] = char(0x81);
    image.bytes[7] = char(0x3c);
    charset->images.insert(1, image);
    charset->imageColors.insert(1, 5);
    charset->mode = Imageset::MCM;
    charset->colors = {0, 11, 12, 15};
    project.addItem(ItemKind::Spriteset);
    project.addItem(ItemKind::Blockset);
    auto tileset = project.addItem(ItemKind::Tileset, 2, 2).staticCast<Tileset>();
    tileset->imagesetId = 0;
    Tile tile(2, 2);
    tile.indexes = {1, 2, 3, 4};
    tile.colors = {1, 1, -1, 7};
    tileset->tiles.insert(0, tile);
    auto screen = project.addItem(ItemKind::Screen).staticCast<Screen>();
    screen->sourceRef = SourceRef::make(SourceRef::tilesetBit, 0);
    screen->width = 4;
    screen->height = 3;
    screen->cellIndexes.insert({1, 2}, 0);
    return project;
}

QMenu* menuNamed(const Mosaikon& window, const QString& title)
{
    for (QAction* action : window.menuBar()->actions()) {
        if (action->menu() && action->text() == title)
            return action->menu();
    }
    return nullptr;
}

QAction* actionNamed(const QMenu* menu, const QString& text)
{
    if (!menu)
        return nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QAction* actionNamed(const Mosaikon& window, const QString& menuTitle, const QString& text)
{
    return actionNamed(menuNamed(window, menuTitle), text);
}

// Texts of a menu's or tool bar's actions, separators as "-".
QStringList actionTexts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QMenu* recentMenu(const Mosaikon& window)
{
    QAction* action = actionNamed(window, QStringLiteral("&File"), QStringLiteral("Recent..."));
    return action ? action->menu() : nullptr;
}

// The separator that follows the "Recent..." submenu in the File menu.
QAction* recentSeparator(const Mosaikon& window)
{
    const QList<QAction*> actions = menuNamed(window, QStringLiteral("&File"))->actions();
    for (int i = 0; i + 1 < actions.size(); ++i) {
        if (actions.at(i)->text() == QStringLiteral("Recent..."))
            return actions.at(i + 1);
    }
    return nullptr;
}

std::unique_ptr<Mosaikon> openWindow()
{
    auto window = std::make_unique<Mosaikon>();
    window->resize(1100, 760);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the main window did not become active");
    return window;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

Project readBack(const QString& path, bool* ok)
{
    Project project;
    *ok = ProjectFile::read(path, project).ok();
    return project;
}

} // namespace

class MosaikonTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> environment;
    // A file name of its own for every test function.
    QString file(const QString& name) const
    {
        return environment->path(QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('_') + name);
    }
    // The window holds the sample project, untitled and modified.
    void fillWithSample(Mosaikon& window);

private slots:
    void initTestCase();
    void init();

    void titleOfFreshWindow();
    void titleMarksAddedItemAndClearsOnSave();
    void titleMarksModifiedEditorAtNextRecomputation();

    void newOnSavedProjectAsksNothing();
    void newAnsweredNoDiscards();
    void newAnsweredCancelKeepsEverything();
    void newAnsweredYesOnUntitledSavesAsThenClears();
    void newAnsweredYesOnTitledSavesToItsPath();
    void newAnsweredYesStopsWhenSaveAsCancelled();
    void newAnsweredYesStopsWhenSaveFails();
    void newStopsWhenAnEditorRefusesToClose();

    void openValidFile();
    void openAnsweredCancelKeepsProject();
    void openAnsweredYesSavesFirst();
    void openCancelledDialogChangesNothing();
    void openMalformedFileGivesEmptyUntitledProject();
    void openMissingFileGivesEmptyUntitledProject();
    void openUnknownVersion();

    void saveAsWritesFileThatReadsBack();
    void saveWritesToProjectPathWithoutDialog();
    void saveAsCancelledReturnsFalse();
    void failedSaveKeepsProjectUnsavedAndOldFileIntact();

    void closeAnsweredCancelKeepsWindow();
    void closeAnsweredNoCloses();
    void closeAnsweredYesSavesThenCloses();
    void closeAnsweredYesWithFailedSaveKeepsWindow();
    void closeRefusedByEditorAsksNothing();
    void exitAnsweredCancelKeepsWindowAndData();

    void recentMenuHiddenWhileListEmpty();
    void recentMenuShownAtStartWhenListStored();
    void recentFilesKeepTwelveShowTen();
    void recentFileAddedTwiceMovesToFront();
    void recentFileDeletedIsRemovedAndProjectKept();
    void recentFileOpensProjectAndMovesToFront();

    void closeAllClosesUnmodifiedEditors();
    void tileHorzSplitsWidth();
    void tileVertSplitsHeight();
    void windowActionsDisabledWithoutEditors();
    void undoRedoFollowActiveEditor();
    void nextAndPreviousMoveBetweenEditors();
    void fullUpdateInvalidatesEveryEditor();

    void menuBarOrder();
    void menuEntries_data();
    void menuEntries();
    void actionDetails_data();
    void actionDetails();
    void toolBarEntries();
    void aboutAndDisclaimerBoxes_data();
    void aboutAndDisclaimerBoxes();
};

void MosaikonTest::initTestCase()
{
    environment = std::make_unique<TestEnvironment>();
    // Closing the main window in a test must not end the test program.
    QApplication::setQuitOnLastWindowClosed(false);
}

void MosaikonTest::init()
{
    QSettings settings;
    settings.clear();
    settings.sync();
}

void MosaikonTest::fillWithSample(Mosaikon& window)
{
    ItemCommands* commands = window.itemCommands();
    commands->addNew(ItemKind::Charset);
    commands->addNew(ItemKind::Charset);
    commands->addNew(ItemKind::Spriteset);
    commands->addNew(ItemKind::Screen);
    QVERIFY(window.isUnsaved());
}

// ---------------------------------------------------------------- title

void MosaikonTest::titleOfFreshWindow()
{
    PromptScript script;
    auto window = openWindow();
    QCOMPARE(window->windowTitle(), freshTitle);
    QVERIFY(!window->isUnsaved());
    QVERIFY(window->projectPath().isEmpty());
    QCOMPARE(itemCount(window->currentProject()), 0);
    QVERIFY(script.shown.isEmpty());
}

void MosaikonTest::titleMarksAddedItemAndClearsOnSave()
{
    PromptScript script;
    auto window = openWindow();
    window->itemCommands()->addNew(ItemKind::Charset);
    QCOMPARE(window->windowTitle(), QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [Untitled *]"));

    // Placeholders in the path are the path's own text.
    const QString path = file("title %2%3.mzprj");
    script.text(path);
    QVERIFY(window->save());
    QCOMPARE(window->windowTitle(), QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [") + path + QLatin1Char(']'));
    QCOMPARE(window->projectPath(), path);
    QVERIFY(!window->isUnsaved());

    window->itemCommands()->addNew(ItemKind::Screen);
    QCOMPARE(window->windowTitle(), titleFor(path, true));
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::titleMarksModifiedEditorAtNextRecomputation()
{
    PromptScript script;
    auto window = openWindow();
    window->itemCommands()->addNew(ItemKind::Charset);
    script.text(file("p.mzprj"));
    QVERIFY(window->saveAs());
    QCOMPARE(window->windowTitle(), titleFor(file("p.mzprj"), false));

    auto* editor = new FakeEditor(CharsetNode, 0);
    addFakeEditor(window->editorArea(), editor);
    editor->modified = true;
    QVERIFY(window->isUnsaved());
    window->updateTitle();
    QCOMPARE(window->windowTitle(), titleFor(file("p.mzprj"), true));

    editor->modified = false;
    window->updateTitle();
    QCOMPARE(window->windowTitle(), titleFor(file("p.mzprj"), false));
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- new

void MosaikonTest::newOnSavedProjectAsksNothing()
{
    PromptScript script;
    auto window = openWindow();
    window->itemCommands()->addNew(ItemKind::Charset);
    script.text(file("p.mzprj"));
    QVERIFY(window->saveAs());
    const int shownBefore = script.shown.size();

    QVERIFY(window->newProject());
    QCOMPARE(script.shown.size(), shownBefore);
    QCOMPARE(itemCount(window->currentProject()), 0);
    QCOMPARE(window->windowTitle(), freshTitle);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::newAnsweredNoDiscards()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    script.button(QMessageBox::No);

    QVERIFY(window->newProject());
    QCOMPARE(script.shown.size(), 1);
    const PromptRequest question = script.shown.at(0);
    QCOMPARE(question.kind, PromptRequest::Question);
    QCOMPARE(question.icon, QMessageBox::Warning);
    QCOMPARE(question.title, QStringLiteral("Data not saved!"));
    QCOMPARE(question.text, unsavedQuestion);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(question.defaultButton, QMessageBox::Yes);

    QCOMPARE(itemCount(window->currentProject()), 0);
    QVERIFY(!window->isUnsaved());
    QVERIFY(window->projectPath().isEmpty());
    QCOMPARE(window->windowTitle(), freshTitle);
    for (int i = 0; i < window->projectTree()->topLevelItemCount(); ++i)
        QCOMPARE(window->projectTree()->topLevelItem(i)->childCount(), 0);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::newAnsweredCancelKeepsEverything()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    script.button(QMessageBox::Cancel);

    QVERIFY(!window->newProject());
    QCOMPARE(script.shown.size(), 1);
    QVERIFY(sameProject(window->currentProject(), before));
    QCOMPARE(itemCount(window->currentProject()), 4);
    QVERIFY(window->isUnsaved());
    QCOMPARE(window->windowTitle(), QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [Untitled *]"));
    QCOMPARE(window->projectTree()->categoryItem(ItemKind::Charset)->childCount(), 2);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::newAnsweredYesOnUntitledSavesAsThenClears()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    const QString path = file("saved.mzprj");
    script.button(QMessageBox::Yes).text(path);

    QVERIFY(window->newProject());
    QCOMPARE(script.shown.size(), 2);
    QCOMPARE(script.shown.at(1).kind, PromptRequest::SaveFileName);
    QCOMPARE(script.shown.at(1).title, QStringLiteral("Save as..."));

    bool ok = false;
    const Project written = readBack(path, &ok);
    QVERIFY(ok);
    QVERIFY(sameProject(written, before));
    QCOMPARE(itemCount(window->currentProject()), 0);
    QVERIFY(window->projectPath().isEmpty());
    QCOMPARE(window->windowTitle(), freshTitle);
    // Saving under a new name records the file as recently used.
    QCOMPARE(RecentFiles::load(), QStringList(path));
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::newAnsweredYesOnTitledSavesToItsPath()
{
    PromptScript script;
    auto window = openWindow();
    window->itemCommands()->addNew(ItemKind::Charset);
    const QString path = file("titled.mzprj");
    script.text(path);
    QVERIFY(window->saveAs());
    window->itemCommands()->addNew(ItemKind::Blockset);
    const Project before = window->currentProject();
    const int shownBefore = script.shown.size();
    script.button(QMessageBox::Yes);

    QVERIFY(window->newProject());
    // Only the question; the project already has a file, so no dialog.
    QCOMPARE(script.shown.size(), shownBefore + 1);
    QCOMPARE(script.shown.last().kind, PromptRequest::Question);
    bool ok = false;
    const Project written = readBack(path, &ok);
    QVERIFY(ok);
    QVERIFY(sameProject(written, before));
    QCOMPARE(written.blocksets.size(), 1);
    QCOMPARE(itemCount(window->currentProject()), 0);
    QCOMPARE(window->windowTitle(), freshTitle);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::newAnsweredYesStopsWhenSaveAsCancelled()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    script.button(QMessageBox::Yes).cancel();

    QVERIFY(!window->newProject());
    QCOMPARE(script.shown.size(), 2);
    QVERIFY(sameProject(window->currentProject(), before));
    QVERIFY(window->isUnsaved());
    QVERIFY(window->projectPath().isEmpty());
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::newAnsweredYesStopsWhenSaveFails()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    const QString badPath = file("missing-directory/p.mzprj");
    script.button(QMessageBox::Yes).text(badPath);

    QVERIFY(!window->newProject());
    QCOMPARE(script.shown.size(), 3);
    const PromptRequest error = script.shown.at(2);
    QCOMPARE(error.kind, PromptRequest::Message);
    QCOMPARE(error.icon, QMessageBox::Critical);
    QCOMPARE(error.title, QStringLiteral("Error!"));
    QCOMPARE(error.text, QStringLiteral("Unable to save the file '%1'!").arg(badPath));
    QVERIFY(sameProject(window->currentProject(), before));
    QVERIFY(window->isUnsaved());
    QVERIFY(window->projectPath().isEmpty());
    QVERIFY(!QFile::exists(badPath));
    QVERIFY(RecentFiles::load().isEmpty());
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::newStopsWhenAnEditorRefusesToClose()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    auto log = QSharedPointer<FakeEditorLog>::create();
    auto* editor = new FakeEditor(CharsetNode, 0, log);
    editor->modified = true;
    addFakeEditor(window->editorArea(), editor);

    QVERIFY(!window->closeAll());
    QVERIFY(!window->newProject());
    QVERIFY(log->closeRequests >= 1);
    QCOMPARE(log->closesAccepted, 0);
    // The project question is never reached.
    QVERIFY(script.shown.isEmpty());
    QCOMPARE(window->editorArea()->subWindowList().size(), 1);
    QVERIFY(sameProject(window->currentProject(), before));
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- open

void MosaikonTest::openValidFile()
{
    PromptScript script;
    const QString path = file("valid.mzprj");
    const Project stored = sampleProject();
    QVERIFY(ProjectFile::write(path, stored));
    auto window = openWindow();
    script.text(path);

    QVERIFY(window->open());
    QCOMPARE(script.shown.size(), 1);
    QCOMPARE(script.shown.at(0).kind, PromptRequest::OpenFileName);
    QCOMPARE(script.shown.at(0).title, QStringLiteral("Open..."));
    QCOMPARE(script.shown.at(0).filter, QStringLiteral("Mosaikon (*.mzprj)"));
    QVERIFY(sameProject(window->currentProject(), stored));
    QCOMPARE(window->projectPath(), path);
    QVERIFY(!window->isUnsaved());
    QCOMPARE(window->windowTitle(), titleFor(path, false));
    QCOMPARE(window->projectTree()->categoryItem(ItemKind::Tileset)->childCount(), 1);
    QCOMPARE(window->projectTree()->categoryItem(ItemKind::Screen)->child(0)->text(0),
             QStringLiteral("Screen 00"));
    QCOMPARE(RecentFiles::load(), QStringList(path));
    QVERIFY(recentMenu(*window)->menuAction()->isVisible());
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::openAnsweredCancelKeepsProject()
{
    PromptScript script;
    const QString path = file("other.mzprj");
    QVERIFY(ProjectFile::write(path, sampleProject()));
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    script.text(path).button(QMessageBox::Cancel);

    QVERIFY(!window->open());
    QCOMPARE(script.shown.size(), 2);
    QCOMPARE(script.shown.at(1).title, QStringLiteral("Data not saved!"));
    QVERIFY(sameProject(window->currentProject(), before));
    QVERIFY(window->isUnsaved());
    QVERIFY(window->projectPath().isEmpty());
    QVERIFY(RecentFiles::load().isEmpty());
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::openAnsweredYesSavesFirst()
{
    PromptScript script;
    const QString path = file("other.mzprj");
    const Project stored = sampleProject();
    QVERIFY(ProjectFile::write(path, stored));
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    const QString savePath = file("first.mzprj");
    script.text(path).button(QMessageBox::Yes).text(savePath);

    QVERIFY(window->open());
    QCOMPARE(script.shown.size(), 3);
    bool ok = false;
    QVERIFY(sameProject(readBack(savePath, &ok), before));
    QVERIFY(ok);
    QVERIFY(sameProject(window->currentProject(), stored));
    QCOMPARE(window->projectPath(), path);
    // Newest first: the opened file, then the one saved on the way.
    QCOMPARE(RecentFiles::load(), QStringList({path, savePath}));
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::openCancelledDialogChangesNothing()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    script.cancel();

    QVERIFY(!window->open());
    QCOMPARE(script.shown.size(), 1);
    QVERIFY(sameProject(window->currentProject(), before));
    QVERIFY(window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::openMalformedFileGivesEmptyUntitledProject()
{
    PromptScript script;
    QByteArray bytes = ProjectFile::serialize(sampleProject());
    bytes.chop(5);
    const QString path = file("truncated.mzprj");
    QVERIFY(writeBytes(path, bytes));

    auto window = openWindow();
    fillWithSample(*window);
    script.text(path).button(QMessageBox::No);

    QVERIFY(!window->open());
    QCOMPARE(script.shown.size(), 3);
    const PromptRequest error = script.shown.at(2);
    QCOMPARE(error.kind, PromptRequest::Message);
    QCOMPARE(error.icon, QMessageBox::Critical);
    QCOMPARE(error.title, QStringLiteral("Error!"));
    QCOMPARE(error.text, QStringLiteral("Unable to open the file '%1'!").arg(path));
    // Rejected as a whole: nothing of the file, nothing of the old project.
    QCOMPARE(itemCount(window->currentProject()), 0);
    QVERIFY(window->projectPath().isEmpty());
    QVERIFY(!window->isUnsaved());
    QCOMPARE(window->windowTitle(), freshTitle);
    for (int i = 0; i < window->projectTree()->topLevelItemCount(); ++i)
        QCOMPARE(window->projectTree()->topLevelItem(i)->childCount(), 0);
    QVERIFY(RecentFiles::load().isEmpty());
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::openMissingFileGivesEmptyUntitledProject()
{
    PromptScript script;
    const QString path = file("nowhere.mzprj");
    auto window = openWindow();
    fillWithSample(*window);
    script.text(path).button(QMessageBox::No);

    QVERIFY(!window->open());
    QCOMPARE(script.last().text, QStringLiteral("Unable to open the file '%1'!").arg(path));
    QCOMPARE(script.last().title, QStringLiteral("Error!"));
    QCOMPARE(itemCount(window->currentProject()), 0);
    QCOMPARE(window->windowTitle(), freshTitle);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::openUnknownVersion()
{
    PromptScript script;
    RecordWriter out;
    out.writeVersion({0, 13, 0});
    for (int section = 0; section < 5; ++section)
        out.writeInt(0);
    const QString path = file("newer.mzprj");
    QVERIFY(writeBytes(path, out.bytes()));

    auto window = openWindow();
    fillWithSample(*window);
    script.text(path).button(QMessageBox::No);

    QVERIFY(!window->open());
    QCOMPARE(script.shown.size(), 3);
    QCOMPARE(script.last().kind, PromptRequest::Message);
    QCOMPARE(script.last().icon, QMessageBox::Critical);
    QCOMPARE(script.last().title, QStringLiteral("Error!"));
    QCOMPARE(script.last().text, QStringLiteral("Unknown version 0.13.0!"));
    QCOMPARE(itemCount(window->currentProject()), 0);
    QVERIFY(window->projectPath().isEmpty());
    QCOMPARE(window->windowTitle(), freshTitle);
    QVERIFY(RecentFiles::load().isEmpty());
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- save

void MosaikonTest::saveAsWritesFileThatReadsBack()
{
    PromptScript script;
    const QString source = file("source.mzprj");
    QVERIFY(ProjectFile::write(source, sampleProject()));
    auto window = openWindow();
    script.text(source);
    QVERIFY(window->open());
    window->itemCommands()->addNew(ItemKind::Spriteset);
    const Project before = window->currentProject();

    const QString path = file("copy.mzprj");
    script.text(path);
    QVERIFY(window->saveAs());
    const PromptRequest dialog = script.last();
    QCOMPARE(dialog.kind, PromptRequest::SaveFileName);
    QCOMPARE(dialog.title, QStringLiteral("Save as..."));
    QCOMPARE(dialog.filter, QStringLiteral("Mosaikon (*.mzprj)"));

    bool ok = false;
    const Project written = readBack(path, &ok);
    QVERIFY(ok);
    QVERIFY(sameProject(written, before));
    QCOMPARE(written.spritesets.size(), 2);
    QCOMPARE(window->projectPath(), path);
    QVERIFY(!window->isUnsaved());
    QCOMPARE(RecentFiles::load(), QStringList({path, source}));
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::saveWritesToProjectPathWithoutDialog()
{
    PromptScript script;
    auto window = openWindow();
    window->itemCommands()->addNew(ItemKind::Charset);
    const QString path = file("p.mzprj");
    script.text(path);
    QVERIFY(window->save()); // untitled: save goes through the Save As dialog
    QCOMPARE(script.shown.size(), 1);
    QCOMPARE(script.shown.at(0).kind, PromptRequest::SaveFileName);

    window->itemCommands()->addNew(ItemKind::Screen);
    QVERIFY(window->isUnsaved());
    const int shownBefore = script.shown.size();
    // Saving a titled project neither asks nor touches the recent list.
    QSettings().remove(QStringLiteral("recentFileList"));
    QVERIFY(window->save());
    QCOMPARE(script.shown.size(), shownBefore);
    QVERIFY(RecentFiles::load().isEmpty());
    bool ok = false;
    const Project written = readBack(path, &ok);
    QVERIFY(ok);
    QVERIFY(sameProject(written, window->currentProject()));
    QCOMPARE(written.screens.size(), 1);
    QVERIFY(!window->isUnsaved());
    QCOMPARE(window->windowTitle(), titleFor(path, false));
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::saveAsCancelledReturnsFalse()
{
    PromptScript script;
    auto window = openWindow();
    window->itemCommands()->addNew(ItemKind::Charset);
    script.cancel();
    QVERIFY(!window->saveAs());
    QVERIFY(window->isUnsaved());
    QVERIFY(window->projectPath().isEmpty());
    QCOMPARE(window->windowTitle(), QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [Untitled *]"));
    QVERIFY(RecentFiles::load().isEmpty());

    script.cancel();
    QVERIFY(!window->save());
    QCOMPARE(script.shown.size(), 2);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::failedSaveKeepsProjectUnsavedAndOldFileIntact()
{
    PromptScript script;
    auto window = openWindow();
    window->itemCommands()->addNew(ItemKind::Charset);
    const QString path = file("kept.mzprj");
    script.text(path);
    QVERIFY(window->saveAs());
    const QByteArray original = fileBytes(path);
    QVERIFY(!original.isEmpty());

    window->itemCommands()->addNew(ItemKind::Charset);
    const QString badPath = file("no-such-directory/p.mzprj");
    script.text(badPath);
    QVERIFY(!window->saveAs());
    QCOMPARE(script.last().kind, PromptRequest::Message);
    QCOMPARE(script.last().icon, QMessageBox::Critical);
    QCOMPARE(script.last().title, QStringLiteral("Error!"));
    QCOMPARE(script.last().text, QStringLiteral("Unable to save the file '%1'!").arg(badPath));
    QCOMPARE(window->projectPath(), path);
    QVERIFY(window->isUnsaved());
    QCOMPARE(window->windowTitle(), titleFor(path, true));
    QCOMPARE(fileBytes(path), original);
    QCOMPARE(RecentFiles::load(), QStringList(path));
    QCOMPARE(window->currentProject().charsets.size(), 2);
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- close and exit

void MosaikonTest::closeAnsweredCancelKeepsWindow()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    script.button(QMessageBox::Cancel);

    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(script.shown.size(), 1);
    QCOMPARE(script.shown.at(0).title, QStringLiteral("Data not saved!"));
    QVERIFY(sameProject(window->currentProject(), before));
    QVERIFY(window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::closeAnsweredNoCloses()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    script.button(QMessageBox::No);

    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    QCOMPARE(script.shown.size(), 1);
    QCOMPARE(QDir(environment->root())
                 .entryList({QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('*')}),
             QStringList());
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::closeAnsweredYesSavesThenCloses()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    const QString path = file("onclose.mzprj");
    script.button(QMessageBox::Yes).text(path);

    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    bool ok = false;
    QVERIFY(sameProject(readBack(path, &ok), before));
    QVERIFY(ok);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::closeAnsweredYesWithFailedSaveKeepsWindow()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    const QString badPath = file("absent/p.mzprj");
    script.button(QMessageBox::Yes).text(badPath);

    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(script.last().text, QStringLiteral("Unable to save the file '%1'!").arg(badPath));
    QVERIFY(window->isUnsaved());
    QCOMPARE(itemCount(window->currentProject()), 4);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::closeRefusedByEditorAsksNothing()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    auto* editor = new FakeEditor(ScreenNode, 0);
    editor->modified = true;
    addFakeEditor(window->editorArea(), editor);

    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QVERIFY(script.shown.isEmpty());
    QCOMPARE(window->editorArea()->subWindowList().size(), 1);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::exitAnsweredCancelKeepsWindowAndData()
{
    PromptScript script;
    auto window = openWindow();
    fillWithSample(*window);
    const Project before = window->currentProject();
    auto log = QSharedPointer<FakeEditorLog>::create();
    QPointer<FakeEditor> editor = new FakeEditor(CharsetNode, 1, log);
    addFakeEditor(window->editorArea(), editor);
    script.button(QMessageBox::Cancel);

    QAction* exit = actionNamed(*window, QStringLiteral("&File"), QStringLiteral("E&xit"));
    QVERIFY(exit);
    exit->trigger();
    QCOMPARE(script.shown.size(), 1);
    QCOMPARE(script.shown.at(0).title, QStringLiteral("Data not saved!"));
    QVERIFY(window->isVisible());
    QVERIFY(sameProject(window->currentProject(), before));
    QVERIFY(window->isUnsaved());
    // The editor closed on the way stays closed.
    QCOMPARE(log->closesAccepted, 1);
    QVERIFY(window->editorArea()->subWindowList().isEmpty());
    QTRY_VERIFY(editor.isNull());
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- recent files

void MosaikonTest::recentMenuHiddenWhileListEmpty()
{
    PromptScript script;
    auto window = openWindow();
    QMenu* recent = recentMenu(*window);
    QVERIFY(recent);
    QAction* separator = recentSeparator(*window);
    QVERIFY(separator);
    QVERIFY(separator->isSeparator());
    QVERIFY(!recent->menuAction()->isVisible());
    QVERIFY(!separator->isVisible());

    window->itemCommands()->addNew(ItemKind::Charset);
    const QString path = file("p.mzprj");
    script.text(path);
    QVERIFY(window->saveAs());
    QVERIFY(recent->menuAction()->isVisible());
    QVERIFY(separator->isVisible());

    // The only entry fails to open from the menu: the list is empty again.
    QVERIFY(QFile::remove(path));
    window->updateRecentFileActions();
    QAction* first = recent->actions().value(0);
    QVERIFY(first && first->isVisible());
    first->trigger();
    QVERIFY(RecentFiles::load().isEmpty());
    QVERIFY(!recent->menuAction()->isVisible());
    QVERIFY(!separator->isVisible());
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::recentMenuShownAtStartWhenListStored()
{
    PromptScript script;
    RecentFiles::add(file("a.mzprj"));
    auto window = openWindow();
    QVERIFY(recentMenu(*window)->menuAction()->isVisible());
    QVERIFY(recentSeparator(*window)->isVisible());
    QVERIFY(script.shown.isEmpty());
}

void MosaikonTest::recentFilesKeepTwelveShowTen()
{
    PromptScript script;
    auto window = openWindow();
    window->itemCommands()->addNew(ItemKind::Charset);
    QStringList saved;
    for (int i = 1; i <= 12; ++i) {
        const QString path = file(QStringLiteral("p%1.mzprj").arg(i, 2, 10, QLatin1Char('0')));
        script.text(path);
        QVERIFY(window->saveAs());
        saved.prepend(path);
    }
    QCOMPARE(script.unexpected, 0);

    const QStringList stored = RecentFiles::load();
    QCOMPARE(stored.size(), 12);
    QCOMPARE(stored, saved);

    window->updateRecentFileActions();
    const QList<QAction*> actions = recentMenu(*window)->actions();
    QCOMPARE(actions.size(), 10);
    for (int i = 0; i < 10; ++i) {
        const QAction* action = actions.at(i);
        QVERIFY(action->isVisible());
        QCOMPARE(action->text(),
                 QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(saved.at(i)).fileName()));
        QCOMPARE(action->data().toString(), saved.at(i));
    }
    QCOMPARE(actions.at(0)->text(), QStringLiteral("&1 %1_p12.mzprj").arg(QTest::currentTestFunction()));
    QCOMPARE(actions.at(9)->text(), QStringLiteral("&10 %1_p03.mzprj").arg(QTest::currentTestFunction()));
    // Showing the menu never shortens the stored list.
    QCOMPARE(RecentFiles::load().size(), 12);
}

void MosaikonTest::recentFileAddedTwiceMovesToFront()
{
    PromptScript script;
    auto window = openWindow();
    const QStringList paths {file("a.mzprj"), file("b.mzprj"), file("c.mzprj")};
    for (const QString& path : paths) {
        script.text(path);
        QVERIFY(window->saveAs());
    }
    script.text(paths.at(0));
    QVERIFY(window->saveAs());
    QCOMPARE(RecentFiles::load(), QStringList({paths.at(0), paths.at(2), paths.at(1)}));

    // Fewer than ten entries: the rest of the menu's actions are hidden.
    window->updateRecentFileActions();
    const QList<QAction*> actions = recentMenu(*window)->actions();
    QCOMPARE(actions.size(), 10);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(actions.at(i)->isVisible(), i < 3);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::recentFileDeletedIsRemovedAndProjectKept()
{
    PromptScript script;
    auto window = openWindow();
    const QStringList paths {file("a.mzprj"), file("b.mzprj"), file("c.mzprj")};
    for (const QString& path : paths) {
        script.text(path);
        QVERIFY(window->saveAs());
    }
    // Current project: titled c.mzprj, with unsaved changes.
    fillWithSample(*window);
    const Project before = window->currentProject();
    const QString titleBefore = window->windowTitle();
    QVERIFY(QFile::remove(paths.at(1)));
    const int shownBefore = script.shown.size();

    window->updateRecentFileActions();
    QAction* entry = recentMenu(*window)->actions().at(1);
    QCOMPARE(entry->data().toString(), paths.at(1));
    entry->trigger();

    // Only the error: the file is checked before the unsaved project is asked about.
    QCOMPARE(script.shown.size(), shownBefore + 1);
    QCOMPARE(script.last().kind, PromptRequest::Message);
    QCOMPARE(script.last().icon, QMessageBox::Critical);
    QCOMPARE(script.last().title, QStringLiteral("Error!"));
    QCOMPARE(script.last().text, QStringLiteral("Unable to open the file '%1'!").arg(paths.at(1)));
    QCOMPARE(RecentFiles::load(), QStringList({paths.at(2), paths.at(0)}));
    QVERIFY(sameProject(window->currentProject(), before));
    QCOMPARE(window->projectPath(), paths.at(2));
    QVERIFY(window->isUnsaved());
    QCOMPARE(window->windowTitle(), titleBefore);
    QCOMPARE(script.unexpected, 0);
}

void MosaikonTest::recentFileOpensProjectAndMovesToFront()
{
    PromptScript script;
    const QString older = file("older.mzprj");
    const Project stored = sampleProject();
    QVERIFY(ProjectFile::write(older, stored));
    RecentFiles::add(older);
    RecentFiles::add(file("newer.mzprj"));

    auto window = openWindow();
    fillWithSample(*window);
    script.button(QMessageBox::No);
    window->updateRecentFileActions();
    QAction* entry = recentMenu(*window)->actions().at(1);
    QCOMPARE(entry->text(), QStringLiteral("&2 %1").arg(QFileInfo(older).fileName()));
    entry->trigger();

    // The unsaved project is asked about, as for Open.
    QCOMPARE(script.shown.size(), 1);
    QCOMPARE(script.shown.at(0).title, QStringLiteral("Data not saved!"));
    QVERIFY(sameProject(window->currentProject(), stored));
    QCOMPARE(window->projectPath(), older);
    QVERIFY(!window->isUnsaved());
    QCOMPARE(RecentFiles::load(), QStringList({older, file("newer.mzprj")}));
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- editor windows

void MosaikonTest::closeAllClosesUnmodifiedEditors()
{
    PromptScript script;
    auto window = openWindow();
    auto log1 = QSharedPointer<FakeEditorLog>::create();
    auto log2 = QSharedPointer<FakeEditorLog>::create();
    addFakeEditor(window->editorArea(), new FakeEditor(CharsetNode, 0, log1));
    addFakeEditor(window->editorArea(), new FakeEditor(ScreenNode, 0, log2));

    QVERIFY(window->closeAll());
    QVERIFY(window->editorArea()->subWindowList().isEmpty());
    QCOMPARE(log1->closesAccepted, 1);
    QCOMPARE(log2->closesAccepted, 1);
    QVERIFY(!log1->forcedWhenClosed);
    QVERIFY(script.shown.isEmpty());
}

void MosaikonTest::tileHorzSplitsWidth()
{
    PromptScript script;
    auto window = openWindow();
    QMdiArea* area = window->editorArea();
    QList<QMdiSubWindow*> windows;
    for (int i = 0; i < 3; ++i)
        windows << addFakeEditor(area, new FakeEditor(CharsetNode, i));
    windows.at(1)->showMaximized();
    QCoreApplication::processEvents();
    windows.at(1)->showNormal();
    windows.at(2)->move(10, 10);
    QCoreApplication::processEvents();

    const QSize viewport = area->viewport()->size();
    QVERIFY(viewport.width() >= 600);
    window->tileHorz();
    QCOMPARE(area->viewport()->size(), viewport);
    const int width = viewport.width() / 3;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!windows.at(i)->isMaximized());
        QVERIFY(!windows.at(i)->isMinimized());
        QCOMPARE(windows.at(i)->geometry(), QRect(i * width, 0, width, viewport.height()));
    }
}

void MosaikonTest::tileVertSplitsHeight()
{
    PromptScript script;
    auto window = openWindow();
    QMdiArea* area = window->editorArea();
    QList<QMdiSubWindow*> windows;
    for (int i = 0; i < 3; ++i)
        windows << addFakeEditor(area, new FakeEditor(SpritesetNode, i));
    windows.at(0)->showMinimized();
    QCoreApplication::processEvents();

    const QSize viewport = area->viewport()->size();
    QVERIFY(viewport.height() >= 450);
    window->tileVert();
    QCOMPARE(area->viewport()->size(), viewport);
    const int height = viewport.height() / 3;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!windows.at(i)->isMaximized());
        QVERIFY(!windows.at(i)->isMinimized());
        QCOMPARE(windows.at(i)->geometry(), QRect(0, i * height, viewport.width(), height));
    }
}

void MosaikonTest::windowActionsDisabledWithoutEditors()
{
    PromptScript script;
    auto window = openWindow();
    const QStringList windowActions {QStringLiteral("Close &All"), QStringLiteral("&Cascade"),
                                     QStringLiteral("&Tile"), QStringLiteral("Tile &horizontally"),
                                     QStringLiteral("Tile &vertically"), QStringLiteral("Ne&xt"),
                                     QStringLiteral("Pre&vious")};
    for (const QString& text : windowActions) {
        QAction* action = actionNamed(*window, QStringLiteral("&Window"), text);
        QVERIFY2(action, qPrintable(text));
        QVERIFY2(!action->isEnabled(), qPrintable(text));
    }
    QVERIFY(!actionNamed(*window, QStringLiteral("&Edit"), QStringLiteral("&Undo"))->isEnabled());
    QVERIFY(!actionNamed(*window, QStringLiteral("&Edit"), QStringLiteral("&Redo"))->isEnabled());
    QVERIFY(actionNamed(*window, QStringLiteral("&File"), QStringLiteral("&Save project"))->isEnabled());
    QVERIFY(actionNamed(*window, QStringLiteral("&File"), QStringLiteral("Save project &As..."))->isEnabled());

    // With an active editor they are enabled, and disabled again once it closed.
    addFakeEditor(window->editorArea(), new FakeEditor(CharsetNode, 0));
    QTRY_VERIFY(window->editorArea()->activeSubWindow() != nullptr);
    window->updateMenus();
    for (const QString& text : windowActions)
        QVERIFY2(actionNamed(*window, QStringLiteral("&Window"), text)->isEnabled(), qPrintable(text));
    QVERIFY(actionNamed(*window, QStringLiteral("&File"), QStringLiteral("&Save project"))->isEnabled());

    actionNamed(*window, QStringLiteral("&Window"), QStringLiteral("Close &All"))->trigger();
    QVERIFY(window->editorArea()->subWindowList().isEmpty());
    QCoreApplication::processEvents();
    for (const QString& text : windowActions)
        QVERIFY2(!actionNamed(*window, QStringLiteral("&Window"), text)->isEnabled(), qPrintable(text));
}

void MosaikonTest::undoRedoFollowActiveEditor()
{
    PromptScript script;
    auto window = openWindow();
    QAction* undo = actionNamed(*window, QStringLiteral("&Edit"), QStringLiteral("&Undo"));
    QAction* redo = actionNamed(*window, QStringLiteral("&Edit"), QStringLiteral("&Redo"));
    QVERIFY(undo && redo);

    auto undoLog = QSharedPointer<FakeEditorLog>::create();
    auto* undoable = new FakeEditor(CharsetNode, 0, undoLog);
    undoable->undoAvailable = true;
    auto redoLog = QSharedPointer<FakeEditorLog>::create();
    auto* redoable = new FakeEditor(CharsetNode, 1, redoLog);
    redoable->redoAvailable = true;
    QMdiSubWindow* undoWindow = addFakeEditor(window->editorArea(), undoable);
    QMdiSubWindow* redoWindow = addFakeEditor(window->editorArea(), redoable);

    window->editorArea()->setActiveSubWindow(undoWindow);
    QTRY_COMPARE(window->editorArea()->activeSubWindow(), undoWindow);
    window->updateMenus();
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    undo->trigger();
    QCOMPARE(undoLog->undoCalls, 1);
    QCOMPARE(redoLog->undoCalls, 0);

    window->editorArea()->setActiveSubWindow(redoWindow);
    QTRY_COMPARE(window->editorArea()->activeSubWindow(), redoWindow);
    window->updateMenus();
    QVERIFY(!undo->isEnabled());
    QVERIFY(redo->isEnabled());
    redo->trigger();
    QCOMPARE(redoLog->redoCalls, 1);
    QCOMPARE(undoLog->redoCalls, 0);

    // The state follows the editor's answer at the next update.
    redoable->undoAvailable = true;
    redoable->redoAvailable = false;
    window->updateMenus();
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    QVERIFY(script.shown.isEmpty());
}

void MosaikonTest::nextAndPreviousMoveBetweenEditors()
{
    PromptScript script;
    auto window = openWindow();
    QMdiArea* area = window->editorArea();
    QMdiSubWindow* first = addFakeEditor(area, new FakeEditor(CharsetNode, 0));
    QMdiSubWindow* second = addFakeEditor(area, new FakeEditor(CharsetNode, 1));
    area->setActiveSubWindow(first);
    QTRY_COMPARE(area->activeSubWindow(), first);
    window->updateMenus();

    actionNamed(*window, QStringLiteral("&Window"), QStringLiteral("Ne&xt"))->trigger();
    QTRY_COMPARE(area->activeSubWindow(), second);
    actionNamed(*window, QStringLiteral("&Window"), QStringLiteral("Pre&vious"))->trigger();
    QTRY_COMPARE(area->activeSubWindow(), first);
}

void MosaikonTest::fullUpdateInvalidatesEveryEditor()
{
    PromptScript script;
    auto window = openWindow();
    auto log1 = QSharedPointer<FakeEditorLog>::create();
    auto log2 = QSharedPointer<FakeEditorLog>::create();
    addFakeEditor(window->editorArea(), new FakeEditor(CharsetNode, 0, log1));
    addFakeEditor(window->editorArea(), new FakeEditor(TilesetNode, 0, log2));
    window->editorServices()->fullUpdate();
    QCOMPARE(log1->invalidateCalls, 1);
    QCOMPARE(log2->invalidateCalls, 1);
}

// ---------------------------------------------------------------- menus

void MosaikonTest::menuBarOrder()
{
    auto window = openWindow();
    QCOMPARE(actionTexts(window->menuBar()->actions()),
             QStringList({QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&Tool"),
                          QStringLiteral("&Window"), QStringLiteral("?")}));
    QCOMPARE(window->objectName(), QStringLiteral("MosaikonClass"));
}

void MosaikonTest::menuEntries_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("File") << QStringLiteral("&File")
                          << QStringList({"&New", "&Open...", "-", "&Save project", "Save project &As...",
                                          "-", "Recent...", "-", "E&xit"});
    QTest::newRow("Edit") << QStringLiteral("&Edit") << QStringList({"&Undo", "&Redo"});
    QTest::newRow("Tool") << QStringLiteral("&Tool") << QStringList({"&VIC-II calculator..."});
    QTest::newRow("Window") << QStringLiteral("&Window")
                            << QStringList({"Close &All", "-", "&Cascade", "&Tile", "Tile &horizontally",
                                            "Tile &vertically", "-", "Ne&xt", "Pre&vious"});
    QTest::newRow("?") << QStringLiteral("?") << QStringList({"&About...", "&Disclaimer..."});
}

void MosaikonTest::menuEntries()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, entries);
    auto window = openWindow();
    QMenu* found = menuNamed(*window, menu);
    QVERIFY(found);
    QCOMPARE(actionTexts(found->actions()), entries);
}

void MosaikonTest::actionDetails_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QKeySequence>>("shortcuts");
    QTest::addColumn<QString>("statusTip");

    using Keys = QList<QKeySequence>;
    QTest::newRow("new") << "&File" << "&New" << QKeySequence::keyBindings(QKeySequence::New)
                         << "Create a new project";
    QTest::newRow("open") << "&File" << "&Open..." << QKeySequence::keyBindings(QKeySequence::Open)
                          << "Open an existing project";
    QTest::newRow("save") << "&File" << "&Save project" << Keys({QKeySequence("Ctrl+Shift+S")})
                          << "Save the project";
    QTest::newRow("save as") << "&File" << "Save project &As..."
                             << QKeySequence::keyBindings(QKeySequence::SaveAs)
                             << "Save the project under a new name";
    QTest::newRow("exit") << "&File" << "E&xit" << QKeySequence::keyBindings(QKeySequence::Quit)
                          << "Exit the application";
    QTest::newRow("undo") << "&Edit" << "&Undo" << QKeySequence::keyBindings(QKeySequence::Undo)
                          << "Undo the last operation";
    QTest::newRow("redo") << "&Edit" << "&Redo" << QKeySequence::keyBindings(QKeySequence::Redo)
                          << "Redo the last operation";
    QTest::newRow("close all") << "&Window" << "Close &All" << Keys() << "Close all the windows";
    QTest::newRow("cascade") << "&Window" << "&Cascade" << Keys() << "Cascade the windows";
    QTest::newRow("tile") << "&Window" << "&Tile" << Keys() << "Tile the windows";
    QTest::newRow("tile h") << "&Window" << "Tile &horizontally" << Keys()
                            << "Tile the windows horizontally";
    QTest::newRow("tile v") << "&Window" << "Tile &vertically" << Keys() << "Tile the windows vertically";
    QTest::newRow("next") << "&Window" << "Ne&xt" << Keys({QKeySequence("F6")})
                          << "Move the focus to the next window";
    QTest::newRow("previous") << "&Window" << "Pre&vious" << Keys({QKeySequence("Shift+F6")})
                              << "Move the focus to the previous window";
    QTest::newRow("calculator") << "&Tool" << "&VIC-II calculator..." << Keys() << "";
    QTest::newRow("about") << "?" << "&About..." << Keys() << "";
    QTest::newRow("disclaimer") << "?" << "&Disclaimer..." << Keys() << "";
}

void MosaikonTest::actionDetails()
{
    QFETCH(QString, menu);
    QFETCH(QString, text);
    QFETCH(QList<QKeySequence>, shortcuts);
    QFETCH(QString, statusTip);
    auto window = openWindow();
    QAction* action = actionNamed(*window, menu, text);
    QVERIFY(action);
    QCOMPARE(action->shortcuts(), shortcuts);
    QCOMPARE(action->statusTip(), statusTip);
}

void MosaikonTest::toolBarEntries()
{
    auto window = openWindow();
    QList<QToolBar*> bars = window->findChildren<QToolBar*>();
    QCOMPARE(bars.size(), 1);
    QCOMPARE(bars.at(0)->windowTitle(), QStringLiteral("Main"));
    QCOMPARE(actionTexts(bars.at(0)->actions()),
             QStringList({"&New", "&Open...", "&Save project", "-", "&Undo", "&Redo"}));
    // The tool bar shares the menus' actions.
    QCOMPARE(bars.at(0)->actions().at(2),
             actionNamed(*window, QStringLiteral("&File"), QStringLiteral("&Save project")));
}

void MosaikonTest::aboutAndDisclaimerBoxes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("about") << "&About..." << "About Mosaikon";
    QTest::newRow("disclaimer") << "&Disclaimer..." << "Disclaimer";
}

void MosaikonTest::aboutAndDisclaimerBoxes()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    PromptScript script;
    auto window = openWindow();
    QAction* action = actionNamed(*window, QStringLiteral("?"), text);
    QVERIFY(action);
    action->trigger();
    QCOMPARE(script.shown.size(), 1);
    QCOMPARE(script.last().kind, PromptRequest::Message);
    QCOMPARE(script.last().icon, QMessageBox::Information);
    QCOMPARE(script.last().title, title);
    QVERIFY(!script.last().text.trimmed().isEmpty());
    if (title == QStringLiteral("About Mosaikon"))
        QVERIFY(script.last().text.contains(QStringLiteral(MOSAIKON_VERSION)));
    QCOMPARE(script.unexpected, 0);
}

QTEST_MAIN(MosaikonTest)
#include "tst_mosaikon.moc"
