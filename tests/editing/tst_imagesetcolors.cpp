// The colour and mode controls of the image-set editor applied to a set and
// its selected slots, for every kind and mode: every row of
// tests/data/imagesetcolors/controls.txt starts from the same set and states
// exactly what changes.

#include "editing/imagesetcolors.h"
#include "support/core/datatable.h"

namespace {

const QStringList modes {"SCM", "MCM", "ECM"};

// The colour state of a set by part: mode, set-wide colours, each block's
// colours, each slot's image colour, the multicolour sprites.
QMap<QString, QString> parts(const Imageset& set)
{
    const auto list = [](std::initializer_list<int> values) {
        QStringList texts;
        for (int value : values)
            texts << QString::number(value);
        return texts.join(',');
    };
    QMap<QString, QString> parts {{"mode", modes.value(set.mode)},
                                  {"colours", list({set.colors[0], set.colors[1], set.colors[2], set.colors[3]})}};
    for (auto it = set.blockColors.cbegin(); it != set.blockColors.cend(); ++it)
        parts.insert(QStringLiteral("block %1").arg(it.key()), list({it->c0, it->c1, it->c2}));
    for (auto it = set.imageColors.cbegin(); it != set.imageColors.cend(); ++it)
        parts.insert(QStringLiteral("slot %1").arg(it.key()), QString::number(*it));
    for (int slot : set.multiColorSprites)
        parts.insert(QStringLiteral("sprite %1").arg(slot), QStringLiteral("multicolour"));
    return parts;
}

// The parts that differ, with their values afterwards.
QString changes(const Imageset& before, const Imageset& after)
{
    const QMap<QString, QString> old = parts(before), now = parts(after);
    QStringList keys = old.keys() + now.keys(), changed;
    keys.removeDuplicates();
    for (const QString& key : keys)
        if (old.value(key) != now.value(key))
            changed << (key + ' ' + now.value(key)).trimmed();
    changed.sort();
    return changed.join(QStringLiteral("; "));
}

} // namespace

class ImagesetColorsTest : public QObject {
    Q_OBJECT

private slots:
    void controls_data() { datatable::addRows(QFINDTESTDATA("../data/imagesetcolors/controls.txt")); }

    void controls()
    {
        QFETCH(QStringList, fields);
        const auto type = Imageset::Type(QStringList {"Charset", "Spriteset", "Blockset"}.indexOf(fields[1]));
        QList<int> selected;
        for (const QString& slot : fields[3].split(' ', Qt::SkipEmptyParts))
            selected << slot.toInt();
        const int value = fields[4].toInt();
        Imageset set(3, QStringLiteral("colours"), type == Imageset::Spriteset ? 24 : 8, type == Imageset::Spriteset ? 21 : 8, type);
        set.mode = Imageset::Mode(modes.indexOf(fields[2]));
        set.colors = {6, 1, 2, 3};
        set.blockColors.insert(2, BlockColors {7, 8, 9});
        set.imageColors.insert(1, 11);
        set.multiColorSprites.insert(9);
        ImageData image(set.imageWidth, set.imageHeight);
        image.bytes.fill(char(0xA5));
        set.images.insert(1, image);
        const Imageset before = set;

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
        QCOMPARE(changes(before, set), fields.value(5));
        // The bitmaps never change.
        QCOMPARE(set.images, before.images);
    }
};

QTEST_GUILESS_MAIN(ImagesetColorsTest)
#include "tst_imagesetcolors.moc"
