// Colour matching for the import: sRGB to L*a*b*, the CIEDE2000 difference,
// the weighted RGB distance and the nearest palette index, checked against
// published values and against a plain reference (convert/colorreference.h)
// on samples of colours, without building the full lookup tables.

#include "convert/colorreference.h"

#include "convert/ciede2000matcher.h"
#include "convert/colormatch.h"
#include "convert/ditherlut.h"

#include <QtTest>

#include <random>
#include <vector>

Q_DECLARE_METATYPE(Palette::Colors)

namespace {

// The default palette with repeated entries: 9 repeats 3, 15 repeats 12 and
// 14 repeats 0 with a different alpha byte (alpha does not count).
Palette::Colors paletteWithRepeats()
{
    Palette::Colors colors = Palette::defaults();
    colors[9] = colors[3];
    colors[15] = colors[12];
    colors[14] = colors[0] & 0xFFFFFF;
    return colors;
}

// Sixteen random colours (fixed seed), as a user's palette file might give.
Palette::Colors randomPalette()
{
    std::mt19937 random(1982);
    Palette::Colors colors;
    for (QRgb& color : colors)
        color = QRgb(random() & 0xFFFFFF) | 0xFF000000;
    return colors;
}

QVector<QRgb> palettesColors(const Palette::Colors& palette)
{
    QVector<QRgb> colors;
    for (QRgb color : palette)
        colors.append(color | 0xFF000000);
    return colors;
}

// All palette colours, the grey axis, the corners and edges of the colour
// cube, colours one step from each palette colour, and randomCount random
// colours (fixed seed).
QVector<QRgb> sampleColors(const Palette::Colors& palette, int randomCount)
{
    QVector<QRgb> colors = palettesColors(palette);
    for (int v = 0; v < 256; ++v)
        colors.append(qRgb(v, v, v));
    for (int corner = 0; corner < 8; ++corner)
        colors.append(qRgb(corner & 1 ? 255 : 0, corner & 2 ? 255 : 0, corner & 4 ? 255 : 0));
    // Twelve edges: two channels at 0 or 255, the third running.
    for (int running = 0; running < 3; ++running) {
        for (int fixed = 0; fixed < 4; ++fixed) {
            const int first = fixed & 1 ? 255 : 0;
            const int second = fixed & 2 ? 255 : 0;
            for (int v = 0; v < 256; ++v) {
                int channel[3];
                channel[running] = v;
                channel[(running + 1) % 3] = first;
                channel[(running + 2) % 3] = second;
                colors.append(qRgb(channel[0], channel[1], channel[2]));
            }
        }
    }
    for (QRgb color : palette) {
        for (int step = 0; step < 6; ++step) {
            const int shift = (step / 2) * 8;
            const int delta = step % 2 ? 1 : -1;
            const int value = int((color >> shift) & 0xFF) + delta;
            if (value >= 0 && value <= 255)
                colors.append((color & ~(QRgb(0xFF) << shift)) | QRgb(value) << shift | 0xFF000000);
        }
    }
    std::mt19937 random(20240611);
    for (int i = 0; i < randomCount; ++i)
        colors.append(QRgb(random() & 0xFFFFFF) | 0xFF000000);
    return colors;
}

QVector<quint8> tableEntries(DitherLut::ColorSpace space, const Palette::Colors& palette, const QVector<QRgb>& colors)
{
    QVector<quint8> indices(colors.size());
    DitherLut::match(space, palette, colors.constData(), indices.data(), colors.size());
    return indices;
}

QString colorText(QRgb color)
{
    return QStringLiteral("#%1").arg(color & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

} // namespace

class ColorMatchTest : public QObject {
    Q_OBJECT

private slots:
    void labOfPrimariesMatchesPublishedValues_data();
    void labOfPrimariesMatchesPublishedValues();
    void labClampsSaturatedBlue();
    void ciede2000ReferencePairs_data();
    void ciede2000ReferencePairs();
    void ciede2000IsSymmetricAndZeroForEqualColours();
    void rgbDistanceTruncatesEachDivision();
    void tableEntriesEqualReferenceScan_data();
    void tableEntriesEqualReferenceScan();
    void plainScanEqualsReference();
    void paletteColourGivesItsIndex();
    void repeatedEntriesGiveTheLowerIndex();
    void blackAndWhiteGiveEntriesZeroAndOne();
    void blueIsComparedWithClampedB();
    void approximationStaysFarWithinMargin();
    void exactRecheckDecidesDoubtfulColours();
};

void ColorMatchTest::labOfPrimariesMatchesPublishedValues_data()
{
    QTest::addColumn<QRgb>("color");
    QTest::addColumn<double>("L");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    // Widely published sRGB (D65) values.
    QTest::newRow("red") << qRgb(255, 0, 0) << 53.23 << 80.11 << 67.22;
    QTest::newRow("blue (b unclamped -107.86)") << qRgb(0, 0, 255) << 32.30 << 79.20 << -100.0;
    QTest::newRow("green") << qRgb(0, 255, 0) << 87.74 << -86.18 << 83.18;
    QTest::newRow("yellow") << qRgb(255, 255, 0) << 97.14 << -21.56 << 94.48;
    QTest::newRow("cyan") << qRgb(0, 255, 255) << 91.12 << -48.08 << -14.14;
    QTest::newRow("magenta") << qRgb(255, 0, 255) << 60.32 << 98.25 << -60.84;
    QTest::newRow("white") << qRgb(255, 255, 255) << 100.0 << 0.005 << -0.010;
    QTest::newRow("black") << qRgb(0, 0, 0) << 0.0 << 0.0 << 0.0;
    QTest::newRow("grey 128") << qRgb(128, 128, 128) << 53.59 << 0.003 << -0.006;
}

void ColorMatchTest::labOfPrimariesMatchesPublishedValues()
{
    QFETCH(QRgb, color);
    QFETCH(double, L);
    QFETCH(double, a);
    QFETCH(double, b);
    const ColorMatch::Lab lab = ColorMatch::toLab(color);
    QVERIFY2(std::fabs(lab.L - L) < 0.006, qPrintable(QString::number(lab.L, 'f', 4)));
    QVERIFY2(std::fabs(lab.a - a) < 0.006, qPrintable(QString::number(lab.a, 'f', 4)));
    QVERIFY2(std::fabs(lab.b - b) < 0.006, qPrintable(QString::number(lab.b, 'f', 4)));
    // The alpha byte plays no part.
    const ColorMatch::Lab transparent = ColorMatch::toLab(color & 0xFFFFFF);
    QCOMPARE(transparent.L, lab.L);
    QCOMPARE(transparent.a, lab.a);
    QCOMPARE(transparent.b, lab.b);
}

void ColorMatchTest::labClampsSaturatedBlue()
{
    // Pure blue: published L 32.30, a 79.20, b -107.86; b is clamped to -100.
    const ColorMatch::Lab blue = ColorMatch::toLab(qRgb(0, 0, 255));
    QVERIFY(std::fabs(blue.L - 32.30) < 0.006);
    QVERIFY(std::fabs(blue.a - 79.20) < 0.006);
    QCOMPARE(blue.b, -100.0);
    const double y = 0.0722 * Reference::linear(255);
    const double z = 0.8729553741171716 * Reference::linear(255);
    const double unclamped = 200.0 * (Reference::labF(y) - Reference::labF(z));
    QVERIFY2(std::fabs(unclamped - -107.86) < 0.006, qPrintable(QString::number(unclamped, 'f', 4)));
    // Magenta's a (98.25) stays inside the range; the linear part below the
    // threshold gives 16/116 for black, so L is 0, not negative.
    QVERIFY(ColorMatch::toLab(qRgb(255, 0, 255)).a < 100.0);
    QCOMPARE(ColorMatch::toLab(qRgb(0, 0, 0)).L, 0.0);
    QVERIFY(ColorMatch::toLab(qRgb(1, 0, 0)).L > 0.0);
}

void ColorMatchTest::ciede2000ReferencePairs_data()
{
    QTest::addColumn<double>("L1");
    QTest::addColumn<double>("a1");
    QTest::addColumn<double>("b1");
    QTest::addColumn<double>("L2");
    QTest::addColumn<double>("a2");
    QTest::addColumn<double>("b2");
    QTest::addColumn<double>("expected");
    // The 34 test pairs of Sharma, Wu and Dalal, "The CIEDE2000 Color-Difference
    // Formula: Implementation Notes, Supplementary Test Data, and Mathematical
    // Observations", Color Research and Application 30(1), 2005, Table 1.
    const double pairs[34][7] = {
        {50.0000, 2.6772, -79.7751, 50.0000, 0.0000, -82.7485, 2.0425},
        {50.0000, 3.1571, -77.2803, 50.0000, 0.0000, -82.7485, 2.8615},
        {50.0000, 2.8361, -74.0200, 50.0000, 0.0000, -82.7485, 3.4412},
        {50.0000, -1.3802, -84.2814, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, -1.1848, -84.8006, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, -0.9009, -85.5211, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, 0.0000, 0.0000, 50.0000, -1.0000, 2.0000, 2.3669},
        {50.0000, -1.0000, 2.0000, 50.0000, 0.0000, 0.0000, 2.3669},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0009, 7.1792},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0010, 7.1792},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0011, 7.2195},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0012, 7.2195},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0009, -2.4900, 4.8045},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0010, -2.4900, 4.8045},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0011, -2.4900, 4.7461},
        {50.0000, 2.5000, 0.0000, 50.0000, 0.0000, -2.5000, 4.3065},
        {50.0000, 2.5000, 0.0000, 73.0000, 25.0000, -18.0000, 27.1492},
        {50.0000, 2.5000, 0.0000, 61.0000, -5.0000, 29.0000, 22.8977},
        {50.0000, 2.5000, 0.0000, 56.0000, -27.0000, -3.0000, 31.9030},
        {50.0000, 2.5000, 0.0000, 58.0000, 24.0000, 15.0000, 19.4535},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.1736, 0.5854, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.2972, 0.0000, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 1.8634, 0.5757, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.2592, 0.3350, 1.0000},
        {60.2574, -34.0099, 36.2677, 60.4626, -34.1751, 39.4387, 1.2644},
        {63.0109, -31.0961, -5.8663, 62.8187, -29.7946, -4.0864, 1.2630},
        {61.2901, 3.7196, -5.3901, 61.4292, 2.2480, -4.9620, 1.8731},
        {35.0831, -44.1164, 3.7933, 35.0232, -40.0716, 1.5901, 1.8645},
        {22.7233, 20.0904, -46.6940, 23.0331, 14.9730, -42.5619, 2.0373},
        {36.4612, 47.8580, 18.3852, 36.2715, 50.5065, 21.2231, 1.4146},
        {90.8027, -2.0831, 1.4410, 91.1528, -1.6435, 0.0447, 1.4441},
        {90.9257, -0.5406, -0.9208, 88.6381, -0.8985, -0.7239, 1.5381},
        {6.7747, -0.2908, -2.4247, 5.8714, -0.0985, -2.2286, 0.6377},
        {2.0776, 0.0795, -1.1350, 0.9033, -0.0636, -0.5514, 0.9082},
    };
    for (int i = 0; i < 34; ++i) {
        const double* p = pairs[i];
        QTest::addRow("pair %d", i + 1) << p[0] << p[1] << p[2] << p[3] << p[4] << p[5] << p[6];
    }
}

