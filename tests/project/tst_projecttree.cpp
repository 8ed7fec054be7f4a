// The project tree driven through the main window: the context menu of every
// node kind and the commands behind it (add, build, rename, clone, delete,
// export, import), the tree's order, marks, tool tips and expansion.

#include "app/fakeeditor.h"
#include "app/mosaikon.h"
#include "model/itemfile.h"
#include "model/projectfile.h"
#include "model/version.h"
#include "project/itemcommands.h"
#include "project/projecttree.h"
#include "support/promptscript.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QtTest>

#include <memory>

namespace {

const QString noSeparator = QStringLiteral("-");

std::unique_ptr<Mosaikon> openWindow()
{
    auto window = std::make_unique<Mosaikon>();
    window->resize(1000, 700);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the main window was not exposed");
    return window;
}

QTreeWidgetItem* categoryNode(const Mosaikon& window, int nodeKind)
{
    const QTreeWidget* tree = window.projectTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = tree->topLevelItem(i);
        if (ProjectTree::nodeKindOf(node) == nodeKind)
            return node;
    }
    return nullptr;
}

// The item node of the given item kind (6-10) and identifier.
QTreeWidgetItem* itemNode(const Mosaikon& window, int nodeKind, qint32 id)
{
    QTreeWidgetItem* category = categoryNode(window, categoryNodeOf(itemKindOf(nodeKind)));
    if (!category)
        return nullptr;
    for (int i = 0; i < category->childCount(); ++i) {
        QTreeWidgetItem* node = category->child(i);
        if (ProjectTree::nodeKindOf(node) == nodeKind && ProjectTree::idOf(node) == id)
            return node;
    }
    return nullptr;
}

QStringList childTexts(const QTreeWidgetItem* category)
{
    QStringList texts;
    for (int i = 0; category && i < category->childCount(); ++i)
        texts << category->child(i)->text(0);
    return texts;
}

QStringList menuTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << (action->isSeparator() ? noSeparator : action->text());
    return texts;
}

