#pragma once

#include "model/dataset.h"

#include <QString>

// Single-item files hold exactly one dataset record, so that an item moves
// between projects with all its data and view settings.
enum class ItemFileResult { Ok, CannotOpen, BadFile };

namespace ItemFile {
bool write(const QString& path, const Dataset& dataset);

// Loads the record into the dataset, which keeps its own identifier and name:
// an imported item is numbered and named by the project it joins. The file
// does not name its kind; a record of another kind is caught only where its
// fields do not fit. On BadFile (unknown record version, damaged record, bytes
// after it) the dataset is in an unspecified state and must be discarded.
ItemFileResult read(const QString& path, Dataset& dataset);
}