void ColorMatchTest::ciede2000ReferencePairs()
{
    QFETCH(double, L1);
    QFETCH(double, a1);
    QFETCH(double, b1);
    QFETCH(double, L2);
    QFETCH(double, a2);
    QFETCH(double, b2);
    QFETCH(double, expected);
    const double difference = ColorMatch::ciede2000({L1, a1, b1}, {L2, a2, b2});
    // The published values are rounded to four decimals.
    QVERIFY2(std::fabs(difference - expected) <= 0.00005 + 1e-9, qPrintable(QString::number(difference, 'f', 6)));
    // The reference the tables are checked against passes the same pairs.
    const double reference = Reference::deltaE00({L1, a1, b1}, {L2, a2, b2});
    QVERIFY2(std::fabs(reference - expected) <= 0.00005 + 1e-9, qPrintable(QString::number(reference, 'f', 6)));
}

void ColorMatchTest::ciede2000IsSymmetricAndZeroForEqualColours()
{
    const ColorMatch::PaletteLab palette = ColorMatch::toLab(Palette::defaults());
    for (int i = 0; i < Palette::size; ++i) {
        QCOMPARE(ColorMatch::ciede2000(palette[i], palette[i]), 0.0);
        for (int j = 0; j < Palette::size; ++j) {
            const double forward = ColorMatch::ciede2000(palette[i], palette[j]);
            QCOMPARE(ColorMatch::ciede2000(palette[j], palette[i]), forward);
            if (i != j)
                QVERIFY(forward > 1.0);
        }
    }
}