QAction* menuAction(const QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

std::unique_ptr<QMenu> contextMenu(Mosaikon& window, QTreeWidgetItem* node)
{
    return std::unique_ptr<QMenu>(window.itemCommands()->contextMenu(node, &window));
}

// Opens the node's context menu and triggers the entry with this text, as a
// user picking it; false when the node, the entry or its enabled state is missing.
bool choose(Mosaikon& window, QTreeWidgetItem* node, const QString& text)
{
    if (!node)
        return false;
    std::unique_ptr<QMenu> menu = contextMenu(window, node);
    if (!menu)
        return false;
    QAction* action = menuAction(*menu, text);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

bool chooseOnCategory(Mosaikon& window, int categoryKind, const QString& text)
{
    return choose(window, categoryNode(window, categoryKind), text);
}

bool chooseOnItem(Mosaikon& window, int nodeKind, qint32 id, const QString& text)
{
    return choose(window, itemNode(window, nodeKind, id), text);
}

QString addNewText(int categoryKind)
{
    return categoryKind == TilesetsNode ? QStringLiteral("Add new...") : QStringLiteral("Add new");
}

const QString unsavedTitle = QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [Untitled *]");
const QString cleanTitle = QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [Untitled]");

QList<qint32> idsOf(const QList<QSharedPointer<Dataset>>& list)
{
    QList<qint32> ids;
    for (const QSharedPointer<Dataset>& item : list)
        ids << item->id;
    return ids;
}

QStringList namesOf(const QList<QSharedPointer<Dataset>>& list)
{
    QStringList names;
    for (const QSharedPointer<Dataset>& item : list)
        names << item->name;
    return names;
}

QString label(ItemKind kind)
{
    switch (kind) {
    case ItemKind::Charset:
        return QStringLiteral("Charset");
    case ItemKind::Spriteset:
        return QStringLiteral("Spriteset");
    case ItemKind::Blockset:
        return QStringLiteral("Blockset");
    case ItemKind::Tileset:
        return QStringLiteral("Tileset");
    case ItemKind::Screen:
        return QStringLiteral("Screen");
    }
    return QString();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class ProjectTreeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> environment;
    QString file(const QString& name) const
    {
        return environment->path(QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('_') + name);
    }
    // Adds count items of a kind other than tile sets through the tree.
    void addItems(Mosaikon& window, int categoryKind, int count);
    // Saves the project, answering the dialog through the test's script, so
    // that its modified flag is clear.
    void saveClean(Mosaikon& window, PromptScript& script);

private slots:
    void initTestCase();
    void init();

    void treeShape();
    void categoryMenus_data();
    void categoryMenus();
    void tilesetBuildEntriesFollowImageSets();
    void itemMenus_data();
    void itemMenus();

    void addNewCreatesDefaultItems_data();
    void addNewCreatesDefaultItems();
    void identifiersReuseTheFreedHighest();
    void namesArePaddedToTwoDigits();
    void addTilesetAsksTileSize();
    void addTilesetCancelledAtWidth();
    void addTilesetCancelledAtHeight();

    void renameRejectsExistingNameIgnoringCase();
    void renameRejectsOtherItemsName();
    void renameTrimsAndStores();
    void renameIgnoresEmptyAndBlank_data();
    void renameIgnoresEmptyAndBlank();
    void renameTellsOpenEditor();

    void treeSortsCaseSensitivelyProjectKeepsOrder();
    void expandedCategoryStaysExpanded();
    void toolTipsAndNodeData();
    void modifiedEditorMarksItemAndCategory();

    void buildFromCharset();
    void buildFromCharsetCancelled();
    void buildFromCharsetTellsEqualNamesApart();
    void buildFromBlockset();
    void buildFromEmptyBlockset();

    void cloneCharset();
    void cloneTilesetKeepsTileSize();
    void cloneScreen();

    void deleteAnsweredNoKeepsItem();
    void deleteAnsweredYesRemovesItem();
    void deleteForceClosesModifiedEditor();
    void deleteStopsWhenEditorRefuses();
    void deleteRedrawsDependentEditors();

    void exportThenImportCharset();
    void importUnknownRecordVersion();
    void importMissingFile();
    void importScreenKeepsSourceReference();
    void exportToUnwritablePath();
    void fileDialogsPerKind_data();
    void fileDialogsPerKind();
};

void ProjectTreeTest::initTestCase()
{
    environment = std::make_unique<TestEnvironment>();
    QApplication::setQuitOnLastWindowClosed(false);
}

void ProjectTreeTest::init()
{
    QSettings settings;
    settings.clear();
    settings.sync();
}

void ProjectTreeTest::addItems(Mosaikon& window, int categoryKind, int count)
{
    for (int i = 0; i < count; ++i)
        QVERIFY(chooseOnCategory(window, categoryKind, addNewText(categoryKind)));
}

void ProjectTreeTest::saveClean(Mosaikon& window, PromptScript& script)
{
    const int shownBefore = script.shown.size();
    script.text(file(QStringLiteral("clean.mzprj")));
    QVERIFY(window.saveAs());
    QVERIFY(!window.isUnsaved());
    // The save dialog is not part of what the test looks at.
    QCOMPARE(script.shown.size(), shownBefore + 1);
    script.shown.removeLast();
}

// ---------------------------------------------------------------- menus

void ProjectTreeTest::treeShape()
{
    auto window = openWindow();
    ProjectTree* tree = window->projectTree();
    QCOMPARE(tree->columnCount(), 1);
    QCOMPARE(tree->headerItem()->text(0), QStringLiteral("Project Items"));
    QCOMPARE(tree->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(tree->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(tree->topLevelItemCount(), 5);
    const QStringList names {"Charsets", "Spritesets", "Blocksets", "Tilesets", "Screens"};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(tree->topLevelItem(i)->text(0), names.at(i));
        QCOMPARE(tree->topLevelItem(i)->data(0, Qt::UserRole).toList(), QVariantList({i, -1}));
        QVERIFY(tree->topLevelItem(i)->toolTip(0).isEmpty());
    }
}

void ProjectTreeTest::categoryMenus_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QStringList>("entries");
    const QStringList plain {"Add new", noSeparator, "Import..."};
    QTest::newRow("charsets") << int(CharsetsNode) << plain;
    QTest::newRow("spritesets") << int(SpritesetsNode) << plain;
    QTest::newRow("blocksets") << int(BlocksetsNode) << plain;
    QTest::newRow("tilesets") << int(TilesetsNode)
                              << QStringList({"Add new...", noSeparator, "Build from charset (1x1)...",
                                              "Build from blockset (1x1)...", noSeparator, "Import..."});
    QTest::newRow("screens") << int(ScreensNode) << plain;
}

void ProjectTreeTest::categoryMenus()
{
    QFETCH(int, category);
    QFETCH(QStringList, entries);
    auto window = openWindow();
    std::unique_ptr<QMenu> menu = contextMenu(*window, categoryNode(*window, category));
    QVERIFY(menu);
    QCOMPARE(menuTexts(*menu), entries);
    QVERIFY(menuAction(*menu, addNewText(category))->isEnabled());
    QVERIFY(menuAction(*menu, QStringLiteral("Import..."))->isEnabled());
    if (category == TilesetsNode) {
        // An empty project has nothing to build from.
        QVERIFY(!menuAction(*menu, QStringLiteral("Build from charset (1x1)..."))->isEnabled());
        QVERIFY(!menuAction(*menu, QStringLiteral("Build from blockset (1x1)..."))->isEnabled());
    }
}

void ProjectTreeTest::tilesetBuildEntriesFollowImageSets()
{
    PromptScript script;
    auto window = openWindow();
    const QString fromCharset = QStringLiteral("Build from charset (1x1)...");
    const QString fromBlockset = QStringLiteral("Build from blockset (1x1)...");

    addItems(*window, SpritesetsNode, 1); // sprite sets build nothing
    {
        std::unique_ptr<QMenu> menu = contextMenu(*window, categoryNode(*window, TilesetsNode));
        QVERIFY(!menuAction(*menu, fromCharset)->isEnabled());
        QVERIFY(!menuAction(*menu, fromBlockset)->isEnabled());
    }
    addItems(*window, CharsetsNode, 1);
    {
        std::unique_ptr<QMenu> menu = contextMenu(*window, categoryNode(*window, TilesetsNode));
        QVERIFY(menuAction(*menu, fromCharset)->isEnabled());
        QVERIFY(!menuAction(*menu, fromBlockset)->isEnabled());
    }
    addItems(*window, BlocksetsNode, 1);
    {
        std::unique_ptr<QMenu> menu = contextMenu(*window, categoryNode(*window, TilesetsNode));
        QVERIFY(menuAction(*menu, fromCharset)->isEnabled());
        QVERIFY(menuAction(*menu, fromBlockset)->isEnabled());
    }
    script.button(QMessageBox::Yes);
    QVERIFY(chooseOnItem(*window, CharsetNode, 0, QStringLiteral("Delete")));
    {
        std::unique_ptr<QMenu> menu = contextMenu(*window, categoryNode(*window, TilesetsNode));
        QVERIFY(!menuAction(*menu, fromCharset)->isEnabled());
        QVERIFY(menuAction(*menu, fromBlockset)->isEnabled());
    }
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::itemMenus_data()
{
    QTest::addColumn<int>("category");
    QTest::newRow("charset") << int(CharsetsNode);
    QTest::newRow("spriteset") << int(SpritesetsNode);
    QTest::newRow("blockset") << int(BlocksetsNode);
    QTest::newRow("tileset") << int(TilesetsNode);
    QTest::newRow("screen") << int(ScreensNode);
}

void ProjectTreeTest::itemMenus()
{
    QFETCH(int, category);
    PromptScript script;
    if (category == TilesetsNode)
        script.number(1).number(1);
    auto window = openWindow();
    addItems(*window, category, 1);
    QTreeWidgetItem* node = itemNode(*window, itemNodeOf(itemKindOf(category)), 0);
    QVERIFY(node);
    std::unique_ptr<QMenu> menu = contextMenu(*window, node);
    QVERIFY(menu);
    QCOMPARE(menuTexts(*menu),
             QStringList({"Rename...", "Clone", "Delete", noSeparator, "Export..."}));
    for (const QAction* action : menu->actions())
        QVERIFY(action->isEnabled());
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- add

void ProjectTreeTest::addNewCreatesDefaultItems_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("name");
    QTest::newRow("charset") << int(CharsetsNode) << "Charset 00";
    QTest::newRow("spriteset") << int(SpritesetsNode) << "Spriteset 00";
    QTest::newRow("blockset") << int(BlocksetsNode) << "Blockset 00";
    QTest::newRow("screen") << int(ScreensNode) << "Screen 00";
}

void ProjectTreeTest::addNewCreatesDefaultItems()
{
    QFETCH(int, category);
    QFETCH(QString, name);
    PromptScript script;
    auto window = openWindow();
    const ItemKind kind = itemKindOf(category);
    QVERIFY(!categoryNode(*window, category)->isExpanded());

    QVERIFY(chooseOnCategory(*window, category, QStringLiteral("Add new")));
    QVERIFY(script.shown.isEmpty());
    const QList<QSharedPointer<Dataset>> items = window->currentProject().datasets(kind);
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.at(0)->id, 0);
    QCOMPARE(items.at(0)->name, name);
    QVERIFY(window->isUnsaved());
    QCOMPARE(window->windowTitle(), unsavedTitle);
    QTreeWidgetItem* category_ = categoryNode(*window, category);
    QVERIFY(category_->isExpanded());
    QCOMPARE(childTexts(category_), QStringList(name));

    if (kind == ItemKind::Screen) {
        const Screen& screen = *window->currentProject().screens.at(0);
        QCOMPARE(screen.sourceRef, -1);
        QVERIFY(screen.cellIndexes.isEmpty());
        QCOMPARE(screen.width, 1);
        QCOMPARE(screen.height, 1);
        QCOMPARE(screen.zoom, 3.0);
        QVERIFY(screen.outerGridVisible);
        QVERIFY(!screen.innerGridVisible);
    } else {
        const Imageset& set = *items.at(0).staticCast<Imageset>();
        QCOMPARE(set.type, Imageset::typeOf(kind));
        QCOMPARE(set.imageWidth, kind == ItemKind::Spriteset ? 24 : 8);
        QCOMPARE(set.imageHeight, kind == ItemKind::Spriteset ? 21 : 8);
        QVERIFY(set.images.isEmpty());
    }
}

void ProjectTreeTest::identifiersReuseTheFreedHighest()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 3);
    QCOMPARE(idsOf(window->currentProject().datasets(ItemKind::Charset)), QList<qint32>({0, 1, 2}));

    script.button(QMessageBox::Yes);
    QVERIFY(chooseOnItem(*window, CharsetNode, 2, QStringLiteral("Delete")));
    addItems(*window, CharsetsNode, 1);
    QCOMPARE(idsOf(window->currentProject().datasets(ItemKind::Charset)), QList<qint32>({0, 1, 2}));
    QCOMPARE(window->currentProject().charsets.last()->name, QStringLiteral("Charset 02"));

    // A gap below the highest identifier is not filled.
    script.button(QMessageBox::Yes);
    QVERIFY(chooseOnItem(*window, CharsetNode, 1, QStringLiteral("Delete")));
    addItems(*window, CharsetsNode, 1);
    QCOMPARE(idsOf(window->currentProject().datasets(ItemKind::Charset)), QList<qint32>({0, 2, 3}));

    // Identifiers count per kind.
    addItems(*window, SpritesetsNode, 1);
    QCOMPARE(window->currentProject().spritesets.at(0)->id, 0);
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::namesArePaddedToTwoDigits()
{
    PromptScript script;
    for (int i = 0; i < 4; ++i)
        script.number(1).number(1);
    auto window = openWindow();
    addItems(*window, TilesetsNode, 4);
    QCOMPARE(window->currentProject().tilesets.at(3)->name, QStringLiteral("Tileset 03"));

    addItems(*window, BlocksetsNode, 13);
    QCOMPARE(window->currentProject().blocksets.at(9)->name, QStringLiteral("Blockset 09"));
    QCOMPARE(window->currentProject().blocksets.at(12)->name, QStringLiteral("Blockset 12"));
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::addTilesetAsksTileSize()
{
    PromptScript script;
    script.number(3).number(2);
    auto window = openWindow();
    QVERIFY(chooseOnCategory(*window, TilesetsNode, QStringLiteral("Add new...")));

    QCOMPARE(script.shown.size(), 2);
    const PromptRequest width = script.shown.at(0);
    QCOMPARE(width.kind, PromptRequest::Integer);
    QCOMPARE(width.title, QStringLiteral("Tile width"));
    QCOMPARE(width.text, QStringLiteral("Width (in chars):"));
    QCOMPARE(width.value, 1);
    QCOMPARE(width.minimum, 1);
    QCOMPARE(width.maximum, 256);
    const PromptRequest height = script.shown.at(1);
    QCOMPARE(height.kind, PromptRequest::Integer);
    QCOMPARE(height.title, QStringLiteral("Tile height"));
    QCOMPARE(height.text, QStringLiteral("Height (in chars):"));
    QCOMPARE(height.value, 1);
    QCOMPARE(height.minimum, 1);
    QCOMPARE(height.maximum, 256);

    QCOMPARE(window->currentProject().tilesets.size(), 1);
    const Tileset& tileset = *window->currentProject().tilesets.at(0);
    QCOMPARE(tileset.id, 0);
    QCOMPARE(tileset.name, QStringLiteral("Tileset 00"));
    QCOMPARE(tileset.tileWidth, 3);
    QCOMPARE(tileset.tileHeight, 2);
    QCOMPARE(tileset.imagesetId, -1);
    QVERIFY(tileset.tiles.isEmpty());
    QVERIFY(categoryNode(*window, TilesetsNode)->isExpanded());
    QCOMPARE(window->windowTitle(), unsavedTitle);
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::addTilesetCancelledAtWidth()
{
    PromptScript script;
    script.cancel();
    auto window = openWindow();
    QVERIFY(chooseOnCategory(*window, TilesetsNode, QStringLiteral("Add new...")));
    QCOMPARE(script.shown.size(), 1); // the height is not asked
    QVERIFY(window->currentProject().tilesets.isEmpty());
    QCOMPARE(categoryNode(*window, TilesetsNode)->childCount(), 0);
    QVERIFY(!window->isUnsaved());
    QCOMPARE(window->windowTitle(), cleanTitle);
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::addTilesetCancelledAtHeight()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 1);
    saveClean(*window, script);
    script.number(4).cancel();
    QVERIFY(chooseOnCategory(*window, TilesetsNode, QStringLiteral("Add new...")));
    QCOMPARE(script.shown.size(), 2);
    QVERIFY(window->currentProject().tilesets.isEmpty());
    QCOMPARE(categoryNode(*window, TilesetsNode)->childCount(), 0);
    QVERIFY(!window->isUnsaved());
    QVERIFY(!window->windowTitle().endsWith(QStringLiteral(" *]")));
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- rename

void ProjectTreeTest::renameRejectsExistingNameIgnoringCase()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 1);
    saveClean(*window, script);
    script.text(QStringLiteral("charset 00"));

    QVERIFY(chooseOnItem(*window, CharsetNode, 0, QStringLiteral("Rename...")));
    QCOMPARE(script.shown.size(), 2);
    const PromptRequest input = script.shown.at(0);
    QCOMPARE(input.kind, PromptRequest::Text);
    QCOMPARE(input.title, QStringLiteral("New name"));
    QCOMPARE(input.text, QStringLiteral("Name:"));
    QCOMPARE(input.initialText, QStringLiteral("Charset 00"));
    const PromptRequest error = script.shown.at(1);
    QCOMPARE(error.kind, PromptRequest::Message);
    QCOMPARE(error.icon, QMessageBox::Critical);
    QCOMPARE(error.title, QStringLiteral("Error!"));
    QCOMPARE(error.text, QStringLiteral("This name already exists!"));

    QCOMPARE(window->currentProject().charsets.at(0)->name, QStringLiteral("Charset 00"));
    QVERIFY(!window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::renameRejectsOtherItemsName()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 2);
    addItems(*window, SpritesetsNode, 1);
    script.text(QStringLiteral("  CHARSET 00 "));
    QVERIFY(chooseOnItem(*window, CharsetNode, 1, QStringLiteral("Rename...")));
    QCOMPARE(script.last().text, QStringLiteral("This name already exists!"));
    QCOMPARE(window->currentProject().charsets.at(1)->name, QStringLiteral("Charset 01"));

    // Names are unique within a kind only.
    script.text(QStringLiteral("Charset 00"));
    QVERIFY(chooseOnItem(*window, SpritesetNode, 0, QStringLiteral("Rename...")));
    QCOMPARE(window->currentProject().spritesets.at(0)->name, QStringLiteral("Charset 00"));
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::renameTrimsAndStores()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, BlocksetsNode, 1);
    saveClean(*window, script);
    script.text(QStringLiteral("  New  "));
    QVERIFY(chooseOnItem(*window, BlocksetNode, 0, QStringLiteral("Rename...")));
    QCOMPARE(script.shown.size(), 1);
    QCOMPARE(window->currentProject().blocksets.at(0)->name, QStringLiteral("New"));
    QCOMPARE(window->currentProject().blocksets.at(0)->id, 0);
    QCOMPARE(childTexts(categoryNode(*window, BlocksetsNode)), QStringList("New"));
    QVERIFY(window->isUnsaved());
    QVERIFY(window->windowTitle().endsWith(QStringLiteral(" *]")));
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::renameIgnoresEmptyAndBlank_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("entered");
    QTest::newRow("empty") << false << "";
    QTest::newRow("blank") << false << "   \t ";
    QTest::newRow("cancelled") << true << "";
}

