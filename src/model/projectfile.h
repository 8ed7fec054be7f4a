#pragma once

#include "model/project.h"
#include "model/recordio.h"
#include "model/workingcopies.h"

#include <QString>

// Reading and writing whole project files: a version triple, then one section
// per kind (a count and that many dataset records). Files of every version
// from 0.10.0 to 0.12.0 are read; the newest layout is always written.
struct ProjectReadResult {
    enum Status {
        Ok,
        CannotOpen,     // the file cannot be opened or read
        UnknownVersion, // the header names a version this program does not read
        Malformed,      // truncated, oversized counts or sizes, a bad record
    };
    Status status = Ok;
    FileVersion version; // as stored in the header

    bool ok() const { return status == Ok; }
};

// Reads the whole file; the project is replaced only when every record reads
// correctly, so a damaged file never yields a half-read project.
namespace ProjectFile {
ProjectReadResult read(const QString& path, Project& project);
ProjectReadResult parse(const QByteArray& bytes, Project& project);

QByteArray serialize(const Project& project);
// The project as the open editors see it: their working copies stand for the
// stored items, unsaved changes and all.
QByteArray serialize(const WorkingCopies& items);
// Replaces the file safely: a failed write leaves the previous file intact.
bool write(const QString& path, const Project& project);
}
