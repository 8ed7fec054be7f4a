// mosaikon-cli: the project's items as assembler text, binary sections, JSON
// and pictures from the command line, for builds driven by makefiles.
#include "cli/itemref.h"
#include "exchange/animationexport.h"
#include "exchange/imagesetexchange.h"
#include "exchange/projectjson.h"
#include "exchange/screenexport.h"
#include "exchange/tilesetexchange.h"
#include "model/projectfile.h"
#include "model/rendering.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QBuffer>
#include <QImageWriter>
#include <QMap>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
enum ExitCode { Success = 0, BadInput = 1, BadUsage = 2 };

const char* const usageText =
    "Usage: mosaikon-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  list PROJECT                   one line per item: kind, id, name, summary\n"
    "  dump PROJECT                   the whole project as JSON\n"
    "  export PROJECT ITEM [OPTIONS]  the item's assembler text\n"
    "  binary PROJECT ITEM --out-dir DIR [OPTIONS]\n"
    "                                 one file of bytes per exported section\n"
    "  png PROJECT ITEM --out FILE [--columns N]\n"
    "                                 a picture of an image set, tile set or screen\n"
    "  upgrade IN OUT                 rewrites a project in the newest file layout\n"
    "\n"
    "Run 'mosaikon-cli COMMAND --help' for the command's options.\n"
    "ITEM is charset:ID, spriteset:ID, blockset:ID, tileset:ID or screen:ID, and for\n"
    "the animations of an image set KIND:ID/anim:A or KIND:ID/anim:A/frame:F.\n";

const char* const exportOptionsText =
    "Text options (defaults as in the export dialogs):\n"
    "  --indent N            blanks before each data line (0-256, default 0)\n"
    "  --per-line N          values per line (1-2048, default 8)\n"
    "  --prefix TEXT         data directive (default !byte)\n"
    "  --base hex|dec        number base (default hex)\n"
    "  --hex-prefix TEXT     prefix of hexadecimal numbers (default $)\n"
    "  --separator TEXT      between values (default \", \")\n"
    "  --comment-prefix TEXT start of comment lines (default ;)\n"
    "  --comments            include comments (image sets, screens)\n"
    "  --rle                 run-length compress (image sets, screens)\n"
    "  --colors, --no-colors include colour sections (image sets: off, tile sets: on)\n"
    "  --data, --no-data     include the data section (default on)\n"
    "  --empty-slots, --no-empty-slots\n"
    "                        write empty slots of image sets (default on)\n"
    "  --selection           include the slot list section of image sets\n"
    "  --select LIST         what to export, in order: slots or tiles as numbers,\n"
    "                        screen cells as x:y, comma-separated (default: all)\n";

const QMap<QString, const char*>& commandHelp()
{
    static const QMap<QString, const char*> help {
        {QStringLiteral("list"), "Usage: mosaikon-cli list PROJECT\n"
                                 "One line per item, tab-separated: kind, id, name and a summary.\n"},
        {QStringLiteral("dump"), "Usage: mosaikon-cli dump PROJECT\n"
                                 "The whole project as one JSON object on standard output.\n"},
        {QStringLiteral("export"), "Usage: mosaikon-cli export PROJECT ITEM [OPTIONS]\n"
                                   "The item's assembler text on standard output.\n\n"},
        {QStringLiteral("binary"), "Usage: mosaikon-cli binary PROJECT ITEM --out-dir DIR [OPTIONS]\n"
                                   "Writes each section of the item's export as DIR/LABEL.bin, holding\n"
                                   "exactly the bytes of that section.\n\n"},
        {QStringLiteral("png"), "Usage: mosaikon-cli png PROJECT ITEM --out FILE [--columns N]\n"
                                "An image set as a sheet of its slots (N per row, default the width of\n"
                                "its image list), a tile set as its tile grid, a screen fully drawn.\n"},
        {QStringLiteral("upgrade"), "Usage: mosaikon-cli upgrade IN OUT\n"
                                    "Reads a project of any version this program reads and writes it in\n"
                                    "the newest layout.\n"},
    };
    return help;
}

class Failure {
public:
    Failure(ExitCode code, const QString& message)
        : code(code)
        , message(message)
    {
    }
    ExitCode code;
    QString message;
};

