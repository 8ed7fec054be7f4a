#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

// A copy of the unsaved work in the application's data folder, so that a
// crash, a power loss or a kill costs at most the last minute's work: a
// project file of the project as the open editors see it, and beside it a
// small record of the project's own file name and the time of the copy. The
// user's own file is never touched. One running program owns the copy (a
// lock file, taken over once its program is gone); another program started
// meanwhile neither writes nor offers it.
class RecoveryCopy : public QObject {
    Q_OBJECT

public:
    struct Work {
        QByteArray projectBytes;
        QString originalFile; // empty for an untitled project
    };
    // The unsaved work as it is now; no value when nothing is unsaved.
    using Snapshot = std::function<std::optional<Work>()>;

    // A copy left by a program that ended without saving or exiting cleanly.
    struct Left {
        QDateTime time;
        QString originalFile;
    };

    explicit RecoveryCopy(Snapshot snapshot, QObject* parent = nullptr);

    // The work may have changed: a copy follows once the editing pauses.
    void noteChange();
    // Writes the copy at once when something changed since the last one, or
    // removes it when nothing is unsaved any more.
    void update();
    // The work was saved or given up: no copy remains.
    void remove();

    // The copy a previous program left, unless another program owns it.
    std::optional<Left> left() const;
    // The project file of the copy.
    static QString projectFile();

private:
    Snapshot snapshot;
    QLockFile lock;
    QTimer pause;
    QElapsedTimer sinceLastWrite;
    bool changedSinceCopy = false;
};
