#pragma once

// Small value builders and comparisons shared by the core tests: byte lists,
// index ranges, images put into sets, the sections of an export in one line,
// export options in another assembler's dialect, and files under tests/data.

#include "exchange/exportoptions.h"
#include "exchange/textformat.h"
#include "model/imageset.h"
#include "support/core/datatable.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtTest>

#include <initializer_list>

namespace testvalues {

// The values as bytes, each cut to its low eight bits.
inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value & 0xFF));
    return result;
}

// first, first + 1, ..., count values.
inline QList<int> range(int first, int count)
{
    QList<int> result;
    for (int i = 0; i < count; ++i)
        result.append(first + i);
    return result;
}

// Puts an image of the set's size holding data into a slot.
inline void putImage(Imageset& set, int slot, const QByteArray& data)
{
    ImageData image(set.imageWidth, set.imageHeight);
    image.bytes = data;
    set.images.insert(slot, image);
}

// Bytes as two-digit hex numbers between blanks; a run of four or more equal
// bytes is written once with its length, as "ff*12".
inline QString hexRuns(const QByteArray& bytes)
{
    QStringList values;
    for (int i = 0; i < bytes.size();) {
        int n = 1;
        while (i + n < bytes.size() && bytes.at(i + n) == bytes.at(i))
            ++n;
        const QString hex = QString::fromLatin1(bytes.mid(i, 1).toHex());
        values.append(n < 4 ? hex : hex + QLatin1Char('*') + QString::number(n));
        i += n < 4 ? 1 : n;
    }
    return values.join(QLatin1Char(' '));
}

// Sections on one line, "label: bytes | label: bytes" in hexRuns() form, a
// section of comment lines alone as "(comment)"; headers are left out.
inline QString describe(const QList<ExportSection>& sections)
{
    QStringList parts;
    for (const ExportSection& s : sections)
        parts.append(s.label.isEmpty() ? QStringLiteral("(comment)")
                                       : (s.label + QStringLiteral(": ") + hexRuns(s.bytes)).trimmed());
    return parts.join(QStringLiteral(" | "));
}

// Export options in another assembler's dialect than the default: numbers in
// decimal when hexPrefix is empty, else in hex after it; the data prefix, the
// indent, values per line, separator and comment prefix. Every item flag
// keeps its default.
inline ExportDataOptions dialect(const QString& hexPrefix, const QString& dataPrefix, int indent, int perLine,
                                 const QString& separator = QStringLiteral(", "),
                                 const QString& commentPrefix = QStringLiteral(";"))
{
    ExportDataOptions options;
    options.base = hexPrefix.isEmpty() ? ExportDataOptions::NumberBase::Dec : ExportDataOptions::NumberBase::Hex;
    options.hexPrefix = hexPrefix.isEmpty() ? options.hexPrefix : hexPrefix;
    options.dataPrefix = dataPrefix;
    options.indentSpaces = indent;
    options.dataPerLine = perLine;
    options.separator = separator;
    options.commentPrefix = commentPrefix;
    return options;
}

// The bytes of a file; "<cannot open>" when there is none.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot open>");
}

// The text of a file under tests/data, such as "exchange/screen.asm".
inline QString dataFile(const QString& path)
{
    return QString::fromUtf8(readFile(datatable::path(path)));
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace testvalues