void print(FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// The command's words: positional arguments and options with their values.
struct Arguments {
    QStringList positional;
    QMap<QString, QString> values; // options that take a value
    QStringList flags;             // options without value, in order

    QString value(const QString& name, const QString& fallback = QString()) const
    {
        return values.value(name, fallback);
    }
    bool has(const QString& name) const { return flags.contains(name) || values.contains(name); }
};

Arguments parseArguments(const QStringList& words, const QStringList& valueOptions, const QStringList& flagOptions)
{
    Arguments arguments;
    for (int i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (valueOptions.contains(word)) {
            if (i + 1 >= words.size())
                throw Failure(BadUsage, QStringLiteral("%1 needs a value").arg(word));
            arguments.values.insert(word, words.at(++i));
        } else if (flagOptions.contains(word)) {
            arguments.flags.append(word);
        } else if (word.startsWith(QLatin1String("--"))) {
            throw Failure(BadUsage, QStringLiteral("unknown option %1").arg(word));
        } else {
            arguments.positional.append(word);
        }
    }
    return arguments;
}

int intOption(const Arguments& arguments, const QString& name, int fallback, int low, int high)
{
    if (!arguments.values.contains(name))
        return fallback;
    bool ok = false;
    const int value = arguments.value(name).toInt(&ok);
    if (!ok || value < low || value > high)
        throw Failure(BadUsage, QStringLiteral("%1 takes a number from %2 to %3").arg(name).arg(low).arg(high));
    return value;
}

const QStringList textValueOptions {
    QStringLiteral("--indent"),    QStringLiteral("--per-line"),       QStringLiteral("--prefix"),
    QStringLiteral("--base"),      QStringLiteral("--hex-prefix"),     QStringLiteral("--separator"),
    QStringLiteral("--comment-prefix"), QStringLiteral("--select")};
const QStringList textFlagOptions {
    QStringLiteral("--comments"),    QStringLiteral("--rle"),          QStringLiteral("--colors"),
    QStringLiteral("--no-colors"),   QStringLiteral("--data"),         QStringLiteral("--no-data"),
    QStringLiteral("--empty-slots"), QStringLiteral("--no-empty-slots"), QStringLiteral("--selection")};

// A flag pair's choice: the later of --name and --no-name wins.
bool switchOption(const Arguments& arguments, const QString& name, bool fallback)
{
    const int on = arguments.flags.lastIndexOf(QStringLiteral("--") + name);
    const int off = arguments.flags.lastIndexOf(QStringLiteral("--no-") + name);
    return on == off ? fallback : on > off;
}

ExportDataOptions exportOptions(const Arguments& arguments, const ItemRef& ref)
{
    ExportDataOptions options;
    if (ref.animation >= 0)
        options = ExportDataOptions::forAnimation();
    else if (ref.kind == ItemKind::Tileset)
        options = ExportDataOptions::forTileset();
    else if (ref.kind == ItemKind::Screen)
        options = ExportDataOptions::forScreen();
    else
        options = ExportDataOptions::forImageset();

    options.indentSpaces = intOption(arguments, QStringLiteral("--indent"), options.indentSpaces, 0, 256);
    options.dataPerLine = intOption(arguments, QStringLiteral("--per-line"), options.dataPerLine, 1, 2048);
    options.dataPrefix = arguments.value(QStringLiteral("--prefix"), options.dataPrefix);
    const QString base = arguments.value(QStringLiteral("--base"), QStringLiteral("hex"));
    if (base != QLatin1String("hex") && base != QLatin1String("dec"))
        throw Failure(BadUsage, QStringLiteral("--base takes hex or dec"));
    options.base = base == QLatin1String("hex") ? QStringLiteral("Hex") : QStringLiteral("Dec");
    options.hexPrefix = arguments.value(QStringLiteral("--hex-prefix"), options.hexPrefix);
    options.separator = arguments.value(QStringLiteral("--separator"), options.separator);
    options.commentPrefix = arguments.value(QStringLiteral("--comment-prefix"), options.commentPrefix);
    options.includeComments = arguments.has(QStringLiteral("--comments"));
    options.compressRLE = arguments.has(QStringLiteral("--rle"));
    options.includeSelection = arguments.has(QStringLiteral("--selection"));
    options.includeColors = switchOption(arguments, QStringLiteral("colors"), options.includeColors);
    options.includeData = switchOption(arguments, QStringLiteral("data"), options.includeData);
    options.includeEmptySlots = switchOption(arguments, QStringLiteral("empty-slots"), options.includeEmptySlots);
    return options;
}

QList<int> numberList(const QString& text)
{
    QList<int> numbers;
    for (const QString& piece : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int number = piece.trimmed().toInt(&ok);
        if (!ok || number < 0)
            throw Failure(BadUsage, QStringLiteral("--select: '%1' is not an index").arg(piece));
        numbers.append(number);
    }
    return numbers;
}

QList<CellPos> cellList(const QString& text)
{
    QList<CellPos> cells;
    for (const QString& piece : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = piece.trimmed().split(QLatin1Char(':'));
        bool okX = false;
        bool okY = false;
        const CellPos cell {parts.value(0).toInt(&okX), parts.value(1).toInt(&okY)};
        if (parts.size() != 2 || !okX || !okY || cell.x < 0 || cell.y < 0)
            throw Failure(BadUsage, QStringLiteral("--select: '%1' is not a cell x:y").arg(piece));
        cells.append(cell);
    }
    return cells;
}

struct LoadedProject {
    Project project;
    FileVersion version;
};

LoadedProject loadProject(const QString& path)
{
    LoadedProject loaded;
    const ProjectReadResult result = readProjectFile(path, loaded.project);
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

void expectPositional(const Arguments& arguments, int count, const QString& command)
{
    if (arguments.positional.size() != count)
        throw Failure(BadUsage, QStringLiteral("%1 takes %2 argument(s); see mosaikon-cli %1 --help")
                                    .arg(command)
                                    .arg(count));
}

struct ExportTarget {
    ItemRef ref;
    QSharedPointer<Dataset> dataset;
};

ExportTarget findItem(const Project& project, const QString& text)
{
    ExportTarget target;
    if (!ItemRef::parse(text, target.ref))
        throw Failure(BadUsage, QStringLiteral("'%1' does not name an item (see mosaikon-cli --help)").arg(text));
    const ResolvedItem resolved = resolveItem(project, target.ref, text);
    if (!resolved.dataset)
        throw Failure(BadInput, resolved.error);
    target.dataset = resolved.dataset;
    return target;
}

QList<ExportSection> exportSections(const ExportTarget& target, const Arguments& arguments,
                                    const ExportDataOptions& options)
{
    const QString select = arguments.value(QStringLiteral("--select"));
    const bool selected = arguments.values.contains(QStringLiteral("--select"));
    if (target.ref.animation >= 0) {
        const auto& set = *target.dataset.staticCast<Imageset>();
        const QSize scale = set.type == Imageset::Spriteset ? QSize(set.imageWidth, set.imageHeight) : QSize(1, 1);
        return animationSections(set.name, set.animations.animations.at(target.ref.animation),
                                 target.ref.animation, target.ref.frame, scale);
    }
    switch (target.ref.kind) {
    case ItemKind::Tileset: {
        const auto& tileset = *target.dataset.staticCast<Tileset>();
        return TilesetExchange::sections(tileset, selected ? numberList(select) : TilesetExchange::allTiles(tileset),
                                         options);
    }
    case ItemKind::Screen: {
        const auto& screen = *target.dataset.staticCast<Screen>();
        return ScreenExport::sections(screen, selected ? cellList(select) : ScreenExport::allCells(screen), options);
    }
    default: {
        const auto& set = *target.dataset.staticCast<Imageset>();
        return imagesetSections(set, selected ? numberList(select) : allExportSlots(set), options);
    }
    }
}

// The sections of the item named on the command line, with the text options
// they are written with.
struct ExportedItem {
    ExportDataOptions options;
    QList<ExportSection> sections;
};

ExportedItem exportItem(const Arguments& arguments)
{
    const LoadedProject loaded = loadProject(arguments.positional.at(0));
    const ExportTarget target = findItem(loaded.project, arguments.positional.at(1));
    ExportedItem exported;
    exported.options = exportOptions(arguments, target.ref);
    exported.sections = exportSections(target, arguments, exported.options);
    return exported;
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

int listCommand(const Arguments& arguments)
{
    expectPositional(arguments, 1, QStringLiteral("list"));
    const LoadedProject loaded = loadProject(arguments.positional.at(0));
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

int dumpCommand(const Arguments& arguments)
{
    expectPositional(arguments, 1, QStringLiteral("dump"));
    const LoadedProject loaded = loadProject(arguments.positional.at(0));
    print(stdout, ProjectJson::dump(loaded.project, loaded.version));
    return Success;
}

int exportCommand(const Arguments& arguments)
{
    expectPositional(arguments, 2, QStringLiteral("export"));
    const ExportedItem exported = exportItem(arguments);
    print(stdout, TextFormat(exported.options).text(exported.sections).toUtf8());
    return Success;
}

int binaryCommand(const Arguments& arguments)
{
    expectPositional(arguments, 2, QStringLiteral("binary"));
    const QString directory = arguments.value(QStringLiteral("--out-dir"));
    if (directory.isEmpty())
        throw Failure(BadUsage, QStringLiteral("binary needs --out-dir DIR"));
    const QList<ExportSection> sections = exportItem(arguments).sections;

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

int pngCommand(const Arguments& arguments)
{
    expectPositional(arguments, 2, QStringLiteral("png"));
    const QString out = arguments.value(QStringLiteral("--out"));
    if (out.isEmpty())
        throw Failure(BadUsage, QStringLiteral("png needs --out FILE"));
    const LoadedProject loaded = loadProject(arguments.positional.at(0));
    const ExportTarget target = findItem(loaded.project, arguments.positional.at(1));
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
        picture = Rendering::tileset(tileset, set.data());
        break;
    }
    case ItemKind::Screen:
        picture = Rendering::screen(*target.dataset.staticCast<Screen>(), loaded.project);
        break;
    default: {
        const auto& set = *target.dataset.staticCast<Imageset>();
        const int columns = intOption(arguments, QStringLiteral("--columns"), set.selectorGridWidth, 1, 4096);
        picture = Rendering::imagesetSheet(set, allExportSlots(set), columns);
        break;
    }
    }

    QImageWriter writer;
    writer.setFormat("png");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writer.setDevice(&buffer);
    if (picture.isNull() || !writer.write(picture))
        throw Failure(BadInput, QStringLiteral("%1: the picture cannot be made").arg(arguments.positional.at(1)));
    if (!writeFileSafely(out, buffer.data()))
        throw Failure(BadInput, QStringLiteral("%1: cannot write the file").arg(out));
    return Success;
}

int upgradeCommand(const Arguments& arguments)
{
    expectPositional(arguments, 2, QStringLiteral("upgrade"));
    const LoadedProject loaded = loadProject(arguments.positional.at(0));
    if (!writeProjectFile(arguments.positional.at(1), loaded.project))
        throw Failure(BadInput, QStringLiteral("%1: cannot write the file").arg(arguments.positional.at(1)));
    return Success;
}

int run(const QStringList& words)
{
    // Without a command it is a usage error, reported like every other error
    // as one line; the usage text itself is what --help asks for.
    if (words.isEmpty())
        throw Failure(BadUsage, QStringLiteral("no command given (see mosaikon-cli --help)"));
    if (words.first() == QLatin1String("--help") || words.first() == QLatin1String("-h")) {
        print(stdout, usageText);
        return Success;
    }
    const QString command = words.first();
    if (!commandHelp().contains(command))
        throw Failure(BadUsage, QStringLiteral("unknown command '%1' (see mosaikon-cli --help)").arg(command));
    const QStringList rest = words.mid(1);
    if (rest.contains(QStringLiteral("--help")) || rest.contains(QStringLiteral("-h"))) {
        QByteArray help = commandHelp().value(command);
        if (command == QLatin1String("export") || command == QLatin1String("binary"))
            help += exportOptionsText;
        print(stdout, help);
        return Success;
    }

    QStringList valueOptions;
    QStringList flagOptions;
    if (command == QLatin1String("export") || command == QLatin1String("binary")) {
        valueOptions = textValueOptions;
        flagOptions = textFlagOptions;
    }
    if (command == QLatin1String("binary"))
        valueOptions << QStringLiteral("--out-dir");
    if (command == QLatin1String("png"))
        valueOptions << QStringLiteral("--out") << QStringLiteral("--columns");
    const Arguments arguments = parseArguments(rest, valueOptions, flagOptions);

    if (command == QLatin1String("list"))
        return listCommand(arguments);
    if (command == QLatin1String("dump"))
        return dumpCommand(arguments);
    if (command == QLatin1String("export"))
        return exportCommand(arguments);
    if (command == QLatin1String("binary"))
        return binaryCommand(arguments);
    if (command == QLatin1String("png"))
        return pngCommand(arguments);
    return upgradeCommand(arguments);
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
        print(stderr, QStringLiteral("mosaikon-cli: %1\n").arg(failure.message).toUtf8());
        return failure.code;
    }
}