void ProjectTreeTest::renameIgnoresEmptyAndBlank()
{
    QFETCH(bool, cancelled);
    QFETCH(QString, entered);
    PromptScript script;
    auto window = openWindow();
    addItems(*window, ScreensNode, 1);
    saveClean(*window, script);
    if (cancelled)
        script.cancel();
    else
        script.text(entered);
    QVERIFY(chooseOnItem(*window, ScreenNode, 0, QStringLiteral("Rename...")));
    QCOMPARE(script.shown.size(), 1); // no error either
    QCOMPARE(window->currentProject().screens.at(0)->name, QStringLiteral("Screen 00"));
    QVERIFY(!window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::renameTellsOpenEditor()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 2);
    auto log = QSharedPointer<FakeEditorLog>::create();
    auto otherLog = QSharedPointer<FakeEditorLog>::create();
    addFakeEditor(window->editorArea(), new FakeEditor(CharsetNode, 1, log));
    addFakeEditor(window->editorArea(), new FakeEditor(CharsetNode, 0, otherLog));
    script.text(QStringLiteral(" Fonts "));
    QVERIFY(chooseOnItem(*window, CharsetNode, 1, QStringLiteral("Rename...")));
    QCOMPARE(log->names, QStringList("Fonts"));
    QVERIFY(otherLog->names.isEmpty());
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- tree

void ProjectTreeTest::treeSortsCaseSensitivelyProjectKeepsOrder()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, SpritesetsNode, 3);
    script.text(QStringLiteral("c")).text(QStringLiteral("a")).text(QStringLiteral("B"));
    QVERIFY(chooseOnItem(*window, SpritesetNode, 0, QStringLiteral("Rename...")));
    QVERIFY(chooseOnItem(*window, SpritesetNode, 1, QStringLiteral("Rename...")));
    QVERIFY(chooseOnItem(*window, SpritesetNode, 2, QStringLiteral("Rename...")));
    QCOMPARE(script.unexpected, 0);

    // Upper-case letters sort before lower-case ones.
    QCOMPARE(childTexts(categoryNode(*window, SpritesetsNode)), QStringList({"B", "a", "c"}));
    QCOMPARE(namesOf(window->currentProject().datasets(ItemKind::Spriteset)), QStringList({"c", "a", "B"}));
    QCOMPARE(ProjectTree::idOf(categoryNode(*window, SpritesetsNode)->child(0)), 2);
    QCOMPARE(ProjectTree::idOf(categoryNode(*window, SpritesetsNode)->child(2)), 0);
}

