// The model's items: frame durations, tiles made on demand, screen cells
// renumbered, an editor's document and its undo history of whole states
// (at most 100 entries), and the project's items as open editors see them.

#include "model/animationset.h"
#include "model/document.h"
#include "model/history.h"
#include "model/screen.h"
#include "model/tileset.h"
#include "model/workingcopies.h"
#include "support/core/datatable.h"
#include "support/core/recordbytes.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>

using namespace filetest;

using Cells = QMap<CellPos, int>;
using IndexMap = QMap<int, int>;
Q_DECLARE_METATYPE(Cells)

namespace {

struct State {
    int value = 0;
    QString name;
};

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

class ItemsTest : public QObject {
    Q_OBJECT

private slots:
    // Frames per second as milliseconds a frame; a speed below 1 plays as 1.
    void frameDuration()
    {
        for (const auto& [speed, milliseconds] : {std::pair {50, 20}, {7, 142}, {0, 1000}, {-5, 1000}}) {
            Animation animation;
            animation.speed = speed;
            QCOMPARE(animation.frameDuration(), milliseconds);
        }
    }

    // tileAt hands back the stored tile, creating a missing one empty in the set's tile size.
    void tileAt()
    {
        Tileset set;
        set.tileWidth = 3;
        set.tileHeight = 2;
        set.tiles.insert(8, Tile(3, 2));
        Tile& created = set.tileAt(7);
        QCOMPARE(QSize(created.width, created.height), QSize(3, 2));
        QCOMPARE(created.colors, QVector<int>(6, -1)); // every cell empty
        QCOMPARE(created.indexes, QVector<int>(6, 0));
        created.indexes[5] = 17;
        QCOMPARE(set.tileAt(7).indexes.at(5), 17);
        QCOMPARE(set.tiles.keys(), (QList<int> {7, 8}));
        QVERIFY(set.tiles.value(8) == Tile(3, 2));
    }

    void remapCells_data()
    {
        QTest::addColumn<IndexMap>("oldToNew");
        QTest::addColumn<bool>("keepUnmapped");
        QTest::addColumn<Cells>("expected");
        // Cells before: (0,0)=1, (1,0)=2, (2,0)=3, (5,5)=7.
        QTest::newRow("keep; a mapped value is not mapped again")
            << IndexMap {{1, 2}, {2, 1}} << true << Cells {{{0, 0}, 2}, {{1, 0}, 1}, {{2, 0}, 3}, {{5, 5}, 7}};
        QTest::newRow("drop unmapped") << IndexMap {{1, 5}, {7, 0}} << false << Cells {{{0, 0}, 5}, {{5, 5}, 0}};
        QTest::newRow("identity entry, drop") << IndexMap {{3, 3}} << false << Cells {{{2, 0}, 3}};
        QTest::newRow("empty map, drop") << IndexMap() << false << Cells();
    }

    void remapCells()
    {
        QFETCH(IndexMap, oldToNew);
        QFETCH(bool, keepUnmapped);
        QFETCH(Cells, expected);
        Screen screen;
        screen.cellIndexes = {{{0, 0}, 1}, {{1, 0}, 2}, {{2, 0}, 3}, {{5, 5}, 7}};
        const Cells colors {{{0, 0}, 4}, {{1, 0}, 5}, {{3, 3}, 9}};
        screen.cellColors = colors;
        screen.remapCells(oldToNew, keepUnmapped);
        QVERIFY(screen.cellIndexes == expected);
        QVERIFY(screen.cellColors == colors); // colours stay, also of emptied cells
    }

