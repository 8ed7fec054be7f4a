// "char.rom": the first 4096 bytes of the file, zeros where it is shorter.
// Canonical for files of 4096 bytes; any other file reads as the ROM of its
// first 4096 bytes, and a ROM written reads as itself.
#include "fuzzcheck.h"
#include "model/charrom.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray file = fuzz::bytes(data, size);
    const QByteArray rom = CharRom::loadFile(fuzz::scratchFile("char.rom", file));
    fuzz::require(rom.size() == CharRom::size, "a ROM has 4096 bytes");
    fuzz::require(rom == file.left(CharRom::size).leftJustified(CharRom::size, '\0'),
                  "a ROM holds the file's first bytes, zeros after them");
    fuzz::require(CharRom::loadFile(fuzz::scratchFile("written.rom", rom)) == rom, "a ROM written reads as itself");
    return 0;
}
