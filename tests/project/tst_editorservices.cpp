// The services editors get from the main window: an edit or a close in one
// editor redraws exactly the editors that draw its item, look-ups see the
// open editors' unsaved states, and the dependants of an image set get
// editors (minimized) whose documents take undoable changes.

#include "app/windowtest.h"
#include "editors/imageset/imageseteditor.h"
#include "model/palette.h"
#include "model/sourceref.h"
#include "project/editorservices.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {
// Character set 0 and block set 0; tile set 0 made of the character set,
// tile set 1 of the block set; screen 0 drawn from tile set 0.
struct Fixture {
    Fixture()
        : services(project, &area, [this](const ItemKey& key, bool, bool minimized) { return open(key, minimized); })
    {
        project.addItem(ItemKind::Charset);
        project.addItem(ItemKind::Blockset);
        for (bool isCharset : {true, false}) {
            auto tiles = project.addItem(ItemKind::Tileset).staticCast<Tileset>();
            tiles->imagesetIsCharset = isCharset;
            tiles->imagesetId = 0;
        }
        project.addItem(ItemKind::Screen).staticCast<Screen>()->sourceRef = SourceRef::make(SourceRef::tilesetBit, 0);
    }

    MdiChild* open(const ItemKey& key, bool minimized)
    {
        if (MdiChild* editor = findEditor(&area, key))
            return editor;
        const Dataset* item = project.find(key.kind(), key.id).data();
        DocumentEditor* editor = key.kind() == ItemKind::Tileset
            ? static_cast<DocumentEditor*>(new CountingEditor<Tileset>(*static_cast<const Tileset*>(item), key.nodeKind, &services))
            : key.kind() == ItemKind::Screen
            ? static_cast<DocumentEditor*>(new CountingEditor<Screen>(*static_cast<const Screen*>(item), key.nodeKind, &services))
            : new ImagesetEditor(*static_cast<const Imageset*>(item), key.nodeKind, &services);
        QMdiSubWindow* window = area.addSubWindow(editor);
        minimized ? window->showMinimized() : window->show();
        return editor;
    }

    Project project;
    QMdiArea area;
    EditorServices services;
};
}

class EditorServicesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Palette::setCurrent(Palette::defaults()); }

    void editsAndClosesRedrawTheEditorsThatDrawTheItem()
    {
        Fixture fixture;
        auto* charTiles = static_cast<CountingEditor<Tileset>*>(fixture.open({TilesetNode, 0}, false));
        auto* blockTiles = static_cast<CountingEditor<Tileset>*>(fixture.open({TilesetNode, 1}, false));
        auto* screen = static_cast<CountingEditor<Screen>*>(fixture.open({ScreenNode, 0}, false));
        auto* font = static_cast<ImagesetEditor*>(fixture.open({CharsetNode, 0}, false));
        const auto redraws = [&] { return QList<int>({charTiles->redraws, blockTiles->redraws, screen->redraws}); };

        font->setMultiColor01(9);
        QCOMPARE(redraws(), QList<int>({1, 0, 1}));
        // Other editors see the unsaved colour at once.
        QCOMPARE(fixture.services.workingCopies().imageset(0, true)->colors[1], 9);
        QCOMPARE(fixture.project.charsets.first()->colors[1], 1);
        font->undo();
        QCOMPARE(redraws(), QList<int>({2, 0, 2}));

        // A changed tile set redraws the screens drawn from it.
        static_cast<ItemDocument<Tileset>*>(charTiles->document())->edit([](Tileset& tiles) { tiles.tileAt(0); });
        QCOMPARE(redraws(), QList<int>({2, 0, 3}));

        // Once the editor is gone, the dependants draw the project's copy.
        font->setMultiColor01(4);
        font->forceClose = true;
        QVERIFY(font->parentWidget()->close());
        QCOMPARE(redraws(), QList<int>({4, 0, 5}));
        QCOMPARE(fixture.services.workingCopies().imageset(0, true)->colors[1], 1);

        fixture.services.fullUpdate();
        QCOMPARE(redraws(), QList<int>({5, 1, 6}));
    }

    void dependantsOpenMinimizedAndTakeUndoableChanges()
    {
        Fixture fixture;
        auto* open = static_cast<CountingEditor<Tileset>*>(fixture.open({TilesetNode, 0}, false));
        QCOMPARE(fixture.services.tilesetsUsing(0, true), QList<Document*>({open->document()}));
        QCOMPARE(fixture.area.subWindowList().size(), 1);

        const QList<Document*> blockTilesets = fixture.services.tilesetsUsing(0, false);
        QCOMPARE(blockTilesets.size(), 1);
        QCOMPARE(fixture.area.subWindowList().size(), 2);
        QVERIFY(fixture.area.subWindowList().last()->isMinimized());
        QCOMPARE(fixture.services.openDocument({TilesetNode, 1}), blockTilesets.first());

        auto* document = static_cast<ItemDocument<Tileset>*>(blockTilesets.first());
        document->edit([](Tileset& tiles) { tiles.tileAt(3).colors[0] = 5; });
        QVERIFY(document->isModified());
        document->undo();
        QVERIFY(document->current().tiles.isEmpty());

        QCOMPARE(fixture.services.screensUsing(SourceRef::make(SourceRef::tilesetBit, 0)).size(), 1);
        QCOMPARE(fixture.area.subWindowList().size(), 3);
    }
};

QTEST_MAIN(EditorServicesTest)
#include "tst_editorservices.moc"
