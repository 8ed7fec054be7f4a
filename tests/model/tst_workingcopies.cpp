// Look-ups of the project's items as the open editors see them: an open
// editor's working copy stands for the stored item, screens find their
// sources, and the items that use or draw an image set or tile set.

#include "model/sourceref.h"
#include "model/workingcopies.h"

#include <QtTest>

namespace {
QSharedPointer<Tileset> tilesetOf(qint32 id, qint32 imagesetId, bool isCharset, int width = 1, int height = 1)
{
    auto tiles = QSharedPointer<Tileset>::create();
    tiles->id = id;
    tiles->imagesetId = imagesetId;
    tiles->imagesetIsCharset = isCharset;
    tiles->tileWidth = width;
    tiles->tileHeight = height;
    return tiles;
}

QSharedPointer<Screen> screenOf(qint32 id, qint32 sourceRef, const QList<int>& cellIndexes)
{
    auto screen = QSharedPointer<Screen>::create();
    screen->id = id;
    screen->sourceRef = sourceRef;
    for (int x = 0; x < cellIndexes.size(); ++x)
        screen->cellIndexes.insert({x, 0}, cellIndexes.at(x));
    return screen;
}

const qint32 charset0 = SourceRef::make(SourceRef::charsetBit, 0);
const qint32 blockset0 = SourceRef::make(SourceRef::blocksetBit, 0);
const qint32 tileset0 = SourceRef::make(SourceRef::tilesetBit, 0);

// Character set 0 and block set 0 share their identifier; tile set 0 is made
// of the character set, tile set 1 of the block set; screen 0 draws the
// character set, screen 1 tile set 0, screen 2 the block set.
Project sampleProject()
{
    Project project;
    project.charsets.append(QSharedPointer<Imageset>::create(0, QStringLiteral("Font"), 8, 8, Imageset::Charset));
    project.blocksets.append(QSharedPointer<Imageset>::create(0, QStringLiteral("Walls"), 8, 8, Imageset::Blockset));
    auto charTiles = tilesetOf(0, 0, true, 2, 3);
    Tile tile = charTiles->newTile();
    tile.indexes = {10, 11, 12, 13, 14, 15};
    tile.colors = {1, -1, 2, -1, 3, 4}; // cells 11 and 13 are empty
    charTiles->tiles.insert(0, tile);
    project.tilesets.append(charTiles);
    project.tilesets.append(tilesetOf(1, 0, false));
    project.screens.append(screenOf(0, charset0, {40, 41}));
    project.screens.append(screenOf(1, tileset0, {0}));
    project.screens.append(screenOf(2, blockset0, {50}));
    return project;
}
}

class WorkingCopiesTest : public QObject {
    Q_OBJECT

private slots:
    void openCopiesStandForStoredItems()
    {
        const Project project = sampleProject();
        Imageset openFont(0, QStringLiteral("Font (open)"), 8, 8, Imageset::Charset);
        const WorkingCopies copies(project, [&](ItemKind kind, qint32 id) -> const Dataset* {
            return kind == ItemKind::Charset && id == 0 ? &openFont : nullptr;
        });
        QCOMPARE(copies.imageset(0, true), &openFont);
        QCOMPARE(copies.imageset(0, false), project.blocksets.first().data());
        QCOMPARE(copies.imageset(1, true), nullptr);
        QCOMPARE(copies.all(ItemKind::Charset), QList<const Dataset*>({&openFont}));

        const SourceItem viaTiles = copies.source(tileset0);
        QCOMPARE(viaTiles.dataset, project.tilesets.first().data());
        QCOMPARE(viaTiles.cellSize, QSize(2, 3));
        const SourceItem chars = copies.source(charset0);
        QCOMPARE(chars.dataset, &openFont);
        QCOMPARE(chars.cellSize, QSize(1, 1));
        QCOMPARE(copies.source(SourceRef::make(SourceRef::tilesetBit, 9)).dataset, nullptr);
        QCOMPARE(copies.source(SourceRef::none).dataset, nullptr);
    }

    void usersOfAnImageset()
    {
        Project project = sampleProject();
        // An open editor moved tile set 1 over to the character set.
        Tileset moved = *project.tilesets.at(1);
        moved.imagesetIsCharset = true;
        const WorkingCopies copies(project, [&](ItemKind kind, qint32 id) -> const Dataset* {
            return kind == ItemKind::Tileset && id == 1 ? &moved : nullptr;
        });
        QCOMPARE(copies.tilesetsUsing(0, true), QList<qint32>({0, 1}));
        QCOMPARE(copies.tilesetsUsing(0, false), QList<qint32>());
        QCOMPARE(copies.screensUsing(charset0), QList<qint32>({0}));
        QCOMPARE(copies.screensUsing(tileset0), QList<qint32>({1}));
        // Non-empty tile cells and the cells of screens drawn directly.
        QCOMPARE(copies.usedIndexes(0, true), QSet<int>({10, 12, 14, 15, 40, 41}));
        QCOMPARE(copies.usedIndexes(0, false), QSet<int>({50}));
    }

    void whoDrawsAChange_data()
    {
        QTest::addColumn<int>("dependantKind");
        QTest::addColumn<int>("dependantId");
        QTest::addColumn<int>("changedKind");
        QTest::addColumn<int>("changedId");
        QTest::addColumn<bool>("draws");
        const auto row = [](const char* name, ItemKind dependant, qint32 dependantId, ItemKind changed,
                            qint32 changedId, bool draws) {
            QTest::newRow(name) << int(dependant) << dependantId << int(changed) << changedId << draws;
        };
        row("tiles of the charset", ItemKind::Tileset, 0, ItemKind::Charset, 0, true);
        row("tiles of another kind with the same id", ItemKind::Tileset, 0, ItemKind::Blockset, 0, false);
        row("tiles of the blockset", ItemKind::Tileset, 1, ItemKind::Blockset, 0, true);
        row("screen of the charset", ItemKind::Screen, 0, ItemKind::Charset, 0, true);
        row("screen of another charset", ItemKind::Screen, 0, ItemKind::Charset, 1, false);
        row("screen through its tile set", ItemKind::Screen, 1, ItemKind::Charset, 0, true);
        row("screen of the tile set", ItemKind::Screen, 1, ItemKind::Tileset, 0, true);
        row("screen of the blockset, tile set changed", ItemKind::Screen, 2, ItemKind::Tileset, 0, false);
        row("nothing draws sprites", ItemKind::Screen, 0, ItemKind::Spriteset, 0, false);
        row("image sets draw nothing", ItemKind::Charset, 0, ItemKind::Charset, 0, false);
    }

    void whoDrawsAChange()
    {
        QFETCH(int, dependantKind);
        QFETCH(int, dependantId);
        QFETCH(int, changedKind);
        QFETCH(int, changedId);
        const Project project = sampleProject();
        const WorkingCopies copies(project, [](ItemKind, qint32) { return nullptr; });
        const Dataset* dependant = copies.find(ItemKind(dependantKind), dependantId);
        QVERIFY(dependant);
        QTEST(copies.draws(ItemKind(dependantKind), *dependant, ItemKind(changedKind), changedId), "draws");
    }
};

QTEST_GUILESS_MAIN(WorkingCopiesTest)
#include "tst_workingcopies.moc"
