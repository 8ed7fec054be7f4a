// How image set slots are shown (pixel codes and palette colours per kind and
// mode, transparent backgrounds, block colours) and what is read from the
// palette file and the character ROM file, or made when one is missing.

#include "model/charrom.h"
#include "model/imageset.h"
#include "model/palette.h"
#include "support/core/datatable.h"
#include "support/core/values.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A palette unlike the default one, so that colours are seen to come from it.
QRgb custom(int number)
{
    return qRgb(number * 16 + 1, 255 - number, number * 3);
}

} // namespace

class ImagesetDisplayTest : public QObject {
    Q_OBJECT

    QTemporaryDir directory;

private slots:
    void initTestCase()
    {
        Palette::Colors colors;
        for (int i = 0; i < Palette::size; ++i)
            colors[size_t(i)] = custom(i);
        Palette::setCurrent(colors);
    }

    void pixels_data() { datatable::addRows("imagesetdisplay/pixels.txt"); }

    void pixels()
    {
        QFETCH(QStringList, fields);
        const auto field = [&](int i) { return fields.at(i) == "none" ? QString() : fields.at(i); };
        const auto numbers = [](const QString& text) {
            QVector<int> values;
            for (const QString& value : text.split(' ', Qt::SkipEmptyParts))
                values.append(value.toInt());
            return values;
        };
        const auto type = Imageset::Type(QStringList {"char", "sprite", "block"}.indexOf(field(0)));
        const int slot = field(3).toInt(), shownFrom = field(4).toInt(), color = field(5).toInt();
        const QVector<int> own = numbers(field(6));
        const QString flags = field(7), expectedCodes = field(9), expectedTable = field(10);
        const QByteArray bytes = QByteArray::fromHex(field(8).toLatin1());
        const int width = type == Imageset::Spriteset ? 24 : 8, height = type == Imageset::Spriteset ? 21 : 8;
        Imageset set(7, QStringLiteral("set"), width, height, type);
        set.mode = Imageset::Mode(QStringList {"SCM", "MCM", "ECM"}.indexOf(field(1)));
        const QVector<int> colors = numbers(field(2));
        std::copy(colors.begin(), colors.end(), set.colors.begin());
        // Settings of other slots must not leak into the slot.
        for (int neighbour : {slot + 1, slot ^ 64}) {
            set.imageColors.insert(neighbour, 14);
            set.blockColors.insert(neighbour, BlockColors {14, 14, 14});
            set.multiColorSprites.insert(neighbour);
        }
        ImageData decoy(width, height), bitmap(width, height);
        decoy.bytes.fill(char(0xFF));
        set.images.insert(shownFrom == slot ? slot ^ 64 : slot, decoy);
        bitmap.bytes.replace(0, bytes.size(), bytes);
        if (!bytes.isEmpty())
            set.images.insert(shownFrom, bitmap);
        if (color >= 0)
            set.imageColors.insert(slot, color);
        if (!own.isEmpty())
            set.blockColors.insert(slot, BlockColors {own.at(0), own.at(1), own.at(2)});
        if (flags.contains('l'))
            set.multiColorSprites.insert(slot);

        const QImage shown = set.toImage(slot, flags.contains('t'));
        if (expectedCodes.isEmpty()) {
            QVERIFY(shown.isNull());
            return;
        }
        QCOMPARE(shown.size(), QSize(width, height));
        QVector<QRgb> table;
        for (QChar entry : expectedTable)
            table.append(entry == '-' ? qRgba(0, 0, 0, 0) : custom(QString(entry).toInt(nullptr, 16)));
        QCOMPARE(shown.colorTable(), table);
        for (int y = 0; y < height; ++y) {
            QString codes;
            for (int x = 0; x < width; ++x)
                codes += QString::number(shown.pixelIndex(x, y));
            QCOMPARE(codes, y == 0 ? expectedCodes : QString(width, '0'));
        }
    }

    void blockColours()
    {
        Imageset set(0, QStringLiteral("b"), 8, 8, Imageset::Blockset);
        set.colors = {11, 4, 8, 10};
        // Looking creates nothing; colours made from the set's when missing
        // are kept when those change.
        set.blockColorsOf(3);
        QVERIFY(set.blockColors.isEmpty());
        set.ensureBlockColors(3).c1 = 5;
        set.colors = {0, 0, 0, 0};
        QVERIFY(set.ensureBlockColors(3) == (BlockColors {11, 5, 8}));
        QVERIFY(set.blockColorsOf(3) == (BlockColors {11, 5, 8}));
        QCOMPARE(set.blockColors.keys(), QList<int> {3});
    }

    void missingPaletteIsWrittenWithDefaults()
    {
        const QString path = directory.filePath("missing-pal.txt");
        const Palette::Colors colors = Palette::loadFile(path);
        QCOMPARE(testvalues::readFile(path), testvalues::readFile(datatable::path("palette/default-pal.txt")));
        QVERIFY(Palette::loadFile(path) == colors);
        // Colour numbers keep their low four bits only.
        Palette::setCurrent(colors);
        QCOMPARE(Palette::color(18), qRgb(140, 40, 45));
        QCOMPARE(Palette::color(-1), qRgb(155, 155, 155));
    }

    void readsLines_data() { datatable::addRows("palette/lines.txt"); }

    void readsLines()
    {
        QFETCH(QStringList, fields);
        const QByteArray content = fields.at(0).toUtf8().replace("\\n", "\n").replace("\\t", "\t");
        const QString path = directory.filePath("pal.txt");
        QVERIFY(testvalues::writeFile(path, content));
        QStringList read;
        for (QRgb color : Palette::loadFile(path))
            read << (qAlpha(color) == 255 ? QStringLiteral("%1,%2,%3").arg(qRed(color)).arg(qGreen(color)).arg(qBlue(color))
                                          : color ? QStringLiteral("?") : QStringLiteral("-"));
        QCOMPARE(read.join(' '), (fields.at(1) + QString(" -").repeated(16)).section(' ', 0, 15));
        QCOMPARE(testvalues::readFile(path), content); // an existing file is never rewritten
    }

    void characterRom_data()
    {
        QTest::addColumn<int>("fileSize"); // -1: no file
        QTest::newRow("missing") << -1;
        QTest::newRow("short") << 2100;
        QTest::newRow("exact") << 4096;
        QTest::newRow("long") << 5000;
    }

    // Up to 4096 bytes, zero beyond the file; a character is 8 rows of its set.
    void characterRom()
    {
        QFETCH(int, fileSize);
        QByteArray content;
        for (int i = 0; i < fileSize; ++i)
            content.append(char((i * 7 + 3) & 255));
        const QString path = directory.filePath(fileSize < 0 ? "none.rom" : "char.rom");
        QVERIFY(fileSize < 0 || testvalues::writeFile(path, content));
        const QByteArray rom = CharRom::loadFile(path);
        QCOMPARE(rom, content.left(4096).leftJustified(4096, '\0'));
        CharRom::setCurrent(rom);
        const auto rows = [&](int offset) { return content.mid(offset, 8).leftJustified(8, '\0'); };
        QCOMPARE(CharRom::character(0, 1), rows(8));
        QCOMPARE(CharRom::character(1, 1), rows(2056));
        QCOMPARE(CharRom::character(1, 255), rows(4088));
    }
};

QTEST_GUILESS_MAIN(ImagesetDisplayTest)
#include "tst_imagesetdisplay.moc"
