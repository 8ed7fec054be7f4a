#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

// Version triple that heads project files and every dataset record.
struct FileVersion {
    qint32 major = 0;
    qint32 minor = 0;
    qint32 patch = 0;

    static constexpr FileVersion current() { return {0, 12, 0}; }
    static constexpr FileVersion oldestAccepted() { return {0, 10, 0}; }

    bool isAccepted() const { return !(*this < oldestAccepted()) && !(current() < *this); }
    // Layout gates: block sets and per-kind image-set fields arrived with 0.11.0,
    // four-layer frame offsets, selector grid sizes and screen colours with 0.12.0.
    bool hasBlocksets() const { return !(*this < FileVersion{0, 11, 0}); }
    bool hasSelectorGridAndLayers() const { return !(*this < FileVersion{0, 12, 0}); }

    constexpr bool operator<(const FileVersion& other) const
    {
        if (major != other.major)
            return major < other.major;
        if (minor != other.minor)
            return minor < other.minor;
        return patch < other.patch;
    }
    constexpr bool operator==(const FileVersion& other) const
    {
        return major == other.major && minor == other.minor && patch == other.patch;
    }
};

// Reads the little-endian fields of a file held in memory. Nothing read is
// trusted: a read past the end, a count the remaining bytes cannot hold or a
// value outside its allowed range marks the reader failed, and every later
// read returns zero, so a caller checks ok() once at the end of a record.
class RecordReader {
public:
    explicit RecordReader(const QByteArray& data);

    qint32 readInt();
    quint8 readByte();
    bool readBool() { return readByte() != 0; }
    double readDouble();
    // A view setting such as a zoom: a value that is not a finite number
    // (NaN or infinite) gives the fallback.
    double readFiniteDouble(double fallback);
    // i32 byte count and UTF-8 bytes; the text ends at an embedded zero byte.
    QString readString();
    QByteArray readBytes(qint64 count);
    FileVersion readVersion();

    // An i32 count of entries that each take at least minEntryBytes in the
    // file. A count of zero or less means none; a count the rest of the file
    // cannot hold fails the reader and gives 0.
    int readCount(qint64 minEntryBytes);
    // An i32 that must lie in [low, high]; anything else fails the reader.
    qint32 readIntInRange(qint32 low, qint32 high);

    // Storage a record creates beyond the bytes that fill it (an image or
    // tile stored shorter than its size) is paid from a fixed allowance, so
    // a hostile file cannot make the reader allocate far more than its size.
    void claimUnfilledStorage(qint64 bytes);

    void fail() { failed = true; }
    bool ok() const { return !failed; }
    qint64 remaining() const { return failed ? 0 : data.size() - position; }
    bool atEnd() const { return remaining() == 0; }

private:
    bool take(qint64 count);

    QByteArray data;
    qint64 position = 0;
    bool failed = false;
    qint64 unfilledAllowance = 64 * 1024 * 1024;
};

// Collects little-endian fields; the caller writes the result to its file.
class RecordWriter {
public:
    void writeInt(qint32 value);
    void writeByte(quint8 value);
    void writeBool(bool value) { writeByte(value ? 1 : 0); }
    void writeDouble(double value);
    void writeString(const QString& text);
    void writeBytes(const QByteArray& bytes) { data.append(bytes); }
    void writeVersion(const FileVersion& version);

    const QByteArray& bytes() const { return data; }

private:
    QByteArray data;
};

namespace Files {
// Replaces the file at path with bytes through a temporary file, so that a
// failed write leaves the previous file as it was. A device or a pipe is
// written directly; a directory is refused.
bool writeSafely(const QString& path, const QByteArray& bytes);
// The same, asking for the bytes only once the file could be opened, so that
// whatever producing them changes happens only when the file can be written.
bool writeSafely(const QString& path, const std::function<QByteArray()>& produceBytes);
// The whole content of a regular file, or false when it cannot be opened or
// read, or is no regular file.
bool readWhole(const QString& path, QByteArray& bytes);
}
