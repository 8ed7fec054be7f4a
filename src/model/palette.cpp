#include "model/palette.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {
Palette::Colors programPalette = Palette::defaults();

void writeDefaultFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return; // the defaults are used all the same
    QTextStream out(&file);
    for (QRgb rgb : Palette::defaults())
        out << qRed(rgb) << ',' << qGreen(rgb) << ',' << qBlue(rgb) << '\n';
}
}

const Palette::Colors& Palette::defaults()
{
    static const Colors colors {
        qRgb(0, 0, 0),       qRgb(255, 255, 255), qRgb(140, 40, 45),   qRgb(80, 191, 184),
        qRgb(146, 42, 159),  qRgb(58, 167, 48),   qRgb(40, 37, 183),   qRgb(211, 215, 60),
        qRgb(146, 67, 22),   qRgb(90, 52, 5),     qRgb(198, 86, 92),   qRgb(67, 67, 67),
        qRgb(109, 109, 109), qRgb(126, 248, 114), qRgb(94, 91, 255),   qRgb(155, 155, 155),
    };
    return colors;
}

Palette::Colors Palette::loadFile(const QString& path)
{
    // Something other than a file (a pipe, a device) is left alone.
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile())
        return defaults();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        writeDefaultFile(path);
        return defaults();
    }

    Colors colors {};
    QTextStream in(&file);
    int filled = 0;
    while (filled < size && !in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty())
            continue;
        const QStringList parts = line.split(QLatin1Char(','));
        if (parts.size() != 3)
            break;
        const int red = parts.at(0).trimmed().toInt() & 255;
        const int green = parts.at(1).trimmed().toInt() & 255;
        const int blue = parts.at(2).trimmed().toInt() & 255;
        colors[filled++] = qRgb(red, green, blue);
    }
    return colors;
}

const Palette::Colors& Palette::current()
{
    return programPalette;
}

void Palette::setCurrent(const Colors& colors)
{
    programPalette = colors;
}

QRgb Palette::color(int index)
{
    return programPalette[index & (size - 1)];
}
