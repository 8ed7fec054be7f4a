#pragma once

#include "cli/itemref.h"
#include "exchange/exportoptions.h"
#include "model/screen.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// How the program ends: 1 for a file or item it cannot use, 2 for a command
// line it cannot follow.
enum ExitCode { Success = 0, BadInput = 1, BadUsage = 2 };

// Why a command stops: its exit code and a one-line message.
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

// What the command line asks for. Options are named without their dashes.
struct Request {
    enum Action { Run, ShowUsage, ShowCommandHelp, ShowVersion };
    Action action = Run;
    QString command;               // Run and ShowCommandHelp
    QStringList positional;        // the command's arguments, as many as it takes
    QMap<QString, QString> values; // options with a value; the last one given counts
    QStringList flags;             // options without a value, in the order given

    bool has(const QString& name) const { return flags.contains(name) || values.contains(name); }
    QString value(const QString& name) const { return values.value(name); }

    // The text options applied to the defaults of the item's kind.
    ExportDataOptions exportOptions(const ItemRef& ref) const;
    // --select as slot or tile numbers, or as screen cells x:y.
    QList<int> selectedNumbers() const;
    QList<CellPos> selectedCells() const;
    // --columns, or the fallback without it.
    int columns(int fallback) const;
    // The option's number, which must lie from low to high, or the fallback
    // when it is not given.
    int number(const QString& name, int fallback, int low, int high) const;

    // What the program prints for an action other than Run.
    QByteArray shownText() const;
};

// The request of the words after the program's name. What cannot be known
// before the project is read (numbers, the item, the selection) is checked
// when the request is asked for it; everything else is checked here. A
// failure has the exit code BadUsage.
Request parseArguments(const QStringList& words);
