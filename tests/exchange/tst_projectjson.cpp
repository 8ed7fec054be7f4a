// The JSON dump of a project, compared with files written by hand in
// tests/data/projectjson.

#include "exchange/projectjson.h"
#include "model/project.h"
#include "model/sourceref.h"
#include "support/core/recordbytes.h"
#include "support/core/values.h"

#include <QtTest>

Q_DECLARE_METATYPE(Project)
Q_DECLARE_METATYPE(FileVersion)

namespace {
// One item of every kind, most fields away from their defaults; maps filled
// out of key order.
Project everyKind()
{
    const QString name = QString::fromUtf8("Font \"A\" \\ \xC3\xA4");
    auto font = QSharedPointer<Imageset>::create(2, name, 8, 8, Imageset::Charset);
    font->mode = Imageset::MCM;
    testvalues::putImage(*font, 65, testvalues::bytes({0x00, 0x18, 0x3C, 0x66, 0x7E, 0x66, 0x66, 0x00}));
    testvalues::putImage(*font, 1, testvalues::bytes({0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00}));
    font->imageColors = {{65, 13}, {1, 9}};
    font->colors = {6, 14, 8, 11};
    filetest::setView(*font, 2.5, false, 32, 8, QColor(10, 20, 30), QColor(160, 160, 160), Qt::white, 3.0);
    Animation walk;
    walk.speed = 12;
    walk.frames = {filetest::frame(2, 1, {1, -2, 0, 0}, {0, 0, 3, 0},
                                   {filetest::placed(0, 0, 65, 0), filetest::placed(1, 0, 1, 2)})};
    font->animations.animations = {walk};
    auto sprites = QSharedPointer<Imageset>::create(0, QStringLiteral("Sprites"), 24, 21, Imageset::Spriteset);
    sprites->mode = Imageset::MCM;
    sprites->imageColors = {{0, 1}};
    sprites->multiColorSprites = {18, 2};
    sprites->colors = {0, 11, 12, 4};
    sprites->selectorGridWidth = 8;
    sprites->selectorGridHeight = 4;
    auto blocks = QSharedPointer<Imageset>::create(1, QStringLiteral("Blocks"), 8, 8, Imageset::Blockset);
    blocks->mode = Imageset::MCM;
    blocks->blockColors = {{300, {8, 9, 10}}, {1, {5, 6, 7}}};
    auto tiles = QSharedPointer<Tileset>::create();
    tiles->id = 0;
    tiles->name = QStringLiteral("Tiles");
    tiles->imagesetId = 2;
    tiles->tileWidth = 2;
    tiles->tiles = {{3, filetest::tile(2, 1, {65, 300}, {13, -1})}, {0, filetest::tile(2, 1, {1, 1}, {9, 9})}};
    tiles->zoom = 0.75;
    tiles->tilesGridVisible = false;
    tiles->gridSizeX = 4;
    auto map = QSharedPointer<Screen>::create();
    map->id = 5;
    map->name = QStringLiteral("Map");
    map->sourceRef = SourceRef::make(SourceRef::tilesetBit, 0);
    map->cellIndexes = {{{0, 0}, 3}};
    auto title = QSharedPointer<Screen>::create();
    title->id = 0;
    title->name = QStringLiteral("Title");
    title->sourceRef = SourceRef::make(SourceRef::charsetBit, 2);
    title->width = 2;
    title->height = 2;
    title->cellIndexes = {{{1, 0}, 65}, {{0, 1}, 1}};
    title->cellColors = {{{1, 0}, 13}};
    title->zoom = 2.0;
    title->outerGridVisible = false;
    title->innerGridVisible = true;
    return Project {{font}, {sprites}, {blocks}, {tiles}, {map, title}}; // screens in list order, not by identifier
}
} // namespace

class ProjectJsonTest : public QObject {
    Q_OBJECT

private slots:
    void dump_data()
    {
        QTest::addColumn<Project>("project");
        QTest::addColumn<FileVersion>("version");
        QTest::addColumn<QString>("file");

        QTest::newRow("empty project") << Project() << FileVersion {0, 12, 0} << "empty.json";
        QTest::newRow("every kind of item") << everyKind() << FileVersion {0, 11, 0} << "every-kind.json";
    }

    void dump()
    {
        QFETCH(Project, project);
        QFETCH(FileVersion, version);
        QFETCH(QString, file);

        // Line by line, so that a difference names its item.
        const QStringList lines = QString::fromUtf8(ProjectJson::dump(project, version)).split(QLatin1Char('\n'));
        QCOMPARE(lines, testvalues::dataFile("projectjson/" + file).split(QLatin1Char('\n')));
    }
};

QTEST_GUILESS_MAIN(ProjectJsonTest)
#include "tst_projectjson.moc"
