#include "exchange/imagesetexchange.h"

#include "exchange/importparser.h"
#include "exchange/rle.h"
#include "exchange/textformat.h"

#include <QSet>

namespace {
constexpr int charsetSlots = 256;
constexpr int ecmPatterns = 64;

bool holdsImage(const Imageset& set, int slot)
{
    return set.images.contains(set.patternSlot(slot));
}

// Collects the sections of a set; counted sections are run-length coded when
// asked and, with comments, headed by their byte count and an empty line.
class ImagesetWriter {
public:
    ImagesetWriter(const Imageset& set, const ExportDataOptions& options)
        : format(options)
        , label(TextFormat::labelName(set.name))
    {
    }

    void counted(const QString& suffix, const QByteArray& bytes)
    {
        const ExportDataOptions& options = format.options;
        const QByteArray written = options.compressRLE ? Rle::encode8(bytes) : bytes;
        QString header;
        if (options.includeComments)
            header = format.comment(QStringLiteral(" Total bytes: %1%2")
                                        .arg(written.size())
                                        .arg(options.compressRLE ? QStringLiteral(" (RLE)") : QString()))
                + QLatin1Char('\n');
        sections.append({header, label + suffix, written});
    }

    void plain(const QString& suffix, const QByteArray& bytes) { sections.append({QString(), label + suffix, bytes}); }

    const TextFormat format;
    const QString label;
    QList<ExportSection> sections;
};
}

QList<int> ImagesetExchange::allSlots(const Imageset& set)
{
    int count = 0;
    if (set.type == Imageset::Charset)
        count = set.isEcm() ? ecmPatterns : charsetSlots;
    else if (!set.images.isEmpty())
        count = set.images.lastKey() + 1;
    QList<int> slotList;
    for (int slot = 0; slot < count; ++slot)
        slotList.append(slot);
    return slotList;
}

QList<ExportSection> ImagesetExchange::sections(const Imageset& set, const QList<int>& slotList,
                                                const ExportDataOptions& options)
{
    ImagesetWriter writer(set, options);
    const TextFormat& format = writer.format;
    const bool sprites = set.type == Imageset::Spriteset;

    if (options.compressRLE && options.includeComments) {
        QString note = format.comment(
            QStringLiteral(" RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:"));
        note += format.comment(QStringLiteral("    value | 128           if (n.repetition == 1) and (value < 128)"));
        note += format.comment(QStringLiteral("   (n.repetition, value)  otherwise"));
        writer.sections.append({note + QLatin1Char('\n'), QString(), QByteArray()});
    }

    if (options.includeData) {
        QByteArray data;
        QSet<int> written;
        for (int listed : slotList) {
            const int slot = set.patternSlot(listed);
            if (written.contains(slot))
                continue;
            written.insert(slot);
            const auto image = set.images.constFind(slot);
            if (image != set.images.cend())
                data += image->bytes.left(set.imageSize).leftJustified(set.imageSize, '\0');
            else if (options.includeEmptySlots)
                data += QByteArray(set.imageWidth * set.imageHeight / 8, '\0');
            else
                continue;
            // Sprites take 64 bytes each, so that a sprite pointer can address them.
            if (sprites)
                data += '\0';
        }
        writer.counted(QStringLiteral("_data"), data);
    }

    // The slots whose colours, multicolour flags and numbers are listed.
    QList<int> listedSlots;
    for (int slot : slotList) {
        if (options.includeEmptySlots || holdsImage(set, slot))
            listedSlots.append(slot);
    }

    if (options.includeColors) {
        if (set.type == Imageset::Blockset) {
            QByteArray screen;
            if (set.mode == Imageset::MCM) {
                writer.plain(QStringLiteral("_bckgndColor"), QByteArray(1, char(set.colors[0] & 15)));
                // Multicolour 1 and 2 of a block share one screen-memory
                // byte. Colours read from a file may be any number: a
                // palette number is its low four bits, as displayed.
                for (int slot : slotList) {
                    const std::array<int, 4> colors = set.colorsFor(slot);
                    screen += char((colors[1] & 15) << 4 | (colors[2] & 15));
                }
            } else {
                for (int slot : slotList)
                    screen += char(set.colorsFor(slot)[0] & 15);
            }
            writer.counted(QStringLiteral("_screenColors"), screen);
        } else {
            QByteArray background(1, char(set.colors[0]));
            if (set.mode != Imageset::SCM || sprites) {
                background += char(set.colors[1]);
                background += char(set.colors[2]);
            }
            if (set.isEcm())
                background += char(set.colors[3]);
            writer.plain(QStringLiteral("_bckgndColors"), background);
        }

        QByteArray colors;
        for (int slot : listedSlots) {
            // In extended background colour mode the character code's top
            // bits (the background choice) travel in the high nibble.
            colors += char(set.imageColor(slot) + (set.isEcm() ? ((slot / 64) & 3) * 16 : 0));
        }
        writer.counted(QStringLiteral("_colors"), colors);

        if (sprites) {
            QByteArray multi;
            for (int slot : listedSlots)
                multi += char(set.multiColorSprites.contains(slot) ? 1 : 0);
            writer.plain(QStringLiteral("_isMulti"), multi);
        }
    }

    if (options.includeSelection) {
        QByteArray selection;
        for (int slot : listedSlots)
            selection += TextFormat::littleEndianWord(slot);
        writer.plain(QStringLiteral("_selection"), selection);
    }
    return writer.sections;
}

