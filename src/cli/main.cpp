// mosaikon-cli: the project's items as assembler text, binary sections, JSON
// and pictures from the command line, for builds driven by makefiles.
#include "cli/arguments.h"
#include "cli/exports.h"
#include "cli/importcommand.h"
#include "cli/itemref.h"
#include "exchange/imagesetexchange.h"
#include "exchange/projectjson.h"
#include "model/projectfile.h"
#include "model/rendering.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
// Output that cannot be written (a full disk, /dev/full) is an error, not
// a success.
void print(FILE* stream, const QByteArray& bytes)
{
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) != size_t(bytes.size())
        || std::fflush(stream) != 0)
        throw Failure(BadInput, QStringLiteral("cannot write the output"));
}

struct LoadedProject {
    Project project;
    FileVersion version;
};

LoadedProject loadProject(const QString& path)
{
    LoadedProject loaded;
    const ProjectReadResult result = ProjectFile::read(path, loaded.project);
    switch (result.status) {
    case ProjectReadResult::Ok:
        break;
    case ProjectReadResult::CannotOpen:
        throw Failure(BadInput, QStringLiteral("%1: cannot open the file").arg(path));
    case ProjectReadResult::UnknownVersion:
        throw Failure(BadInput, QStringLiteral("%1: unknown version %2.%3.%4")
                                    .arg(path)
                                    .arg(result.version.major)
                                    .arg(result.version.minor)
                                    .arg(result.version.patch));
    case ProjectReadResult::Malformed:
        throw Failure(BadInput, QStringLiteral("%1: not a readable project file (damaged or truncated)").arg(path));
    }
    loaded.version = result.version;
    return loaded;
}

QString summary(ItemKind kind, const Dataset& dataset)
{
    switch (kind) {
    case ItemKind::Tileset: {
        const auto& tileset = static_cast<const Tileset&>(dataset);
        return QStringLiteral("%1 tiles of %2x%3 cells").arg(tileset.tiles.size()).arg(tileset.tileWidth).arg(tileset.tileHeight);
    }
    case ItemKind::Screen: {
        const auto& screen = static_cast<const Screen&>(dataset);
        return QStringLiteral("%1x%2 cells, %3 used").arg(screen.width).arg(screen.height).arg(screen.cellIndexes.size());
    }
    default: {
        const auto& set = static_cast<const Imageset&>(dataset);
        return QStringLiteral("%1 images, %2 animations").arg(set.images.size()).arg(set.animations.animations.size());
    }
    }
}

int listCommand(const Request& request)
{
    const LoadedProject loaded = loadProject(request.positional.at(0));
    QByteArray out;
    for (ItemKind kind : allItemKinds) {
        for (const QSharedPointer<Dataset>& dataset : loaded.project.datasets(kind)) {
            // A tab or line break inside a name would break the line format.
            QString name = dataset->name;
            name.replace(QLatin1Char('\t'), QLatin1String("\\t"))
                .replace(QLatin1Char('\n'), QLatin1String("\\n"))
                .replace(QLatin1Char('\r'), QLatin1String("\\r"));
            out += QStringLiteral("%1\t%2\t%3\t%4\n")
                       .arg(ItemRef::kindWord(kind), QString::number(dataset->id), name, summary(kind, *dataset))
                       .toUtf8();
        }
    }
    print(stdout, out);
    return Success;
}

int dumpCommand(const Request& request)
{
    const LoadedProject loaded = loadProject(request.positional.at(0));
    print(stdout, ProjectJson::dump(loaded.project, loaded.version));
    return Success;
}

int exportCommand(const Request& request)
{
    const ExportedItem exported = exportItem(loadProject(request.positional.at(0)).project, request);
    print(stdout, TextFormat(exported.options).text(exported.sections).toUtf8());
    return Success;
}

int binaryCommand(const Request& request)
{
    const QString directory = request.value(QStringLiteral("out-dir"));
    const QList<ExportSection> sections = exportItem(loadProject(request.positional.at(0)).project, request).sections;

    if (!QDir().mkpath(directory))
        throw Failure(BadInput, QStringLiteral("%1: cannot create the directory").arg(directory));
    // Every file is written to its temporary file first, and the files replace
    // their targets only when all were written: a file that cannot be written
    // leaves every other file as it was. Uncommitted temporary files are
    // removed when they are destroyed.
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (const ExportSection& section : sections) {
        if (section.label.isEmpty())
            continue;
        const QString path = QDir(directory).filePath(section.label + QStringLiteral(".bin"));
        files.push_back(std::make_unique<QSaveFile>(path));
        QSaveFile& file = *files.back();
        if (!file.open(QIODevice::WriteOnly) || file.write(section.bytes) != section.bytes.size() || !file.flush())
            throw Failure(BadInput, QStringLiteral("%1: cannot write the file").arg(path));
    }
    for (const auto& file : files) {
        if (!file->commit())
            throw Failure(BadInput, QStringLiteral("%1: cannot write the file").arg(file->fileName()));
    }
    return Success;
}

