#include "model/itemfile.h"

bool ItemFile::write(const QString& path, const Dataset& dataset)
{
    RecordWriter out;
    dataset.save(out);
    return Files::writeSafely(path, out.bytes());
}

ItemFileResult ItemFile::read(const QString& path, Dataset& dataset)
{
    QByteArray bytes;
    if (!Files::readWhole(path, bytes))
        return ItemFileResult::CannotOpen;

    const qint32 id = dataset.id;
    const QString name = dataset.name;
    RecordReader in(bytes);
    // A record of another kind rarely ends exactly where the file does.
    if (!dataset.load(in) || !in.atEnd())
        return ItemFileResult::BadFile;
    dataset.id = id;
    dataset.name = name;
    return ItemFileResult::Ok;
}
