#pragma once

#include <QByteArray>
#include <QString>

// The machine's character generator: two sets of 256 characters of 8 bytes,
// one byte per pixel row, leftmost pixel in the most significant bit. The
// user supplies the image as "char.rom"; without it every character is blank.
namespace CharRom {
constexpr int size = 4096;
constexpr int setSize = 2048;
constexpr int charBytes = 8;

// Up to 4096 bytes from the start of the file, zero where the file is
// shorter or missing.
QByteArray loadFile(const QString& path);

const QByteArray& current();
void setCurrent(const QByteArray& rom);
// The 8 bytes of character (0-255) of set (0 or 1) of the program's ROM.
QByteArray character(int set, int character);
}
