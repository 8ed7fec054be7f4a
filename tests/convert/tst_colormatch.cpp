// Colour matching for the import: sRGB to L*a*b*, the CIEDE2000 difference on
// its published test pairs, the weighted RGB distance and the nearest palette
// entry on the tables of tests/data/colormatch; the fast matcher of the
// lookup tables against the plain scan.

#include "convert/ciede2000matcher.h"
#include "convert/colormatch.h"
#include "convert/ditherlut.h"
#include "support/core/datatable.h"

#include <memory>
#include <random>

using Matcher = ColorMatch::Ciede2000Matcher;

namespace {
// Numbers parted by spaces: colours in hexadecimal, the rest decimal.
QRgb color(const QString& text, int at = 0)
{
    return text.section(' ', at, at).toUInt(nullptr, 16);
}
ColorMatch::Lab lab(const QString& text)
{
    return {text.section(' ', 0, 0).toDouble(), text.section(' ', 1, 1).toDouble(), text.section(' ', 2, 2).toDouble()};
}
Palette::Colors palette(const QString& name)
{
    Palette::Colors colors {};
    for (const QStringList& row : datatable::rows("colormatch/palettes.txt"))
        for (int i = 0; row[0] == name && i < Palette::size; ++i)
            colors[i] = color(row[1], i);
    return colors;
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
    void cleanup() { Matcher::allowAvx2(true); }

    void formulas_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("fields");
        for (const char* table : {"lab", "ciede2000", "rgbdistance", "nearest"})
            for (const QStringList& row : datatable::rows(QString("colormatch/%1.txt").arg(table)))
                QTest::addRow("%s: %s", table, qPrintable(row[0])) << QString(table) << QStringList(row.mid(1));
    }

    void formulas()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, fields);
        if (table == "lab") {
            // Worked out to four decimals.
            const ColorMatch::Lab shown = ColorMatch::toLab(color(fields[0])), expected = lab(fields[1]);
            QVERIFY2(qAbs(shown.L - expected.L) < 6e-5 && qAbs(shown.a - expected.a) < 6e-5
                         && qAbs(shown.b - expected.b) < 6e-5,
                     qPrintable(QStringLiteral("%1 %2 %3").arg(shown.L).arg(shown.a).arg(shown.b)));
        } else if (table == "ciede2000") {
            // Published to four decimals; the formula is symmetric.
            for (double difference : {ColorMatch::ciede2000(lab(fields[0]), lab(fields[1])),
                                      ColorMatch::ciede2000(lab(fields[1]), lab(fields[0]))})
                QVERIFY2(qAbs(difference - fields[2].toDouble()) <= 0.00005 + 1e-9, qPrintable(QString::number(difference)));
        } else if (table == "rgbdistance") {
            const int squared = fields[2].toInt();
            QCOMPARE(ColorMatch::rgbDistanceSquared(color(fields[0]), color(fields[1])), squared);
            QCOMPARE(ColorMatch::rgbDistanceSquared(color(fields[1]), color(fields[0])), squared);
            QCOMPARE(ColorMatch::rgbDistance(color(fields[0]), color(fields[1])), std::sqrt(double(squared)));
        } else {
            QCOMPARE(ColorMatch::nearest(ColorMatch::Ciede2000, palette(fields[0]), color(fields[1])), fields[2].toInt());
            QCOMPARE(ColorMatch::nearest(ColorMatch::Rgb, palette(fields[0]), color(fields[1])), fields[3].toInt());
        }
    }

    void fastMatchEqualsPlainScan_data() { datatable::addRows("colormatch/palettes.txt"); }

    void fastMatchEqualsPlainScan()
    {
        const Palette::Colors palette = ::palette(QTest::currentDataTag());
        const QVector<QRgb> colors = sample(palette, 50000);
        const int count = colors.size();
        const ColorMatch::PaletteLab paletteLab = ColorMatch::toLab(palette);
        const Matcher matcher(palette);
        std::vector<quint8> rgb(count), ciede2000(count);
        std::vector<double> distances(size_t(count) * Palette::size);
        std::unique_ptr<bool[]> nearJump(new bool[size_t(count)]);
        // With the AVX2 code (where the processor has it) and without.
        for (bool avx2 : {true, false}) {
            Matcher::allowAvx2(avx2);
            DitherLut::match(DitherLut::Rgb, palette, colors.constData(), rgb.data(), count);
            DitherLut::match(DitherLut::Ciede2000, palette, colors.constData(), ciede2000.data(), count);
            matcher.approximate(colors.constData(), count, distances.data(), nearJump.get());
            int jumps = 0;
            for (int i = 0; i < count; ++i) {
                // The approximate differences stay far within the margin
                // wherever the colour is not sent to the exact scan.
                const ColorMatch::Lab lab = ColorMatch::toLab(colors[i]);
                const double* approximate = &distances[size_t(i) * Palette::size];
                double error = 0;
                for (int k = 0; !nearJump[i] && k < Palette::size; ++k)
                    error = qMax(error, qAbs(approximate[k] - ColorMatch::ciede2000(lab, paletteLab[k])));
                jumps += nearJump[i];
                if (rgb[i] != ColorMatch::nearestRgb(palette, colors[i])
                    || ciede2000[i] != ColorMatch::nearestLab(paletteLab, lab) || error >= Matcher::margin * 1e-3)
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