void ColorMatchTest::rgbDistanceTruncatesEachDivision()
{
    // Black to white: m = 127, (639 * 65025) / 256 = 162308 (162308.49...),
    // 4 * 65025 = 260100, (640 * 65025) / 256 = 162562 (162562.5).
    QCOMPARE(ColorMatch::rgbDistanceSquared(qRgb(0, 0, 0), qRgb(255, 255, 255)), 162308 + 260100 + 162562);
    // m = (3 + 0) / 2 = 1: (513 * 9) / 256 = 18 (18.03...), (766 * 1) / 256 = 2 (2.99...).
    QCOMPARE(ColorMatch::rgbDistanceSquared(qRgb(3, 10, 1), qRgb(0, 10, 0)), 18 + 0 + 2);
    QCOMPARE(ColorMatch::rgbDistanceSquared(qRgb(0, 10, 0), qRgb(3, 10, 1)), 18 + 0 + 2);
    // Green counts four times.
    QCOMPARE(ColorMatch::rgbDistanceSquared(qRgb(7, 12, 9), qRgb(7, 9, 9)), 36);
    // Red weighs more in reddish pairs, blue more in others: m = 200 gives
    // (712 * 100) / 256 = 278 (278.1...) and (567 * 100) / 256 = 221 (221.4...).
    QCOMPARE(ColorMatch::rgbDistanceSquared(qRgb(205, 0, 0), qRgb(195, 0, 0)), 278);
    QCOMPARE(ColorMatch::rgbDistanceSquared(qRgb(200, 0, 10), qRgb(200, 0, 0)), 221);
    QCOMPARE(ColorMatch::rgbDistance(qRgb(7, 12, 9), qRgb(7, 9, 9)), 6.0);
    QCOMPARE(ColorMatch::rgbDistanceSquared(qRgb(1, 2, 3) & 0xFFFFFF, qRgb(1, 2, 3)), 0);
}

