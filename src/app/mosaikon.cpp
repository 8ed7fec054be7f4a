#include "app/mosaikon.h"

#include "app/lutstartup.h"
#include "app/recentfiles.h"
#include "app/recoverycopy.h"
#include "dialogs/prompt.h"
#include "dialogs/vicIIcalculator.h"
#include "editors/imageset/imageseteditor.h"
#include "model/charrom.h"
#include "model/document.h"
#include "model/palette.h"
#include "model/projectfile.h"
#include "model/version.h"
#include "project/editorservices.h"
#include "project/itemcommands.h"
#include "project/mdichild.h"
#include "project/projecttree.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

namespace {
const QString projectFilter = QStringLiteral("Mosaikon (*.mzprj)");
const QString errorTitle = QStringLiteral("Error!");

QIcon themedIcon(const char* themeName, const char* resourceFile)
{
    return QIcon::fromTheme(QLatin1String(themeName),
                            QIcon(QStringLiteral(":/Mosaikon/Icons/") + QLatin1String(resourceFile)));
}

QAction* makeAction(QObject* parent, const QString& text, const QString& statusTip,
                    const QIcon& icon = QIcon())
{
    auto* action = new QAction(icon, text, parent);
    action->setStatusTip(statusTip);
    return action;
}

const char* const aboutText =
    "<h3>Mosaikon v%1</h3>"
    "<p>An editor for Commodore 64 graphics: character sets, sprites, blocks, tiles, screens "
    "and animations, kept in the exact bit layout and colour rules of the VIC-II and written "
    "out as assembler source.</p>"
    "<p>Copyright &copy; 2026 the Mosaikon developers. See \"Disclaimer...\" for the terms of "
    "use.</p>";

const char* const disclaimerText =
    "Mosaikon is free to use, copy, change and pass on, for any purpose, on the one condition "
    "that this notice stays with every copy and with every work derived from it.\n\n"
    "The program is given as it is, with no promise of any kind that it works, that it suits "
    "any purpose or that it keeps your data safe. Whoever uses it does so at their own risk: "
    "its authors answer for no damage and no loss that comes from using it, or from being "
    "unable to use it.\n\n"
    "Keep copies of your projects.";

// The editor of each kind of item that has one, on a copy of the item.
struct EditorMaker {
    ItemKind kind;
    DocumentEditor* (*make)(const Dataset& item, int nodeKind, EditorServices* services);
};

DocumentEditor* makeImagesetEditor(const Dataset& item, int nodeKind, EditorServices* services)
{
    return new ImagesetEditor(static_cast<const Imageset&>(item), nodeKind, services);
}

const EditorMaker editorMakers[] = {
    {ItemKind::Charset, makeImagesetEditor},
    {ItemKind::Spriteset, makeImagesetEditor},
    {ItemKind::Blockset, makeImagesetEditor},
};

DocumentEditor* makeEditor(ItemKind kind, const Dataset& item, EditorServices* services)
{
    for (const EditorMaker& maker : editorMakers) {
        if (maker.kind == kind)
            return maker.make(item, itemNodeOf(kind), services);
    }
    return nullptr;
}
}

Mosaikon::Mosaikon(QWidget* parent)
    : QMainWindow(parent)
{
    Q_INIT_RESOURCE(mosaikon);
    Palette::setCurrent(Palette::loadFile(QStringLiteral("pal.txt")));

    setObjectName(QStringLiteral("MosaikonClass"));
    resize(740, 620);
    setWindowTitle(QStringLiteral("Mosaikon"));
    setWindowIcon(QIcon(QStringLiteral(":/Mosaikon/Icons/app.ico")));
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    setCentralWidget(central);
    statusBar();

    createActions();
    createMenus();
    createTree();

    mdiArea = new QMdiArea;
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(tree);
    splitter->addWidget(mdiArea);
    // The tree starts at the width it asks for; the editors take the rest.
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter);

    services = new EditorServices(project, mdiArea, [this](const ItemKey& key, bool activate, bool minimized) {
        return openEditor(key, activate, minimized);
    }, this);
    recovery = new RecoveryCopy([this]() -> std::optional<RecoveryCopy::Work> {
        if (!isUnsaved())
            return std::nullopt;
        return RecoveryCopy::Work {ProjectFile::serialize(services->workingCopies()), path};
    }, this);
    commands = new ItemCommands(project, tree, mdiArea, this);
    connect(commands, &ItemCommands::projectChanged, this, &Mosaikon::projectChanged);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &Mosaikon::updateMenus);

    rebuildTreeWidgetNodes();
    updateTitle();

    CharRom::setCurrent(CharRom::loadFile(QStringLiteral("char.rom")));
    LutStartup::prepare(this);
}

