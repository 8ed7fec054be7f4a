#include "model/screen.h"

namespace {
constexpr qint64 cellBytes = 3 * 4; // x, y, value

void readCells(RecordReader& in, QMap<CellPos, int>& cells)
{
    cells.clear();
    const int count = in.readCount(cellBytes);
    for (int i = 0; i < count && in.ok(); ++i) {
        CellPos pos;
        pos.x = in.readIntInRange(0, Screen::maxSide - 1);
        pos.y = in.readIntInRange(0, Screen::maxSide - 1);
        cells.insert(pos, in.readInt());
    }
}

void writeCells(RecordWriter& out, const QMap<CellPos, int>& cells)
{
    out.writeInt(cells.size());
    for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
        out.writeInt(it.key().x);
        out.writeInt(it.key().y);
        out.writeInt(it.value());
    }
}
}

void Screen::remapCells(const QMap<int, int>& oldToNew, bool keepUnmapped)
{
    for (auto it = cellIndexes.begin(); it != cellIndexes.end();) {
        const auto mapped = oldToNew.constFind(it.value());
        if (mapped != oldToNew.cend()) {
            it.value() = mapped.value();
            ++it;
        } else if (keepUnmapped) {
            ++it;
        } else {
            it = cellIndexes.erase(it);
        }
    }
}

bool Screen::operator==(const Screen& other) const
{
    return sameHead(other) && sourceRef == other.sourceRef && cellIndexes == other.cellIndexes
        && cellColors == other.cellColors && width == other.width && height == other.height
        && zoom == other.zoom && outerGridVisible == other.outerGridVisible
        && innerGridVisible == other.innerGridVisible;
}

bool Screen::load(RecordReader& in)
{
    FileVersion version;
    if (!loadHead(in, version))
        return false;

    sourceRef = in.readInt();
    readCells(in, cellIndexes);
    if (version.hasSelectorGridAndLayers()) {
        readCells(in, cellColors);
    } else {
        // Older screens were always built from a tile set and stored its
        // plain identifier, or -1 for none.
        if (sourceRef >= 0)
            sourceRef = SourceRef::make(SourceRef::tilesetBit, sourceRef);
        cellColors.clear();
    }
    width = in.readIntInRange(1, maxSide);
    height = in.readIntInRange(1, maxSide);
    zoom = in.readFiniteDouble(Screen().zoom);
    outerGridVisible = in.readBool();
    innerGridVisible = in.readBool();
    return in.ok();
}

void Screen::save(RecordWriter& out) const
{
    saveHead(out);
    out.writeInt(sourceRef);
    writeCells(out, cellIndexes);
    writeCells(out, cellColors);
    out.writeInt(width);
    out.writeInt(height);
    out.writeDouble(zoom);
    out.writeBool(outerGridVisible);
    out.writeBool(innerGridVisible);
}
