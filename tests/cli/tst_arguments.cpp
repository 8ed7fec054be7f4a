// The command line of mosaikon-cli read into a request, in process: what a
// list of words asks for, the export options, selection and column count the
// request then gives, and the exact message of every usage error.

#include "cli/arguments.h"

#include <QtTest>

namespace {

// The request of a command line (words split at blanks) as one line: the
// command and its arguments, then after "=>" what it gives for the named item:
// png's column count (32 without --columns), or the export options (indent,
// values per line, data prefix, base, hex prefix, separator, comment prefix,
// the flags that are on) and the --select list.
QString describe(const QString& line)
{
    const Request request = parseArguments(line.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    const QStringList actions {request.command, "usage", "help " + request.command, "version"};
    QStringList parts = QStringList {actions.at(request.action)} + request.positional;
    ItemRef ref;
    if (request.positional.size() < 2 || !ItemRef::parse(request.positional.at(1), ref))
        return parts.join(QLatin1Char(' '));
    if (request.command == QLatin1String("png"))
        return (parts << QStringLiteral("=> columns %1").arg(request.columns(32))).join(QLatin1Char(' '));
    const ExportDataOptions o = request.exportOptions(ref);
    parts << QStringLiteral("=> %1 %2 '%3' %4 '%5' '%6' '%7'")
                 .arg(o.indentSpaces)
                 .arg(o.dataPerLine)
                 .arg(o.dataPrefix, o.base == ExportDataOptions::NumberBase::Hex ? "hex" : "dec", o.hexPrefix,
                      o.separator, o.commentPrefix);
    for (const auto& [on, name] : {std::pair {o.includeComments, "comments"}, {o.compressRLE, "rle"},
                                   {o.includeSelection, "selection"}, {o.includeColors, "colors"},
                                   {o.includeData, "data"}, {o.includeEmptySlots, "empty-slots"}}) {
        if (on)
            parts << QLatin1String(name);
    }
    for (const CellPos& cell : ref.kind == ItemKind::Screen ? request.selectedCells() : QList<CellPos>())
        parts << QStringLiteral("%1:%2").arg(cell.x).arg(cell.y);
    for (int number : ref.kind != ItemKind::Screen ? request.selectedNumbers() : QList<int>())
        parts << QString::number(number);
    return parts.join(QLatin1Char(' '));
}

// A row for the line and one for each of the more lines, all with the result.
void row(const QString& line, const QString& result, const QStringList& more = {})
{
    for (const QString& each : QStringList {line} + more)
        QTest::newRow(qPrintable(each)) << each << result;
}

} // namespace

class ArgumentsTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("request");

        const QString p = QStringLiteral("export p.mzprj ");
        const QString defaults = QStringLiteral("=> 0 8 '!byte' hex '$' ', ' ';' ");
        row("--help", "usage");
        row("--version", "version");
        row("png p.mzprj charset:0 -h", "help png");
        row("list -- --odd.mzprj", "list --odd.mzprj");
        // Options before, between and after the arguments; the last value counts.
        row("png --columns=1 p.mzprj --out=x.png charset:0 --columns 4096", "png p.mzprj charset:0 => columns 4096");
        row(p + "spriteset:1/anim:0/frame:2", p + "spriteset:1/anim:0/frame:2 " + defaults + "data empty-slots");
        row("binary p.mzprj tileset:0 --out-dir d", "binary p.mzprj tileset:0 " + defaults + "colors data empty-slots");
        row(p + "blockset:2 --indent=256 --per-line 2048 --prefix .byte --base=dec --hex-prefix 0x --separator=; "
                "--comment-prefix //",
            p + "blockset:2 => 256 2048 '.byte' dec '0x' ';' '//' data empty-slots");
        row(p + "charset:0 --indent 0 --per-line=1 --base hex --prefix= --hex-prefix --rle",
            p + "charset:0 => 0 1 '' hex '--rle' ', ' ';' data empty-slots");
        row("export --selection p.mzprj spriteset:1 --rle --comments --colors",
            p + "spriteset:1 " + defaults + "comments rle selection colors data empty-slots");
        row(p + "tileset:0 --no-data --colors --no-colors --empty-slots --no-empty-slots",
            p + "tileset:0 => 0 8 '!byte' hex '$' ', ' ';'");
        row(p + "charset:0 --no-colors --colors --no-data --data --no-empty-slots --empty-slots",
            p + "charset:0 " + defaults + "colors data empty-slots");
        row(p + "charset:0 --select 5,1,,300,5,", p + "charset:0 " + defaults + "data empty-slots 5 1 300 5");
        row("binary --rle p.mzprj --out-dir gen screen:1 --select=3:2,0:0,1:0",
            "binary p.mzprj screen:1 " + defaults + "rle data empty-slots 3:2 0:0 1:0");
    }

    void parse()
    {
        QFETCH(QString, line);
        QFETCH(QString, request);
        QCOMPARE(describe(line), request);
    }

    void errors_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("message");

        const QString e = QStringLiteral("export p.mzprj charset:0 ");
        const QString s = QStringLiteral("export p.mzprj screen:0 --select ");
        const QString png = QStringLiteral("png p.mzprj charset:0 --out x ");
        row("", "no command given (see mosaikon-cli --help)");
        row("frobnicate p.mzprj", "unknown command 'frobnicate' (see mosaikon-cli --help)");
        row(e + "--colour", "unknown option --colour", {e + "--colour=red"});
        row(e + "-x", "unknown option -x");
        row(png + "--rle", "unknown option --rle");
        row("binary p.mzprj charset:0 --out-dir d --columns 2", "unknown option --columns");
        row(e + "--rle=yes", "unknown option --rle=yes");
        row(e + "--indent", "--indent needs a value");
        row("list", "list takes 1 argument(s); see mosaikon-cli list --help");
        row("export p.mzprj", "export takes 2 argument(s); see mosaikon-cli export --help");
        row("binary p.mzprj charset:0", "binary needs --out-dir DIR", {"binary p.mzprj charset:0 --out-dir="});
        row("png p.mzprj charset:0 --columns 3", "png needs --out FILE");
        row(e + "--indent -1", "--indent takes a number from 0 to 256", {e + "--indent=257", e + "--indent four"});
        row(e + "--per-line 0", "--per-line takes a number from 1 to 2048", {e + "--per-line=2049"});
        row(e + "--base oct", "--base takes hex or dec");
        row(e + "--select 1,a", "--select: 'a' is not an index");
        row(e + "--select=-3", "--select: '-3' is not an index");
        row(s + "1", "--select: '1' is not a cell x:y");
        row(s + "0:0,0:-1", "--select: '0:-1' is not a cell x:y");
        row(png + "--columns 0", "--columns takes a number from 1 to 4096", {png + "--columns=4097"});
    }

    void errors()
    {
        QFETCH(QString, line);
        QFETCH(QString, message);
        try {
            QFAIL(qPrintable(QStringLiteral("accepted as ") + describe(line)));
        } catch (const Failure& failure) {
            QCOMPARE(int(failure.code), int(BadUsage));
            QCOMPARE(failure.message, message);
        }
    }
};

QTEST_GUILESS_MAIN(ArgumentsTest)
#include "tst_arguments.moc"