Mosaikon::~Mosaikon()
{
    // The editor windows go with the widgets after this destructor; what
    // they and the area signal on the way must not reach this window.
    disconnect(mdiArea, nullptr, this, nullptr);
    for (QMdiSubWindow* window : mdiArea->subWindowList())
        disconnect(window->widget(), nullptr, this, nullptr);
}

void Mosaikon::createActions()
{
    newAct = makeAction(this, QStringLiteral("&New"), QStringLiteral("Create a new project"),
                        themedIcon("document-new", "NewFile_16x.png"));
    newAct->setShortcuts(QKeySequence::New);
    connect(newAct, &QAction::triggered, this, &Mosaikon::newProject);

    openAct = makeAction(this, QStringLiteral("&Open..."), QStringLiteral("Open an existing project"),
                         themedIcon("document-open", "OpenFile_16x.png"));
    openAct->setShortcuts(QKeySequence::Open);
    connect(openAct, &QAction::triggered, this, &Mosaikon::open);

    // Ctrl+S hands the active editor's item back to the project, wherever
    // the focus is in the window; saving the project takes Ctrl+Shift+S.
    auto* saveEditorKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+S")), this);
    connect(saveEditorKey, &QShortcut::activated, this, [this] {
        if (MdiChild* editor = activeEditor())
            editor->handBack();
    });
    const QKeySequence saveKey(QStringLiteral("Ctrl+Shift+S"));
    saveAct = makeAction(this, QStringLiteral("&Save project"), QStringLiteral("Save the project"),
                         themedIcon("document-save", "Save_16x.png"));
    saveAct->setShortcut(saveKey);
    connect(saveAct, &QAction::triggered, this, &Mosaikon::save);

    // Where the desktop's standard Save As key is Ctrl+Shift+S too, two
    // actions on one key would leave both dead; saving the project keeps it.
    QList<QKeySequence> saveAsKeys = QKeySequence::keyBindings(QKeySequence::SaveAs);
    saveAsKeys.removeAll(saveKey);
    saveAsAct = makeAction(this, QStringLiteral("Save project &As..."),
                           QStringLiteral("Save the project under a new name"),
                           themedIcon("document-save-as", "SaveAs_16x.png"));
    saveAsAct->setShortcuts(saveAsKeys);
    connect(saveAsAct, &QAction::triggered, this, &Mosaikon::saveAs);

    exitAct = makeAction(this, QStringLiteral("E&xit"), QStringLiteral("Exit the application"),
                         themedIcon("application-exit", "Exit_16x.png"));
    exitAct->setShortcuts(QKeySequence::Quit);
    connect(exitAct, &QAction::triggered, qApp, &QApplication::closeAllWindows);

    undoAct = makeAction(this, QStringLiteral("&Undo"), QStringLiteral("Undo the last operation"),
                         themedIcon("edit-undo", "Undo_16x.png"));
    undoAct->setShortcuts(QKeySequence::Undo);
    connect(undoAct, &QAction::triggered, this, &Mosaikon::undo);

    redoAct = makeAction(this, QStringLiteral("&Redo"), QStringLiteral("Redo the last operation"),
                         themedIcon("edit-redo", "Redo_16x.png"));
    redoAct->setShortcuts(QKeySequence::Redo);
    connect(redoAct, &QAction::triggered, this, &Mosaikon::redo);

    vicIICalculatorAct = makeAction(this, QStringLiteral("&VIC-II calculator..."), QString());
    connect(vicIICalculatorAct, &QAction::triggered, this, &Mosaikon::showVicIICalculator);

    closeAllAct = makeAction(this, QStringLiteral("Close &All"), QStringLiteral("Close all the windows"));
    connect(closeAllAct, &QAction::triggered, this, &Mosaikon::closeAll);

    cascadeAct = makeAction(this, QStringLiteral("&Cascade"), QStringLiteral("Cascade the windows"));
    connect(cascadeAct, &QAction::triggered, this, &Mosaikon::cascade);

    tileAct = makeAction(this, QStringLiteral("&Tile"), QStringLiteral("Tile the windows"),
                         themedIcon("window-tile", "ASX_Copy_blue_16x.png"));
    connect(tileAct, &QAction::triggered, this, &Mosaikon::tile);

    tileHorzAct = makeAction(this, QStringLiteral("Tile &horizontally"),
                             QStringLiteral("Tile the windows horizontally"),
                             themedIcon("window-tile-h", "SplitScreenVertical_16x.png"));
    connect(tileHorzAct, &QAction::triggered, this, &Mosaikon::tileHorz);

    tileVertAct = makeAction(this, QStringLiteral("Tile &vertically"),
                             QStringLiteral("Tile the windows vertically"),
                             themedIcon("window-tile-v", "SplitScreenHorizontal_16x.png"));
    connect(tileVertAct, &QAction::triggered, this, &Mosaikon::tileVert);

    nextAct = makeAction(this, QStringLiteral("Ne&xt"), QStringLiteral("Move the focus to the next window"));
    nextAct->setShortcut(QKeySequence(QStringLiteral("F6")));
    connect(nextAct, &QAction::triggered, this, &Mosaikon::activateNextSubWindow);

    previousAct = makeAction(this, QStringLiteral("Pre&vious"),
                             QStringLiteral("Move the focus to the previous window"));
    previousAct->setShortcut(QKeySequence(QStringLiteral("Shift+F6")));
    connect(previousAct, &QAction::triggered, this, &Mosaikon::activatePreviousSubWindow);

    aboutAct = makeAction(this, QStringLiteral("&About..."), QString(),
                          QIcon(QStringLiteral(":/Mosaikon/Icons/UIAboutBox_16x.png")));
    connect(aboutAct, &QAction::triggered, this, &Mosaikon::about);

    disclaimerAct = makeAction(this, QStringLiteral("&Disclaimer..."), QString());
    connect(disclaimerAct, &QAction::triggered, this, &Mosaikon::disclaimer);

    for (int i = 0; i < RecentFiles::shownCount; ++i) {
        auto* action = new QAction(this);
        action->setVisible(false);
        connect(action, &QAction::triggered, this, &Mosaikon::openRecentFile);
        recentFileActs.append(action);
    }
}

