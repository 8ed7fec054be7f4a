#pragma once

#include "exchange/exportoptions.h"
#include "exchange/textformat.h"
#include "model/imageset.h"

#include <QList>
#include <QString>

// Numbers read back from exported image-set text, by section; each value is
// cut to a byte.
struct ImagesetImport {
    QList<int> data;
    QList<int> background;
    QList<int> colors;
    QList<int> selection;
    QList<int> multiColor;
    QList<int> screenColors;

    // Whether applying changes the set (and so is worth an undo step); a
    // slot list alone only changes the editor's selection.
    bool changesSet() const;
};

namespace ImagesetExchange {
// The slots exported when nothing is selected: all 256 characters of a
// character set (the 64 patterns in extended background colour mode), and
// for sprite and block sets every slot up to the last one holding an image.
QList<int> allSlots(const Imageset& set);

// The assembler text of the slots of a set: bitmap data, colours, the
// multicolour flags of sprites and the slot list, as the options choose.
QList<ExportSection> sections(const Imageset& set, const QList<int>& slotList, const ExportDataOptions& options);
QString text(const Imageset& set, const QList<int>& slotList, const ExportDataOptions& options);

ImagesetImport parseImport(const QString& text);

// In extended background colour mode only the 64 pattern slots take
// imported data or pictures.
bool importTargetsAllowed(const Imageset& set, const QList<int>& targets);

// Puts the imported numbers into the target slots, in order. Gives the slot
// list read from a selection section, or nothing when there was none.
QList<int> applyImport(Imageset& set, const QList<int>& targets, const ImagesetImport& import,
                       bool* selectionGiven = nullptr);
}
