#include "convert/ditherlut.h"

#include "convert/ciede2000matcher.h"
#include "model/recordio.h"

#include <QElapsedTimer>
#include <QVector>
#include <QtConcurrent>

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <numeric>

namespace {
DitherLut programTables;

constexpr quint32 fileHeader[3] = {0, 12, 1};
constexpr int headerBytes = 12 + 4 * Palette::size; // header and palette
// Each table is computed in rows of 256 colours (one blue run), and the
// parallel loops hand out 256 rows (one red value) at a time.
constexpr int rowLength = 256;
constexpr int blockLength = 256 * rowLength;
constexpr int blockCount = DitherLut::tableSize / blockLength;
constexpr qint64 progressInterval = 250; // milliseconds

Palette::Colors withoutAlpha(const Palette::Colors& palette)
{
    Palette::Colors colors;
    for (int i = 0; i < Palette::size; ++i)
        colors[i] = palette[i] & 0xFFFFFF;
    return colors;
}

// The weighted RGB distance in integer arithmetic. Comparing the squared
// distances is the same as comparing their square roots: the roots of
// different integers below 2^26 differ by far more than their rounding.
void matchRgb(const Palette::Colors& palette, const QRgb* colors, quint8* indices, int count)
{
    constexpr int piece = 256;
    qint32 best[piece];
    qint32 index[piece];
    for (int start = 0; start < count; start += piece) {
        const int n = std::min(piece, count - start);
        const QRgb* in = colors + start;
        std::fill(best, best + n, std::numeric_limits<qint32>::max());
        std::fill(index, index + n, 0);
        for (int entry = 0; entry < Palette::size; ++entry) {
            const qint32 r1 = qRed(palette[entry]);
            const qint32 g1 = qGreen(palette[entry]);
            const qint32 b1 = qBlue(palette[entry]);
            for (int i = 0; i < n; ++i) {
                const qint32 r2 = qint32(in[i] >> 16) & 0xFF;
                const qint32 g2 = qint32(in[i] >> 8) & 0xFF;
                const qint32 b2 = qint32(in[i]) & 0xFF;
                const qint32 m = (r1 + r2) >> 1;
                const qint32 dr = r1 - r2, dg = g1 - g2, db = b1 - b2;
                // The products are never negative, so shifting truncates
                // like the division by 256.
                const qint32 distance = (((512 + m) * dr * dr) >> 8) + 4 * dg * dg + (((767 - m) * db * db) >> 8);
                // Only a strictly smaller distance replaces the best one.
                const bool closer = distance < best[i];
                best[i] = closer ? distance : best[i];
                index[i] = closer ? entry : index[i];
            }
        }
        for (int i = 0; i < n; ++i)
            indices[start + i] = quint8(index[i]);
    }
}

// The RGB entries of all colours with the given red value, the same as
// matchRgb gives: the red and blue terms of the distance depend only on the
// red value and one channel, so they are computed once per block.
void matchRgbBlock(const Palette::Colors& palette, int red, quint8* entries)
{
    qint32 redTerm[Palette::size];
    qint32 blueTerm[Palette::size][256];
    for (int entry = 0; entry < Palette::size; ++entry) {
        const qint32 r1 = qRed(palette[entry]);
        const qint32 b1 = qBlue(palette[entry]);
        const qint32 m = (r1 + red) >> 1;
        redTerm[entry] = ((512 + m) * (r1 - red) * (r1 - red)) >> 8;
        for (qint32 blue = 0; blue < 256; ++blue)
            blueTerm[entry][blue] = ((767 - m) * (b1 - blue) * (b1 - blue)) >> 8;
    }
    qint32 best[256];
    qint32 index[256];
    for (int green = 0; green < 256; ++green) {
        std::fill(best, best + 256, std::numeric_limits<qint32>::max());
        std::fill(index, index + 256, 0);
        for (int entry = 0; entry < Palette::size; ++entry) {
            const qint32 dg = qGreen(palette[entry]) - green;
            const qint32 base = redTerm[entry] + 4 * dg * dg;
            const qint32* blues = blueTerm[entry];
            for (int blue = 0; blue < 256; ++blue) {
                const qint32 distance = base + blues[blue];
                const bool closer = distance < best[blue];
                best[blue] = closer ? distance : best[blue];
                index[blue] = closer ? entry : index[blue];
            }
        }
        for (int blue = 0; blue < 256; ++blue)
            entries[green * rowLength + blue] = quint8(index[blue]);
    }
}

void fillRow(QRgb* row, int red, int green)
{
    const QRgb base = QRgb(red) << 16 | QRgb(green) << 8;
    for (int blue = 0; blue < rowLength; ++blue)
        row[blue] = base | QRgb(blue);
}

quint32 readLittleEndian(const char* bytes)
{
    const auto* b = reinterpret_cast<const uchar*>(bytes);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

void appendLittleEndian(QByteArray& bytes, quint32 value)
{
    const char b[4] = {char(value & 0xFF), char((value >> 8) & 0xFF), char((value >> 16) & 0xFF),
                       char((value >> 24) & 0xFF)};
    bytes.append(b, 4);
}

// Expands one qCompress block into a table. qCompress puts the expanded
// length in front (big-endian); a block that does not announce tableSize is
// rejected, and the stream is inflated into exactly one table's room, so a
// block that would expand further costs no more than a table.
QByteArray expandTable(const char* block, int length)
{
    if (length < 4)
        return {};
    const auto* b = reinterpret_cast<const uchar*>(block);
    const quint32 announced = quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | quint32(b[3]);
    if (announced != quint32(DitherLut::tableSize))
        return {};
    QByteArray table(DitherLut::tableSize, Qt::Uninitialized);
    z_stream stream {};
    stream.next_in = const_cast<Bytef*>(b + 4);
    stream.avail_in = uInt(length - 4);
    stream.next_out = reinterpret_cast<Bytef*>(table.data());
    stream.avail_out = uInt(table.size());
    if (inflateInit(&stream) != Z_OK)
        return {};
    const int result = inflate(&stream, Z_FINISH);
    const bool complete = result == Z_STREAM_END && stream.avail_out == 0;
    inflateEnd(&stream);
    if (!complete)
        return {};
    // Every entry must be a palette index.
    const auto* entries = reinterpret_cast<const uchar*>(table.constData());
    uchar all = 0;
    for (int i = 0; i < DitherLut::tableSize; ++i)
        all |= entries[i];
    if (all >= Palette::size)
        return {};
    return table;
}

// Well-formed tables can still be wrong (all zero, say): every palette
// colour must give its own lowest index, and a few hundred colours spread
// over the cube the entries a direct computation gives.
bool plausible(const Palette::Colors& palette, const QByteArray& ciede2000, const QByteArray& rgb)
{
    constexpr int sampleCount = 300;
    QRgb samples[sampleCount + Palette::size];
    quint32 state = 20261207;
    for (int i = 0; i < sampleCount; ++i) {
        state = state * 1664525u + 1013904223u;
        samples[i] = state >> 8;
    }
    for (int i = 0; i < Palette::size; ++i)
        samples[sampleCount + i] = palette[size_t(i)];
    const int count = sampleCount + Palette::size;
    for (const auto& [space, table] : {std::pair(DitherLut::Ciede2000, &ciede2000), std::pair(DitherLut::Rgb, &rgb)}) {
        quint8 expected[count];
        DitherLut::match(space, palette, samples, expected, count);
        for (int i = 0; i < count; ++i) {
            if (quint8(table->at(int(samples[i] & 0xFFFFFF))) != expected[i])
                return false;
        }
    }
    return true;
}
}

const quint8* DitherLut::table(ColorSpace space) const
{
    const QByteArray& bytes = tables[space == Ciede2000 ? Ciede2000 : Rgb];
    return bytes.isEmpty() ? nullptr : reinterpret_cast<const quint8*>(bytes.constData());
}

void DitherLut::build(const Palette::Colors& palette, const Progress& progress)
{
    const Palette::Colors colors = withoutAlpha(palette);
    QByteArray ciede2000(tableSize, Qt::Uninitialized);
    QByteArray rgb(tableSize, Qt::Uninitialized);
    auto* ciede2000Entries = reinterpret_cast<quint8*>(ciede2000.data());
    auto* rgbEntries = reinterpret_cast<quint8*>(rgb.data());
    QVector<int> reds(blockCount);
    std::iota(reds.begin(), reds.end(), 0);
    BuildInfo figures;
    QElapsedTimer timer;
    timer.start();

    const ColorMatch::Ciede2000Matcher matcher(colors);
    std::atomic<qint64> rechecked {0};
    std::atomic<int> blocksDone {0};
    std::atomic<qint64> lastReport {0};
    QtConcurrent::blockingMap(reds, [&](int red) {
        QRgb row[rowLength];
        qint64 again = 0;
        for (int green = 0; green < 256; ++green) {
            fillRow(row, red, green);
            again += matcher.match(row, ciede2000Entries + red * blockLength + green * rowLength, rowLength);
        }
        rechecked += again;
        ++blocksDone;
        if (progress) {
            qint64 last = lastReport.load();
            const qint64 now = timer.elapsed();
            // One thread wins each report; the others go on computing.
            if (now - last >= progressInterval && lastReport.compare_exchange_strong(last, now))
                progress(blocksDone.load() * 100 / blockCount);
        }
    });
    figures.ciede2000Seconds = timer.nsecsElapsed() / 1e9;
    figures.rechecked = rechecked.load();

    timer.restart();
    QtConcurrent::blockingMap(reds, [&](int red) { matchRgbBlock(colors, red, rgbEntries + red * blockLength); });
    figures.rgbSeconds = timer.nsecsElapsed() / 1e9;

    tables[Ciede2000] = ciede2000;
    tables[Rgb] = rgb;
    tablePalette = colors;
    info = figures;
}

bool DitherLut::load(const QString& path, const Palette::Colors& palette)
{
    QByteArray bytes;
    if (!Files::readWhole(path, bytes) || bytes.size() < headerBytes + 4)
        return false;
    const char* data = bytes.constData();
    for (int i = 0; i < 3; ++i) {
        if (readLittleEndian(data + 4 * i) != fileHeader[i])
            return false;
    }
    const Palette::Colors colors = withoutAlpha(palette);
    for (int i = 0; i < Palette::size; ++i) {
        if ((readLittleEndian(data + 12 + 4 * i) & 0xFFFFFF) != colors[i])
            return false;
    }
    // The blocks: each a length and that many bytes, within the file.
    const qint64 size = bytes.size();
    constexpr qint64 firstStart = headerBytes + 4;
    const qint64 firstLength = readLittleEndian(data + headerBytes);
    if (firstStart + firstLength + 4 > size)
        return false;
    const qint64 secondStart = firstStart + firstLength + 4;
    const qint64 secondLength = readLittleEndian(data + firstStart + firstLength);
    if (secondStart + secondLength > size)
        return false;

    // Both blocks expand at the same time.
    QFuture<QByteArray> ciede2000 =
        QtConcurrent::run([data, firstLength] { return expandTable(data + firstStart, int(firstLength)); });
    const QByteArray rgb = expandTable(data + secondStart, int(secondLength));
    const QByteArray ciede2000Table = ciede2000.result();
    if (rgb.isEmpty() || ciede2000Table.isEmpty() || !plausible(colors, ciede2000Table, rgb))
        return false;
    tables[Ciede2000] = ciede2000Table;
    tables[Rgb] = rgb;
    tablePalette = colors;
    info = BuildInfo();
    return true;
}

bool DitherLut::save(const QString& path) const
{
    if (!isValid())
        return false;
    const QByteArray ciede2000Table = tables[Ciede2000];
    QFuture<QByteArray> ciede2000 = QtConcurrent::run([ciede2000Table] { return qCompress(ciede2000Table); });
    const QByteArray rgb = qCompress(tables[Rgb]);
    const QByteArray ciede2000Block = ciede2000.result();

    QByteArray bytes;
    bytes.reserve(headerBytes + 8 + ciede2000Block.size() + rgb.size());
    for (quint32 value : fileHeader)
        appendLittleEndian(bytes, value);
    for (QRgb color : tablePalette)
        appendLittleEndian(bytes, color & 0xFFFFFF);
    appendLittleEndian(bytes, quint32(ciede2000Block.size()));
    bytes.append(ciede2000Block);
    appendLittleEndian(bytes, quint32(rgb.size()));
    bytes.append(rgb);
    return Files::writeSafely(path, bytes);
}

DitherLut::Origin DitherLut::loadOrBuild(const QString& path, const Palette::Colors& palette, const Builder& builder)
{
    if (load(path, palette))
        return Loaded;
    if (builder)
        builder(*this, palette);
    if (!isValid() || tablePalette != withoutAlpha(palette))
        build(palette);
    return save(path) ? Built : BuiltNotSaved;
}

void DitherLut::match(ColorSpace space, const Palette::Colors& palette, const QRgb* colors, quint8* indices, int count)
{
    const Palette::Colors withoutTop = withoutAlpha(palette);
    if (space == Ciede2000)
        ColorMatch::Ciede2000Matcher(withoutTop).match(colors, indices, count);
    else
        matchRgb(withoutTop, colors, indices, count);
}

const DitherLut& DitherLut::current()
{
    return programTables;
}

void DitherLut::setCurrent(DitherLut tables)
{
    programTables = std::move(tables);
}
