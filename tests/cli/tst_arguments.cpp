// The command line of mosaikon-cli read into a request, in process: the
// action, command, arguments and options a list of words gives, the export
// options an item is then written with, the selection and column count, and
// the message of every usage error.

#include "cli/arguments.h"
#include "cli/documentedoptions.h"
#include "model/version.h"

#include <QtTest>

Q_DECLARE_METATYPE(ExportDataOptions)
Q_DECLARE_METATYPE(CellPos)

namespace {

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class ArgumentsTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("positional");
        QTest::addColumn<QStringList>("values"); // name=value, by name
        QTest::addColumn<QStringList>("flags");

        const int run = Request::Run;
        const QStringList none;
        QTest::newRow("--help") << words("--help") << int(Request::ShowUsage) << QString() << none << none << none;
        QTest::newRow("-h before a command")
            << words("-h list") << int(Request::ShowUsage) << QString() << none << none << none;
        QTest::newRow("--version") << words("--version") << int(Request::ShowVersion) << QString() << none << none
                                   << none;
        QTest::newRow("command help") << words("export --help") << int(Request::ShowCommandHelp) << "export" << none
                                      << none << none;
        QTest::newRow("command -h after arguments") << words("png p.mzprj charset:0 -h")
                                                    << int(Request::ShowCommandHelp) << "png" << none << none << none;
        QTest::newRow("list") << words("list p.mzprj") << run << "list" << words("p.mzprj") << none << none;
        QTest::newRow("upgrade") << words("upgrade old.mzprj new.mzprj") << run << "upgrade"
                                 << words("old.mzprj new.mzprj") << none << none;
        QTest::newRow("value as the next word") << words("export p.mzprj charset:0 --indent 3") << run << "export"
                                                << words("p.mzprj charset:0") << words("indent=3") << none;
        QTest::newRow("value after =") << words("export p.mzprj charset:0 --indent=3") << run << "export"
                                       << words("p.mzprj charset:0") << words("indent=3") << none;
        QTest::newRow("options between arguments")
            << words("binary --rle p.mzprj --out-dir gen screen:1 --select=1:2,0:0") << run << "binary"
            << words("p.mzprj screen:1") << words("out-dir=gen select=1:2,0:0") << words("rle");
        QTest::newRow("the last value counts") << words("export p.mzprj charset:0 --indent 2 --indent=5") << run
                                               << "export" << words("p.mzprj charset:0") << words("indent=5")
                                               << none;
        QTest::newRow("empty value") << words("export p.mzprj charset:0 --prefix=") << run << "export"
                                     << words("p.mzprj charset:0") << QStringList {QStringLiteral("prefix=")}
                                     << none;
        QTest::newRow("a value may start with dashes")
            << words("export p.mzprj charset:0 --separator --rle") << run << "export" << words("p.mzprj charset:0")
            << words("separator=--rle") << none;
        QTest::newRow("flags in the order given")
            << words("export p.mzprj tileset:0 --no-colors --comments --colors --no-colors") << run << "export"
            << words("p.mzprj tileset:0") << none << words("no-colors comments colors no-colors");
        QTest::newRow("png options") << words("png p.mzprj charset:0 --columns=4 --out x.png") << run << "png"
                                     << words("p.mzprj charset:0") << words("columns=4 out=x.png") << none;
        QTest::newRow("after -- only arguments") << words("list -- --odd.mzprj") << run << "list"
                                                 << words("--odd.mzprj") << none << none;
    }

    void parse()
    {
        QFETCH(QStringList, words);
        QFETCH(int, action);
        QFETCH(QString, command);
        QFETCH(QStringList, positional);
        QFETCH(QStringList, values);
        QFETCH(QStringList, flags);

        const Request request = parseArguments(words);
        QCOMPARE(int(request.action), action);
        QCOMPARE(request.command, command);
        QCOMPARE(request.positional, positional);
        QStringList given;
        for (auto it = request.values.cbegin(); it != request.values.cend(); ++it)
            given.append(it.key() + QLatin1Char('=') + it.value());
        QCOMPARE(given, values);
        QCOMPARE(request.flags, flags);
    }

    void version()
    {
        // One source of the version: CMake's project() and a stage letter.
        const QRegularExpression number(QStringLiteral("^\\d+\\.\\d+\\.\\d+[a-z]?$"));
        QVERIFY2(number.match(QStringLiteral(MOSAIKON_VERSION)).hasMatch(), MOSAIKON_VERSION);
        QCOMPARE(parseArguments(words("--version")).shownText(), QByteArray("mosaikon-cli " MOSAIKON_VERSION "\n"));
    }

    void exportOptions_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("item");
        QTest::addColumn<ExportDataOptions>("expected");

        QTest::newRow("image set defaults") << QStringList() << "charset:0" << documentedOptions(false);
        QTest::newRow("tile set defaults") << QStringList() << "tileset:0" << documentedOptions(true);
        QTest::newRow("screen defaults") << QStringList() << "screen:0" << documentedOptions(false);
        QTest::newRow("animation defaults") << QStringList() << "spriteset:1/anim:0" << documentedOptions(false);

        ExportDataOptions indented = documentedOptions(false);
        indented.indentSpaces = 3;
        QTest::newRow("--indent 3") << words("--indent 3") << "charset:0" << indented;
        QTest::newRow("--indent=3") << words("--indent=3") << "charset:0" << indented;

        ExportDataOptions text = documentedOptions(true);
        text.indentSpaces = 256;
        text.dataPerLine = 2048;
        text.dataPrefix = QStringLiteral(".byte");
        text.base = ExportDataOptions::NumberBase::Dec;
        text.hexPrefix = QStringLiteral("0x");
        text.separator = QStringLiteral("|");
        text.commentPrefix = QStringLiteral("//");
        QTest::newRow("text, both spellings")
            << words("--indent=256 --per-line 2048 --prefix .byte --base=dec --hex-prefix 0x --separator=| "
                     "--comment-prefix //")
            << "tileset:0" << text;
        ExportDataOptions lowest = documentedOptions(false);
        lowest.dataPerLine = 1;
        QTest::newRow("lowest numbers") << words("--indent 0 --per-line=1 --base hex") << "screen:0" << lowest;

        ExportDataOptions flags = documentedOptions(false);
        flags.includeComments = true;
        flags.compressRLE = true;
        flags.includeSelection = true;
        QTest::newRow("flags") << words("--selection --rle --comments") << "blockset:2" << flags;

        ExportDataOptions laterWins = documentedOptions(true);
        laterWins.includeColors = false;
        laterWins.includeData = true;
        laterWins.includeEmptySlots = false;
        QTest::newRow("the later of a pair wins")
            << words("--colors --no-colors --no-data --data --empty-slots --no-empty-slots") << "tileset:0"
            << laterWins;
        ExportDataOptions colored = documentedOptions(true);
        QTest::newRow("--colors on an image set") << words("--colors") << "charset:0" << colored;

        ExportDataOptions empty = documentedOptions(false);
        empty.dataPrefix = QString();
        empty.separator = QString();
        QTest::newRow("empty values") << words("--prefix= --separator=") << "charset:0" << empty;
    }

    void exportOptions()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, item);
        QFETCH(ExportDataOptions, expected);

        ItemRef ref;
        QVERIFY(ItemRef::parse(item, ref));
        const ExportDataOptions actual =
            parseArguments(words("export p.mzprj") + QStringList {item} + options).exportOptions(ref);
        QCOMPARE(actual.indentSpaces, expected.indentSpaces);
        QCOMPARE(actual.dataPerLine, expected.dataPerLine);
        QCOMPARE(actual.dataPrefix, expected.dataPrefix);
        QCOMPARE(actual.base, expected.base);
        QCOMPARE(actual.hexPrefix, expected.hexPrefix);
        QCOMPARE(actual.separator, expected.separator);
        QCOMPARE(actual.commentPrefix, expected.commentPrefix);
        QCOMPARE(actual.includeEmptySlots, expected.includeEmptySlots);
        QCOMPARE(actual.includeData, expected.includeData);
        QCOMPARE(actual.includeColors, expected.includeColors);
        QCOMPARE(actual.includeSelection, expected.includeSelection);
        QCOMPARE(actual.includeComments, expected.includeComments);
        QCOMPARE(actual.compressRLE, expected.compressRLE);
    }

    void selection_data()
    {
        QTest::addColumn<QString>("select");
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<QList<CellPos>>("cells");

        QTest::newRow("numbers in order, repeated") << "5,1,300,5" << QList<int> {5, 1, 300, 5} << QList<CellPos>();
        QTest::newRow("numbers with blanks") << " 255, 0 ,65" << QList<int> {255, 0, 65} << QList<CellPos>();
        QTest::newRow("empty pieces are skipped") << ",3,,4," << QList<int> {3, 4} << QList<CellPos>();
        QTest::newRow("nothing") << "" << QList<int>() << QList<CellPos>();
        QTest::newRow("cells") << "3:2, 0:0,1:0 ,0:1" << QList<int>()
                               << QList<CellPos> {{3, 2}, {0, 0}, {1, 0}, {0, 1}};
    }

    void selection()
    {
        QFETCH(QString, select);
        QFETCH(QList<int>, numbers);
        QFETCH(QList<CellPos>, cells);

        const Request request = parseArguments(words("export p.mzprj charset:0") + QStringList {"--select", select});
        QVERIFY(request.has(QStringLiteral("select")));
        if (cells.isEmpty())
            QCOMPARE(request.selectedNumbers(), numbers);
        if (numbers.isEmpty())
            QCOMPARE(request.selectedCells(), cells);
    }

    void columns_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("columns");

        QTest::newRow("the fallback without --columns") << QStringList() << 32;
        QTest::newRow("--columns 1") << words("--columns 1") << 1;
        QTest::newRow("--columns=4096") << words("--columns=4096") << 4096;
    }

    void columns()
    {
        QFETCH(QStringList, options);
        QFETCH(int, columns);
        QCOMPARE(parseArguments(words("png p.mzprj charset:0 --out x.png") + options).columns(32), columns);
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("asked"); // what the request is asked for after reading
        QTest::addColumn<QString>("message");

        const QString read; // nothing: the reading fails
        const QString options = QStringLiteral("options");
        QTest::newRow("no command") << QStringList() << read << "no command given (see mosaikon-cli --help)";
        QTest::newRow("unknown command") << words("frobnicate p.mzprj") << read
                                         << "unknown command 'frobnicate' (see mosaikon-cli --help)";
        QTest::newRow("an option is no command") << words("--rle export") << read
                                                 << "unknown command '--rle' (see mosaikon-cli --help)";
        QTest::newRow("unknown option") << words("export p.mzprj charset:0 --colour") << read
                                        << "unknown option --colour";
        QTest::newRow("unknown option with a value") << words("export p.mzprj charset:0 --colour=red") << read
                                                     << "unknown option --colour";
        QTest::newRow("unknown letter") << words("export p.mzprj charset:0 -x") << read << "unknown option -x";
        QTest::newRow("export option for list") << words("list p.mzprj --rle") << read << "unknown option --rle";
        QTest::newRow("png option for dump") << words("dump p.mzprj --out x") << read << "unknown option --out";
        QTest::newRow("text option for png") << words("png p.mzprj charset:0 --out x --rle") << read
                                             << "unknown option --rle";
        QTest::newRow("png option for binary") << words("binary p.mzprj charset:0 --out-dir d --columns 2") << read
                                               << "unknown option --columns";
        QTest::newRow("a flag given a value") << words("export p.mzprj charset:0 --rle=yes") << read
                                              << "unknown option --rle=yes";
        QTest::newRow("--indent without value") << words("export p.mzprj charset:0 --indent") << read
                                                << "--indent needs a value";
        QTest::newRow("--out without value") << words("png p.mzprj charset:0 --out") << read << "--out needs a value";
        QTest::newRow("list without project") << words("list") << read
                                              << "list takes 1 argument(s); see mosaikon-cli list --help";
        QTest::newRow("dump two projects") << words("dump a.mzprj b.mzprj") << read
                                           << "dump takes 1 argument(s); see mosaikon-cli dump --help";
        QTest::newRow("export without item") << words("export p.mzprj") << read
                                             << "export takes 2 argument(s); see mosaikon-cli export --help";
        QTest::newRow("upgrade three arguments") << words("upgrade a b c") << read
                                                 << "upgrade takes 2 argument(s); see mosaikon-cli upgrade --help";
        QTest::newRow("binary without --out-dir") << words("binary p.mzprj charset:0") << read
                                                  << "binary needs --out-dir DIR";
        QTest::newRow("binary empty --out-dir") << words("binary p.mzprj charset:0 --out-dir=") << read
                                                << "binary needs --out-dir DIR";
        QTest::newRow("png without --out") << words("png p.mzprj charset:0 --columns 3") << read
                                           << "png needs --out FILE";

        QTest::newRow("--indent -1") << words("export p.mzprj charset:0 --indent -1") << options
                                     << "--indent takes a number from 0 to 256";
        QTest::newRow("--indent=257") << words("export p.mzprj charset:0 --indent=257") << options
                                      << "--indent takes a number from 0 to 256";
        QTest::newRow("--indent four") << words("export p.mzprj charset:0 --indent four") << options
                                       << "--indent takes a number from 0 to 256";
        QTest::newRow("--per-line 0") << words("binary p.mzprj charset:0 --out-dir d --per-line 0") << options
                                      << "--per-line takes a number from 1 to 2048";
        QTest::newRow("--per-line 2049") << words("export p.mzprj charset:0 --per-line=2049") << options
                                         << "--per-line takes a number from 1 to 2048";
        QTest::newRow("--base oct") << words("export p.mzprj charset:0 --base oct") << options
                                    << "--base takes hex or dec";
        QTest::newRow("--base HEX") << words("export p.mzprj charset:0 --base=HEX") << options
                                    << "--base takes hex or dec";
        QTest::newRow("empty --base") << words("export p.mzprj charset:0 --base=") << options
                                      << "--base takes hex or dec";
        QTest::newRow("--select not a number") << words("export p.mzprj charset:0 --select 1,a") << "numbers"
                                               << "--select: 'a' is not an index";
        QTest::newRow("--select negative") << words("export p.mzprj charset:0 --select=-3") << "numbers"
                                           << "--select: '-3' is not an index";
        QTest::newRow("--select a number for cells") << words("export p.mzprj screen:0 --select 1") << "cells"
                                                     << "--select: '1' is not a cell x:y";
        QTest::newRow("--select three parts") << words("export p.mzprj screen:0 --select 1:2:3") << "cells"
                                              << "--select: '1:2:3' is not a cell x:y";
        QTest::newRow("--select negative cell") << words("export p.mzprj screen:0 --select=0:0,-1:0") << "cells"
                                                << "--select: '-1:0' is not a cell x:y";
        QTest::newRow("--columns 0") << words("png p.mzprj charset:0 --out x --columns 0") << "columns"
                                     << "--columns takes a number from 1 to 4096";
        QTest::newRow("--columns many") << words("png p.mzprj charset:0 --out x --columns=many") << "columns"
                                        << "--columns takes a number from 1 to 4096";
    }

    void errors()
    {
        QFETCH(QStringList, words);
        QFETCH(QString, asked);
        QFETCH(QString, message);

        try {
            const Request request = parseArguments(words);
            if (asked == QLatin1String("options"))
                request.exportOptions(ItemRef());
            else if (asked == QLatin1String("numbers"))
                request.selectedNumbers();
            else if (asked == QLatin1String("cells"))
                request.selectedCells();
            else if (asked == QLatin1String("columns"))
                request.columns(32);
        } catch (const Failure& failure) {
            QCOMPARE(int(failure.code), int(BadUsage));
            QCOMPARE(failure.message, message);
            return;
        }
        QFAIL("the command line was accepted");
    }
};

QTEST_GUILESS_MAIN(ArgumentsTest)
#include "tst_arguments.moc"
