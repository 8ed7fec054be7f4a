// The services editors get from the main window: an edit or a close in one
// editor redraws exactly the editors that draw its item, look-ups see the
// open editors' unsaved states, and the dependants of an image set get
// editors (minimized) whose documents take undoable changes.

#include "app/windowtest.h"
#include "editors/imageset/imageseteditor.h"
#include "model/palette.h"
#include "model/sourceref.h"
#include "project/editorservices.h"
#include "support/testenvironment.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {
// Character set 0 and block set 0; tile set 0 made of the character set,
// tile set 1 of the block set; screen 0 drawn from tile set 0.
struct Fixture {
    Fixture()
        : services(project, &area, [this](const ItemKey& key, bool, bool minimized) { return open(key, minimized); })
    {
        project.charsets.append(QSharedPointer<Imageset>::create(0, QStringLiteral("Font"), 8, 8, Imageset::Charset));
        project.blocksets.append(QSharedPointer<Imageset>::create(0, QStringLiteral("Walls"), 8, 8, Imageset::Blockset));
        for (bool isCharset : {true, false}) {
            auto tiles = QSharedPointer<Tileset>::create();
            tiles->id = project.tilesets.size();
            tiles->imagesetIsCharset = isCharset;
            tiles->imagesetId = 0;
            project.tilesets.append(tiles);
        }
        auto screen = QSharedPointer<Screen>::create();
        screen->id = 0;
        screen->sourceRef = SourceRef::make(SourceRef::tilesetBit, 0);
        project.screens.append(screen);
    }

    MdiChild* open(const ItemKey& key, bool minimized)
    {
        if (MdiChild* editor = findEditor(&area, key))
            return editor;
        const Dataset* item = project.find(key.kind(), key.id).data();
        DocumentEditor* editor = nullptr;
        if (key.kind() == ItemKind::Tileset)
            editor = new CountingEditor<Tileset>(*static_cast<const Tileset*>(item), key.nodeKind, &services);
        else if (key.kind() == ItemKind::Screen)
            editor = new CountingEditor<Screen>(*static_cast<const Screen*>(item), key.nodeKind, &services);
        else
            editor = new ImagesetEditor(*static_cast<const Imageset*>(item), key.nodeKind, &services);
        QMdiSubWindow* window = area.addSubWindow(editor);
        minimized ? window->showMinimized() : window->show();
        return editor;
    }

    template<typename Item>
    CountingEditor<Item>* counting(int nodeKind, qint32 id)
    {
        return static_cast<CountingEditor<Item>*>(open({nodeKind, id}, false));
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
        auto* charTiles = fixture.counting<Tileset>(TilesetNode, 0);
        auto* blockTiles = fixture.counting<Tileset>(TilesetNode, 1);
        auto* screen = fixture.counting<Screen>(ScreenNode, 0);
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
        auto* open = fixture.counting<Tileset>(TilesetNode, 0);
        const QList<Document*> tilesets = fixture.services.tilesetsUsing(0, true);
        QCOMPARE(tilesets, QList<Document*>({open->document()}));
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

private:
    TestEnvironment environment;
};

QTEST_MAIN(EditorServicesTest)
#include "tst_editorservices.moc"