void ProjectTreeTest::expandedCategoryStaysExpanded()
{
    PromptScript script;
    script.number(1).number(1);
    auto window = openWindow();
    QVERIFY(chooseOnCategory(*window, TilesetsNode, QStringLiteral("Add new...")));
    QVERIFY(categoryNode(*window, TilesetsNode)->isExpanded());
    categoryNode(*window, BlocksetsNode)->setExpanded(true);
    categoryNode(*window, BlocksetsNode)->setExpanded(false);

    addItems(*window, ScreensNode, 1);
    QVERIFY(categoryNode(*window, TilesetsNode)->isExpanded());
    QVERIFY(categoryNode(*window, ScreensNode)->isExpanded());
    QVERIFY(!categoryNode(*window, CharsetsNode)->isExpanded());
    QVERIFY(!categoryNode(*window, BlocksetsNode)->isExpanded());
    QVERIFY(!categoryNode(*window, SpritesetsNode)->isExpanded());

    categoryNode(*window, TilesetsNode)->setExpanded(false);
    addItems(*window, SpritesetsNode, 1);
    QVERIFY(!categoryNode(*window, TilesetsNode)->isExpanded());
    QVERIFY(categoryNode(*window, ScreensNode)->isExpanded());
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::toolTipsAndNodeData()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, ScreensNode, 4);
    QTreeWidgetItem* node = itemNode(*window, ScreenNode, 3);
    QVERIFY(node);
    QCOMPARE(node->toolTip(0), QStringLiteral("Id: 3"));
    QCOMPARE(node->data(0, Qt::UserRole).toList(), QVariantList({10, 3}));
    QCOMPARE(node->text(0), QStringLiteral("Screen 03"));
    QVERIFY(categoryNode(*window, ScreensNode)->toolTip(0).isEmpty());
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::modifiedEditorMarksItemAndCategory()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 2);
    addItems(*window, ScreensNode, 1);
    auto* editor = new FakeEditor(CharsetNode, 1);
    addFakeEditor(window->editorArea(), editor);
    auto* screenEditor = new FakeEditor(ScreenNode, 0);
    addFakeEditor(window->editorArea(), screenEditor);

    editor->modified = true;
    window->rebuildTreeWidgetNodes();
    QCOMPARE(categoryNode(*window, CharsetsNode)->text(0), QStringLiteral("Charsets *"));
    QCOMPARE(childTexts(categoryNode(*window, CharsetsNode)),
             QStringList({"Charset 00", "Charset 01 *"}));
    QCOMPARE(categoryNode(*window, ScreensNode)->text(0), QStringLiteral("Screens"));
    QCOMPARE(childTexts(categoryNode(*window, ScreensNode)), QStringList("Screen 00"));

    editor->modified = false;
    window->rebuildTreeWidgetNodes();
    QCOMPARE(categoryNode(*window, CharsetsNode)->text(0), QStringLiteral("Charsets"));
    QCOMPARE(childTexts(categoryNode(*window, CharsetsNode)), QStringList({"Charset 00", "Charset 01"}));
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- build

