// Picture import: fitting to the targets, the dialog's adjustments and
// reduction, the search against the plain one, and how results are stored.

#include "convert/pictureconversion.h"
#include "convert/picturepreparation.h"
#include "support/core/datatable.h"
#include "support/core/plainimport.h"

#include <QRandomGenerator>
#include <QtTest>

using PictureConversion::Range;
using PictureConversion::Setup;

namespace {

Range rangeOf(const QString& text, Range full)
{
    if (text == QLatin1String("auto"))
        return full;
    const QStringList ends = text.split(QLatin1Char('-'));
    return {ends.first().toInt(), ends.last().toInt()};
}

Setup setupOf(const QString& kind, const QString& mode, const QString& ranges)
{
    Setup setup = plainimport::setupFor(kind == QLatin1String("char") ? Imageset::Charset
                                        : kind == QLatin1String("sprite") ? Imageset::Spriteset : Imageset::Blockset,
                                        mode == QLatin1String("mcm") ? Imageset::MCM
                                        : mode == QLatin1String("ecm") ? Imageset::ECM : Imageset::SCM,
                                        mode == QLatin1String("multi"));
    const QStringList parts = ranges.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    Range* fields[] = {&setup.background, &setup.multi1, &setup.multi2, &setup.background3, &setup.foreground};
    for (int i = 0; i < 5; ++i)
        *fields[i] = rangeOf(parts.value(i), *fields[i]);
    return setup;
}

// Palette indexes; with wide pixels both pixels of a pair alike, as the
// dialog hands them over.
QImage randomPicture(QSize size, int colors, quint32 seed, bool wide)
{
    QRandomGenerator random(seed);
    QVector<int> used;
    for (int i = 0; i < colors; ++i)
        used.append(int(random.bounded(16)));
    QImage picture(size, QImage::Format_Indexed8);
    picture.setColorTable(QVector<QRgb>(Palette::defaults().cbegin(), Palette::defaults().cend()));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); x += wide ? 2 : 1) {
            // Runs of one colour, as pictures have.
            const int color = used[int(random.bounded(colors))];
            for (int k = 0; k < (wide ? 2 : 1); ++k)
                picture.setPixel(x + k, y, uint(random.bounded(3) == 0 ? used.first() : color));
        }
    return picture;
}

QImage indexes(const QStringList& rows)
{
    QImage picture(rows.first().size(), rows.size(), QImage::Format_Indexed8);
    picture.setColorTable(QVector<QRgb>(Palette::defaults().cbegin(), Palette::defaults().cend()));
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            picture.setPixel(x, y, uint(rows[y].mid(x, 1).toInt(nullptr, 16)));
    return picture;
}

}

