// Colour matching for the import, on the tables of tests/data/colormatch:
// sRGB to L*a*b*, the CIEDE2000 difference on its published test pairs, the
// weighted RGB distance and the nearest palette entry; and the fast matcher
// of the lookup tables against the plain scan.

#include "convert/ciede2000matcher.h"
#include "convert/colormatch.h"
#include "convert/ditherlut.h"
#include "support/core/datatable.h"

#include <memory>
#include <random>

namespace {

// A palette of tests/data/colormatch/palettes.txt: the colours written out.
Palette::Colors paletteOf(const QString& colors)
{
    Palette::Colors palette;
    for (int i = 0; i < Palette::size; ++i)
        palette[i] = colors.section(' ', i, i).toUInt(nullptr, 16);
    return palette;
}

// "L a b" as numbers.
ColorMatch::Lab labOf(const QString& text)
{
    const QStringList values = text.split(' ');
    return {values[0].toDouble(), values[1].toDouble(), values[2].toDouble()};
}

// The palette colours and their neighbours one step away in each channel,
// the grey axis, six edges of the colour cube and count random colours.
QVector<QRgb> sample(const Palette::Colors& palette, int count)
{
    QVector<QRgb> colors;
    for (QRgb color : palette)
        for (int step : {0, -1, 1, -256, 256, -65536, 65536})
            colors << QRgb(int(color) + step);
    for (int v = 0; v < 256; ++v)
        colors << qRgb(v, v, v) << qRgb(v, 0, 0) << qRgb(0, v, 0) << qRgb(0, 0, v) << qRgb(v, 255, 255)
               << qRgb(255, v, 255) << qRgb(255, 255, v);
    std::mt19937 random(20240611);
    while (count-- > 0)
        colors << (QRgb(random()) | 0xFF000000);
    return colors;
}

} // namespace

class ColorMatchTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ColorMatch::Ciede2000Matcher::allowAvx2(true); }

    void toLab_data() { datatable::addRows(QFINDTESTDATA("../data/colormatch/lab.txt")); }

    void toLab()
    {
        QFETCH(QStringList, fields);
        const ColorMatch::Lab lab = ColorMatch::toLab(fields[0].toUInt(nullptr, 16));
        const ColorMatch::Lab expected = labOf(fields[1]);
        const QString text = QStringLiteral("%1 %2 %3").arg(lab.L, 0, 'f', 5).arg(lab.a, 0, 'f', 5).arg(lab.b, 0, 'f', 5);
        QVERIFY2(qAbs(lab.L - expected.L) < 6e-5 && qAbs(lab.a - expected.a) < 6e-5 && qAbs(lab.b - expected.b) < 6e-5,
                 qPrintable(text));
    }

    void ciede2000_data() { datatable::addRows(QFINDTESTDATA("../data/colormatch/ciede2000.txt")); }

    void ciede2000()
    {
        QFETCH(QStringList, fields);
        const ColorMatch::Lab first = labOf(fields[0]), second = labOf(fields[1]);
        // The published values are rounded to four decimals; the formula is symmetric.
        for (double difference : {ColorMatch::ciede2000(first, second), ColorMatch::ciede2000(second, first)})
            QVERIFY2(qAbs(difference - fields[2].toDouble()) <= 0.00005 + 1e-9, qPrintable(QString::number(difference, 'f', 6)));
    }

    void rgbDistance_data() { datatable::addRows(QFINDTESTDATA("../data/colormatch/rgbdistance.txt")); }

    void rgbDistance()
    {
        QFETCH(QStringList, fields);
        const QRgb paletteColor = fields[0].toUInt(nullptr, 16), color = fields[1].toUInt(nullptr, 16);
        const int squared = fields[2].toInt();
        QCOMPARE(ColorMatch::rgbDistanceSquared(paletteColor, color), squared);
        QCOMPARE(ColorMatch::rgbDistanceSquared(color, paletteColor), squared);
        QCOMPARE(ColorMatch::rgbDistance(paletteColor, color), std::sqrt(double(squared)));
    }

    void nearest_data() { datatable::addRows(QFINDTESTDATA("../data/colormatch/nearest.txt")); }

    void nearest()
    {
        QFETCH(QStringList, fields);
        Palette::Colors palette;
        for (const QStringList& row : datatable::rows(QFINDTESTDATA("../data/colormatch/palettes.txt")))
            if (row[0] == fields[0])
                palette = paletteOf(row[1]);
        const QRgb color = fields[1].toUInt(nullptr, 16);
        QCOMPARE(ColorMatch::nearest(ColorMatch::Ciede2000, palette, color), fields[2].toInt());
        QCOMPARE(ColorMatch::nearest(ColorMatch::Rgb, palette, color), fields[3].toInt());
    }

    void fastMatchEqualsPlainScan_data() { datatable::addRows(QFINDTESTDATA("../data/colormatch/palettes.txt")); }

    void fastMatchEqualsPlainScan()
    {
        QFETCH(QStringList, fields);
        const Palette::Colors palette = paletteOf(fields[0]);
        const QVector<QRgb> colors = sample(palette, 50000);
        const int count = colors.size();
        const ColorMatch::PaletteLab paletteLab = ColorMatch::toLab(palette);
        const ColorMatch::Ciede2000Matcher matcher(palette);
        std::vector<quint8> rgb(count), ciede2000(count);
        std::vector<double> distances(size_t(count) * Palette::size);
        std::unique_ptr<bool[]> nearJump(new bool[size_t(count)]);
        // With the AVX2 code (where the processor has it) and without.
        for (bool avx2 : {true, false}) {
            ColorMatch::Ciede2000Matcher::allowAvx2(avx2);
            DitherLut::match(DitherLut::Rgb, palette, colors.constData(), rgb.data(), count);
            DitherLut::match(DitherLut::Ciede2000, palette, colors.constData(), ciede2000.data(), count);
            matcher.approximate(colors.constData(), count, distances.data(), nearJump.get());
            int jumps = 0;
            for (int i = 0; i < count; ++i) {
                // The approximate differences stay far within the margin
                // wherever the colour is not sent to the exact scan.
                const ColorMatch::Lab lab = ColorMatch::toLab(colors[i]);
                double error = 0;
                for (int k = 0; !nearJump[i] && k < Palette::size; ++k)
                    error = std::max(error, qAbs(distances[size_t(i) * Palette::size + k] - ColorMatch::ciede2000(lab, paletteLab[k])));
                jumps += nearJump[i];
                if (rgb[i] != ColorMatch::nearestRgb(palette, colors[i]) || ciede2000[i] != ColorMatch::nearestLab(paletteLab, lab)
                    || error >= ColorMatch::Ciede2000Matcher::margin * 1e-3)
                    QFAIL(qPrintable(QStringLiteral("colour %1, AVX2 %2: entries %3 and %4, error %5")
                                         .arg(colors[i], 6, 16).arg(avx2).arg(rgb[i]).arg(ciede2000[i]).arg(error)));
            }
            // Which is rarely.
            QVERIFY2(jumps < count / 100, qPrintable(QString::number(jumps)));
            // Palette colours lie at distance 0 from an entry: the exact scan decides.
            quint8 indices[Palette::size];
            QCOMPARE(matcher.match(palette.data(), indices, Palette::size), Palette::size);
        }
    }
};

QTEST_GUILESS_MAIN(ColorMatchTest)
#include "tst_colormatch.moc"
