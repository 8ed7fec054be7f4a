// The JSON dump of a project, compared with text written by hand: whole
// projects against the files in tests/data/projectjson, item names against
// their JSON strings.

#include "exchange/projectjson.h"
#include "model/project.h"
#include "model/sourceref.h"

#include <QFile>
#include <QtTest>

Q_DECLARE_METATYPE(Project)
Q_DECLARE_METATYPE(FileVersion)

namespace {

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(value));
    return bytes;
}

ImageData image(const QByteArray& bytes)
{
    ImageData result(8, 8);
    result.bytes = bytes;
    return result;
}

Tile tile(const QVector<int>& indexes, const QVector<int>& colors)
{
    Tile result(2, 1);
    result.indexes = indexes;
    result.colors = colors;
    return result;
}

// One item of every kind, most fields away from their defaults; maps filled
// out of key order.
Project everyKind()
{
    auto font = QSharedPointer<Imageset>::create(2, QString::fromUtf8("Font \"A\" \\ \xC3\xA4"), 8, 8, Imageset::Charset);
    font->mode = Imageset::MCM;
    font->images.insert(65, image(bytesOf({0x00, 0x18, 0x3C, 0x66, 0x7E, 0x66, 0x66, 0x00})));
    font->images.insert(1, image(bytesOf({0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00})));
    font->imageColors = {{65, 13}, {1, 9}};
    font->colors = {6, 14, 8, 11};
    font->selectorZoom = 2.5;
    font->selectorGridWidth = 16;
    font->selectorGridHeight = 16;
    font->selectorGridVisible = false;
    font->backgroundColor = QColor(10, 20, 30);
    font->animations.zoom = 3.0;
    Animation walk;
    walk.speed = 12;
    AnimationFrame frame;
    frame.gridX = 2;
    frame.gridY = 1;
    frame.offsetX = {1, -2, 0, 0};
    frame.offsetY = {0, 0, 3, 0};
    frame.placedImages = {PlacedImage {0, 0, 65, 0}, PlacedImage {1, 0, 1, 2}};
    walk.frames = {frame};
    font->animations.animations = {walk};

    auto sprites = QSharedPointer<Imageset>::create(0, QStringLiteral("Sprites"), 24, 21, Imageset::Spriteset);
    sprites->mode = Imageset::MCM;
    sprites->imageColors = {{0, 1}};
    sprites->multiColorSprites = {18, 2};
    sprites->colors = {0, 11, 12, 4};
    sprites->selectorZoom = 1.0;
    sprites->selectorGridWidth = 8;
    sprites->selectorGridHeight = 4;
    sprites->pixelsGridColor = QColor(1, 2, 3);
    sprites->imagesGridColor = QColor(7, 7, 7);

    auto blocks = QSharedPointer<Imageset>::create(1, QStringLiteral("Blocks"), 8, 8, Imageset::Blockset);
    blocks->mode = Imageset::MCM;
    blocks->blockColors = {{300, {8, 9, 10}}, {1, {5, 6, 7}}};

    auto tiles = QSharedPointer<Tileset>::create();
    tiles->id = 0;
    tiles->name = QStringLiteral("Tiles");
    tiles->imagesetId = 2;
    tiles->imagesetIsCharset = true;
    tiles->tileWidth = 2;
    tiles->tileHeight = 1;
    tiles->tiles.insert(3, tile({65, 300}, {13, -1}));
    tiles->tiles.insert(0, tile({1, 1}, {9, 9}));
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

    Project project;
    project.charsets = {font};
    project.spritesets = {sprites};
    project.blocksets = {blocks};
    project.tilesets = {tiles};
    // Items keep their list order, whatever their identifiers.
    project.screens = {map, title};
    return project;
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

        QTest::newRow("empty project") << Project() << FileVersion {0, 12, 0} << QStringLiteral("empty.json");
        QTest::newRow("every kind of item") << everyKind() << FileVersion {0, 11, 0}
                                            << QStringLiteral("every-kind.json");
    }

    void dump()
    {
        QFETCH(Project, project);
        QFETCH(FileVersion, version);
        QFETCH(QString, file);

        QFile expected(QFINDTESTDATA(QStringLiteral("../data/projectjson/") + file));
        QVERIFY2(expected.open(QIODevice::ReadOnly), qPrintable(file));
        // Line by line, so that a difference names its item.
        const QStringList lines = QString::fromUtf8(ProjectJson::dump(project, version)).split(QLatin1Char('\n'));
        QCOMPARE(lines, QString::fromUtf8(expected.readAll()).split(QLatin1Char('\n')));
    }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("json");

        QTest::newRow("plain") << QStringLiteral("Font 1") << QByteArray("\"Font 1\"");
        QTest::newRow("empty") << QString() << QByteArray("\"\"");
        QTest::newRow("quote, backslash, slash") << QStringLiteral("say \"hi\" \\ /")
                                                 << QByteArray("\"say \\\"hi\\\" \\\\ /\"");
        QTest::newRow("tab and line breaks") << QStringLiteral("a\tb\nc\rd") << QByteArray("\"a\\tb\\nc\\rd\"");
        QTest::newRow("other control characters") << QStringLiteral("\x01-\x1F") << QByteArray("\"\\u0001-\\u001f\"");
        QTest::newRow("umlauts") << QString::fromUtf8("Gr\xC3\xB6\xC3\x9F" "e") << QByteArray("\"Gr\xC3\xB6\xC3\x9F" "e\"");
        QTest::newRow("outside the basic plane") << QString::fromUtf8("\xF0\x9F\x8E\xAE") << QByteArray("\"\xF0\x9F\x8E\xAE\"");
    }

    void names()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, json);

        Project project;
        project.charsets = {QSharedPointer<Imageset>::create(0, name, 8, 8, Imageset::Charset)};
        const QByteArray dumped = ProjectJson::dump(project, FileVersion::current());
        QVERIFY2(dumped.contains("{\"id\":0,\"name\":" + json + ",\"images\":"), dumped.constData());
    }
};

QTEST_GUILESS_MAIN(ProjectJsonTest)
#include "tst_projectjson.moc"