void ColorMatchTest::tableEntriesEqualReferenceScan_data()
{
    QTest::addColumn<Palette::Colors>("palette");
    QTest::newRow("default palette") << Palette::defaults();
    QTest::newRow("palette with repeated entries") << paletteWithRepeats();
    QTest::newRow("random palette") << randomPalette();
}

void ColorMatchTest::tableEntriesEqualReferenceScan()
{
    QFETCH(Palette::Colors, palette);
    const QVector<QRgb> colors = sampleColors(palette, 200000);
    const Reference::PaletteLab paletteLab = Reference::lab(palette);
    QVector<quint8> expectedCiede2000(colors.size()), expectedRgb(colors.size());
    for (int i = 0; i < colors.size(); ++i) {
        expectedCiede2000[i] = quint8(Reference::nearestCiede2000(paletteLab, colors[i]));
        expectedRgb[i] = quint8(Reference::nearestRgb(palette, colors[i]));
    }
    // With the AVX2 code (where the processor has it) and without.
    for (bool avx2 : {true, false}) {
        ColorMatch::Ciede2000Matcher::allowAvx2(avx2);
        const QVector<quint8> ciede2000 = tableEntries(DitherLut::Ciede2000, palette, colors);
        const QVector<quint8> rgb = tableEntries(DitherLut::Rgb, palette, colors);
        ColorMatch::Ciede2000Matcher::allowAvx2(true);
        int ciede2000Differences = 0;
        int rgbDifferences = 0;
        QString first;
        for (int i = 0; i < colors.size(); ++i) {
            if (ciede2000[i] != expectedCiede2000[i] || rgb[i] != expectedRgb[i]) {
                ciede2000Differences += ciede2000[i] != expectedCiede2000[i];
                rgbDifferences += rgb[i] != expectedRgb[i];
                if (first.isEmpty())
                    first = QStringLiteral("%1: CIEDE2000 %2 (expected %3), RGB %4 (expected %5)")
                                .arg(colorText(colors[i]))
                                .arg(ciede2000[i])
                                .arg(expectedCiede2000[i])
                                .arg(rgb[i])
                                .arg(expectedRgb[i]);
            }
        }
        QVERIFY2(ciede2000Differences == 0 && rgbDifferences == 0,
                 qPrintable(QStringLiteral("%1 code: %2 CIEDE2000 and %3 RGB entries differ, first %4")
                                .arg(avx2 ? "AVX2" : "SSE2")
                                .arg(ciede2000Differences)
                                .arg(rgbDifferences)
                                .arg(first)));
    }
}

