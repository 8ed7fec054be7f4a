// The project tree driven through the main window: the context menu of each
// node, the item commands behind it, export and import of every kind, the
// tree's order, marks and expansion, and what the commands do to open editors.

#include "app/windowtest.h"
#include "editors/imageset/imageseteditor.h"
#include "model/itemfile.h"
#include "project/editorservices.h"
#include "project/itemcommands.h"
#include "project/projecttree.h"
#include "support/core/recordbytes.h"
#include "support/testenvironment.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace {
// Kinds by letter, in the tree's order: charsets, sprite sets, block sets, tile sets, screens.
const QString kindLetters = QStringLiteral("csbtn");

ItemKind kindOf(const QString& node)
{
    return ItemKind(kindLetters.indexOf(node.at(0)));
}

// "c" is the category of character sets, "c2" the character set 2.
QTreeWidgetItem* node(const Mosaikon& window, const QString& name)
{
    QTreeWidgetItem* category = window.projectTree()->topLevelItem(kindLetters.indexOf(name.at(0)));
    for (int i = 0; name.size() > 1 && i < category->childCount(); ++i) {
        if (ProjectTree::idOf(category->child(i)) == name.mid(1).toInt())
            return category->child(i);
    }
    return name.size() > 1 ? nullptr : category;
}

QStringList childTexts(const QTreeWidgetItem* category)
{
    QStringList texts;
    for (int i = 0; i < category->childCount(); ++i)
        texts << category->child(i)->text(0);
    return texts;
}

// The entries of the node's context menu: "-" for a separator, "!" before a disabled entry.
QString menuEntries(Mosaikon& window, QTreeWidgetItem* node)
{
    std::unique_ptr<QMenu> menu(window.itemCommands()->contextMenu(node, &window));
    QStringList entries;
    for (const QAction* action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("-")
                                          : (action->isEnabled() ? QString() : QStringLiteral("!")) + action->text());
    return entries.join('|');
}

// An item as the command table describes it: name, image or tile size, tile count.
QString describe(const Dataset* item)
{
    if (auto* set = dynamic_cast<const Imageset*>(item))
        return QStringLiteral("%1 %2x%3").arg(set->name).arg(set->imageWidth).arg(set->imageHeight);
    if (auto* tiles = dynamic_cast<const Tileset*>(item))
        return QStringLiteral("%1 %2x%3 %4").arg(tiles->name).arg(tiles->tileWidth).arg(tiles->tileHeight).arg(tiles->tiles.size());
    return item->name;
}

}

class ProjectTreeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> environment;

    // Runs steps such as "3*c Add new; c2 Rename...=Yes|#1|!|@file|text":
    // the entry of the node's context menu, repeated, with these answers
    // queued: a button, a number or position, a cancel, a file of the test,
    // a text.
    bool run(Mosaikon& window, PromptScript& script, const QString& steps)
    {
        for (QString step : steps.split(QStringLiteral("; "))) {
            const int times = step.contains('*') ? step.section('*', 0, 0).toInt() : 1;
            step = step.section('*', -1);
            const QString target = step.section(' ', 0, 0);
            const QString entry = step.section(' ', 1).section('=', 0, 0);
            for (int i = 0; i < times; ++i) {
                for (const QString& answer : step.section('=', 1).split('|', Qt::SkipEmptyParts)) {
                    if (answer == "Yes" || answer == "No")
                        script.button(answer == "Yes" ? QMessageBox::Yes : QMessageBox::No);
                    else if (answer == "!")
                        script.cancel();
                    else if (answer.startsWith('#'))
                        script.number(answer.mid(1).toInt());
                    else
                        script.text(answer.startsWith('@') ? environment->path(answer.mid(1)) : answer);
                }
                QTreeWidgetItem* where = node(window, target);
                std::unique_ptr<QMenu> menu(where ? window.itemCommands()->contextMenu(where, &window) : nullptr);
                const QList<QAction*> actions = menu ? menu->actions() : QList<QAction*>();
                const auto action = std::find_if(actions.begin(), actions.end(),
                                                 [&](QAction* a) { return a->text() == entry && a->isEnabled(); });
                if (action == actions.end())
                    return false;
                (*action)->trigger();
            }
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(ItemFile::write(environment->path(QStringLiteral("charset.mzchar")), filetest::richCharset()));
        QVERIFY(ItemFile::write(environment->path(QStringLiteral("blockset.mzblocks")), filetest::richBlockset()));
        // A valid record labelled as written by a newer version, 0.99.0.
        RecordWriter out;
        filetest::richCharset().save(out);
        QByteArray future = out.bytes();
        filetest::putI32(future, 4, 99);
        QFile file(environment->path(QStringLiteral("future.mzchar")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(future) == future.size());
    }

    void contextMenus_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("entries");
        QTest::newRow("category") << "" << "c" << "Add new|-|Import...";
        QTest::newRow("tile sets, no charset or block set")
            << "s Add new" << "t" << "Add new...|-|!Build from charset (1x1)...|!Build from blockset (1x1)...|-|Import...";
        QTest::newRow("tile sets and a charset")
            << "c Add new" << "t" << "Add new...|-|Build from charset (1x1)...|!Build from blockset (1x1)...|-|Import...";
        QTest::newRow("tile sets and a block set")
            << "b Add new" << "t" << "Add new...|-|!Build from charset (1x1)...|Build from blockset (1x1)...|-|Import...";
        QTest::newRow("item") << "n Add new" << "n0" << "Rename...|Clone|Delete|-|Export...";
    }

    void contextMenus()
    {
        QFETCH(QString, setup);
        QFETCH(QString, node);
        QFETCH(QString, entries);
        PromptScript script;
        auto window = openWindow();
        QVERIFY(setup.isEmpty() || run(*window, script, setup));
        QCOMPARE(menuEntries(*window, ::node(*window, node)), entries);
    }

    // The last step runs on a saved project; the prompts, the identifiers of
    // its kind, the last item of that kind and the modified state follow it.
    void itemCommands_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("prompts");
        QTest::addColumn<QString>("ids");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("built"); // source, grid, tile:colour of a built tile set
        QTest::addColumn<bool>("unsaved");
        QTest::newRow("add charset") << "c Add new" << "" << "0" << "Charset 00 8x8" << "" << true;
        QTest::newRow("add sprite set") << "s Add new" << "" << "0" << "Spriteset 00 24x21" << "" << true;
        QTest::newRow("add block set") << "b Add new" << "" << "0" << "Blockset 00 8x8" << "" << true;
        QTest::newRow("add screen") << "n Add new" << "" << "0" << "Screen 00" << "" << true;
        QTest::newRow("add tile set") << "t Add new...=#3|#2" << "II" << "0" << "Tileset 00 3x2 0" << "" << true;
        QTest::newRow("tile width cancelled") << "t Add new...=!" << "I" << "" << "" << "" << false;
        QTest::newRow("tile height cancelled") << "t Add new...=#4|!" << "II" << "" << "" << "" << false;
        QTest::newRow("freed highest identifier reused, gaps kept")
            << "3*c Add new; c2 Delete=Yes; c Add new; c1 Delete=Yes; c Add new" << "" << "0 2 3" << "Charset 03 8x8" << "" << true;
        QTest::newRow("identifiers above 9") << "10*b Add new; b Add new" << "" << "0 1 2 3 4 5 6 7 8 9 10" << "Blockset 10 8x8" << "" << true;
        QTest::newRow("rename trims") << "b Add new; b0 Rename...=  New  " << "T" << "0" << "New 8x8" << "" << true;
        QTest::newRow("rename to another item's name in other case")
            << "2*c Add new; c1 Rename...= CHARSET 00 " << "TE" << "0 1" << "Charset 01 8x8" << "" << false;
        QTest::newRow("rename changing case only") << "c Add new; c0 Rename...=charset 00" << "TE" << "0" << "Charset 00 8x8" << "" << false;
        QTest::newRow("rename blank") << "n Add new; n0 Rename...=  " << "T" << "0" << "Screen 00" << "" << false;
        QTest::newRow("rename cancelled") << "n Add new; n0 Rename...=!" << "T" << "0" << "Screen 00" << "" << false;
        QTest::newRow("names unique within a kind only")
            << "c Add new; s Add new; s0 Rename...=Charset 00" << "T" << "0" << "Charset 00 24x21" << "" << true;
        QTest::newRow("clone") << "2*c Add new; c0 Clone" << "" << "0 1 2" << "Charset 02 8x8" << "" << true;
        QTest::newRow("delete answered No") << "s Add new; s0 Delete=No" << "Q" << "0" << "Spriteset 00 24x21" << "" << false;
        QTest::newRow("delete answered Yes") << "3*s Add new; s1 Delete=Yes" << "Q" << "0 2" << "Spriteset 02 24x21" << "" << true;
        // The choice lists the sets in project order, which is not the tree's.
        QTest::newRow("build from charset")
            << "t Add new...=#2|#2; c Add new; c0 Rename...=Zeta; c Import...=@charset.mzchar; t Build from charset (1x1)...=#1"
            << "C" << "0 1" << "Tileset 1 1x1 256" << "c1 32x8 0:9 1:15 65:0 200:3 255:15" << true;
        QTest::newRow("build from one of equally named charsets")
            << "c Add new; c0 Rename...=Charset 01; c Add new; t Build from charset (1x1)...=#1" << "C" << "0"
            << "Tileset 0 1x1 256" << "c1 32x8 0:15" << true;
        QTest::newRow("build from block set") << "b Import...=@blockset.mzblocks; t Build from blockset (1x1)...=#0"
                                              << "C" << "0" << "Tileset 0 1x1 71" << "b0 32x8 0:15 5:15 70:13" << true;
        QTest::newRow("build from empty block set")
            << "b Add new; t Build from blockset (1x1)...=#0" << "C" << "0" << "Tileset 0 1x1 0" << "b0 32x8" << true;
        QTest::newRow("build cancelled") << "c Add new; t Build from charset (1x1)...=!" << "C" << "" << "" << "" << false;
        QTest::newRow("import of a newer version")
            << "c Add new; c Import...=@future.mzchar" << "OE" << "0" << "Charset 00 8x8" << "" << false;
        QTest::newRow("import of a missing file") << "b Import...=@absent.mzblocks" << "OE" << "" << "" << "" << false;
        QTest::newRow("import cancelled") << "b Import...=!" << "O" << "" << "" << "" << false;
        QTest::newRow("export into a missing directory")
            << "s Add new; s0 Export...=@absent/s.mzsprites" << "SE" << "0" << "Spriteset 00 24x21" << "" << false;
        QTest::newRow("export cancelled") << "s Add new; s0 Export...=!" << "S" << "0" << "Spriteset 00 24x21" << "" << false;
    }

    void itemCommands()
    {
        QFETCH(QString, steps);
        QFETCH(QString, prompts);
        QFETCH(QString, ids);
        QFETCH(QString, last);
        QFETCH(QString, built);
        QFETCH(bool, unsaved);
        PromptScript script;
        auto window = openWindow();
        const QString command = steps.section(QStringLiteral("; "), -1);
        if (command != steps)
            QVERIFY(run(*window, script, steps.section(QStringLiteral("; "), 0, -2)));
        script.text(environment->path(QStringLiteral("saved.mzprj")));
        QVERIFY(window->saveAs());
        script.shown.clear();

        QVERIFY(run(*window, script, command));
        QCOMPARE(promptKinds(script), prompts);
        const ItemKind kind = kindOf(command);
        const QList<QSharedPointer<Dataset>> items = window->currentProject().datasets(kind);
        QStringList shownIds;
        for (const QSharedPointer<Dataset>& item : items)
            shownIds << QString::number(item->id);
        QCOMPARE(shownIds.join(' '), ids);
        QCOMPARE(items.isEmpty() ? QString() : describe(items.last().data()), last);
        QCOMPARE(node(*window, command.left(1))->childCount(), items.size());
        QCOMPARE(window->isUnsaved(), unsaved);
        QCOMPARE(window->windowTitle().endsWith(" *]"), unsaved);
        QCOMPARE(script.pendingAnswers(), 0);
        QCOMPARE(script.unexpected, 0);

        if (built.isEmpty())
            return;
        const QStringList parts = built.split(' ');
        const Tileset& tiles = *window->currentProject().tilesets.last();
        QCOMPARE(QStringLiteral("%1%2").arg(tiles.imagesetIsCharset ? 'c' : 'b').arg(tiles.imagesetId), parts.at(0));
        QCOMPARE(QStringLiteral("%1x%2").arg(tiles.gridSizeX).arg(tiles.gridSizeY), parts.at(1));
        for (const QString& entry : parts.mid(2)) {
            const int k = entry.section(':', 0, 0).toInt();
            QCOMPARE(tiles.tiles.value(k).indexes, QVector<int>({k}));
            QCOMPARE(tiles.tiles.value(k).colors, QVector<int>({entry.section(':', 1).toInt()}));
        }
    }

    // Import takes every field but the identifier and name from the file;
    // a clone copies every field; an export imports as it was.
    void exportImportAndClone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("filter");
        QTest::newRow("charset") << "c" << "Charset" << "Mosaikon Charset (*.mzchar)";
        QTest::newRow("sprite set") << "s" << "Spriteset" << "Mosaikon Spriteset (*.mzsprites)";
        QTest::newRow("block set") << "b" << "Blockset" << "Mosaikon Blockset (*.mzblocks)";
        QTest::newRow("tile set") << "t" << "Tileset" << "Mosaikon Tileset (*.mztiles)";
        QTest::newRow("screen") << "n" << "Screen" << "Mosaikon Screen (*.mzscreen)";
    }

    void exportImportAndClone()
    {
        QFETCH(QString, kind);
        QFETCH(QString, label);
        QFETCH(QString, filter);
        const QString extension = filter.section('.', 1).chopped(1);
        QVERIFY(ItemFile::write(environment->path(QStringLiteral("rich.") + extension), *filetest::richProject().datasets(kindOf(kind)).first()));
        PromptScript script;
        auto window = openWindow();
        const QString add = kind == "t" ? QStringLiteral("t Add new...=#1|#1") : kind + QStringLiteral(" Add new");
        QVERIFY(run(*window, script, QStringLiteral("%k Import...=@rich.%e; %k1 Clone; %k2 Export...=@copy.%e; %k Import...=@copy.%e")
                                         .replace("%k", kind).replace("%e", extension).prepend(add + "; ")));
        for (const PromptRequest& request : script.shown) {
            if (request.kind == PromptRequest::OpenFileName || request.kind == PromptRequest::SaveFileName)
                QCOMPARE(request.filter, filter);
        }
        Project expected;
        expected.append(kindOf(kind), window->currentProject().datasets(kindOf(kind)).value(0));
        for (int id = 1; id <= 3; ++id) {
            QSharedPointer<Dataset> item = filetest::richProject().datasets(kindOf(kind)).first();
            item->id = id;
            item->name = QStringLiteral("%1 0%2").arg(label).arg(id);
            expected.append(kindOf(kind), item);
        }
        QCOMPARE(filetest::compareProjects(expected, window->currentProject()), QString());
        QCOMPARE(script.unexpected, 0);
    }

    void treeOrderMarksAndExpansion()
    {
        PromptScript script;
        auto window = openWindow();
        QVERIFY(run(*window, script, QStringLiteral("3*s Add new; s0 Rename...=c; s1 Rename...=a; s2 Rename...=B; c Add new")));
        // Sorted by name, capitals first, for display only.
        QCOMPARE(childTexts(node(*window, "s")), QStringList({"B", "a", "c"}));
        QCOMPARE(window->currentProject().spritesets.at(1)->name, QStringLiteral("a"));

        // An editor holding changes marks its item and the item's category.
        auto* editor = static_cast<ImagesetEditor*>(window->openEditor({SpritesetNode, 1}, true, false));
        editor->setMultiColor01(9);
        QCOMPARE(childTexts(node(*window, "s")), QStringList({"B", "a *", "c"}));
        QVERIFY(node(*window, "s")->text(0).endsWith(" *"));
        QVERIFY(!node(*window, "c")->text(0).endsWith(" *"));
        editor->undo();
        QCOMPARE(childTexts(node(*window, "s")), QStringList({"B", "a", "c"}));
        QVERIFY(!node(*window, "s")->text(0).endsWith(" *"));

        // Adding expands the category; rebuilding keeps what the user expanded or collapsed.
        node(*window, "c")->setExpanded(false);
        node(*window, "b")->setExpanded(true);
        QVERIFY(run(*window, script, QStringLiteral("n Add new")));
        const QList<bool> expanded {false, true, true, false, true};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(window->projectTree()->topLevelItem(i)->isExpanded(), expanded.at(i));
        QCOMPARE(script.unexpected, 0);
    }

    // Renaming reaches the item's editor; deleting closes it without its
    // question and redraws the editors that draw the deleted item.
    void commandsOnOpenEditors()
    {
        PromptScript script;
        auto window = openWindow();
        QVERIFY(run(*window, script, QStringLiteral("2*c Add new; b Add new; s Add new; 2*t Add new...=#1|#1; n Add new")));
        auto* font = static_cast<ImagesetEditor*>(window->openEditor({CharsetNode, 1}, true, false));
        auto* other = window->openEditor({CharsetNode, 0}, true, false);
        const Project& project = window->currentProject();
        auto* tiles = new CountingEditor<Tileset>(*project.tilesets.at(0), TilesetNode, window->editorServices());
        auto* screen = new CountingEditor<Screen>(*project.screens.at(0), ScreenNode, window->editorServices());
        window->editorArea()->addSubWindow(tiles)->show();
        window->editorArea()->addSubWindow(screen)->show();
        const auto redraws = [&] { return QList<int>({tiles->redraws, screen->redraws}); };
        script.shown.clear();

        QVERIFY(run(*window, script, QStringLiteral("c1 Rename...=Fonts")));
        QVERIFY(font->windowTitle().startsWith("Fonts"));
        QVERIFY(other->windowTitle().startsWith("Charset 00"));
        font->setMultiColor01(9);
        QPointer<QWidget> closed = font;
        QVERIFY(run(*window, script, QStringLiteral("c1 Delete=Yes")));
        QTRY_VERIFY(closed.isNull());
        QCOMPARE(promptKinds(script), QStringLiteral("TQ"));
        QCOMPARE(redraws(), QList<int>({1, 1}));
        QVERIFY(run(*window, script, QStringLiteral("b0 Delete=Yes")));
        QCOMPARE(redraws(), QList<int>({1, 2}));
        QVERIFY(run(*window, script, QStringLiteral("t1 Delete=Yes")));
        QCOMPARE(redraws(), QList<int>({1, 3}));
        QVERIFY(run(*window, script, QStringLiteral("s0 Delete=Yes")));
        QCOMPARE(redraws(), QList<int>({1, 3}));
        QCOMPARE(window->editorArea()->subWindowList().size(), 3);
        QCOMPARE(script.unexpected, 0);
    }
};

QTEST_MAIN(ProjectTreeTest)
#include "tst_projecttree.moc"
