#pragma once

#include <QByteArray>

// Run-length codes for exported data. A run of n equal values is written as
// the count n followed by the value; a value that stands alone and is below
// the marker is written as one value with the marker bit set. Runs are at
// most 127 (bytes) or 32767 (words) long, so a count never has the marker
// bit; there is no end marker.
namespace Rle {
// Byte code: marker 128, runs up to 127.
QByteArray encode8(const QByteArray& bytes);
// Word code over little-endian 16-bit words (low byte first): marker 32768,
// runs up to 32767; the output words are written low byte first. An odd last
// byte is read as a word with high byte 0.
QByteArray encode16(const QByteArray& bytes);

// The inverse codes. ok is false when the code ends inside a count-value pair
// (or inside a word); what could be decoded is returned.
QByteArray decode8(const QByteArray& code, bool* ok = nullptr);
QByteArray decode16(const QByteArray& code, bool* ok = nullptr);
}
