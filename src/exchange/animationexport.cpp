#include "exchange/animationexport.h"

#include "exchange/textformat.h"

QList<ExportSection> AnimationExport::sections(const QString& setName, const Animation& animation, int animationIndex,
                                               int frame, QSize positionScale)
{
    QList<ExportSection> sections;
    const QString prefix = QStringLiteral("%1_anim_%2").arg(TextFormat::labelName(setName)).arg(animationIndex);
    const auto byte = [](int value) { return QByteArray(1, char(value & 0xFF)); };

    QList<int> frames;
    if (frame >= 0) {
        frames.append(frame);
    } else {
        for (int f = 0; f < animation.frames.size(); ++f)
            frames.append(f);
    }

    sections.append({QString(), prefix + QStringLiteral("_numFrames"), byte(frames.size())});
    for (int f : frames) {
        const AnimationFrame& current = animation.frames.at(f);
        const QString framePrefix = QStringLiteral("%1_frame_%2").arg(prefix).arg(f);

        // Layers in the order they first occur among the placed images.
        QList<int> layers;
        for (const PlacedImage& placed : current.placedImages) {
            if (!layers.contains(placed.layer))
                layers.append(placed.layer);
        }
        sections.append({QString(), framePrefix + QStringLiteral("_nlayers"), byte(layers.size())});

        const auto layerLabel = [&framePrefix](int layer, const char* suffix) {
            return QStringLiteral("%1_layer_%2%3").arg(framePrefix).arg(layer + 1).arg(QLatin1String(suffix));
        };
        for (int layer : layers) {
            sections.append({QString(), layerLabel(layer, "_offset"),
                             byte(current.offsetX[size_t(layer)]) + byte(current.offsetY[size_t(layer)])});
        }
        for (int layer : layers) {
            QByteArray images;
            int count = 0;
            for (const PlacedImage& placed : current.placedImages) {
                if (placed.layer != layer)
                    continue;
                ++count;
                // In 64 bits: a position read from a file may be any int.
                images += byte(int(qint64(placed.x) * positionScale.width() & 0xFF));
                images += byte(int(qint64(placed.y) * positionScale.height() & 0xFF));
                images += byte(placed.index);
            }
            sections.append({QString(), layerLabel(layer, "_numImages"), byte(count)});
            sections.append({QString(), layerLabel(layer, "_x_y_index"), images});
        }
    }
    return sections;
}

QString AnimationExport::text(const QString& setName, const Animation& animation, int animationIndex, int frame,
                              QSize positionScale, const ExportDataOptions& options)
{
    return TextFormat(options).text(AnimationExport::sections(setName, animation, animationIndex, frame, positionScale));
}
