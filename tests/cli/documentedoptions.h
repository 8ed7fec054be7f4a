#pragma once

#include "exchange/exportoptions.h"

// The export text options as mosaikon-cli's help names their defaults;
// only tile sets export their colours unless told otherwise.
inline ExportDataOptions documentedOptions(bool colors)
{
    ExportDataOptions options;
    options.indentSpaces = 0;
    options.dataPerLine = 8;
    options.dataPrefix = QStringLiteral("!byte");
    options.base = ExportDataOptions::NumberBase::Hex;
    options.hexPrefix = QStringLiteral("$");
    options.separator = QStringLiteral(", ");
    options.commentPrefix = QStringLiteral(";");
    options.includeEmptySlots = true;
    options.includeData = true;
    options.includeColors = colors;
    options.includeSelection = false;
    options.includeComments = false;
    options.compressRLE = false;
    return options;
}
