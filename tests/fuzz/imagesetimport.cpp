// Image-set text import as the editor does it: byte 0 picks the kind of set
// and its mode, byte 1 the first target slot and byte 2 how many follow; the
// rest is the text. Whatever the text holds, the set keeps palette numbers
// (0-15) as colours and slots of its list only, the slot list read names
// slots of the list, and the set then saves and loads as itself and exports.
#include "exchange/imagesetexchange.h"
#include "fuzzcheck.h"

#include <algorithm>

namespace {
bool isColor(int color)
{
    return color >= 0 && color < 16;
}

template<typename Keys>
bool allSlots(const Keys& keys, int slotCount)
{
    return std::all_of(keys.cbegin(), keys.cend(), [slotCount](int slot) { return slot >= 0 && slot < slotCount; });
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const ItemKind kind = allItemKinds[data[0] % 3];
    Imageset set = *Project().makeItem(kind).staticCast<Imageset>();
    set.mode = Imageset::Mode(data[0] / 3 % 3);
    if (set.mode == Imageset::ECM && kind != ItemKind::Charset)
        set.mode = Imageset::SCM;
    const int slotCount = set.selectorGridWidth * set.selectorGridHeight;
    QList<int> targets;
    for (int i = 0; i <= data[2]; ++i)
        targets.append((data[1] + i) % slotCount);
    if (!ImagesetExchange::importTargetsAllowed(set, targets))
        return 0;

    const ImagesetImport import = ImagesetExchange::parseImport(QString::fromUtf8(fuzz::bytes(data + 3, size - 3)));
    const QList<int> selection = ImagesetExchange::applyImport(set, targets, import);
    fuzz::require(std::all_of(set.colors.cbegin(), set.colors.cend(), isColor), "set colours are palette numbers");
    fuzz::require(std::all_of(set.imageColors.cbegin(), set.imageColors.cend(), isColor),
                  "image colours are palette numbers");
    fuzz::require(std::all_of(set.blockColors.cbegin(), set.blockColors.cend(),
                              [](const BlockColors& block) { return isColor(block.c0) && isColor(block.c1) && isColor(block.c2); }),
                  "block colours are palette numbers");
    fuzz::require(allSlots(set.images.keys(), slotCount) && allSlots(set.imageColors.keys(), slotCount)
                      && allSlots(set.blockColors.keys(), slotCount) && allSlots(set.multiColorSprites, slotCount)
                      && allSlots(selection, slotCount),
                  "imports name slots of the list only");
    fuzz::require(set.hasKindShape(), "imported images have the set's shape");

    RecordWriter out;
    set.save(out);
    RecordReader in(out.bytes());
    Imageset again;
    fuzz::require(again.load(in) && in.atEnd() && again == set, "the set saves and loads as itself");

    ExportDataOptions options;
    options.includeColors = options.includeSelection = options.includeComments = options.compressRLE = true;
    ImagesetExchange::text(set, targets, options);
    return 0;
}