QString ImagesetExchange::text(const Imageset& set, const QList<int>& slotList, const ExportDataOptions& options)
{
    return TextFormat(options).text(ImagesetExchange::sections(set, slotList, options));
}

bool ImagesetImport::changesSet() const
{
    return !data.isEmpty() || !background.isEmpty() || !colors.isEmpty() || !multiColor.isEmpty()
        || !screenColors.isEmpty();
}

ImagesetImport ImagesetExchange::parseImport(const QString& text)
{
    static const QStringList keys {QStringLiteral("_data"),      QStringLiteral("_bckgnd"),
                                   QStringLiteral("_colors"),    QStringLiteral("_selection"),
                                   QStringLiteral("_isMulti"),   QStringLiteral("_screen")};
    QVector<QList<int>> sections = ImportParser::sections(text, keys);
    for (QList<int>& section : sections) {
        for (int& value : section)
            value &= 0xFF;
    }
    ImagesetImport import;
    import.data = sections[0];
    import.background = sections[1];
    import.colors = sections[2];
    import.selection = sections[3];
    import.multiColor = sections[4];
    import.screenColors = sections[5];
    return import;
}

bool ImagesetExchange::importTargetsAllowed(const Imageset& set, const QList<int>& targets)
{
    if (!set.isEcm())
        return true;
    return std::all_of(targets.cbegin(), targets.cend(), [](int slot) { return slot < ecmPatterns; });
}

QList<int> ImagesetExchange::applyImport(Imageset& set, const QList<int>& targets, const ImagesetImport& import,
                                         bool* selectionGiven)
{
    const bool sprites = set.type == Imageset::Spriteset;

    int position = 0;
    for (int slot : targets) {
        if (position >= import.data.size())
            break;
        auto image = set.images.find(slot);
        if (image == set.images.end())
            image = set.images.insert(slot, ImageData(set.imageWidth, set.imageHeight));
        const int count = qMin(qMin(set.imageSize, image->bytes.size()), import.data.size() - position);
        for (int i = 0; i < count; ++i)
            image->bytes[i] = char(import.data.at(position + i));
        // Exported sprites carry a 64th byte that is no part of the image.
        position += count + (sprites ? 1 : 0);
    }

    // Colours are palette numbers: a byte keeps its low four bits.
    if (set.type == Imageset::Blockset) {
        if (import.background.size() == 1)
            set.colors[0] = import.background.first() & 15;
    } else {
        for (int i = 0; i < qMin(4, import.background.size()); ++i)
            set.colors[size_t(i)] = import.background.at(i) & 15;
    }

    // The high nibble of a colour value names the background of extended
    // background colour mode, that is the quarter of the character codes.
    const int passes = set.isEcm() ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        int j = 0;
        for (int value : import.colors) {
            if (value >> 4 != pass)
                continue;
            if (j >= targets.size())
                break;
            set.imageColors.insert(pass * 64 + targets.at(j++), value & 15);
        }
    }

    // Slots beyond the set's list are dropped.
    QList<int> selection;
    const int slotCount = set.selectorGridWidth * set.selectorGridHeight;
    for (int i = 0; i < targets.size() && 2 * i + 1 < import.selection.size(); ++i) {
        const int slot = import.selection.at(2 * i) + 256 * import.selection.at(2 * i + 1);
        if (slot < slotCount)
            selection.append(slot);
    }
    if (selectionGiven)
        *selectionGiven = !import.selection.isEmpty();

    for (int j = 0; j < qMin(import.multiColor.size(), targets.size()); ++j) {
        if (import.multiColor.at(j) != 0)
            set.multiColorSprites.insert(targets.at(j));
        else
            set.multiColorSprites.remove(targets.at(j));
    }

    if (set.type == Imageset::Blockset) {
        for (int j = 0; j < qMin(import.screenColors.size(), targets.size()); ++j) {
            BlockColors& block = set.ensureBlockColors(targets.at(j));
            const int value = import.screenColors.at(j);
            if (set.mode == Imageset::MCM) {
                block.c1 = value / 16;
                block.c2 = value & 15;
            } else {
                block.c0 = value & 15;
            }
        }
    }
    return selection;
}
