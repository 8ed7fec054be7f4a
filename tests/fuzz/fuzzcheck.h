#pragma once

// Shared by the fuzz targets: a broken property stops the program, so that
// libFuzzer and the replay driver both report the input; scratch files for
// the readers that take a path; equality of items and projects.

#include "model/project.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void require(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

// A path in this process's scratch folder, which lives as long as the process.
inline QString scratchPath(const char* name)
{
    static const QTemporaryDir folder;
    require(folder.isValid(), "the scratch folder exists");
    return folder.filePath(QLatin1String(name));
}

// The scratch file of that name, holding the bytes.
inline QString scratchFile(const char* name, const QByteArray& bytes)
{
    const QString path = scratchPath(name);
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
            "the scratch file is written");
    return path;
}

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    require(file.open(QIODevice::ReadOnly), "a file just written opens");
    return file.readAll();
}

inline bool sameItem(ItemKind kind, const Dataset& one, const Dataset& other)
{
    switch (kind) {
    case ItemKind::Tileset:
        return static_cast<const Tileset&>(one) == static_cast<const Tileset&>(other);
    case ItemKind::Screen:
        return static_cast<const Screen&>(one) == static_cast<const Screen&>(other);
    default:
        return static_cast<const Imageset&>(one) == static_cast<const Imageset&>(other);
    }
}

inline bool sameProject(const Project& one, const Project& other)
{
    for (ItemKind kind : allItemKinds) {
        const QList<QSharedPointer<Dataset>> items = one.datasets(kind);
        const QList<QSharedPointer<Dataset>> otherItems = other.datasets(kind);
        if (items.size() != otherItems.size())
            return false;
        for (int i = 0; i < items.size(); ++i) {
            if (!sameItem(kind, *items.at(i), *otherItems.at(i)))
                return false;
        }
    }
    return true;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