void ProjectTreeTest::buildFromCharset()
{
    PromptScript script;
    script.number(1).number(1).number(2).number(2);
    auto window = openWindow();
    addItems(*window, CharsetsNode, 2);
    addItems(*window, TilesetsNode, 2);
    QCOMPARE(script.unexpected, 0);
    // Project order differs from the tree's order.
    script.text(QStringLiteral("Zeta"));
    QVERIFY(chooseOnItem(*window, CharsetNode, 0, QStringLiteral("Rename...")));
    auto charset = window->currentProject().charsets.at(1);
    charset->imageColors.insert(0, 3);
    charset->imageColors.insert(17, 0);
    charset->imageColors.insert(255, 9);
    saveClean(*window, script);
    categoryNode(*window, TilesetsNode)->setExpanded(false);

    script.text(QStringLiteral("Charset 01"));
    QVERIFY(chooseOnCategory(*window, TilesetsNode, QStringLiteral("Build from charset (1x1)...")));
    const PromptRequest choice = script.last();
    QCOMPARE(choice.kind, PromptRequest::Item);
    QCOMPARE(choice.title, QStringLiteral("Select charset"));
    QCOMPARE(choice.text, QStringLiteral("Charset: "));
    QCOMPARE(choice.items, QStringList({"Zeta", "Charset 01"}));

    QCOMPARE(window->currentProject().tilesets.size(), 3);
    const Tileset& built = *window->currentProject().tilesets.at(2);
    QCOMPARE(built.id, 2);
    QCOMPARE(built.name, QStringLiteral("Tileset 2"));
    QCOMPARE(built.imagesetId, 1);
    QVERIFY(built.imagesetIsCharset);
    QCOMPARE(built.tileWidth, 1);
    QCOMPARE(built.tileHeight, 1);
    QCOMPARE(built.gridSizeX, 32);
    QCOMPARE(built.gridSizeY, 8);
    QCOMPARE(built.tiles.size(), 256);
    for (int k = 0; k < 256; ++k) {
        QVERIFY2(built.tiles.contains(k), qPrintable(QString::number(k)));
        const Tile& tile = built.tiles.value(k);
        QCOMPARE(tile.width, 1);
        QCOMPARE(tile.height, 1);
        QCOMPARE(tile.indexes, QVector<int>({k}));
        const int colour = k == 0 ? 3 : k == 17 ? 0 : k == 255 ? 9 : 15;
        QCOMPARE(tile.colors, QVector<int>({colour}));
    }
    QVERIFY(categoryNode(*window, TilesetsNode)->isExpanded());
    QVERIFY(childTexts(categoryNode(*window, TilesetsNode)).contains(QStringLiteral("Tileset 2")));
    QVERIFY(window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::buildFromCharsetCancelled()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 1);
    saveClean(*window, script);
    script.cancel();
    QVERIFY(chooseOnCategory(*window, TilesetsNode, QStringLiteral("Build from charset (1x1)...")));
    QCOMPARE(script.shown.size(), 1);
    QVERIFY(window->currentProject().tilesets.isEmpty());
    QVERIFY(!window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::buildFromCharsetTellsEqualNamesApart()
{
    PromptScript script;
    auto window = openWindow();
    // A rename can take the default name a later set gets.
    addItems(*window, CharsetsNode, 1);
    script.text(QStringLiteral("Charset 01"));
    QVERIFY(chooseOnItem(*window, CharsetNode, 0, QStringLiteral("Rename...")));
    addItems(*window, CharsetsNode, 1);
    QCOMPARE(window->currentProject().charsets.at(1)->name, QStringLiteral("Charset 01"));

    script.number(1); // the second entry of the list
    QVERIFY(chooseOnCategory(*window, TilesetsNode, QStringLiteral("Build from charset (1x1)...")));
    QCOMPARE(script.last().items, QStringList({"Charset 01", "Charset 01"}));
    QCOMPARE(window->currentProject().tilesets.size(), 1);
    QCOMPARE(window->currentProject().tilesets.first()->imagesetId, 1);
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::buildFromBlockset()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, BlocksetsNode, 1);
    addItems(*window, CharsetsNode, 1);
    auto blockset = window->currentProject().blocksets.at(0);
    blockset->images.insert(0, ImageData(8, 8));
    blockset->images.insert(3, ImageData(8, 8));
    blockset->images.insert(7, ImageData(8, 8));
    blockset->imageColors.insert(3, 4);
    blockset->imageColors.insert(5, 2); // colour of an empty slot below the last image

    script.text(QStringLiteral("Blockset 00"));
    QVERIFY(chooseOnCategory(*window, TilesetsNode, QStringLiteral("Build from blockset (1x1)...")));
    QCOMPARE(script.last().title, QStringLiteral("Select blockset"));
    QCOMPARE(script.last().text, QStringLiteral("Blockset: "));
    QCOMPARE(script.last().items, QStringList("Blockset 00"));

    QCOMPARE(window->currentProject().tilesets.size(), 1);
    const Tileset& built = *window->currentProject().tilesets.at(0);
    QCOMPARE(built.name, QStringLiteral("Tileset 0"));
    QCOMPARE(built.imagesetId, 0);
    QVERIFY(!built.imagesetIsCharset);
    QCOMPARE(built.gridSizeX, 32);
    QCOMPARE(built.gridSizeY, 8);
    QCOMPARE(built.tiles.keys(), QList<int>({0, 1, 2, 3, 4, 5, 6, 7}));
    for (int k = 0; k < 8; ++k) {
        QCOMPARE(built.tiles.value(k).indexes, QVector<int>({k}));
        const int colour = k == 3 ? 4 : k == 5 ? 2 : 15;
        QCOMPARE(built.tiles.value(k).colors, QVector<int>({colour}));
    }
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::buildFromEmptyBlockset()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, BlocksetsNode, 1);
    script.text(QStringLiteral("Blockset 00"));
    QVERIFY(chooseOnCategory(*window, TilesetsNode, QStringLiteral("Build from blockset (1x1)...")));
    QCOMPARE(window->currentProject().tilesets.size(), 1);
    QVERIFY(window->currentProject().tilesets.at(0)->tiles.isEmpty());
    QVERIFY(!window->currentProject().tilesets.at(0)->imagesetIsCharset);
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- clone

void ProjectTreeTest::cloneCharset()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 2);
    auto source = window->currentProject().charsets.at(0);
    ImageData image(8, 8);
    image.bytes[2] = char(0x5a);
    source->images.insert(4, image);
    source->imageColors.insert(4, 13);
    source->mode = Imageset::ECM;
    source->colors = {1, 2, 3, 4};
    source->selectorZoom = 2.5;
    source->selectorGridWidth = 16;
    source->backgroundColor = QColor(10, 20, 30);
    Animation animation;
    animation.speed = 12;
    animation.frames.append(AnimationFrame());
    source->animations.animations.append(animation);
    saveClean(*window, script);

    QVERIFY(chooseOnItem(*window, CharsetNode, 0, QStringLiteral("Clone")));
    QVERIFY(script.shown.isEmpty());
    QCOMPARE(window->currentProject().charsets.size(), 3);
    const Imageset& clone = *window->currentProject().charsets.at(2);
    QCOMPARE(clone.id, 2);
    QCOMPARE(clone.name, QStringLiteral("Charset 02"));
    Imageset comparable = clone;
    comparable.id = source->id;
    comparable.name = source->name;
    QVERIFY(comparable == *source);
    QCOMPARE(childTexts(categoryNode(*window, CharsetsNode)),
             QStringList({"Charset 00", "Charset 01", "Charset 02"}));
    QVERIFY(window->isUnsaved());

    // The clone is a copy, not a second name for the source.
    window->currentProject().charsets.at(2)->images[4].bytes[2] = 0;
    QCOMPARE(source->images.value(4).bytes.at(2), char(0x5a));
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::cloneTilesetKeepsTileSize()
{
    PromptScript script;
    script.number(3).number(2);
    auto window = openWindow();
    addItems(*window, TilesetsNode, 1);
    auto source = window->currentProject().tilesets.at(0);
    source->imagesetId = 4;
    source->imagesetIsCharset = false;
    Tile tile(3, 2);
    tile.indexes = {1, 2, 3, 4, 5, 6};
    tile.colors = {0, 1, 2, -1, 4, 5};
    source->tiles.insert(2, tile);
    source->gridSizeX = 5;
    source->zoom = 1.5;

    QVERIFY(chooseOnItem(*window, TilesetNode, 0, QStringLiteral("Clone")));
    QCOMPARE(window->currentProject().tilesets.size(), 2);
    const Tileset& clone = *window->currentProject().tilesets.at(1);
    QCOMPARE(clone.name, QStringLiteral("Tileset 01"));
    QCOMPARE(clone.tileWidth, 3);
    QCOMPARE(clone.tileHeight, 2);
    Tileset comparable = clone;
    comparable.id = source->id;
    comparable.name = source->name;
    QVERIFY(comparable == *source);
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::cloneScreen()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, ScreensNode, 1);
    auto source = window->currentProject().screens.at(0);
    source->sourceRef = SourceRef::make(SourceRef::charsetBit, 0);
    source->width = 40;
    source->height = 25;
    source->cellIndexes.insert({3, 4}, 65);
    source->cellColors.insert({3, 4}, 7);
    source->innerGridVisible = true;

    QVERIFY(chooseOnItem(*window, ScreenNode, 0, QStringLiteral("Clone")));
    const Screen& clone = *window->currentProject().screens.at(1);
    QCOMPARE(clone.id, 1);
    QCOMPARE(clone.name, QStringLiteral("Screen 01"));
    Screen comparable = clone;
    comparable.id = source->id;
    comparable.name = source->name;
    QVERIFY(comparable == *source);
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- delete