void Mosaikon::createMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu->addAction(newAct);
    fileMenu->addAction(openAct);
    fileMenu->addSeparator();
    fileMenu->addAction(saveAct);
    fileMenu->addAction(saveAsAct);
    fileMenu->addSeparator();
    QMenu* recentMenu = fileMenu->addMenu(QStringLiteral("Recent..."));
    connect(recentMenu, &QMenu::aboutToShow, this, &Mosaikon::updateRecentFileActions);
    recentMenu->addActions(recentFileActs);
    recentSubmenuAct = recentMenu->menuAction();
    recentSeparator = fileMenu->addSeparator();
    showRecentMenuIfUsed(RecentFiles::load());
    fileMenu->addAction(exitAct);

    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    editMenu->addAction(undoAct);
    editMenu->addAction(redoAct);

    QMenu* toolMenu = menuBar()->addMenu(QStringLiteral("&Tool"));
    toolMenu->addAction(vicIICalculatorAct);

    QMenu* windowMenu = menuBar()->addMenu(QStringLiteral("&Window"));
    windowMenu->addAction(closeAllAct);
    windowMenu->addSeparator();
    windowMenu->addAction(cascadeAct);
    windowMenu->addAction(tileAct);
    windowMenu->addAction(tileHorzAct);
    windowMenu->addAction(tileVertAct);
    windowMenu->addSeparator();
    windowMenu->addAction(nextAct);
    windowMenu->addAction(previousAct);

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("?"));
    helpMenu->addAction(aboutAct);
    helpMenu->addAction(disclaimerAct);

    QToolBar* toolBar = addToolBar(QStringLiteral("Main"));
    toolBar->setObjectName(QStringLiteral("Main"));
    toolBar->addAction(newAct);
    toolBar->addAction(openAct);
    toolBar->addAction(saveAct);
    toolBar->addSeparator();
    toolBar->addAction(undoAct);
    toolBar->addAction(redoAct);
}