int pngCommand(const Request& request)
{
    const QString out = request.value(QStringLiteral("out"));
    const LoadedProject loaded = loadProject(request.positional.at(0));
    const ExportTarget target = findItem(loaded.project, request.positional.at(1));
    if (target.ref.animation >= 0)
        throw Failure(BadUsage, QStringLiteral("png draws image sets, tile sets and screens, not animations"));

    QImage picture;
    switch (target.ref.kind) {
    case ItemKind::Tileset: {
        const auto& tileset = *target.dataset.staticCast<Tileset>();
        const auto set = loaded.project
                             .find(tileset.imagesetIsCharset ? ItemKind::Charset : ItemKind::Blockset,
                                   tileset.imagesetId)
                             .staticCast<Imageset>();
        picture = Rendering::tileset(tileset, set.data(), request.columns(tileset.gridSizeX));
        break;
    }
    case ItemKind::Screen:
        picture = Rendering::screen(*target.dataset.staticCast<Screen>(), loaded.project);
        break;
    default: {
        const auto& set = *target.dataset.staticCast<Imageset>();
        picture = Rendering::imagesetSheet(set, ImagesetExchange::allSlots(set), request.columns(set.selectorGridWidth));
        break;
    }
    }

    QImageWriter writer;
    writer.setFormat("png");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writer.setDevice(&buffer);
    if (picture.isNull() || !writer.write(picture))
        throw Failure(BadInput, QStringLiteral("%1: the picture cannot be made").arg(request.positional.at(1)));
    if (!Files::writeSafely(out, buffer.data()))
        throw Failure(BadInput, QStringLiteral("%1: cannot write the file").arg(out));
    return Success;
}

int upgradeCommand(const Request& request)
{
    const LoadedProject loaded = loadProject(request.positional.at(0));
    if (!ProjectFile::write(request.positional.at(1), loaded.project))
        throw Failure(BadInput, QStringLiteral("%1: cannot write the file").arg(request.positional.at(1)));
    return Success;
}

int importCommand(const Request& request)
{
    const QString out = request.value(QStringLiteral("out"));
    LoadedProject loaded = loadProject(request.positional.at(0));
    const ExportTarget target = findItem(loaded.project, request.positional.at(1));
    const bool imageset = target.ref.kind == ItemKind::Charset || target.ref.kind == ItemKind::Spriteset
        || target.ref.kind == ItemKind::Blockset;
    if (!imageset || target.ref.animation >= 0)
        throw Failure(BadUsage, QStringLiteral("import takes charset:ID, spriteset:ID or blockset:ID"));
    auto& set = *target.dataset.staticCast<Imageset>();
    const ImportCommand::Plan plan = ImportCommand::plan(request, set);

    const QString pictureName = request.positional.at(2);
    const QImage picture(pictureName);
    if (picture.isNull())
        throw Failure(BadInput, QStringLiteral("%1: cannot read the picture").arg(pictureName));
    const QByteArray line = ImportCommand::run(set, plan, picture, pictureName);
    if (!ProjectFile::write(out, loaded.project))
        throw Failure(BadInput, QStringLiteral("%1: cannot write the file").arg(out));
    print(stdout, line);
    return Success;
}

int run(const QStringList& words)
{
    const Request request = parseArguments(words);
    if (request.action != Request::Run) {
        print(stdout, request.shownText());
        return Success;
    }
    if (request.command == QLatin1String("list"))
        return listCommand(request);
    if (request.command == QLatin1String("dump"))
        return dumpCommand(request);
    if (request.command == QLatin1String("export"))
        return exportCommand(request);
    if (request.command == QLatin1String("binary"))
        return binaryCommand(request);
    if (request.command == QLatin1String("png"))
        return pngCommand(request);
    if (request.command == QLatin1String("import"))
        return importCommand(request);
    return upgradeCommand(request);
}
}

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList words = QCoreApplication::arguments();
    words.removeFirst();
    try {
        return run(words);
    } catch (const Failure& failure) {
        std::fputs(QStringLiteral("mosaikon-cli: %1\n").arg(failure.message).toUtf8().constData(), stderr);
        return failure.code;
    }
}
