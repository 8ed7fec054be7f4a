#pragma once

#include "model/recordio.h"

#include <QString>

// Common base of every project item: a character, sprite or block set, a tile
// set or a screen. Items are copyable values; each kind reads and writes its
// own record of the project file and of the single-item files.
class Dataset {
public:
    Dataset() = default;
    Dataset(qint32 id, const QString& name);
    virtual ~Dataset() = default;

    // Reads one whole record. False when the record's version is not one this
    // program reads or when its data is malformed; the object is then in an
    // unspecified state and must be discarded by the caller.
    virtual bool load(RecordReader& in) = 0;
    // Writes the record in the newest layout.
    virtual void save(RecordWriter& out) const = 0;

    qint32 id = -1;
    QString name;

protected:
    Dataset(const Dataset&) = default;
    Dataset& operator=(const Dataset&) = default;

    // The head every record starts with: the record version, then identifier
    // and name. Gives the record version, or false when it is not accepted.
    bool loadHead(RecordReader& in, FileVersion& version);
    void saveHead(RecordWriter& out) const;
    bool sameHead(const Dataset& other) const { return id == other.id && name == other.name; }
};