void ColorMatchTest::plainScanEqualsReference()
{
    // ColorMatch::nearest, the definition the exact re-check uses, on the
    // structured part of the sample and some random colours.
    const Palette::Colors palette = paletteWithRepeats();
    const QVector<QRgb> colors = sampleColors(palette, 5000);
    const Reference::PaletteLab paletteLab = Reference::lab(palette);
    for (QRgb color : colors) {
        QCOMPARE(ColorMatch::nearest(ColorMatch::Ciede2000, palette, color),
                 Reference::nearestCiede2000(paletteLab, color));
        QCOMPARE(ColorMatch::nearest(ColorMatch::Rgb, palette, color), Reference::nearestRgb(palette, color));
    }
}

void ColorMatchTest::paletteColourGivesItsIndex()
{
    const Palette::Colors palette = Palette::defaults();
    const QVector<QRgb> colors = palettesColors(palette);
    const QVector<quint8> ciede2000 = tableEntries(DitherLut::Ciede2000, palette, colors);
    const QVector<quint8> rgb = tableEntries(DitherLut::Rgb, palette, colors);
    for (int i = 0; i < Palette::size; ++i) {
        QCOMPARE(int(ciede2000[i]), i);
        QCOMPARE(int(rgb[i]), i);
        QCOMPARE(ColorMatch::rgbDistance(palette[i], colors[i]), 0.0);
        QCOMPARE(ColorMatch::ciede2000(ColorMatch::toLab(colors[i]), ColorMatch::toLab(palette[i])), 0.0);
    }
}

void ColorMatchTest::repeatedEntriesGiveTheLowerIndex()
{
    const Palette::Colors palette = paletteWithRepeats();
    const QVector<QRgb> colors = sampleColors(palette, 50000);
    const QVector<quint8> ciede2000 = tableEntries(DitherLut::Ciede2000, palette, colors);
    const QVector<quint8> rgb = tableEntries(DitherLut::Rgb, palette, colors);
    // The repeated colours themselves give the first of their entries.
    const QVector<quint8> first = tableEntries(DitherLut::Ciede2000, palette, {palette[9], palette[15], palette[14]});
    QCOMPARE(first, (QVector<quint8> {3, 12, 0}));
    const QVector<quint8> firstRgb = tableEntries(DitherLut::Rgb, palette, {palette[9], palette[15], palette[14]});
    QCOMPARE(firstRgb, (QVector<quint8> {3, 12, 0}));
    // No colour ever gets one of the later copies, while the first copies
    // are taken by colours around them.
    QVector<int> ciede2000Count(Palette::size), rgbCount(Palette::size);
    for (int i = 0; i < colors.size(); ++i) {
        ++ciede2000Count[ciede2000[i]];
        ++rgbCount[rgb[i]];
    }
    for (int later : {9, 15, 14}) {
        QCOMPARE(ciede2000Count[later], 0);
        QCOMPARE(rgbCount[later], 0);
    }
    for (int earlier : {3, 12, 0}) {
        QVERIFY(ciede2000Count[earlier] > 0);
        QVERIFY(rgbCount[earlier] > 0);
    }
}

void ColorMatchTest::blackAndWhiteGiveEntriesZeroAndOne()
{
    const QVector<QRgb> colors {qRgb(0, 0, 0), qRgb(255, 255, 255), 0x000000, 0x00FFFFFF};
    const QVector<quint8> expected {0, 1, 0, 1};
    QCOMPARE(tableEntries(DitherLut::Ciede2000, Palette::defaults(), colors), expected);
    QCOMPARE(tableEntries(DitherLut::Rgb, Palette::defaults(), colors), expected);
}

void ColorMatchTest::blueIsComparedWithClampedB()
{
    const QRgb blue = qRgb(0, 0, 255);
    const ColorMatch::Lab lab = ColorMatch::toLab(blue);
    const ColorMatch::Lab unclamped {lab.L, lab.a, -107.86};
    const ColorMatch::PaletteLab palette = ColorMatch::toLab(Palette::defaults());
    // The distances of pure blue are those of b = -100, not of its
    // unclamped b of about -108.
    for (int i = 0; i < Palette::size; ++i) {
        QCOMPARE(ColorMatch::ciede2000(lab, palette[i]),
                 ColorMatch::ciede2000(ColorMatch::Lab {lab.L, lab.a, -100.0}, palette[i]));
        QVERIFY(ColorMatch::ciede2000(unclamped, palette[i]) != ColorMatch::ciede2000(lab, palette[i]));
    }
    // Light blue (14) comes closer to the clamped colour than to the
    // unclamped one, blue (6) farther; blue stays the nearest entry.
    QVERIFY(ColorMatch::ciede2000(lab, palette[14]) > ColorMatch::ciede2000(unclamped, palette[14]));
    QVERIFY(ColorMatch::ciede2000(lab, palette[6]) < ColorMatch::ciede2000(unclamped, palette[6]));
    QCOMPARE(tableEntries(DitherLut::Ciede2000, Palette::defaults(), {blue}), QVector<quint8> {6});
    QCOMPARE(ColorMatch::nearestLab(palette, ColorMatch::Lab {lab.L, lab.a, -100.0}), 6);
}

