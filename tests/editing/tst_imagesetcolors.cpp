// The colour and mode controls of the image-set editor applied to a set and
// its selected slots, for every kind and mode: every row of
// tests/data/imagesetcolors/controls.txt starts from the same set and gives
// its colours and modes afterwards; swapping two colours
// (imagesetcolors/swap.txt).

#include "editing/imagesetcolors.h"
#include "support/core/datatable.h"

namespace {

const QStringList modes {"SCM", "MCM", "ECM"};

// Mode, set-wide colours, the colours of each block, the image colour of
// each slot, the multicolour sprites.
QString state(const Imageset& set)
{
    QStringList parts {modes.value(set.mode), QStringLiteral("colours %1,%2,%3,%4").arg(set.colors[0])
                                                  .arg(set.colors[1]).arg(set.colors[2]).arg(set.colors[3])};
    for (auto it = set.blockColors.cbegin(); it != set.blockColors.cend(); ++it)
        parts << QStringLiteral("block %1 %2,%3,%4").arg(it.key()).arg(it->c0).arg(it->c1).arg(it->c2);
    for (auto it = set.imageColors.cbegin(); it != set.imageColors.cend(); ++it)
        parts << QStringLiteral("slot %1 %2").arg(it.key()).arg(*it);
    QList<int> sprites = set.multiColorSprites.values();
    std::sort(sprites.begin(), sprites.end());
    for (int slot : sprites)
        parts << QStringLiteral("sprite %1").arg(slot);
    return parts.join(QStringLiteral("; "));
}

} // namespace

class ImagesetColorsTest : public QObject {
    Q_OBJECT

private slots:
    void controls_data() { datatable::addRows("imagesetcolors/controls.txt"); }

    void controls()
    {
        QFETCH(QStringList, fields);
        const auto type = Imageset::Type(QStringList {"Charset", "Spriteset", "Blockset"}.indexOf(fields[1]));
        QList<int> selected;
        for (const QString& slot : fields[3].split(' ', Qt::SkipEmptyParts))
            selected << slot.toInt();
        const int value = fields[4].toInt();
        const bool sprites = type == Imageset::Spriteset;
        Imageset set(3, QStringLiteral("colours"), sprites ? 24 : 8, sprites ? 21 : 8, type);
        set.mode = Imageset::Mode(modes.indexOf(fields[2]));
        set.colors = {6, 1, 2, 3};
        set.blockColors.insert(2, BlockColors {7, 8, 9});
        set.imageColors.insert(1, 11);
        set.multiColorSprites.insert(9);

        const QString control = fields[0];
        if (control == "background")
            ImagesetColors::setMultiColor00(set, selected, value);
        else if (control == "multicolour 1")
            ImagesetColors::setMultiColor01(set, selected, value);
        else if (control == "multicolour 2")
            ImagesetColors::setMultiColor10(set, selected, value);
        else if (control == "background 3")
            ImagesetColors::setBckgnd3(set, value);
        else if (control == "image colour")
            ImagesetColors::setImageColor(set, selected, value);
        else
            ImagesetColors::setMode(set, selected, Imageset::Mode(modes.indexOf(fields[4])));
        QCOMPARE(state(set), fields.value(5));
    }

    void swap_data() { datatable::addRows("imagesetcolors/swap.txt"); }

    void swap()
    {
        QFETCH(QStringList, fields);
        const auto type = Imageset::Type(QStringList {"Charset", "Spriteset", "Blockset"}.indexOf(fields[0]));
        const bool sprites = type == Imageset::Spriteset;
        Imageset set(3, QStringLiteral("swap"), sprites ? 24 : 8, sprites ? 21 : 8, type);
        set.mode = Imageset::Mode(modes.indexOf(fields[1]));
        for (int slot : {0, 1}) {
            ImageData image(set.imageWidth, set.imageHeight);
            image.bytes.fill('\x1b');
            set.images.insert(slot, image);
        }
        if (type == Imageset::Charset)
            set.imageColors = {{0, 9}, {1, 1}};
        set.multiColorSprites = {0};
        QList<int> selected;
        for (const QString& slot : fields[2].split(' ', Qt::SkipEmptyParts))
            selected << slot.toInt();
        const int first = fields[3].section(' ', 0, 0).toInt(), second = fields[3].section(' ', 1, 1).toInt();
        const QString refusal = ImagesetColors::swapRefusal(set, first, second);
        if (!refusal.isEmpty()) {
            QCOMPARE(refusal, fields[4]);
            return;
        }
        ImagesetColors::swapColors(set, selected, first, second);
        QStringList blocks, imageColors;
        for (auto it = set.blockColors.cbegin(); it != set.blockColors.cend(); ++it)
            blocks << QStringLiteral("%1:%2,%3,%4").arg(it.key()).arg(it->c0).arg(it->c1).arg(it->c2);
        for (auto it = set.imageColors.cbegin(); it != set.imageColors.cend(); ++it)
            imageColors << QStringLiteral("%1:%2").arg(it.key()).arg(*it);
        const auto listed = [](const QStringList& items) { return items.isEmpty() ? QString() : ' ' + items.join(' '); };
        QCOMPARE(QStringLiteral("colours %1,%2,%3,%4; bytes %5 %6; blocks%7; image colours%8")
                     .arg(set.colors[0]).arg(set.colors[1]).arg(set.colors[2]).arg(set.colors[3])
                     .arg(QString(set.images.value(0).bytes.left(1).toHex()), QString(set.images.value(1).bytes.left(1).toHex()),
                          listed(blocks), listed(imageColors)),
                 fields[4]);
    }
};

QTEST_GUILESS_MAIN(ImagesetColorsTest)
#include "tst_imagesetcolors.moc"
