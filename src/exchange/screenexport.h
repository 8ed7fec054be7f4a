#pragma once

#include "exchange/exportoptions.h"
#include "exchange/textformat.h"
#include "model/screen.h"

#include <QList>
#include <QString>

// Every cell of the screen, row by row.
QList<CellPos> allExportCells(const Screen& screen);

// The assembler text of the listed cells: the source reference, the screen
// size, the cell count, the cell indexes (16-bit when an index does not fit
// beside the value that marks a missing cell) and, for character and block
// screens, the cell colours; optionally run-length coded and commented.
QList<ExportSection> screenSections(const Screen& screen, const QList<CellPos>& cells, const ExportDataOptions& options);
QString exportScreenText(const Screen& screen, const QList<CellPos>& cells, const ExportDataOptions& options);
