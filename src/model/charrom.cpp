#include "model/charrom.h"

#include <QFile>

namespace {
QByteArray programRom(CharRom::size, '\0');
}

QByteArray CharRom::loadFile(const QString& path)
{
    QByteArray rom(size, '\0');
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray stored = file.read(size);
        rom.replace(0, stored.size(), stored);
    }
    return rom;
}

const QByteArray& CharRom::current()
{
    return programRom;
}

void CharRom::setCurrent(const QByteArray& rom)
{
    programRom = rom.leftJustified(size, '\0', true);
}

QByteArray CharRom::character(int set, int character)
{
    const int offset = (set & 1) * setSize + (character & 255) * charBytes;
    return programRom.mid(offset, charBytes);
}
