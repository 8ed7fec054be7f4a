#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// Reads numbers back out of exported assembler text, section by section.
// The text is cut into pieces at commas and white space. A five-character
// piece containing "byte" (such as "!byte" or ".byte") opens a data line;
// on a data line, pieces starting with "$" or "0x" are hexadecimal numbers
// and others decimal, and the first piece that is not a number ends the line.
// Outside data lines a piece chooses the current section: the first key
// (tested in order, ignoring case) that it contains, or none. Numbers go to
// the current section's list and are dropped when there is none. Comments
// are thereby skipped; parsing never fails.
namespace ImportParser {
QVector<QList<int>> sections(const QString& text, const QStringList& sectionKeys);
}
