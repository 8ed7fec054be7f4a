#include "model/dataset.h"

Dataset::Dataset(qint32 id, const QString& name)
    : id(id)
    , name(name)
{
}

bool Dataset::loadHead(RecordReader& in, FileVersion& version)
{
    version = in.readVersion();
    if (!in.ok() || !version.isAccepted())
        return false;
    id = in.readInt();
    name = in.readString();
    return in.ok();
}

void Dataset::saveHead(RecordWriter& out) const
{
    out.writeVersion(FileVersion::current());
    out.writeInt(id);
    out.writeString(name);
}