void ProjectTreeTest::deleteAnsweredNoKeepsItem()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 1);
    saveClean(*window, script);
    script.button(QMessageBox::No);

    QVERIFY(chooseOnItem(*window, CharsetNode, 0, QStringLiteral("Delete")));
    QCOMPARE(script.shown.size(), 1);
    const PromptRequest question = script.shown.at(0);
    QCOMPARE(question.kind, PromptRequest::Question);
    QCOMPARE(question.icon, QMessageBox::Warning);
    QCOMPARE(question.title, QStringLiteral("Warning!"));
    QCOMPARE(question.text, QStringLiteral("The deletion of 'Charset 00' cannot be undone. Are you sure?\n"));
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.defaultButton, QMessageBox::No);

    QCOMPARE(window->currentProject().charsets.size(), 1);
    QVERIFY(itemNode(*window, CharsetNode, 0));
    QVERIFY(!window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::deleteAnsweredYesRemovesItem()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, SpritesetsNode, 3);
    saveClean(*window, script);
    script.button(QMessageBox::Yes);

    QVERIFY(chooseOnItem(*window, SpritesetNode, 1, QStringLiteral("Delete")));
    QCOMPARE(script.shown.at(0).text,
             QStringLiteral("The deletion of 'Spriteset 01' cannot be undone. Are you sure?\n"));
    QCOMPARE(idsOf(window->currentProject().datasets(ItemKind::Spriteset)), QList<qint32>({0, 2}));
    QCOMPARE(childTexts(categoryNode(*window, SpritesetsNode)),
             QStringList({"Spriteset 00", "Spriteset 02"}));
    QVERIFY(window->isUnsaved());
    QVERIFY(window->windowTitle().endsWith(QStringLiteral(" *]")));
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::deleteForceClosesModifiedEditor()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 2);
    auto log = QSharedPointer<FakeEditorLog>::create();
    auto otherLog = QSharedPointer<FakeEditorLog>::create();
    QPointer<FakeEditor> editor = new FakeEditor(CharsetNode, 1, log);
    editor->modified = true;
    addFakeEditor(window->editorArea(), editor);
    auto* other = new FakeEditor(CharsetNode, 0, otherLog);
    other->modified = true;
    addFakeEditor(window->editorArea(), other);
    script.button(QMessageBox::Yes);

    QVERIFY(chooseOnItem(*window, CharsetNode, 1, QStringLiteral("Delete")));
    QCOMPARE(script.shown.size(), 1); // only the deletion question
    QCOMPARE(log->closesAccepted, 1);
    QVERIFY(log->forcedWhenClosed);
    QCOMPARE(otherLog->closeRequests, 0);
    QCOMPARE(window->editorArea()->subWindowList().size(), 1);
    QCOMPARE(window->editorArea()->subWindowList().at(0)->widget(), other);
    QTRY_VERIFY(editor.isNull());
    QCOMPARE(idsOf(window->currentProject().datasets(ItemKind::Charset)), QList<qint32>({0}));
    QCOMPARE(childTexts(categoryNode(*window, CharsetsNode)), QStringList("Charset 00 *"));
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::deleteStopsWhenEditorRefuses()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, ScreensNode, 1);
    saveClean(*window, script);
    auto* editor = new FakeEditor(ScreenNode, 0);
    editor->refuseAlways = true;
    addFakeEditor(window->editorArea(), editor);
    script.button(QMessageBox::Yes);

    QVERIFY(chooseOnItem(*window, ScreenNode, 0, QStringLiteral("Delete")));
    QVERIFY(editor->log->closeRequests >= 1);
    QCOMPARE(window->currentProject().screens.size(), 1);
    QVERIFY(itemNode(*window, ScreenNode, 0));
    QVERIFY(!window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
    editor->refuseAlways = false; // lets the window close at the end of the test
}

