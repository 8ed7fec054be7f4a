// "pal.txt", lines of red,green,blue. Not canonical (blank lines, blanks,
// numbers beyond a byte, anything after the 16th colour or after a line that
// is no colour): the colours read come first and opaque, the entries not
// read stay zero, and the colours written one line each read as the same
// colours.
#include "fuzzcheck.h"
#include "model/palette.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Palette::Colors colors = Palette::loadFile(fuzz::scratchFile("pal.txt", fuzz::bytes(data, size)));
    QByteArray lines;
    int read = 0;
    for (QRgb color : colors) {
        if (qAlpha(color) == 0)
            continue;
        fuzz::require(qAlpha(color) == 255 && colors[size_t(read)] == color, "colours read are opaque and come first");
        lines += QByteArray::number(qRed(color)) + ',' + QByteArray::number(qGreen(color)) + ','
            + QByteArray::number(qBlue(color)) + '\n';
        ++read;
    }
    for (size_t i = size_t(read); i < colors.size(); ++i)
        fuzz::require(colors[i] == 0, "entries not read stay zero");
    fuzz::require(Palette::loadFile(fuzz::scratchFile("written.txt", lines)) == colors,
                  "colours written read as the same colours");
    return 0;
}
