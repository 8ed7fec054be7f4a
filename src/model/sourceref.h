#pragma once

#include <QtGlobal>

// A screen's reference to the dataset its cells come from: one kind bit above
// the dataset identifier in the low 20 bits, or -1 for none. Identifiers are
// unique only within a kind, so the kind bit is part of the key.
namespace SourceRef {
constexpr qint32 none = -1;
constexpr qint32 charsetBit = 0x100000;
constexpr qint32 blocksetBit = 0x200000;
constexpr qint32 tilesetBit = 0x400000;
constexpr qint32 idMask = 0xFFFFF;

constexpr qint32 make(qint32 kindBit, qint32 id) { return kindBit | (id & idMask); }
constexpr qint32 idOf(qint32 ref) { return ref & idMask; }
// The kind tests; -1 (none) has every bit set and is none of them.
constexpr bool isCharset(qint32 ref) { return ref != none && (ref & charsetBit); }
constexpr bool isBlockset(qint32 ref) { return ref != none && (ref & blocksetBit); }
constexpr bool isTileset(qint32 ref) { return ref != none && (ref & tilesetBit); }
}
