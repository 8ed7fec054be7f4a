// The project tree driven through the main window: the context menu of each
// node, the item commands behind it, export and import of every kind, the
// tree's order, marks and expansion, and the commands' effect on open editors.

#include "app/windowtest.h"
#include "model/itemfile.h"
#include "project/itemcommands.h"
#include "project/projecttree.h"
#include "support/core/datatable.h"
#include "support/core/recordbytes.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace {
// Kinds by letter in the tree's order: charsets, sprite sets, block sets, tile sets, screens.
const QString kindLetters = QStringLiteral("csbtn");

// "c" is the category of charsets, "c2" the charset with identifier 2.
QTreeWidgetItem* node(const Mosaikon& window, const QString& name)
{
    QTreeWidgetItem* category = window.projectTree()->topLevelItem(kindLetters.indexOf(name.at(0)));
    for (int i = 0; name.size() > 1 && i < category->childCount(); ++i) {
        if (ProjectTree::idOf(category->child(i)) == name.mid(1).toInt())
            return category->child(i);
    }
    return name.size() > 1 ? nullptr : category;
}

// "*" when the category is marked modified, or nothing; then the items' texts.
QStringList texts(const QTreeWidgetItem* category)
{
    QStringList texts {category->text(0).endsWith(" *") ? "*" : ""};
    for (int i = 0; i < category->childCount(); ++i)
        texts << category->child(i)->text(0);
    return texts;
}

// An item as the command table shows it: name, image size, kind letter; for a tile
// set name, tile size, tile count, the set it is made of with the grid, and
// slot:colour of those of a few slots whose tile shows the image of its slot.
QString describe(const Dataset* item)
{
    if (auto* set = dynamic_cast<const Imageset*>(item))
        return QStringLiteral("%1 %2x%3 %4").arg(set->name).arg(set->imageWidth).arg(set->imageHeight).arg(kindLetters.at(set->type));
    auto* tiles = dynamic_cast<const Tileset*>(item);
    if (!tiles)
        return item->name;
    QString text = QStringLiteral("%1 %2x%3 %4").arg(tiles->name).arg(tiles->tileWidth).arg(tiles->tileHeight).arg(tiles->tiles.size());
    if (tiles->imagesetId >= 0)
        text += QStringLiteral(" %1%2 %3x%4").arg(tiles->imagesetIsCharset ? 'c' : 'b').arg(tiles->imagesetId).arg(tiles->gridSizeX).arg(tiles->gridSizeY);
    for (int slot : {0, 5, 65, 70, 200, 255}) {
        if (tiles->tiles.value(slot).indexes == QVector<int>({slot}))
            text += QStringLiteral(" %1:%2").arg(slot).arg(tiles->tiles.value(slot).colors.value(0));
    }
    return text;
}
}

class ProjectTreeTest : public QObject {
    Q_OBJECT

private:
    TestEnvironment environment;
    // The entries of the last menu a step chose from: "-" a separator, "!" before a disabled entry.
    QString lastMenu;

    // Runs steps such as "3*c Add new; c2 Rename...=Yes|#1": the entry of
    // the node's context menu, repeated, with these answers queued.
    bool run(Mosaikon& window, PromptScript& script, const QString& steps)
    {
        for (const QString& step : steps.split("; ")) {
            const QString command = step.section('*', -1);
            for (int i = 0; i < (step.contains('*') ? step.section('*', 0, 0).toInt() : 1); ++i) {
                queueAnswers(script, command.section('=', 1), environment);
                QTreeWidgetItem* where = node(window, command.section(' ', 0, 0));
                std::unique_ptr<QMenu> menu(where ? window.itemCommands()->contextMenu(where, &window) : new QMenu);
                QAction* chosen = nullptr;
                QStringList entries;
                for (QAction* action : menu->actions()) {
                    chosen = action->isEnabled() && action->text() == command.section(' ', 1).section('=', 0, 0) ? action : chosen;
                    entries << (action->isSeparator() ? QStringLiteral("-") : (action->isEnabled() ? "" : "!") + action->text());
                }
                lastMenu = entries.join('|');
                if (!chosen)
                    return false;
                chosen->trigger();
            }
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(ItemFile::write(environment.path("charset.mzchar"), filetest::richCharset()));
        QVERIFY(ItemFile::write(environment.path("blockset.mzblocks"), filetest::richBlockset()));
        RecordWriter out;
        filetest::richCharset().save(out);
        QVERIFY(Files::writeSafely(environment.path("future.mzchar"), QByteArray(out.bytes()).replace(4, 4, "\x63\0\0\0", 4))); // 0.99.0
    }

    // The last step runs on the saved project from the node's menu as given;
    // then the prompts, the identifiers of its kind, the last item of that
    // kind and the modified state.
    void itemCommands_data() { datatable::addRows("projecttree/commands.txt"); }

    void itemCommands()
    {
        QFETCH(QStringList, fields);
        const QString steps = fields[0].replace('^', '|').replace('_', ' '), menu = fields[1].replace('^', '|');
        const bool unsaved = fields[5] == "true";
        PromptScript script;
        auto window = openWindow();
        const QString command = steps.section("; ", -1);
        QVERIFY(command == steps || run(*window, script, steps.section("; ", 0, -2)));
        script.text(environment.path("saved.mzprj"));
        QVERIFY(window->saveAs());
        script.shown.clear();
        QVERIFY(run(*window, script, command));
        QCOMPARE(menu.isEmpty() ? menu : lastMenu, menu);
        QCOMPARE(promptKinds(script), fields[2]);
        const QList<QSharedPointer<Dataset>> items = window->currentProject().datasets(ItemKind(kindLetters.indexOf(command.at(0))));
        QStringList ids;
        for (const QSharedPointer<Dataset>& item : items)
            ids << QString::number(item->id);
        QCOMPARE(ids.join(' '), fields[3]);
        QCOMPARE(items.isEmpty() ? QString() : describe(items.last().data()), fields[4]);
        QCOMPARE(node(*window, command.left(1))->childCount(), items.size());
        QCOMPARE(window->isUnsaved(), unsaved);
        QCOMPARE(window->windowTitle().endsWith(" *]"), unsaved);
    }

    // An import takes every field but identifier and name from the file, a
    // clone copies every field, and an export (to a name typed without the
    // kind's extension, which it gets) imports as it was.
    void exportImportAndClone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("filter");
        QTest::newRow("charset") << "c" << "Mosaikon Charset (*.mzchar)";
        QTest::newRow("sprite set") << "s" << "Mosaikon Spriteset (*.mzsprites)";
        QTest::newRow("block set") << "b" << "Mosaikon Blockset (*.mzblocks)";
        QTest::newRow("tile set") << "t" << "Mosaikon Tileset (*.mztiles)";
        QTest::newRow("screen") << "n" << "Mosaikon Screen (*.mzscreen)";
    }

