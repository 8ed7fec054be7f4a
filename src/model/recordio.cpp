#include "model/recordio.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cmath>
#include <cstring>

RecordReader::RecordReader(const QByteArray& data)
    : data(data)
{
}

bool RecordReader::take(qint64 count)
{
    if (failed || count < 0 || count > data.size() - position) {
        failed = true;
        return false;
    }
    return true;
}

qint32 RecordReader::readInt()
{
    if (!take(4))
        return 0;
    const qint32 value = qFromLittleEndian<qint32>(data.constData() + position);
    position += 4;
    return value;
}

quint8 RecordReader::readByte()
{
    if (!take(1))
        return 0;
    return quint8(data.at(int(position++)));
}

double RecordReader::readDouble()
{
    if (!take(8))
        return 0.0;
    const quint64 bits = qFromLittleEndian<quint64>(data.constData() + position);
    position += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray RecordReader::readBytes(qint64 count)
{
    if (!take(count))
        return {};
    const QByteArray bytes = data.mid(int(position), int(count));
    position += count;
    return bytes;
}

QString RecordReader::readString()
{
    const qint32 count = readInt();
    if (count <= 0)
        return {};
    QByteArray bytes = readBytes(count);
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    return QString::fromUtf8(bytes);
}

FileVersion RecordReader::readVersion()
{
    FileVersion version;
    version.major = readInt();
    version.minor = readInt();
    version.patch = readInt();
    return version;
}

int RecordReader::readCount(qint64 minEntryBytes)
{
    const qint32 count = readInt();
    if (count <= 0)
        return 0;
    if (qint64(count) * minEntryBytes > remaining()) {
        failed = true;
        return 0;
    }
    return count;
}

double RecordReader::readFiniteDouble(double fallback)
{
    const double value = readDouble();
    return std::isfinite(value) ? value : fallback;
}

qint32 RecordReader::readIntInRange(qint32 low, qint32 high)
{
    const qint32 value = readInt();
    if (value < low || value > high) {
        failed = true;
        return low;
    }
    return value;
}

void RecordReader::claimUnfilledStorage(qint64 bytes)
{
    unfilledAllowance -= bytes;
    if (unfilledAllowance < 0)
        failed = true;
}

void RecordWriter::writeInt(qint32 value)
{
    char buffer[4];
    qToLittleEndian<qint32>(value, buffer);
    data.append(buffer, 4);
}

void RecordWriter::writeByte(quint8 value)
{
    data.append(char(value));
}

void RecordWriter::writeDouble(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    char buffer[8];
    qToLittleEndian<quint64>(bits, buffer);
    data.append(buffer, 8);
}

void RecordWriter::writeString(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    writeInt(utf8.size());
    data.append(utf8);
}

void RecordWriter::writeVersion(const FileVersion& version)
{
    writeInt(version.major);
    writeInt(version.minor);
    writeInt(version.patch);
}

bool Files::writeSafely(const QString& path, const QByteArray& bytes)
{
    return Files::writeSafely(path, [&bytes] { return bytes; });
}

bool Files::writeSafely(const QString& path, const std::function<QByteArray()>& produceBytes)
{
    // Only a regular file is replaced through a temporary one: a device or
    // a pipe is written as it is, and a directory is never written.
    const QFileInfo target(path);
    if (target.isDir())
        return false;
    if (target.exists() && !target.isFile()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly))
            return false;
        const QByteArray bytes = produceBytes();
        return device.write(bytes) == bytes.size() && device.flush();
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = produceBytes();
    // Small writes only fill the buffer; flush here so that a failure to write
    // them (disk full, file size limit) cancels the save. QSaveFile::commit()
    // does not notice an error of its own final flush and would replace the
    // previous file with a truncated one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool Files::readWhole(const QString& path, QByteArray& bytes)
{
    // A device or a pipe may never end (/dev/zero): only regular files.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}
