#pragma once

#include "exchange/exportoptions.h"
#include "exchange/textformat.h"
#include "model/screen.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Screens as exported data: the streams of cell indexes and colours, and the
// assembler text built from them.
namespace ScreenExport {

// Every cell of the screen, row by row.
QList<CellPos> allCells(const Screen& screen);

// Whether the indexes of the listed cells take two bytes each: the largest
// does not fit beside the value that marks a missing cell (255 in bytes,
// 65535 in words) when a listed cell is missing.
bool wordIndexes(const Screen& screen, const QList<CellPos>& cells);
// The indexes of the listed cells in order, one byte each or, as words, two
// (low byte first); a missing cell holds 255 or 65535.
QByteArray indexStream(const Screen& screen, const QList<CellPos>& cells, bool words);
// The colours of the listed cells in order, one byte each, 255 where a cell
// has no colour.
QByteArray colorStream(const Screen& screen, const QList<CellPos>& cells);

// The assembler text of the listed cells: the source reference, the screen
// size, the cell count, the index stream and, for character and block
// screens, the colour stream; optionally run-length coded and commented.
QList<ExportSection> sections(const Screen& screen, const QList<CellPos>& cells, const ExportDataOptions& options);
QString text(const Screen& screen, const QList<CellPos>& cells, const ExportDataOptions& options);

}