    void documentEdits()
    {
        Tileset start;
        start.id = 3;
        start.name = QStringLiteral("Walls");
        ItemDocument<Tileset> document(start);
        QSignalSpy changed(&document, &Document::changed);
        QSignalSpy status(&document, &Document::statusChanged);

        // A change that leaves the item as it was is no step and no signal.
        QVERIFY(!document.edit([](Tileset& tiles) { tiles.gridSizeX = 1; }));
        QVERIFY(!document.canUndo());
        QCOMPARE(changed.count() + status.count(), 0);

        QVERIFY(document.edit([](Tileset& tiles) { tiles.tileAt(5).colors[0] = 7; }));
        QVERIFY(document.isModified());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(status.count(), 1);
        QCOMPARE(static_cast<const Tileset&>(document.dataset()).tiles.value(5).colors.value(0), 7);

        // A view setting reaches every state, so undo keeps it; it is no step.
        document.changeSetting([](Tileset& tiles) { tiles.zoom = 6.0; });
        QCOMPARE(changed.count(), 2);
        QCOMPARE(status.count(), 1);
        document.setName(QStringLiteral("Floors"));
        QCOMPARE(status.count(), 2);

        document.undo();
        QCOMPARE(changed.count(), 3);
        QVERIFY(!document.isModified());
        QVERIFY(document.current().tiles.isEmpty());
        QCOMPARE(document.current().zoom, 6.0);
        QCOMPARE(document.current().name, QStringLiteral("Floors"));
        // Undo at the oldest entry changes nothing and says nothing.
        document.undo();
        QCOMPARE(changed.count(), 3);

        document.redo();
        QVERIFY(document.isModified());
        document.markSaved();
        QVERIFY(!document.isModified());
        const QSharedPointer<Dataset> copy = document.copy();
        QVERIFY(*copy.staticCast<Tileset>() == document.current());
        QVERIFY(copy.data() != &document.dataset());
    }

    void historySteps_data() { datatable::addRows("history/steps.txt"); }

    void historySteps()
    {
        QFETCH(QStringList, fields);
        const QString script = fields.at(0), expected = fields.at(1);
        History<State> history(State {0, QStringLiteral("first")});
        int edits = 0;
        const QMap<QChar, std::function<void()>> steps {
            {'e',
             [&] {
                 history.push();
                 history.current().value = ++edits;
             }},
            {'u', [&] { history.undo(); }},
            {'r', [&] { history.redo(); }},
            {'s', [&] { history.markSaved(); }},
            {'c', [&] { history.changeEveryState([](State& state) { state.name = QStringLiteral("new"); }); }}};
        for (const QString& step : script.split(' ', Qt::SkipEmptyParts)) {
            for (int i = 0; i < qMax(1, step.mid(1).toInt()); ++i)
                steps.value(step.at(0))();
        }
        // Walk a copy from the oldest state to the newest.
        History<State> walk = history;
        int undos = 0, redos = 0, renamed = 0;
        while (walk.canUndo()) {
            QVERIFY(walk.undo());
            ++undos;
        }
        QVERIFY(!walk.undo());
        const int oldest = walk.current().value;
        QString saved = QStringLiteral("-");
        do {
            if (!walk.isModified())
                saved = QString::number(walk.current().value);
            renamed += walk.current().name == QStringLiteral("new");
        } while (walk.redo() && ++redos);
        QCOMPARE(QStringLiteral("%1 u%2 r%3 o%4 s%5 c%6")
                     .arg(history.current().value)
                     .arg(undos)
                     .arg(redos - undos)
                     .arg(oldest)
                     .arg(saved)
                     .arg(renamed),
                 expected);
        QCOMPARE(history.canUndo(), undos > 0);
        QCOMPARE(history.canRedo(), redos > undos);
    }

    // Open editors hold character set 0 and tile set 1, moved over to block set 0.
    void workingCopies()
    {
        const Project project = sampleProject();
        Imageset font(0, QStringLiteral("Font (open)"), 8, 8, Imageset::Charset);
        Tileset moved = *project.tilesets.at(1);
        moved.imagesetId = 0;
        moved.imagesetIsCharset = false;
        const WorkingCopies copies(project, [&](ItemKind kind, qint32 id) -> const Dataset* {
            if (kind == ItemKind::Charset && id == 0)
                return &font;
            return kind == ItemKind::Tileset && id == 1 ? &moved : nullptr;
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

    void whoDrawsAChange_data() { datatable::addRows("workingcopies/draws.txt"); }

    void whoDrawsAChange()
    {
        QFETCH(QStringList, fields);
        const auto kindOf = [](const QString& item) {
            const ItemKind* kind = std::find_if(std::begin(allItemKinds), std::end(allItemKinds),
                [&](ItemKind k) { return item.section(' ', 0, 0) == kindInfo(k).reference; });
            return *kind;
        };
        const Project project = sampleProject();
        const WorkingCopies copies(project, [](ItemKind, qint32) { return nullptr; });
        const Dataset* item = copies.find(kindOf(fields.at(0)), fields.at(0).section(' ', 1).toInt());
        QVERIFY(item);
        QCOMPARE(copies.draws(kindOf(fields.at(0)), *item, kindOf(fields.at(1)), fields.at(1).section(' ', 1).toInt()),
                 fields.at(2) == "true");
    }
};

QTEST_GUILESS_MAIN(ItemsTest)
#include "tst_items.moc"
