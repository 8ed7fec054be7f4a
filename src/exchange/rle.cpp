#include "exchange/rle.h"

#include <QVector>

namespace {
struct Code {
    quint32 maxRun;
    quint32 marker;
};
constexpr Code byteCode {127, 0x80};
constexpr Code wordCode {32767, 0x8000};

QVector<quint32> encodeRuns(const QVector<quint32>& values, const Code& code)
{
    QVector<quint32> out;
    if (values.isEmpty())
        return out;
    quint32 value = values.first();
    quint32 count = 1;
    const auto emitRun = [&] {
        if (count == 1 && value < code.marker) {
            out.append(value | code.marker);
        } else {
            out.append(count);
            out.append(value);
        }
    };
    for (int i = 1; i < values.size(); ++i) {
        if (values.at(i) == value && count < code.maxRun) {
            ++count;
        } else {
            emitRun();
            value = values.at(i);
            count = 1;
        }
    }
    emitRun();
    return out;
}

QVector<quint32> decodeRuns(const QVector<quint32>& symbols, const Code& code, bool* ok)
{
    QVector<quint32> out;
    bool complete = true;
    for (int i = 0; i < symbols.size(); ++i) {
        const quint32 symbol = symbols.at(i);
        if (symbol & code.marker) {
            out.append(symbol & ~code.marker);
        } else if (i + 1 < symbols.size()) {
            out.insert(out.size(), int(symbol), symbols.at(++i));
        } else {
            complete = false;
        }
    }
    if (ok)
        *ok = complete;
    return out;
}

QVector<quint32> bytesToValues(const QByteArray& bytes)
{
    QVector<quint32> values;
    values.reserve(bytes.size());
    for (char byte : bytes)
        values.append(quint8(byte));
    return values;
}

QByteArray valuesToBytes(const QVector<quint32>& values)
{
    QByteArray bytes;
    bytes.reserve(values.size());
    for (quint32 value : values)
        bytes.append(char(value));
    return bytes;
}

QVector<quint32> bytesToWords(const QByteArray& bytes)
{
    QVector<quint32> words;
    words.reserve((bytes.size() + 1) / 2);
    for (int i = 0; i < bytes.size(); i += 2) {
        const quint32 low = quint8(bytes.at(i));
        const quint32 high = i + 1 < bytes.size() ? quint8(bytes.at(i + 1)) : 0;
        words.append(low | (high << 8));
    }
    return words;
}

QByteArray wordsToBytes(const QVector<quint32>& words)
{
    QByteArray bytes;
    bytes.reserve(words.size() * 2);
    for (quint32 word : words) {
        bytes.append(char(word & 0xFF));
        bytes.append(char((word >> 8) & 0xFF));
    }
    return bytes;
}
}

QByteArray Rle::encode8(const QByteArray& bytes)
{
    return valuesToBytes(encodeRuns(bytesToValues(bytes), byteCode));
}

QByteArray Rle::encode16(const QByteArray& bytes)
{
    return wordsToBytes(encodeRuns(bytesToWords(bytes), wordCode));
}

QByteArray Rle::decode8(const QByteArray& code, bool* ok)
{
    return valuesToBytes(decodeRuns(bytesToValues(code), byteCode, ok));
}

QByteArray Rle::decode16(const QByteArray& code, bool* ok)
{
    const bool wholeWords = code.size() % 2 == 0;
    const QByteArray bytes = wordsToBytes(decodeRuns(bytesToWords(code), wordCode, ok));
    if (ok)
        *ok = *ok && wholeWords;
    return bytes;
}