void Mosaikon::createTree()
{
    tree = new ProjectTree;
    connect(tree, &QWidget::customContextMenuRequested, this, &Mosaikon::customMenuRequested);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, &Mosaikon::itemDoubleClicked);
}

bool Mosaikon::isUnsaved() const
{
    if (modified)
        return true;
    const QList<MdiChild*> editors = editorWindows(mdiArea);
    return std::any_of(editors.cbegin(), editors.cend(),
                       [](const MdiChild* editor) { return editor->isModified(); });
}

void Mosaikon::updateTitle()
{
    // One arg() call: a path holding "%2" must stay as it is.
    setWindowTitle(QStringLiteral("Mosaikon v%1 - [%2%3]")
                       .arg(QStringLiteral(MOSAIKON_VERSION), path.isEmpty() ? QStringLiteral("Untitled") : path,
                            isUnsaved() ? QStringLiteral(" *") : QString()));
    updateMenus();
}

void Mosaikon::updateMenus()
{
    const MdiChild* active = activeEditor();
    for (QAction* action : {closeAllAct, cascadeAct, tileAct, tileHorzAct, tileVertAct, nextAct,
                            previousAct})
        action->setEnabled(active != nullptr);
    undoAct->setEnabled(active && active->canUndo());
    redoAct->setEnabled(active && active->canRedo());
}

void Mosaikon::rebuildTreeWidgetNodes()
{
    tree->rebuild(project, [this](int nodeKind, qint32 id) {
        const MdiChild* editor = findEditor(mdiArea, {nodeKind, id});
        return editor && editor->isModified();
    });
}

void Mosaikon::projectChanged()
{
    rebuildTreeWidgetNodes();
    modified = true;
    updateTitle();
    recovery->noteChange();
}

void Mosaikon::itemDoubleClicked(QTreeWidgetItem* item, int /*column*/)
{
    const int nodeKind = ProjectTree::nodeKindOf(item);
    if (isItemNode(nodeKind))
        openEditor({nodeKind, ProjectTree::idOf(item)}, true, false);
}

MdiChild* Mosaikon::openEditor(const ItemKey& key, bool activate, bool minimized)
{
    const ItemKind kind = key.kind();
    const QSharedPointer<Dataset> dataset = project.find(kind, key.id);
    if (!dataset)
        return nullptr;
    if (MdiChild* editor = findEditor(mdiArea, key)) {
        if (activate) {
            auto* window = qobject_cast<QMdiSubWindow*>(editor->parentWidget());
            // Back to the state before it was minimized, maximized or not.
            if (window && window->isMinimized()) {
                if (editor->maximizedBeforeMinimized)
                    window->showMaximized();
                else
                    window->showNormal();
            }
            mdiArea->setActiveSubWindow(window);
        }
        return editor;
    }

    DocumentEditor* editor = makeEditor(kind, *dataset, services);
    if (!editor)
        return nullptr;
    connect(editor, &DocumentEditor::handedBack, this,
            [this, kind](const Dataset& copy) { storeHandBack(kind, copy); });
    connect(editor, &MdiChild::titleUpdated, this, &Mosaikon::rebuildTreeWidgetNodes);
    connect(editor, &MdiChild::menuUpdated, this, &Mosaikon::updateMenus);
    // Any change of the working copy, its saved state included (a hand-back,
    // changes given up on closing), may change what a recovery copy holds.
    Document* document = editor->document();
    connect(document, &Document::changed, recovery, &RecoveryCopy::noteChange);
    connect(document, &Document::elementsChanged, recovery, &RecoveryCopy::noteChange);
    connect(document, &Document::statusChanged, recovery, &RecoveryCopy::noteChange);

    QMdiSubWindow* window = mdiArea->addSubWindow(editor);
    // A minimized window forgets whether it was maximized: the editor keeps it.
    connect(window, &QMdiSubWindow::windowStateChanged, editor,
            [editor](Qt::WindowStates before, Qt::WindowStates now) {
                if ((now & Qt::WindowMinimized) && !(before & Qt::WindowMinimized))
                    editor->maximizedBeforeMinimized = before & Qt::WindowMaximized;
            });
    window->setWindowIcon(QIcon(QStringLiteral(":/Mosaikon/Icons/TopLeftOf2Rows2Columns_16x.png")));
    // Maximized, so that it is maximized when restored from minimized.
    window->showMaximized();
    if (minimized)
        window->showMinimized();
    return editor;
}