    void exportImportAndClone()
    {
        QFETCH(QString, kind);
        QFETCH(QString, filter);
        const ItemKind itemKind = ItemKind(kindLetters.indexOf(kind));
        const QString extension = filter.section('.', 1).chopped(1);
        QVERIFY(ItemFile::write(environment.path("rich." + extension), *filetest::richProject().datasets(itemKind).first()));
        PromptScript script;
        auto window = openWindow();
        const QString add = kind == "t" ? QStringLiteral("t Add new...=#1|#1") : kind + " Add new";
        QVERIFY(run(*window, script, QStringLiteral("; %k Import...=@rich.%e; %k1 Clone; %k2 Export...=@copy; %k Import...=@copy.%e")
                                         .replace("%k", kind).replace("%e", extension).prepend(add)));
        for (const PromptRequest& request : script.shown)
            QCOMPARE(request.filter, request.kind == PromptRequest::Integer ? QString() : filter);
        Project expected;
        expected.append(itemKind, window->currentProject().datasets(itemKind).value(0));
        for (int id = 1; id <= 3; ++id) {
            QSharedPointer<Dataset> item = filetest::richProject().datasets(itemKind).first();
            item->id = id;
            item->name = QStringLiteral("%1 0%2").arg(filter.section(' ', 1, 1)).arg(id);
            expected.append(itemKind, item);
        }
        QCOMPARE(filetest::compareProjects(expected, window->currentProject()), QString());
        QCOMPARE(script.unexpected, 0);
    }

    // The tree sorts by name, marks the items of editors holding changes
    // and keeps categories collapsed or expanded. Renaming reaches the
    // item's editor; deleting closes it unasked and redraws the editors that
    // draw the deleted item.
    void treeAndOpenEditors()
    {
        PromptScript script;
        auto window = openWindow();
        QVERIFY(run(*window, script, "3*s Add new; s0 Rename...=c; s1 Rename...=a; s2 Rename...=B; 2*c Add new; b Add new; 2*t Add new...=#1|#1; n Add new"));
        const Project& project = window->currentProject();
        MdiChild* other = window->openEditor({CharsetNode, 0}, true, false);
        ImagesetEditor* font = editImageset(*window, CharsetNode, 1);
        auto* tiles = new CountingEditor<Tileset>(*project.tilesets.at(0), TilesetNode, window->editorServices());
        auto* screen = new CountingEditor<Screen>(*project.screens.at(0), ScreenNode, window->editorServices());
        window->editorArea()->addSubWindow(tiles)->show();
        window->editorArea()->addSubWindow(screen)->show();
        // Capitals sort first; the project keeps its order.
        QCOMPARE(texts(node(*window, "s")), QStringList({"", "B", "a", "c"}));
        QCOMPARE(project.spritesets.at(1)->name, QStringLiteral("a"));
        QVERIFY(project.nameTaken(ItemKind::Spriteset, " b ") && !project.nameTaken(ItemKind::Charset, "b"));
        QCOMPARE(texts(node(*window, "c")), QStringList({"*", "Charset 00", "Charset 01 *"}));
        font->undo();
        QCOMPARE(texts(node(*window, "c")), QStringList({"", "Charset 00", "Charset 01"}));
        font->redo();
        node(*window, "c")->setExpanded(false);
        script.shown.clear();

        QVERIFY(run(*window, script, "c1 Rename...=Fonts"));
        QVERIFY(font->windowTitle().startsWith("Fonts") && other->windowTitle().startsWith("Charset 00"));
        QPointer<QWidget> closed = font;
        QList<QList<int>> redraws;
        for (const char* item : {"c1", "b0", "t1", "s0"}) {
            QVERIFY(run(*window, script, item + QStringLiteral(" Delete=Yes")));
            redraws.append({tiles->redraws, screen->redraws});
        }
        QTRY_VERIFY(closed.isNull());
        QCOMPARE(promptKinds(script), QStringLiteral("TQQQQ"));
        // Tile sets and screens draw charsets; only screens draw block sets and tile sets.
        QCOMPARE(redraws, QList<QList<int>>({{1, 1}, {1, 2}, {1, 3}, {1, 3}}));
        QCOMPARE(window->editorArea()->subWindowList().size(), 3);
        QList<bool> expanded;
        for (int i = 0; i < 5; ++i)
            expanded << window->projectTree()->topLevelItem(i)->isExpanded();
        QCOMPARE(expanded, QList<bool>({false, true, true, true, true}));
        QCOMPARE(script.unexpected, 0);
    }
};

QTEST_MAIN(ProjectTreeTest)
#include "tst_projecttree.moc"
