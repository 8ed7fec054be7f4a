// The command line of mosaikon-cli read into a request, in process: what a
// list of words asks for, the export options, selection and column count the
// request then gives, and the exact message of every usage error (the rows
// are in tests/data/cli).

#include "cli/arguments.h"
#include "support/core/datatable.h"

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

// The rows of a table under tests/data/cli: a command line and what it gives.
void addRows(const QString& table)
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    for (const QStringList& row : datatable::rows("cli/" + table))
        QTest::newRow(row[0].isEmpty() ? "no words" : qPrintable(row[0])) << row[0] << row[1];
}

} // namespace

class ArgumentsTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data() { addRows("requests.txt"); }

    void parse()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(describe(line), expected);
    }

    void errors_data() { addRows("usage-errors.txt"); }

    void errors()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        try {
            QFAIL(qPrintable(QStringLiteral("accepted as ") + describe(line)));
        } catch (const Failure& failure) {
            QCOMPARE(int(failure.code), int(BadUsage));
            QCOMPARE(failure.message, expected);
        }
    }
};

QTEST_GUILESS_MAIN(ArgumentsTest)
#include "tst_arguments.moc"