void Mosaikon::storeHandBack(ItemKind kind, const Dataset& copy)
{
    if (!project.store(kind, copy))
        return;
    modified = true;
    updateTitle();
}

void Mosaikon::customMenuRequested(const QPoint& pos)
{
    QTreeWidgetItem* node = tree->itemAt(pos);
    if (!node)
        return;
    QMenu* menu = commands->contextMenu(node, this);
    if (!menu)
        return;
    menu->exec(tree->viewport()->mapToGlobal(pos));
    menu->deleteLater();
}

bool Mosaikon::askToSaveProject(const std::function<bool()>& continuation)
{
    if (!isUnsaved())
        return continuation();
    switch (Prompt::question(
        this, QMessageBox::Warning, QStringLiteral("Data not saved!"),
        QStringLiteral("The project have some unsaved changes. Do you want to save it now?\n"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return save() && continuation();
    case QMessageBox::No:
        return continuation();
    default:
        return false;
    }
}

bool Mosaikon::newProject()
{
    if (!closeAll())
        return false;
    return askToSaveProject([this] {
        path.clear();
        project.clear();
        rebuildTreeWidgetNodes();
        modified = false;
        updateTitle();
        recovery->remove();
        return true;
    });
}

bool Mosaikon::open()
{
    const QString fileName = Prompt::getOpenFileName(this, QStringLiteral("Open..."), projectFilter);
    if (fileName.isEmpty() || !newProject())
        return false;
    if (!readProject(fileName))
        return false;
    RecentFiles::add(fileName);
    showRecentMenuIfUsed(RecentFiles::load());
    return true;
}

bool Mosaikon::save()
{
    return path.isEmpty() ? saveAs() : writeProject(path);
}

bool Mosaikon::saveAs()
{
    const QString fileName = Prompt::getSaveFileName(this, QStringLiteral("Save as..."), projectFilter);
    if (fileName.isEmpty() || !writeProject(fileName))
        return false;
    RecentFiles::add(fileName);
    showRecentMenuIfUsed(RecentFiles::load());
    return true;
}

bool Mosaikon::readProject(const QString& fileName)
{
    return takeReadProject(ProjectFile::read(fileName, project), fileName, fileName, false);
}

void Mosaikon::offerRecovery()
{
    const std::optional<RecoveryCopy::Left> left = recovery->left();
    if (!left)
        return;
    const QString time = QLocale().toString(left->time.toLocalTime(), QLocale::ShortFormat);
    const QString copy = RecoveryCopy::projectFile();
    // Taken up, the copy stays until the work is saved or given up: a second
    // crash before the next change must not lose it.
    if (Prompt::question(this, QMessageBox::Question, QStringLiteral("Unsaved work"),
                         QStringLiteral("Recover unsaved work from %1?").arg(time), QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::Yes)
            != QMessageBox::Yes
        || !takeReadProject(ProjectFile::read(copy, project), copy, left->originalFile, true))
        recovery->remove();
}

bool Mosaikon::takeReadProject(const ProjectReadResult& result, const QString& fileRead, const QString& savedTo,
                               bool unsaved)
{
    switch (result.status) {
    case ProjectReadResult::Ok:
        break;
    case ProjectReadResult::UnknownVersion:
        Prompt::critical(this, errorTitle,
                         QStringLiteral("Unknown version %1.%2.%3!")
                             .arg(result.version.major)
                             .arg(result.version.minor)
                             .arg(result.version.patch));
        return false;
    case ProjectReadResult::CannotOpen:
    case ProjectReadResult::Malformed:
        Prompt::critical(this, errorTitle, QStringLiteral("Unable to open the file '%1'!").arg(fileRead));
        return false;
    }
    rebuildTreeWidgetNodes();
    path = savedTo;
    modified = unsaved;
    updateTitle();
    return true;
}

bool Mosaikon::writeProject(const QString& fileName)
{
    // Once the file can be written, unsaved editor changes and the editors'
    // view settings go into the project and the file.
    const bool written = Files::writeSafely(fileName, [this] {
        for (MdiChild* editor : editorWindows(mdiArea))
            editor->handBack();
        return ProjectFile::serialize(project);
    });
    if (!written) {
        Prompt::critical(this, errorTitle, QStringLiteral("Unable to save the file '%1'!").arg(fileName));
        return false;
    }
    path = fileName;
    modified = false;
    updateTitle();
    recovery->remove();
    return true;
}

void Mosaikon::showRecentMenuIfUsed(const QStringList& files)
{
    recentSubmenuAct->setVisible(!files.isEmpty());
    recentSeparator->setVisible(!files.isEmpty());
}

void Mosaikon::updateRecentFileActions()
{
    const QStringList files = RecentFiles::load();
    for (int i = 0; i < recentFileActs.size(); ++i) {
        QAction* action = recentFileActs.at(i);
        if (i < files.size()) {
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files.at(i)).fileName()));
            action->setData(files.at(i));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
}

void Mosaikon::openRecentFile()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    const QString fileName = action->data().toString();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        RecentFiles::remove(fileName);
        showRecentMenuIfUsed(RecentFiles::load());
        Prompt::critical(this, errorTitle, QStringLiteral("Unable to open the file '%1'!").arg(fileName));
        return;
    }
    file.close();
    if (!newProject() || !readProject(fileName))
        return;
    RecentFiles::add(fileName);
    showRecentMenuIfUsed(RecentFiles::load());
}

