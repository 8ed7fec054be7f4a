#include "editors/imageset/slotswatches.h"

#include "model/charrom.h"
#include "model/imageset.h"
#include "model/palette.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

namespace {
// A character of the ROM's first set as the machine draws it: set bits in
// grey (colour 12) on a transparent ground, doubled to 16 x 16.
QPixmap romPicture(int character)
{
    const QByteArray rows = CharRom::character(0, character);
    QImage glyph(8, 8, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (quint8(rows.at(y)) & (0x80 >> x))
                glyph.setPixel(x, y, Palette::color(12));
        }
    }
    return QPixmap::fromImage(glyph.scaled(16, 16));
}
}

SlotSwatches::SlotSwatches(const QString& pane, const QString& romLabelName, QWidget* parent)
    : QWidget(parent)
    , romGlyph(new QLabel)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char*, const char*> names[] = {
        {"BackgndColor", "Backcolor"}, {"Multi1", "Multi1"}, {"Multi2", "Multi2"}, {"ForegndColor", "Forecolor"}};
    for (const auto& [frameName, labelName] : names) {
        auto* frame = new QFrame;
        frame->setObjectName(QStringLiteral("frame%1%2").arg(pane, QLatin1String(frameName)));
        frame->setFrameShape(QFrame::Box);
        frame->setFixedSize(16, 16);
        auto* label = new QLabel;
        label->setObjectName(QStringLiteral("lbl%1%2").arg(pane, QLatin1String(labelName)));
        // The fields keep their width whatever number they show, so that the
        // swatches after them stay in place.
        const QFontMetrics metrics = label->fontMetrics();
        label->setFixedWidth(frames.size() == 3 ? qMax(metrics.horizontalAdvance(QStringLiteral("15 (Multi)")),
                                                       metrics.horizontalAdvance(QStringLiteral("15 (Mono)")))
                                                : metrics.horizontalAdvance(QStringLiteral("15")));
        frames << frame;
        labels << label;
        layout->addWidget(frame);
        layout->addWidget(label);
    }
    romGlyph->setObjectName(romLabelName);
    romGlyph->setFixedSize(16, 16);
    layout->addWidget(romGlyph);
    layout->addStretch();
    for (int row = 0; row < frames.size(); ++row)
        showSwatch(row, -1, QString());
}

void SlotSwatches::showSwatch(int row, int colorIndex, const QString& text)
{
    // Restyling a widget is slow, and the mouse moves all the time.
    if (shownColors.value(row, -2) == colorIndex && labels[row]->text() == (colorIndex < 0 ? QStringLiteral("--") : text))
        return;
    shownColors.resize(frames.size());
    shownColors[row] = colorIndex;
    if (colorIndex < 0) {
        frames[row]->setStyleSheet(QStringLiteral("background-color: transparent"));
        labels[row]->setText(QStringLiteral("--"));
        return;
    }
    const QColor color = QColor::fromRgb(Palette::color(colorIndex));
    frames[row]->setStyleSheet(
        QStringLiteral("background-color: rgb(%1, %2, %3)").arg(color.red()).arg(color.green()).arg(color.blue()));
    labels[row]->setText(text);
}

void SlotSwatches::show(const Imageset& set, int slot)
{
    romGlyph->setVisible(set.type == Imageset::Charset);
    if (slot < 0) {
        for (int row = 0; row < frames.size(); ++row)
            showSwatch(row, -1, QString());
        romGlyph->clear();
        shownGlyph = -1;
        return;
    }
    const std::array<int, 4> colors = set.colorsFor(slot);
    for (int row = 0; row < 3; ++row)
        showSwatch(row, colors[size_t(row)], QString::number(colors[size_t(row)]));
    const int imageColor = set.imageColor(slot);
    if (set.type == Imageset::Charset && set.mode == Imageset::MCM) {
        // The colour RAM's top bit only marks the character multicolour.
        showSwatch(3, imageColor & 7, QStringLiteral("%1%2").arg(imageColor).arg(set.isMultiColorImage(slot)
                                                                                   ? QStringLiteral(" (Multi)")
                                                                                   : QStringLiteral(" (Mono)")));
    } else {
        showSwatch(3, imageColor, QString::number(imageColor));
    }
    if (set.type == Imageset::Charset && shownGlyph != (slot & 255)) {
        shownGlyph = slot & 255;
        romGlyph->setPixmap(romPicture(shownGlyph));
    }
}
