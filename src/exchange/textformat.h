#pragma once

#include "exchange/exportoptions.h"

#include <QByteArray>
#include <QList>
#include <QString>

// One labelled block of exported data with the comment lines before it. A
// section without label is comment text alone.
struct ExportSection {
    QString header;
    QString label;
    QByteArray bytes;
};

// The shared form of exported assembler text: label names, numbers, data
// lines and sections.
class TextFormat {
public:
    explicit TextFormat(const ExportDataOptions& options);

    // An item name as an assembler label: letters, digits and underscores
    // stay, blanks and tabs become underscores, anything else is dropped.
    static QString labelName(const QString& name);

    // A data value: hex prefix and at least two upper-case hex digits, or
    // plain decimal.
    QString value(int value) const;
    // A single value in a comment: as value(), with four hex digits above 255.
    QString commentValue(int value) const;
    // Data lines of at most dataPerLine values each, every line headed by the
    // indent and the data prefix; no line feed after the last value.
    QString byteList(const QByteArray& bytes) const;
    // A block of data: the header (comment lines, each already ended by a line
    // feed), "label:" on its own line, the data lines and an empty line.
    QString section(const QString& label, const QByteArray& bytes, const QString& header = QString()) const;
    // The text of sections, one after the other.
    QString text(const QList<ExportSection>& sections) const;
    // A comment line: the prefix and the text, ended by a line feed.
    QString comment(const QString& text) const;

    // Two bytes of a 16-bit number, low byte first.
    static QByteArray littleEndianWord(int value);

    bool hex() const { return options.base == ExportDataOptions::NumberBase::Hex; }
    const ExportDataOptions options;
};