bool Mosaikon::closeAll()
{
    mdiArea->closeAllSubWindows();
    return mdiArea->subWindowList().isEmpty();
}

void Mosaikon::closeEvent(QCloseEvent* event)
{
    if (closeAll() && askToSaveProject([] { return true; })) {
        event->accept();
        recovery->remove();
    } else
        event->ignore();
}

void Mosaikon::cascade()
{
    if (!mdiArea->subWindowList().isEmpty())
        mdiArea->cascadeSubWindows();
}

void Mosaikon::tile()
{
    if (!mdiArea->subWindowList().isEmpty())
        mdiArea->tileSubWindows();
}

void Mosaikon::tileInLine(bool horizontal)
{
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    const QSize area = mdiArea->viewport()->size();
    const int count = windows.size();
    const int width = horizontal ? area.width() / count : area.width();
    const int height = horizontal ? area.height() : area.height() / count;
    QPoint position(0, 0);
    for (QMdiSubWindow* window : windows) {
        window->showNormal();
        window->setGeometry(QRect(position, QSize(width, height)));
        if (horizontal)
            position.rx() += width;
        else
            position.ry() += height;
    }
}

void Mosaikon::tileHorz()
{
    tileInLine(true);
}

void Mosaikon::tileVert()
{
    tileInLine(false);
}

MdiChild* Mosaikon::activeEditor() const
{
    QMdiSubWindow* window = mdiArea->activeSubWindow();
    return window ? qobject_cast<MdiChild*>(window->widget()) : nullptr;
}

void Mosaikon::undo()
{
    if (MdiChild* editor = activeEditor())
        editor->undo();
}

void Mosaikon::redo()
{
    if (MdiChild* editor = activeEditor())
        editor->redo();
}

void Mosaikon::activateNextSubWindow()
{
    mdiArea->activateNextSubWindow();
}

void Mosaikon::activatePreviousSubWindow()
{
    mdiArea->activatePreviousSubWindow();
}

void Mosaikon::about()
{
    Prompt::information(this, QStringLiteral("About Mosaikon"),
                        QString::fromLatin1(aboutText).arg(QStringLiteral(MOSAIKON_VERSION)));
}

void Mosaikon::disclaimer()
{
    Prompt::information(this, QStringLiteral("Disclaimer"), QString::fromLatin1(disclaimerText));
}

void Mosaikon::showVicIICalculator()
{
    VicIICalculator calculator(this);
    calculator.exec();
}
