#include "convert/picturepreparation.h"

#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

int cellsFor(int width, int height, QSize cell)
{
    return ((width + cell.width() - 1) / cell.width()) * ((height + cell.height() - 1) / cell.height());
}

QImage padToCells(const QImage& picture, QSize cell)
{
    const int width = (picture.width() + cell.width() - 1) / cell.width() * cell.width();
    const int height = (picture.height() + cell.height() - 1) / cell.height() * cell.height();
    QImage padded(width, height, QImage::Format_RGB32);
    padded.fill(Qt::black);
    QPainter painter(&padded);
    painter.drawImage(0, 0, picture);
    return padded;
}

// A channel 0-1 as a byte, truncated. The small allowance keeps a value that
// is a whole byte in exact arithmetic (200 / 255 x 255, also in single
// precision) from truncating to the byte below through rounding.
int toByte(double value)
{
    return int(std::clamp(value, 0.0, 1.0) * 255.0 + 1e-4);
}

// HSL with hue in [0, 1); greys have no hue and stay grey.
void changeSaturation(double& r, double& g, double& b, double change)
{
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    const double lightness = (high + low) / 2;
    const double spread = high - low;
    if (spread <= 0)
        return;
    double saturation = lightness <= 0.5 ? spread / (high + low) : spread / (2 - high - low);
    double hue;
    if (high == r)
        hue = (g - b) / spread + (g < b ? 6 : 0);
    else if (high == g)
        hue = (b - r) / spread + 2;
    else
        hue = (r - g) / spread + 4;
    hue /= 6;
    saturation = std::clamp(saturation + change, 0.0, 1.0);

    const double q = lightness < 0.5 ? lightness * (1 + saturation) : lightness + saturation - lightness * saturation;
    const double p = 2 * lightness - q;
    const auto channel = [p, q](double t) {
        t -= std::floor(t);
        if (t < 1.0 / 6)
            return p + (q - p) * 6 * t;
        if (t < 0.5)
            return q;
        if (t < 2.0 / 3)
            return p + (q - p) * (2.0 / 3 - t) * 6;
        return p;
    };
    r = channel(hue + 1.0 / 3);
    g = channel(hue);
    b = channel(hue - 1.0 / 3);
}

}

QImage PicturePreparation::fitToTargets(const QImage& picture, QSize cellSize, int targets)
{
    if (picture.isNull() || targets <= 0 || cellSize.isEmpty())
        return QImage();
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const double ratio = double(source.height()) / source.width();
    int width = source.width();
    int height = source.height();
    while (cellsFor(width, height, cellSize) > targets) {
        if (--width < 1)
            return QImage();
        height = std::max(1, int(std::lround(width * ratio)));
    }
    if (width == source.width())
        return padToCells(source, cellSize);
    return padToCells(source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), cellSize);
}

QRgb PicturePreparation::adjustColor(QRgb color, const Settings& settings)
{
    double channels[3] = {qRed(color) / 255.0, qGreen(color) / 255.0, qBlue(color) / 255.0};
    if (settings.saturation != 0)
        changeSaturation(channels[0], channels[1], channels[2], settings.saturation / 100.0);
    const double contrast = settings.contrast / 100.0;
    const double brightness = settings.brightness / 100.0;
    const double gamma = settings.gamma / 100.0;
    int bytes[3];
    for (int i = 0; i < 3; ++i) {
        // A negative base is black: raised to an even power it would turn
        // the darkest pixels bright.
        const double base = channels[i] * contrast + brightness;
        const double value = base <= 0 ? 0 : std::pow(base, gamma);
        bytes[i] = toByte(std::isnan(value) ? 0 : value);
    }
    return qRgb(bytes[0], bytes[1], bytes[2]);
}

QImage PicturePreparation::adjust(const QImage& source, const Settings& settings, bool widePixels)
{
    const QImage input = source.convertToFormat(QImage::Format_RGB32);
    QImage adjusted(input.size(), QImage::Format_RGB32);
    QHash<QRgb, QRgb> known;
    for (int y = 0; y < input.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(input.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(adjusted.scanLine(y));
        for (int x = 0; x < input.width(); ++x) {
            const QRgb color = in[widePixels ? x & ~1 : x] | 0xFF000000u;
            auto it = known.constFind(color);
            if (it == known.constEnd())
                it = known.insert(color, adjustColor(color, settings));
            out[x] = *it;
        }
    }
    return adjusted;
}

QImage PicturePreparation::reduce(const QImage& adjusted, Method method, bool widePixels,
                                  const Palette::Colors& palette, const Nearest& nearest)
{
    const QImage input = adjusted.convertToFormat(QImage::Format_RGB32);
    const int width = input.width();
    const int height = input.height();
    QImage output(input.size(), QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (QRgb color : palette)
        table.append(color | 0xFF000000u);
    output.setColorTable(table);
    if (input.isNull())
        return output;

    if (method != FloydSteinberg) {
        QHash<QRgb, uchar> known;
        for (int y = 0; y < height; ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(input.constScanLine(y));
            uchar* out = output.scanLine(y);
            for (int x = 0; x < width; ++x) {
                const QRgb color = in[x] & 0xFFFFFF;
                auto it = known.constFind(color);
                if (it == known.constEnd())
                    it = known.insert(color, uchar(nearest(color) & 15));
                out[x] = *it;
            }
        }
        return output;
    }

    // With wide pixels the error spreads over pixel pairs, read from the
    // left pixel of each pair.
    const bool pairs = widePixels && width >= 2;
    const int planeWidth = pairs ? width / 2 : width;
    const int step = pairs ? 2 : 1;
    std::vector<float> planes[3];
    for (auto& plane : planes)
        plane.resize(size_t(planeWidth) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(input.constScanLine(y));
        for (int x = 0; x < planeWidth; ++x) {
            const QRgb color = in[x * step];
            const size_t at = size_t(y) * planeWidth + x;
            planes[0][at] = qRed(color) / 255.0f;
            planes[1][at] = qGreen(color) / 255.0f;
            planes[2][at] = qBlue(color) / 255.0f;
        }
    }
    const auto lookUp = [&](size_t at) {
        return nearest(qRgb(toByte(planes[0][at]), toByte(planes[1][at]), toByte(planes[2][at]))) & 15;
    };
    for (int y = 1; y + 1 < height; ++y) {
        for (int x = 1; x + 1 < planeWidth; ++x) {
            const size_t at = size_t(y) * planeWidth + x;
            const QRgb chosen = palette[size_t(lookUp(at))];
            const float values[3] = {qRed(chosen) / 255.0f, qGreen(chosen) / 255.0f, qBlue(chosen) / 255.0f};
            for (int c = 0; c < 3; ++c) {
                std::vector<float>& plane = planes[c];
                const float error = plane[at] - values[c];
                plane[at] = values[c];
                plane[at + 1] += error * 7 / 16;
                plane[at + planeWidth - 1] += error * 3 / 16;
                plane[at + planeWidth] += error * 5 / 16;
                plane[at + planeWidth + 1] += error * 1 / 16;
            }
        }
    }
    for (int y = 0; y < height; ++y) {
        uchar* out = output.scanLine(y);
        for (int x = 0; x < width; ++x)
            out[x] = uchar(lookUp(size_t(y) * planeWidth + std::min(x / step, planeWidth - 1)));
    }
    return output;
}
