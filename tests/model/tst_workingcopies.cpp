// Look-ups of the project's items as the open editors see them: an open
// editor's working copy stands for the stored item, screens find their
// sources, and the items that use or draw an image set or tile set.

#include "model/workingcopies.h"
#include "support/core/recordbytes.h"

#include <QtTest>

using namespace filetest;

namespace {

const qint32 charset7 = SourceRef::make(SourceRef::charsetBit, 7);
const qint32 blockset0 = SourceRef::make(SourceRef::blocksetBit, 0);
const qint32 tileset3 = SourceRef::make(SourceRef::tilesetBit, 3);

// The rich project (tile set 3 of block set 0, tile set 1 of character set
// 7, screen 4 on tile set 3, screen 0 on block set 0) with a character set 0
// beside block set 0 and a screen 9 on character set 7.
Project sampleProject()
{
    Project project = richProject();
    project.charsets.append(QSharedPointer<Imageset>::create(0, QStringLiteral("Font"), 8, 8, Imageset::Charset));
    auto screen = QSharedPointer<Screen>::create(plainScreen());
    screen->id = 9;
    screen->sourceRef = charset7;
    project.screens.append(screen);
    return project;
}

} // namespace

class WorkingCopiesTest : public QObject {
    Q_OBJECT

private slots:
    void openCopiesStandForStoredItems()
    {
        const Project project = sampleProject();
        Imageset font(0, QStringLiteral("Font (open)"), 8, 8, Imageset::Charset);
        const WorkingCopies copies(project, [&](ItemKind kind, qint32 id) -> const Dataset* {
            return kind == ItemKind::Charset && id == 0 ? &font : nullptr;
        });
        QCOMPARE(copies.imageset(0, true), &font);
        QCOMPARE(copies.imageset(0, false), project.blocksets.first().data());
        QCOMPARE(copies.imageset(1, true), nullptr);
        QCOMPARE(copies.all(ItemKind::Charset),
                 (QList<const Dataset*> {project.charsets.at(0).data(), project.charsets.at(1).data(), &font}));
        const SourceItem tiles = copies.source(tileset3);
        QCOMPARE(tiles.dataset, project.tilesets.first().data());
        QCOMPARE(tiles.cellSize, QSize(2, 3));
        const SourceItem chars = copies.source(SourceRef::make(SourceRef::charsetBit, 0));
        QCOMPARE(chars.dataset, &font);
        QCOMPARE(chars.cellSize, QSize(1, 1));
        QCOMPARE(copies.source(SourceRef::make(SourceRef::tilesetBit, 9)).dataset, nullptr);
        QCOMPARE(copies.source(SourceRef::none).dataset, nullptr);
    }

    void usersOfAnImageset()
    {
        const Project project = sampleProject();
        // An open editor moved tile set 1 over to block set 0.
        Tileset moved = *project.tilesets.at(1);
        moved.imagesetId = 0;
        moved.imagesetIsCharset = false;
        const WorkingCopies copies(project, [&](ItemKind kind, qint32 id) -> const Dataset* {
            return kind == ItemKind::Tileset && id == 1 ? &moved : nullptr;
        });
        QCOMPARE(copies.tilesetsUsing(0, false), (QList<qint32> {3, 1}));
        QCOMPARE(copies.tilesetsUsing(7, true), QList<qint32>());
        QCOMPARE(copies.screensUsing(tileset3), QList<qint32> {4});
        QCOMPARE(copies.screensUsing(blockset0), QList<qint32> {0});
        QCOMPARE(copies.screensUsing(charset7), QList<qint32> {9});
        // Non-empty tile cells and the cells of screens drawn directly.
        QCOMPARE(copies.usedIndexes(0, false), (QSet<int> {1, 256, 65535, 2, 7, 6, 5, 4, 3, 258, 70}));
        QCOMPARE(copies.usedIndexes(7, true), QSet<int> {70});
        QCOMPARE(copies.usedIndexes(0, true), QSet<int>());
    }

    void whoDrawsAChange_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("changedKind");
        QTest::addColumn<int>("changedId");
        QTest::addColumn<bool>("draws");
        const auto row = [](const char* name, ItemKind kind, qint32 id, ItemKind changed, qint32 changedId,
                            bool draws) { QTest::newRow(name) << int(kind) << id << int(changed) << changedId << draws; };
        row("tiles of the block set", ItemKind::Tileset, 3, ItemKind::Blockset, 0, true);
        row("tiles of the charset with its id", ItemKind::Tileset, 3, ItemKind::Charset, 0, false);
        row("tiles of the charset", ItemKind::Tileset, 1, ItemKind::Charset, 7, true);
        row("screen of the block set", ItemKind::Screen, 0, ItemKind::Blockset, 0, true);
        row("screen of another block set", ItemKind::Screen, 0, ItemKind::Blockset, 1, false);
        row("screen through its tile set", ItemKind::Screen, 4, ItemKind::Blockset, 0, true);
        row("screen through its tile set, charset with its id", ItemKind::Screen, 4, ItemKind::Charset, 0, false);
        row("screen of the tile set", ItemKind::Screen, 4, ItemKind::Tileset, 3, true);
        row("screen of the block set, tile set changed", ItemKind::Screen, 0, ItemKind::Tileset, 3, false);
        row("nothing draws sprites", ItemKind::Screen, 9, ItemKind::Spriteset, 7, false);
        row("image sets draw nothing", ItemKind::Charset, 7, ItemKind::Charset, 7, false);
    }

    void whoDrawsAChange()
    {
        QFETCH(int, kind);
        QFETCH(int, id);
        QFETCH(int, changedKind);
        QFETCH(int, changedId);
        const Project project = sampleProject();
        const WorkingCopies copies(project, [](ItemKind, qint32) { return nullptr; });
        const Dataset* item = copies.find(ItemKind(kind), id);
        QVERIFY(item);
        QTEST(copies.draws(ItemKind(kind), *item, ItemKind(changedKind), changedId), "draws");
    }
};

QTEST_GUILESS_MAIN(WorkingCopiesTest)
#include "tst_workingcopies.moc"
