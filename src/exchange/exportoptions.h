#pragma once

#include <QMetaType>
#include <QString>

// The options of an assembler-text export. Every editor window keeps one set,
// starting from the defaults of its kind, and stores the dialog's choices
// back into it when the dialog is accepted.
struct ExportDataOptions {
    enum class NumberBase { Hex, Dec };

    int indentSpaces = 0;               // 0-256 blanks before each data line
    int dataPerLine = 8;                // 1-2048 values per line
    QString dataPrefix = QStringLiteral("!byte");
    NumberBase base = NumberBase::Hex;
    QString hexPrefix = QStringLiteral("$");
    QString separator = QStringLiteral(", ");
    QString commentPrefix = QStringLiteral(";");

    // Item flags; each kind uses its own subset.
    bool includeEmptySlots = true; // image sets
    bool includeData = true;       // image sets, tile sets
    bool includeColors = false;    // image sets (off), tile sets (on)
    bool includeSelection = false; // image sets
    bool includeComments = false;  // image sets, screens
    bool compressRLE = false;      // image sets, screens

    static ExportDataOptions forImageset() { return {}; }
    static ExportDataOptions forTileset()
    {
        ExportDataOptions options;
        options.includeColors = true;
        return options;
    }
    static ExportDataOptions forScreen() { return {}; }
    static ExportDataOptions forAnimation() { return {}; }
};

Q_DECLARE_METATYPE(ExportDataOptions::NumberBase)