void ProjectTreeTest::deleteRedrawsDependentEditors()
{
    PromptScript script;
    script.number(1).number(1).number(1).number(1);
    auto window = openWindow();
    addItems(*window, CharsetsNode, 2);
    addItems(*window, SpritesetsNode, 2);
    addItems(*window, BlocksetsNode, 1);
    addItems(*window, TilesetsNode, 2);
    addItems(*window, ScreensNode, 1);
    auto tilesetLog = QSharedPointer<FakeEditorLog>::create();
    auto screenLog = QSharedPointer<FakeEditorLog>::create();
    auto charsetLog = QSharedPointer<FakeEditorLog>::create();
    auto spritesetLog = QSharedPointer<FakeEditorLog>::create();
    addFakeEditor(window->editorArea(), new FakeEditor(TilesetNode, 0, tilesetLog));
    addFakeEditor(window->editorArea(), new FakeEditor(ScreenNode, 0, screenLog));
    addFakeEditor(window->editorArea(), new FakeEditor(CharsetNode, 1, charsetLog));
    addFakeEditor(window->editorArea(), new FakeEditor(SpritesetNode, 0, spritesetLog));
    const auto calls = [&] {
        return QList<int>({tilesetLog->invalidateCalls, screenLog->invalidateCalls,
                           charsetLog->invalidateCalls, spritesetLog->invalidateCalls});
    };

    // Tile sets and screens draw character sets: both redraw.
    script.button(QMessageBox::Yes);
    QVERIFY(chooseOnItem(*window, CharsetNode, 0, QStringLiteral("Delete")));
    QCOMPARE(calls(), QList<int>({1, 1, 0, 0}));
    // Block sets and tile sets are drawn by screens only.
    script.button(QMessageBox::Yes);
    QVERIFY(chooseOnItem(*window, BlocksetNode, 0, QStringLiteral("Delete")));
    QCOMPARE(calls(), QList<int>({1, 2, 0, 0}));
    script.button(QMessageBox::Yes);
    QVERIFY(chooseOnItem(*window, TilesetNode, 1, QStringLiteral("Delete")));
    QCOMPARE(calls(), QList<int>({1, 3, 0, 0}));
    // Nothing else draws sprite sets or screens.
    script.button(QMessageBox::Yes);
    QVERIFY(chooseOnItem(*window, SpritesetNode, 1, QStringLiteral("Delete")));
    QCOMPARE(calls(), QList<int>({1, 3, 0, 0}));
    QCOMPARE(script.unexpected, 0);
}

// ---------------------------------------------------------------- export and import