void ColorMatchTest::approximationStaysFarWithinMargin()
{
    // The fast table build trusts its approximate differences only when the
    // nearest entry leads by more than the margin; their error must stay far
    // below it wherever the colour is not sent to the exact re-check.
    for (const Palette::Colors& palette : {Palette::defaults(), paletteWithRepeats(), randomPalette()}) {
        const QVector<QRgb> colors = sampleColors(palette, 50000);
        const ColorMatch::Ciede2000Matcher matcher(palette);
        std::vector<double> distances(std::size_t(colors.size()) * Palette::size);
        std::vector<char> nearJump(std::size_t(colors.size()));
        matcher.approximate(colors.constData(), colors.size(), distances.data(),
                            reinterpret_cast<bool*>(nearJump.data()));
        // The same with the code without AVX2.
        ColorMatch::Ciede2000Matcher::allowAvx2(false);
        std::vector<double> otherDistances(distances.size());
        std::vector<char> otherNearJump(nearJump.size());
        matcher.approximate(colors.constData(), colors.size(), otherDistances.data(),
                            reinterpret_cast<bool*>(otherNearJump.data()));
        ColorMatch::Ciede2000Matcher::allowAvx2(true);
        const ColorMatch::PaletteLab paletteLab = ColorMatch::toLab(palette);
        double worst = 0;
        int jumps = 0;
        for (int i = 0; i < colors.size(); ++i) {
            if (nearJump[std::size_t(i)] || otherNearJump[std::size_t(i)]) {
                ++jumps;
                continue;
            }
            const ColorMatch::Lab lab = ColorMatch::toLab(colors[i]);
            for (int k = 0; k < Palette::size; ++k) {
                const double exact = ColorMatch::ciede2000(lab, paletteLab[k]);
                const std::size_t at = std::size_t(i) * Palette::size + k;
                worst = std::max({worst, std::fabs(distances[at] - exact), std::fabs(otherDistances[at] - exact)});
            }
        }
        QVERIFY2(worst < ColorMatch::Ciede2000Matcher::margin * 1e-3, qPrintable(QString::number(worst)));
        // Colours near a jump are rare (here: black and most greys, whose
        // chroma is below 0.01).
        QVERIFY2(jumps < colors.size() / 100, qPrintable(QString::number(jumps)));
    }
}

void ColorMatchTest::exactRecheckDecidesDoubtfulColours()
{
    // Black (neutral, so its hue is undefined) and the palette colours
    // (distance 0 to their entry) are always matched with the exact scan.
    const Palette::Colors palette = Palette::defaults();
    const ColorMatch::Ciede2000Matcher matcher(palette);
    QVector<QRgb> colors = palettesColors(palette);
    quint8 indices[Palette::size];
    QCOMPARE(matcher.match(colors.constData(), indices, Palette::size), Palette::size);
    for (int i = 0; i < Palette::size; ++i)
        QCOMPARE(int(indices[i]), i);
    // Two entries one step apart: the border between them runs through the
    // colours around them, where the matcher agrees with the reference.
    Palette::Colors twins = palette;
    twins[5] = qRgb(100, 100, 100);
    twins[6] = qRgb(100, 100, 101);
    const ColorMatch::Ciede2000Matcher twinMatcher(twins);
    const Reference::PaletteLab twinLab = Reference::lab(twins);
    QVector<QRgb> around;
    for (int r = 98; r <= 102; ++r)
        for (int g = 98; g <= 102; ++g)
            for (int b = 97; b <= 104; ++b)
                around.append(qRgb(r, g, b));
    QVector<quint8> result(around.size());
    twinMatcher.match(around.constData(), result.data(), around.size());
    QSet<int> chosen;
    for (int i = 0; i < around.size(); ++i) {
        QCOMPARE(int(result[i]), Reference::nearestCiede2000(twinLab, around[i]));
        chosen.insert(result[i]);
    }
    QVERIFY(chosen.contains(5) && chosen.contains(6));
}

QTEST_GUILESS_MAIN(ColorMatchTest)
#include "tst_colormatch.moc"
