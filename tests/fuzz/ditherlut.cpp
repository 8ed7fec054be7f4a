// The colour tables of "dither.lut". The palette asked for is the one the
// input names, so that inputs get past the palette to the blocks. Loading
// needs whole tables of 16,777,216 entries, which small inputs cannot
// inflate to: they exercise the header, the bounds of the blocks, the
// inflation and its refusals. The file is not canonical (any deflate stream,
// bytes after the second block): tables read must hold palette indexes only,
// write a file that reads as the same tables, and write again the very same
// bytes. A refused file leaves no tables.
#include "convert/ditherlut.h"
#include "fuzzcheck.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {
bool sameTables(const DitherLut& one, const DitherLut& other)
{
    for (DitherLut::ColorSpace space : {DitherLut::Rgb, DitherLut::Ciede2000}) {
        if (std::memcmp(one.table(space), other.table(space), DitherLut::tableSize) != 0)
            return false;
    }
    return one.palette() == other.palette();
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The palette follows three 32-bit header values.
    Palette::Colors palette = Palette::defaults();
    for (size_t i = 0; i < palette.size() && 16 + 4 * i <= size; ++i)
        palette[i] = qFromLittleEndian<quint32>(data + 12 + 4 * i) | 0xFF000000;

    DitherLut tables;
    if (!tables.load(fuzz::scratchFile("dither.lut", fuzz::bytes(data, size)), palette)) {
        fuzz::require(!tables.isValid(), "a refused file leaves no tables");
        return 0;
    }
    for (DitherLut::ColorSpace space : {DitherLut::Rgb, DitherLut::Ciede2000}) {
        const quint8* entries = tables.table(space);
        fuzz::require(std::all_of(entries, entries + DitherLut::tableSize, [](quint8 index) { return index < Palette::size; }),
                      "every entry is a palette index");
    }
    const QString written = fuzz::scratchPath("written.lut");
    fuzz::require(tables.save(written), "tables read are written");
    DitherLut again;
    fuzz::require(again.load(written, palette) && sameTables(tables, again), "written tables read as the same tables");
    const QString rewritten = fuzz::scratchPath("rewritten.lut");
    fuzz::require(again.save(rewritten) && fuzz::fileBytes(rewritten) == fuzz::fileBytes(written),
                  "tables read again write the same bytes");
    return 0;
}