void ProjectTreeTest::exportThenImportCharset()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 5);
    auto source = window->currentProject().charsets.at(2);
    ImageData image(8, 8);
    for (int row = 0; row < 8; ++row)
        image.bytes[row] = char(1 << row);
    source->images.insert(0, image);
    source->images.insert(200, image);
    source->imageColors.insert(200, 6);
    source->mode = Imageset::MCM;
    source->colors = {0, 5, 10, 15};
    source->selectorZoom = 4.0;
    source->selectorGridHeight = 16;
    source->selectorGridVisible = false;
    source->pixelsGridColor = QColor(1, 2, 3);
    Animation animation;
    animation.speed = 25;
    AnimationFrame frame;
    frame.gridX = 2;
    frame.placedImages.append({1, 0, 200, 2});
    animation.frames.append(frame);
    source->animations.animations.append(animation);
    source->animations.zoom = 2.0;
    saveClean(*window, script);

    const QString path = file(QStringLiteral("c2.mzchar"));
    script.text(path);
    QVERIFY(chooseOnItem(*window, CharsetNode, 2, QStringLiteral("Export...")));
    QCOMPARE(script.last().kind, PromptRequest::SaveFileName);
    QCOMPARE(script.last().title, QStringLiteral("Export as..."));
    QCOMPARE(script.last().filter, QStringLiteral("Mosaikon Charset (*.mzchar)"));
    QVERIFY(QFile::exists(path));
    // An export changes nothing in the project.
    QVERIFY(!window->isUnsaved());
    QCOMPARE(window->currentProject().charsets.size(), 5);

    script.text(path);
    QVERIFY(chooseOnCategory(*window, CharsetsNode, QStringLiteral("Import...")));
    QCOMPARE(script.last().kind, PromptRequest::OpenFileName);
    QCOMPARE(script.last().title, QStringLiteral("Import..."));
    QCOMPARE(script.last().filter, QStringLiteral("Mosaikon Charset (*.mzchar)"));
    QCOMPARE(script.shown.size(), 2);

    QCOMPARE(window->currentProject().charsets.size(), 6);
    const Imageset& imported = *window->currentProject().charsets.at(5);
    QCOMPARE(imported.id, 5);
    QCOMPARE(imported.name, QStringLiteral("Charset 05"));
    Imageset comparable = imported;
    comparable.id = source->id;
    comparable.name = source->name;
    QVERIFY(comparable == *source);
    QVERIFY(itemNode(*window, CharsetNode, 5));
    QCOMPARE(itemNode(*window, CharsetNode, 5)->text(0), QStringLiteral("Charset 05"));
    QVERIFY(window->isUnsaved());
    QVERIFY(window->windowTitle().endsWith(QStringLiteral(" *]")));
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::importUnknownRecordVersion()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, CharsetsNode, 2);
    saveClean(*window, script);

    // A valid record of today, relabelled as written by a newer version.
    Imageset record(7, QStringLiteral("From the future"), 8, 8, Imageset::Charset);
    RecordWriter out;
    record.save(out);
    QByteArray bytes = out.bytes();
    RecordWriter version;
    version.writeVersion({0, 13, 0});
    bytes.replace(0, version.bytes().size(), version.bytes());
    const QString path = file(QStringLiteral("future.mzchar"));
    QVERIFY(writeBytes(path, bytes));

    script.text(path);
    QVERIFY(chooseOnCategory(*window, CharsetsNode, QStringLiteral("Import...")));
    QCOMPARE(script.shown.size(), 2);
    QCOMPARE(script.last().kind, PromptRequest::Message);
    QCOMPARE(script.last().icon, QMessageBox::Critical);
    QCOMPARE(script.last().title, QStringLiteral("Error!"));
    QCOMPARE(script.last().text,
             QStringLiteral("Unable to import the file '%1', bad file or unknown version!").arg(path));
    QCOMPARE(idsOf(window->currentProject().datasets(ItemKind::Charset)), QList<qint32>({0, 1}));
    QCOMPARE(categoryNode(*window, CharsetsNode)->childCount(), 2);
    QVERIFY(!window->isUnsaved());
    QVERIFY(!window->windowTitle().endsWith(QStringLiteral(" *]")));

    // The identifier the failed import would have taken is still free.
    addItems(*window, CharsetsNode, 1);
    QCOMPARE(window->currentProject().charsets.last()->id, 2);
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::importMissingFile()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, BlocksetsNode, 1);
    saveClean(*window, script);
    const QString path = file(QStringLiteral("absent.mzblocks"));
    script.text(path);
    QVERIFY(chooseOnCategory(*window, BlocksetsNode, QStringLiteral("Import...")));
    QCOMPARE(script.shown.size(), 2);
    QCOMPARE(script.last().icon, QMessageBox::Critical);
    QCOMPARE(script.last().title, QStringLiteral("Error!"));
    QCOMPARE(script.last().text, QStringLiteral("Unable to open the file '%1'!").arg(path));
    QCOMPARE(window->currentProject().blocksets.size(), 1);
    QVERIFY(!window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::importScreenKeepsSourceReference()
{
    PromptScript script;
    Screen screen;
    screen.id = 9;
    screen.name = QStringLiteral("Elsewhere");
    screen.sourceRef = SourceRef::make(SourceRef::tilesetBit, 7);
    screen.width = 2;
    screen.height = 2;
    screen.cellIndexes.insert({1, 1}, 3);
    const QString path = file(QStringLiteral("s.mzscreen"));
    QVERIFY(ItemFile::write(path, screen));

    auto window = openWindow();
    addItems(*window, ScreensNode, 1);
    script.text(path);
    QVERIFY(chooseOnCategory(*window, ScreensNode, QStringLiteral("Import...")));
    QCOMPARE(window->currentProject().screens.size(), 2);
    const Screen& imported = *window->currentProject().screens.at(1);
    QCOMPARE(imported.id, 1);
    QCOMPARE(imported.name, QStringLiteral("Screen 01"));
    QCOMPARE(imported.sourceRef, SourceRef::make(SourceRef::tilesetBit, 7));
    QCOMPARE(imported.cellIndexes, screen.cellIndexes);
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::exportToUnwritablePath()
{
    PromptScript script;
    auto window = openWindow();
    addItems(*window, SpritesetsNode, 1);
    saveClean(*window, script);
    const QString path = file(QStringLiteral("missing-directory/s.mzsprites"));
    script.text(path);
    QVERIFY(chooseOnItem(*window, SpritesetNode, 0, QStringLiteral("Export...")));
    QCOMPARE(script.shown.size(), 2);
    QCOMPARE(script.last().icon, QMessageBox::Critical);
    QCOMPARE(script.last().title, QStringLiteral("Error!"));
    QCOMPARE(script.last().text, QStringLiteral("Unable to save the file '%1'!").arg(path));
    QVERIFY(!QFile::exists(path));
    QVERIFY(!window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
}

void ProjectTreeTest::fileDialogsPerKind_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("filter");
    QTest::newRow("charset") << int(CharsetsNode) << "Mosaikon Charset (*.mzchar)";
    QTest::newRow("spriteset") << int(SpritesetsNode) << "Mosaikon Spriteset (*.mzsprites)";
    QTest::newRow("blockset") << int(BlocksetsNode) << "Mosaikon Blockset (*.mzblocks)";
    QTest::newRow("tileset") << int(TilesetsNode) << "Mosaikon Tileset (*.mztiles)";
    QTest::newRow("screen") << int(ScreensNode) << "Mosaikon Screen (*.mzscreen)";
}

void ProjectTreeTest::fileDialogsPerKind()
{
    QFETCH(int, category);
    QFETCH(QString, filter);
    const ItemKind kind = itemKindOf(category);
    QCOMPARE(ItemCommands::fileFilter(kind), filter);

    PromptScript script;
    if (kind == ItemKind::Tileset)
        script.number(2).number(3);
    auto window = openWindow();
    addItems(*window, category, 1);
    saveClean(*window, script);

    // Export and import through the menus, each with a round trip.
    const QString path = file(QStringLiteral("item.") + filter.section(QLatin1Char('.'), 1).chopped(1));
    script.text(path);
    QVERIFY(chooseOnItem(*window, itemNodeOf(itemKindOf(category)), 0, QStringLiteral("Export...")));
    const PromptRequest exportDialog = script.last();
    QCOMPARE(exportDialog.kind, PromptRequest::SaveFileName);
    QCOMPARE(exportDialog.title, QStringLiteral("Export as..."));
    QCOMPARE(exportDialog.filter, filter);

    script.text(path);
    QVERIFY(chooseOnCategory(*window, category, QStringLiteral("Import...")));
    const PromptRequest importDialog = script.last();
    QCOMPARE(importDialog.kind, PromptRequest::OpenFileName);
    QCOMPARE(importDialog.title, QStringLiteral("Import..."));
    QCOMPARE(importDialog.filter, filter);

    const QList<QSharedPointer<Dataset>> items = window->currentProject().datasets(kind);
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(1)->id, 1);
    QCOMPARE(items.at(1)->name, label(kind) + QStringLiteral(" 01"));
    if (kind == ItemKind::Tileset) {
        // The file's tile size wins over the 1 x 1 of a fresh import.
        QCOMPARE(window->currentProject().tilesets.at(1)->tileWidth, 2);
        QCOMPARE(window->currentProject().tilesets.at(1)->tileHeight, 3);
    }

    // Cancelled dialogs change nothing.
    saveClean(*window, script);
    const int shownBefore = script.shown.size();
    script.cancel().cancel();
    QVERIFY(chooseOnCategory(*window, category, QStringLiteral("Import...")));
    QVERIFY(chooseOnItem(*window, itemNodeOf(itemKindOf(category)), 0, QStringLiteral("Export...")));
    QCOMPARE(script.shown.size(), shownBefore + 2);
    QCOMPARE(window->currentProject().datasets(kind).size(), 2);
    QVERIFY(!window->isUnsaved());
    QCOMPARE(script.unexpected, 0);
}

QTEST_MAIN(ProjectTreeTest)
#include "tst_projecttree.moc"
