#pragma once

#include "cli/arguments.h"
#include "cli/itemref.h"
#include "exchange/textformat.h"
#include "model/project.h"

#include <QList>
#include <QSharedPointer>

// An item named on the command line, found in its project.
struct ExportTarget {
    ItemRef ref;
    QSharedPointer<Dataset> dataset;
};

// The item the text names: a Failure when the text names no item (BadUsage)
// or the project has no such item (BadInput).
ExportTarget findItem(const Project& project, const QString& text);

// The sections of the item the request names (its second argument), with
// the text options they are written with. Items too large for the export
// are a Failure found before anything is built.
struct ExportedItem {
    ExportDataOptions options;
    QList<ExportSection> sections;
};
ExportedItem exportItem(const Project& project, const Request& request);
