#include "model/projectfile.h"

namespace {
// The head of a record (version, identifier, name count) is the least any
// record takes, which bounds a section's count before records are created.
constexpr qint64 minRecordBytes = 5 * 4;

template<typename T>
bool readSection(RecordReader& in, QList<QSharedPointer<T>>& list)
{
    const int count = in.readCount(minRecordBytes);
    for (int i = 0; i < count && in.ok(); ++i) {
        auto dataset = QSharedPointer<T>::create();
        if (!dataset->load(in))
            return false;
        list.append(dataset);
    }
    return in.ok();
}
}

ProjectReadResult ProjectFile::parse(const QByteArray& bytes, Project& project)
{
    RecordReader in(bytes);
    ProjectReadResult result;
    result.version = in.readVersion();
    if (!in.ok()) {
        result.status = ProjectReadResult::Malformed;
        return result;
    }
    if (!result.version.isAccepted()) {
        result.status = ProjectReadResult::UnknownVersion;
        return result;
    }

    Project read;
    bool ok = readSection(in, read.charsets) && readSection(in, read.spritesets);
    if (ok && result.version.hasBlocksets())
        ok = readSection(in, read.blocksets);
    ok = ok && readSection(in, read.tilesets) && readSection(in, read.screens);
    // Nothing follows the last screen; more bytes mean the file is not what it claims.
    if (!ok || !in.atEnd()) {
        result.status = ProjectReadResult::Malformed;
        return result;
    }
    project = read;
    return result;
}

ProjectReadResult ProjectFile::read(const QString& path, Project& project)
{
    QByteArray bytes;
    if (!Files::readWhole(path, bytes))
        return {ProjectReadResult::CannotOpen, {}};
    return ProjectFile::parse(bytes, project);
}

QByteArray ProjectFile::serialize(const WorkingCopies& items)
{
    RecordWriter out;
    out.writeVersion(FileVersion::current());
    for (ItemKind kind : allItemKinds) {
        const QList<const Dataset*> section = items.all(kind);
        out.writeInt(section.size());
        for (const Dataset* dataset : section)
            dataset->save(out);
    }
    return out.bytes();
}

QByteArray ProjectFile::serialize(const Project& project)
{
    return serialize(WorkingCopies(project, [](ItemKind, qint32) -> const Dataset* { return nullptr; }));
}

bool ProjectFile::write(const QString& path, const Project& project)
{
    return Files::writeSafely(path, ProjectFile::serialize(project));
}
