#include "app/recoverycopy.h"

#include "model/recordio.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>

namespace {
// A copy waits for a pause in the editing, so that a burst of changes (a
// stroke, a run of clicks) gives one copy once it ends ...
constexpr int pauseMs = 2000;
// ... and copies come no closer together than this, sparing the disk while
// someone keeps working; the work at risk stays well under a minute.
constexpr qint64 spacingMs = 30000;

QString inDataFolder(const QString& fileName)
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/') + fileName;
}

QString recordFile()
{
    return inDataFolder(QStringLiteral("recovery.json"));
}
}

RecoveryCopy::RecoveryCopy(Snapshot snapshot, QObject* parent)
    : QObject(parent)
    , snapshot(std::move(snapshot))
    , lock(inDataFolder(QStringLiteral("recovery.lock")))
{
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // A lock counts as stale only when its program is gone, never by age:
    // the owner keeps it for as long as it runs.
    lock.setStaleLockTime(0);
    lock.tryLock(0);
    pause.setSingleShot(true);
    connect(&pause, &QTimer::timeout, this, &RecoveryCopy::update);
}

QString RecoveryCopy::projectFile()
{
    return inDataFolder(QStringLiteral("recovery.mzprj"));
}

void RecoveryCopy::noteChange()
{
    if (!lock.isLocked())
        return;
    changedSinceCopy = true;
    const qint64 untilSpaced = sinceLastWrite.isValid() ? spacingMs - sinceLastWrite.elapsed() : 0;
    pause.start(int(std::max<qint64>(pauseMs, untilSpaced)));
}

void RecoveryCopy::update()
{
    if (!changedSinceCopy || !lock.isLocked())
        return;
    const std::optional<Work> work = snapshot();
    if (!work) {
        remove();
        return;
    }
    const QJsonObject record {{QStringLiteral("file"), work->originalFile},
                              {QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)}};
    // The project goes last: where it exists, its record does too. A failed
    // write is tried again after the next change, spaced like any other.
    sinceLastWrite.start();
    changedSinceCopy = !Files::writeSafely(recordFile(), QJsonDocument(record).toJson())
        || !Files::writeSafely(projectFile(), work->projectBytes);
}

void RecoveryCopy::remove()
{
    pause.stop();
    changedSinceCopy = false;
    if (!lock.isLocked())
        return;
    QFile::remove(projectFile());
    QFile::remove(recordFile());
}

std::optional<RecoveryCopy::Left> RecoveryCopy::left() const
{
    if (!lock.isLocked() || !QFileInfo(projectFile()).isFile())
        return std::nullopt;
    QByteArray recordBytes;
    Files::readWhole(recordFile(), recordBytes);
    const QJsonObject record = QJsonDocument::fromJson(recordBytes).object();
    Left left {QDateTime::fromString(record.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs),
               record.value(QStringLiteral("file")).toString()};
    // A damaged record still leaves the work itself: dated by its file.
    if (!left.time.isValid())
        left.time = QFileInfo(projectFile()).lastModified();
    return left;
}