class PictureImportTest : public QObject {
    Q_OBJECT

private slots:
    void fitting_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("cell");
        QTest::addColumn<int>("targets");
        QTest::addColumn<QSize>("scaled"); // before padding; empty: refused
        QTest::newRow("100 x 50 into 4 characters") << QSize(100, 50) << QSize(8, 8) << 4 << QSize(16, 8);
        QTest::newRow("a photo into one character") << QSize(640, 480) << QSize(8, 8) << 1 << QSize(8, 6);
        QTest::newRow("fits, padded only") << QSize(10, 10) << QSize(8, 8) << 4 << QSize(10, 10);
        QTest::newRow("a sheet of sprites") << QSize(96, 42) << QSize(24, 21) << 8 << QSize(96, 42);
        QTest::newRow("into two sprites") << QSize(96, 42) << QSize(24, 21) << 2 << QSize(48, 21);
        QTest::newRow("a wide strip keeps one row") << QSize(4000, 2) << QSize(8, 8) << 2 << QSize(16, 1);
        QTest::newRow("a tall strip cannot fit") << QSize(1, 4000) << QSize(8, 8) << 2 << QSize();
        QTest::newRow("no targets") << QSize(8, 8) << QSize(8, 8) << 0 << QSize();
    }
    void fitting()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, cell);
        QFETCH(int, targets);
        QFETCH(QSize, scaled);
        QImage source(picture, QImage::Format_RGB32);
        source.fill(qRgb(200, 100, 50));
        const QImage fitted = PicturePreparation::fitToTargets(source, cell, targets);
        QCOMPARE(fitted.isNull(), scaled.isEmpty());
        if (fitted.isNull())
            return;
        const QSize padded((scaled.width() + cell.width() - 1) / cell.width() * cell.width(),
                           (scaled.height() + cell.height() - 1) / cell.height() * cell.height());
        QCOMPARE(fitted.size(), padded);
        QVERIFY(fitted.width() / cell.width() * (fitted.height() / cell.height()) <= targets);
        // The picture at the top left, black beyond it.
        QCOMPARE(fitted.pixel(scaled.width() - 1, scaled.height() - 1), qRgb(200, 100, 50));
        if (padded != scaled)
            QCOMPARE(fitted.pixel(padded.width() - 1, padded.height() - 1), qRgb(0, 0, 0));
    }

    void adjustments_data()
    {
        QTest::addColumn<QRgb>("color");
        QTest::addColumn<QList<int>>("settings"); // brightness, contrast, gamma, saturation
        QTest::addColumn<QRgb>("adjusted");
        QTest::newRow("defaults keep the colour") << qRgb(200, 100, 51) << QList<int> {0, 100, 100, 0} << qRgb(200, 100, 51);
        QTest::newRow("contrast and brightness 0: black") << qRgb(200, 100, 51) << QList<int> {0, 0, 100, 0} << qRgb(0, 0, 0);
        QTest::newRow("brightness adds, clamped") << qRgb(200, 100, 0) << QList<int> {50, 100, 100, 0} << qRgb(255, 227, 127);
        QTest::newRow("contrast multiplies") << qRgb(200, 100, 10) << QList<int> {0, 50, 100, 0} << qRgb(100, 50, 5);
        QTest::newRow("gamma 1 pushes towards white") << qRgb(200, 1, 0) << QList<int> {0, 100, 1, 0} << qRgb(254, 241, 0);
        QTest::newRow("gamma 2 darkens") << qRgb(255, 128, 51) << QList<int> {0, 100, 200, 0} << qRgb(255, 64, 10);
        QTest::newRow("a negative base stays black") << qRgb(51, 51, 51) << QList<int> {-50, 100, 200, 0} << qRgb(0, 0, 0);
        QTest::newRow("no saturation: grey of the lightness") << qRgb(200, 100, 50) << QList<int> {0, 100, 100, -100} << qRgb(125, 125, 125);
        QTest::newRow("full saturation keeps hue and lightness") << qRgb(200, 100, 50) << QList<int> {0, 100, 100, 100} << qRgb(250, 83, 0);
        QTest::newRow("greys stay grey") << qRgb(90, 90, 90) << QList<int> {0, 100, 100, 100} << qRgb(90, 90, 90);
    }
    void adjustments()
    {
        QFETCH(QRgb, color);
        QFETCH(QList<int>, settings);
        QFETCH(QRgb, adjusted);
        PicturePreparation::Settings chosen;
        chosen.brightness = settings[0];
        chosen.contrast = settings[1];
        chosen.gamma = settings[2];
        chosen.saturation = settings[3];
        QCOMPARE(QColor(PicturePreparation::adjustColor(color, chosen)), QColor(adjusted));

        // Wide pixels: the pair shows its left pixel.
        QImage picture(4, 1, QImage::Format_RGB32);
        picture.setPixel(0, 0, color);
        picture.setPixel(1, 0, qRgb(1, 2, 3));
        const QImage wide = PicturePreparation::adjust(picture, chosen, true);
        QCOMPARE(wide.pixel(1, 0), adjusted | 0xFF000000u);
    }

    // A palette of black and white only, halfway the border between them.
    void reduction_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("wide");
        QTest::addColumn<int>("method");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no dithering") << QSize(4, 3) << false << 0 << QStringList {"1111", "1111", "1111"};
        QTest::newRow("Floyd-Steinberg") << QSize(4, 3) << false << 1 << QStringList {"1111", "1101", "1111"};
        QTest::newRow("Floyd-Steinberg on pairs") << QSize(8, 3) << true << 1 << QStringList {"11111111", "11110011", "11111111"};
        QTest::newRow("two rows: nothing to spread") << QSize(4, 2) << false << 1 << QStringList {"1111", "1111"};
    }
    void reduction()
    {
        QFETCH(QSize, size);
        QFETCH(bool, wide);
        QFETCH(int, method);
        QFETCH(QStringList, expected);
        Palette::Colors palette {};
        palette[1] = qRgb(255, 255, 255);
        const auto nearest = [](QRgb color) { return qGray(color) >= 128 ? 1 : 0; };
        QImage grey(size, QImage::Format_RGB32);
        grey.fill(qRgb(153, 153, 153)); // 0.6
        const QImage reduced = PicturePreparation::reduce(grey, PicturePreparation::Method(method), wide, palette, nearest);
        QStringList rows;
        for (int y = 0; y < reduced.height(); ++y) {
            QString row;
            for (int x = 0; x < reduced.width(); ++x)
                row += QString::number(reduced.pixelIndex(x, y));
            rows.append(row);
        }
        QCOMPARE(rows, expected);
        QCOMPARE(reduced.colorTable().value(1), qRgb(255, 255, 255));
    }

    void searchAsPlain_data() { datatable::addRows(QStringLiteral("pictureimport/plain.txt")); }
    void searchAsPlain()
    {
        QFETCH(QStringList, fields);
        const Setup setup = setupOf(fields[0], fields[1], fields[2]);
        const QStringList cells = fields[3].split(QLatin1Char('x'));
        const QSize size(cells[0].toInt() * setup.cellSize().width(), cells[1].toInt() * setup.cellSize().height());
        const QImage picture = randomPicture(size, fields[4].toInt(), fields[5].toUInt(), setup.widePixels());
        const Palette::Colors& palette = Palette::defaults();

        const PictureConversion::Result fast = PictureConversion::convert(picture, setup, palette);
        const plainimport::Outcome plain = plainimport::search(picture, setup, palette);
        QVERIFY(!fast.cancelled);
        QVERIFY(qAbs(fast.error - plain.error) <= 1e-9 * plain.error);
        QCOMPARE(fast.colors, plain.colors);
        for (int k = 0; k < fast.cells.size(); ++k) {
            const PictureConversion::Cell& cell = fast.cells[k];
            QCOMPARE(cell.imageColor, plain.foregrounds[k]);
            if (setup.ecm())
                QCOMPARE(cell.background, plain.backgrounds[k]);
            if (setup.type == Imageset::Blockset)
                QCOMPARE(cell.block, plain.blocks[k]);
        }
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const int cell = (y / setup.cellSize().height()) * fast.columns + x / setup.cellSize().width();
                QCOMPARE(int(fast.cells[cell].codeOf[picture.pixelIndex(x, y)]), plain.codes[y * picture.width() + x]);
            }
    }

    // How a result lands in the set: codes packed, colours where the chip
    // reads them.
    void writing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<QStringList>("picture"); // palette numbers in hex, one row of 8 (or 24) pixels, 8 (21) rows alike
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("slot");       // where the bitmap lands
        QTest::addColumn<int>("written");    // the slot or character code reported
        QTest::addColumn<QString>("firstRow"); // bytes of its first row
        QTest::addColumn<int>("imageColor"); // at the code written
        QTest::addColumn<QString>("colors"); // the set's colours afterwards
        QTest::newRow("hires character") << "char" << "scm" << "6 auto auto auto 1" << QStringList {"61166116"} << 7 << 7 << 7
                                         << "66" << 1 << "6 1 2 3";
        QTest::newRow("multicolour character: image colour + 8") << "char" << "mcm" << "0 5 6 auto 2"
                                                                 << QStringList {"00556622"} << 3 << 3 << 3 << "1b" << 10 << "0 5 6 3";
        QTest::newRow("extended background: the third background") << "char" << "ecm" << "0 5 6 7 1"
                                                                   << QStringList {"66116666"} << 130 % 64 << 2 << 130
                                                                   << "30" << 1 << "0 5 6 7";
        QTest::newRow("extended background: a tie keeps the background") << "char" << "ecm" << "5 6 7 8 5"
                                                                         << QStringList {"55555555"} << 1 << 1 << 1 << "00"
                                                                         << 5 << "5 6 7 8";
        QTest::newRow("multicolour sprite: codes 10 and 11 swapped") << "sprite" << "multi" << "0 5 6 auto 2"
                                                                     << QStringList {"005566220000000000000000"} << 4 << 4 << 4
                                                                     << "1e0000" << 2 << "0 5 6 3";
        QTest::newRow("hires block: own background") << "block" << "scm" << "9 auto auto auto 1"
                                                     << QStringList {"99119911"} << 0 << 0 << 0 << "33" << 1 << "6 1 2 3";
        QTest::newRow("multicolour block: own multicolours") << "block" << "mcm" << "0 5 6 auto 2"
                                                             << QStringList {"00556622"} << 1 << 1 << 1 << "1b" << 2 << "0 1 2 3";
    }
    void writing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, mode);
        QFETCH(QString, ranges);
        QFETCH(QStringList, picture);
        QFETCH(int, target);
        QFETCH(int, slot);
        QFETCH(int, written);
        QFETCH(QString, firstRow);
        QFETCH(int, imageColor);
        QFETCH(QString, colors);
        const Setup setup = setupOf(kind, mode, ranges);
        Imageset set(1, QStringLiteral("set"), setup.cellSize().width(), setup.cellSize().height(), setup.type);
        set.mode = setup.mode;
        const QImage indexed = indexes(QStringList(QVector<QString>(setup.cellSize().height(), picture.first()).toList()));
        const PictureConversion::Result result = PictureConversion::convert(indexed, setup, Palette::defaults());
        QCOMPARE(PictureConversion::write(set, setup, result, {target}), QList<int> {written});
        QCOMPARE(set.image(slot).bytes.left(set.image(slot).bytesPerRow).toHex(), firstRow.toLatin1());
        QCOMPARE(set.imageColor(written), imageColor);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(set.colors[0]).arg(set.colors[1]).arg(set.colors[2]).arg(set.colors[3]), colors);
        if (setup.type == Imageset::Blockset)
            QCOMPARE(set.blockColorsOf(slot), setup.multiColor() ? (BlockColors {0, 5, 6}) : (BlockColors {9, 1, 2}));
        if (setup.type == Imageset::Spriteset)
            QVERIFY(set.multiColorSprites.contains(slot));
    }

    // Cancelling stops the search and leaves a result that says so.
    void cancel()
    {
        const Setup setup = setupOf(QStringLiteral("char"), QStringLiteral("mcm"), QStringLiteral("auto auto auto auto auto"));
        const QImage picture = randomPicture(QSize(128, 128), 16, 12, true);
        std::atomic<int> asked {0};
        PictureConversion::Progress progress;
        progress.cancelled = [&asked] { return ++asked > 50; };
        QVERIFY(PictureConversion::convert(picture, setup, Palette::defaults(), progress).cancelled);
    }
};

QTEST_GUILESS_MAIN(PictureImportTest)
#include "tst_pictureimport.moc"
