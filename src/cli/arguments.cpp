#include "cli/arguments.h"

#include "model/version.h"

#include <QCommandLineParser>

namespace {
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
    "  import PROJECT ITEM PICTURE --out OUT [OPTIONS]\n"
    "                                 a picture converted into slots of an image set\n"
    "\n"
    "Run 'mosaikon-cli COMMAND --help' for the command's options.\n"
    "Run 'mosaikon-cli --version' for the program's version.\n"
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

// A command: how many arguments it takes, its options and its help.
struct Command {
    QString name;
    int arguments;
    bool textOptions;                    // takes the text options of exports
    QList<QCommandLineOption> options;   // options of its own (a flag has no value name)
    bool firstRequired;                  // the first option of its own must be given
    const char* help;
};

QList<QCommandLineOption> importOptions()
{
    QList<QCommandLineOption> options {QCommandLineOption(QStringLiteral("out"), QString(), QStringLiteral("OUT"))};
    for (const char* name : {"slots", "background", "multi1", "multi2", "background3", "foreground",
                             "color-space", "dither", "brightness", "contrast", "gamma", "saturation"})
        options.append(QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("VALUE")));
    options.append(QCommandLineOption(QStringLiteral("multicolor-sprites")));
    return options;
}

const QList<Command>& commands()
{
    static const QList<Command> table {
        {QStringLiteral("list"), 1, false, {}, false,
         "Usage: mosaikon-cli list PROJECT\n"
         "One line per item, tab-separated: kind, id, name and a summary.\n"},
        {QStringLiteral("dump"), 1, false, {}, false,
         "Usage: mosaikon-cli dump PROJECT\n"
         "The whole project as one JSON object on standard output.\n"},
        {QStringLiteral("export"), 2, true, {}, false,
         "Usage: mosaikon-cli export PROJECT ITEM [OPTIONS]\n"
         "The item's assembler text on standard output.\n\n"},
        {QStringLiteral("binary"), 2, true,
         {QCommandLineOption(QStringLiteral("out-dir"), QString(), QStringLiteral("DIR"))}, true,
         "Usage: mosaikon-cli binary PROJECT ITEM --out-dir DIR [OPTIONS]\n"
         "Writes each section of the item's export as DIR/LABEL.bin, holding\n"
         "exactly the bytes of that section.\n\n"},
        {QStringLiteral("png"), 2, false,
         {QCommandLineOption(QStringLiteral("out"), QString(), QStringLiteral("FILE")),
          QCommandLineOption(QStringLiteral("columns"), QString(), QStringLiteral("N"))}, true,
         "Usage: mosaikon-cli png PROJECT ITEM --out FILE [--columns N]\n"
         "An image set as a sheet of its slots, a tile set as the places of its\n"
         "tile grid (N per row, default the width of the image list or grid),\n"
         "a screen fully drawn.\n"},
        {QStringLiteral("upgrade"), 2, false, {}, false,
         "Usage: mosaikon-cli upgrade IN OUT\n"
         "Reads a project of any version this program reads and writes it in\n"
         "the newest layout.\n"},
        {QStringLiteral("import"), 3, false, importOptions(), true,
         "Usage: mosaikon-cli import PROJECT ITEM PICTURE --out OUT [OPTIONS]\n"
         "Converts a PNG, JPG or BMP picture into slots of the image set ITEM\n"
         "(charset:ID, spriteset:ID or blockset:ID) as the \"Import image\" dialog\n"
         "does, writes the whole project to OUT (which may be PROJECT) and prints\n"
         "{\"cells\": N, \"slots\": [...], \"colors\": [bg, m1, m2, bg3], \"error\": E}.\n"
         "  --slots LIST          target slots in order, numbers and ranges like\n"
         "                        0-63,100 (default: every character, 64 in ECM,\n"
         "                        or the image list's grid of a sprite or block set)\n"
         "  --background auto|N   the colour boxes of the dialog: auto searches every\n"
         "  --multi1 auto|N       colour, N fixes it (0-15; the foreground of an MCM\n"
         "  --multi2 auto|N       character set 0-7, the colour code 11 shows)\n"
         "  --background3 auto|N\n"
         "  --foreground auto|N\n"
         "  --color-space rgb|ciede2000   (default rgb; ciede2000 uses dither.lut)\n"
         "  --dither none|floyd-steinberg (default none)\n"
         "  --brightness N        -1000 to 1000 (default 0)\n"
         "  --contrast N          0 to 1000 (default 100)\n"
         "  --gamma N             1 to 1000 (default 100)\n"
         "  --saturation N        -100 to 100 (default 0)\n"
         "  --multicolor-sprites  make multicolour sprites (default: hi-res)\n"},
    };
    return table;
}

const Command* findCommand(const QString& name)
{
    for (const Command& command : commands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QList<QCommandLineOption> textOptions()
{
    QList<QCommandLineOption> options;
    for (const char* name :
         {"indent", "per-line", "prefix", "base", "hex-prefix", "separator", "comment-prefix", "select"})
        options.append(QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("VALUE")));
    for (const char* name : {"comments", "rle", "colors", "no-colors", "data", "no-data", "empty-slots",
                             "no-empty-slots", "selection"})
        options.append(QCommandLineOption(QLatin1String(name)));
    return options;
}

// The option as written: two dashes before a name, one before a letter.
QString dashed(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The parser describes what it rejects only in its own words; this names the
// word at fault in the program's.
QString rejected(const QCommandLineParser& parser, const QStringList& words, const QStringList& flags)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("unknown option %1").arg(dashed(unknown.first()));
    // What is left: an option without value given one, or a last word that
    // is an option waiting for its value.
    for (const QString& word : words) {
        const QString name = word.mid(2).section(QLatin1Char('='), 0, 0);
        if (word.startsWith(QLatin1String("--")) && word.contains(QLatin1Char('=')) && flags.contains(name))
            return QStringLiteral("unknown option %1").arg(word);
    }
    return QStringLiteral("%1 needs a value").arg(words.last());
}

// A flag pair's choice: the later of --name and --no-name wins.
bool choice(const Request& request, const QString& name, bool fallback)
{
    const int on = request.flags.lastIndexOf(name);
    const int off = request.flags.lastIndexOf(QStringLiteral("no-") + name);
    return on == off ? fallback : on > off;
}
}

