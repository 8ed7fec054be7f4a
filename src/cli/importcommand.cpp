#include "cli/importcommand.h"

#include "convert/colormatch.h"
#include "convert/ditherlut.h"
#include "exchange/imagesetexchange.h"

#include <QHash>

using PictureConversion::Range;

namespace {

// "0-63,100": numbers and ranges, in the order given.
QList<int> slotList(const QString& text)
{
    QList<int> numbers;
    for (const QString& piece : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = piece.trimmed().split(QLatin1Char('-'));
        bool okFirst = false, okLast = false;
        const int first = ends.value(0).toInt(&okFirst);
        const int last = ends.size() == 2 ? ends.value(1).toInt(&okLast) : first;
        if (!okFirst || (ends.size() == 2 && !okLast) || ends.size() > 2 || first < 0 || last < first || last > 65535)
            throw Failure(BadUsage, QStringLiteral("--slots: '%1' is not a slot or a range of slots (0-65535)").arg(piece));
        for (int slot = first; slot <= last; ++slot)
            numbers.append(slot);
    }
    if (numbers.isEmpty())
        throw Failure(BadUsage, QStringLiteral("--slots names no slot"));
    return numbers;
}

// A colour option: "auto" leaves the range as it is, a number fixes it.
void colorOption(const Request& request, const QString& name, Range& range)
{
    const QString value = request.values.value(name, QStringLiteral("auto"));
    if (value == QLatin1String("auto"))
        return;
    bool ok = false;
    const int color = value.toInt(&ok);
    if (!ok || color < range.first || color > range.last)
        throw Failure(BadUsage,
                      QStringLiteral("--%1 takes auto or a colour from %2 to %3").arg(name).arg(range.first).arg(range.last));
    range = Range::single(color);
}

// The default slots: every character (the 64 patterns in ECM), or the
// image list's grid of a sprite or block set.
QList<int> allTargets(const Imageset& set)
{
    const int count = set.type == Imageset::Charset ? (set.isEcm() ? 64 : 256)
                                                    : set.selectorGridWidth * set.selectorGridHeight;
    QList<int> numbers;
    for (int slot = 0; slot < count; ++slot)
        numbers.append(slot);
    return numbers;
}

PicturePreparation::Nearest nearestIn(ColorMatch::Space space)
{
    if (space == ColorMatch::Ciede2000) {
        // The program's tables, made once and kept in "dither.lut".
        static DitherLut tables;
        if (!tables.isValid())
            tables.loadOrBuild(QStringLiteral("dither.lut"), Palette::current());
        const quint8* table = tables.table(DitherLut::Ciede2000);
        return [table](QRgb color) { return int(table[color & 0xFFFFFF]); };
    }
    return [](QRgb color) { return ColorMatch::nearestRgb(Palette::current(), color); };
}

}

ImportCommand::Plan ImportCommand::plan(const Request& request, const Imageset& set)
{
    Plan plan;
    plan.targets = request.has(QStringLiteral("slots")) ? slotList(request.value(QStringLiteral("slots"))) : allTargets(set);
    if (!ImagesetExchange::importTargetsAllowed(set, plan.targets))
        throw Failure(BadInput, QStringLiteral("In ECM mode you can select only the first 64 characters!"));

    plan.setup = PictureConversion::Setup::forSet(set, request.has(QStringLiteral("multicolor-sprites")));
    colorOption(request, QStringLiteral("background"), plan.setup.background);
    colorOption(request, QStringLiteral("multi1"), plan.setup.multi1);
    colorOption(request, QStringLiteral("multi2"), plan.setup.multi2);
    colorOption(request, QStringLiteral("background3"), plan.setup.background3);
    colorOption(request, QStringLiteral("foreground"), plan.setup.foreground);

    PicturePreparation::Settings& settings = plan.settings;
    settings.brightness = request.number(QStringLiteral("brightness"), settings.brightness, -1000, 1000);
    settings.contrast = request.number(QStringLiteral("contrast"), settings.contrast, 0, 1000);
    settings.gamma = request.number(QStringLiteral("gamma"), settings.gamma, 1, 1000);
    settings.saturation = request.number(QStringLiteral("saturation"), settings.saturation, -100, 100);
    const QString space = request.values.value(QStringLiteral("color-space"), QStringLiteral("rgb"));
    if (space != QLatin1String("rgb") && space != QLatin1String("ciede2000"))
        throw Failure(BadUsage, QStringLiteral("--color-space takes rgb or ciede2000"));
    settings.colorSpace = space == QLatin1String("rgb") ? ColorMatch::Rgb : ColorMatch::Ciede2000;
    const QString dither = request.values.value(QStringLiteral("dither"), QStringLiteral("none"));
    if (dither != QLatin1String("none") && dither != QLatin1String("floyd-steinberg"))
        throw Failure(BadUsage, QStringLiteral("--dither takes none or floyd-steinberg"));
    settings.ditherMethod = dither == QLatin1String("none") ? PicturePreparation::NoDithering
                                                            : PicturePreparation::FloydSteinberg;
    return plan;
}

QByteArray ImportCommand::run(Imageset& set, const Plan& plan, const QImage& picture, const QString& pictureName)
{
    const QImage fitted = PicturePreparation::fitToTargets(picture, plan.setup.cellSize(), plan.targets.size());
    if (fitted.isNull())
        throw Failure(BadInput, QStringLiteral("%1: the picture cannot be fitted into %2 slot(s)")
                                    .arg(pictureName)
                                    .arg(plan.targets.size()));
    const bool wide = plan.setup.widePixels();
    const QImage adjusted = PicturePreparation::adjust(fitted, plan.settings, wide);
    const QImage reduced =
        PicturePreparation::reduce(adjusted, PicturePreparation::Method(plan.settings.ditherMethod), wide,
                                   Palette::current(), nearestIn(ColorMatch::Space(plan.settings.colorSpace)));
    const PictureConversion::Result result = PictureConversion::convert(reduced, plan.setup, Palette::current());
    const QList<int> written = PictureConversion::write(set, plan.setup, result, plan.targets);

    QStringList numbers;
    for (int slot : written)
        numbers.append(QString::number(slot));
    return QStringLiteral("{\"cells\": %1, \"slots\": [%2], \"colors\": [%3, %4, %5, %6], \"error\": %7}\n")
        .arg(result.cells.size())
        .arg(numbers.join(QStringLiteral(", ")))
        .arg(set.colors[0])
        .arg(set.colors[1])
        .arg(set.colors[2])
        .arg(set.colors[3])
        .arg(QString::number(result.error, 'f', 3))
        .toUtf8();
}