Request parseArguments(const QStringList& words)
{
    // Without a command it is a usage error, reported like every other error
    // as one line; the usage text itself is what --help asks for.
    if (words.isEmpty())
        throw Failure(BadUsage, QStringLiteral("no command given (see mosaikon-cli --help)"));
    Request request;
    if (words.first() == QLatin1String("--help") || words.first() == QLatin1String("-h")) {
        request.action = Request::ShowUsage;
        return request;
    }
    if (words.first() == QLatin1String("--version")) {
        request.action = Request::ShowVersion;
        return request;
    }
    const Command* command = findCommand(words.first());
    if (!command)
        throw Failure(BadUsage, QStringLiteral("unknown command '%1' (see mosaikon-cli --help)").arg(words.first()));
    request.command = command->name;
    const QStringList rest = words.mid(1);
    if (rest.contains(QStringLiteral("--help")) || rest.contains(QStringLiteral("-h"))) {
        request.action = Request::ShowCommandHelp;
        return request;
    }

    QCommandLineParser parser;
    const QList<QCommandLineOption> options =
        command->textOptions ? textOptions() + command->options : command->options;
    QStringList flags;
    for (const QCommandLineOption& option : options) {
        parser.addOption(option);
        if (option.valueName().isEmpty())
            flags.append(option.names().first());
    }
    // The parser skips the first word as the program's name.
    if (!parser.parse(QStringList {command->name} + rest))
        throw Failure(BadUsage, rejected(parser, rest, flags));
    for (const QString& name : parser.optionNames()) {
        if (flags.contains(name))
            request.flags.append(name);
        else
            request.values.insert(name, parser.value(name));
    }
    request.positional = parser.positionalArguments();

    if (request.positional.size() != command->arguments)
        throw Failure(BadUsage, QStringLiteral("%1 takes %2 argument(s); see mosaikon-cli %1 --help")
                                    .arg(command->name)
                                    .arg(command->arguments));
    if (command->firstRequired) {
        const QCommandLineOption& required = command->options.first();
        if (request.value(required.names().first()).isEmpty())
            throw Failure(BadUsage, QStringLiteral("%1 needs --%2 %3")
                                        .arg(command->name, required.names().first(), required.valueName()));
    }
    return request;
}

ExportDataOptions Request::exportOptions(const ItemRef& ref) const
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

    options.indentSpaces = number(QStringLiteral("indent"), options.indentSpaces, 0, 256);
    options.dataPerLine = number(QStringLiteral("per-line"), options.dataPerLine, 1, 2048);
    options.dataPrefix = values.value(QStringLiteral("prefix"), options.dataPrefix);
    const QString base = values.value(QStringLiteral("base"), QStringLiteral("hex"));
    if (base != QLatin1String("hex") && base != QLatin1String("dec"))
        throw Failure(BadUsage, QStringLiteral("--base takes hex or dec"));
    options.base = base == QLatin1String("hex") ? ExportDataOptions::NumberBase::Hex : ExportDataOptions::NumberBase::Dec;
    options.hexPrefix = values.value(QStringLiteral("hex-prefix"), options.hexPrefix);
    options.separator = values.value(QStringLiteral("separator"), options.separator);
    options.commentPrefix = values.value(QStringLiteral("comment-prefix"), options.commentPrefix);
    options.includeComments = has(QStringLiteral("comments"));
    options.compressRLE = has(QStringLiteral("rle"));
    options.includeSelection = has(QStringLiteral("selection"));
    options.includeColors = choice(*this, QStringLiteral("colors"), options.includeColors);
    options.includeData = choice(*this, QStringLiteral("data"), options.includeData);
    options.includeEmptySlots = choice(*this, QStringLiteral("empty-slots"), options.includeEmptySlots);
    return options;
}

QList<int> Request::selectedNumbers() const
{
    QList<int> numbers;
    for (const QString& piece : value(QStringLiteral("select")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int number = piece.trimmed().toInt(&ok);
        if (!ok || number < 0)
            throw Failure(BadUsage, QStringLiteral("--select: '%1' is not an index").arg(piece));
        numbers.append(number);
    }
    return numbers;
}

QList<CellPos> Request::selectedCells() const
{
    QList<CellPos> cells;
    for (const QString& piece : value(QStringLiteral("select")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
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

int Request::columns(int fallback) const
{
    return number(QStringLiteral("columns"), fallback, 1, 4096);
}

int Request::number(const QString& name, int fallback, int low, int high) const
{
    if (!values.contains(name))
        return fallback;
    bool ok = false;
    const int result = value(name).toInt(&ok);
    if (!ok || result < low || result > high)
        throw Failure(BadUsage, QStringLiteral("--%1 takes a number from %2 to %3").arg(name).arg(low).arg(high));
    return result;
}

QByteArray Request::shownText() const
{
    switch (action) {
    case ShowUsage:
        return usageText;
    case ShowVersion:
        return "mosaikon-cli " MOSAIKON_VERSION "\n";
    case ShowCommandHelp: {
        const Command* shown = findCommand(command);
        return QByteArray(shown->help) + (shown->textOptions ? exportOptionsText : "");
    }
    case Run:
        break;
    }
    return {};
}
