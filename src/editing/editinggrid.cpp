#include "editing/editinggrid.h"

#include <QtGlobal>

#include <algorithm>

namespace {
bool inside(int column, int row)
{
    return column >= 0 && row >= 0 && column < EditingGrid::maxSize && row < EditingGrid::maxSize;
}
}

void EditingGrid::resize(int columns, int rows)
{
    const QSize used = usedExtent();
    columns_ = qBound(used.width(), columns, maxSize);
    rows_ = qBound(used.height(), rows, maxSize);
}

int EditingGrid::slotAt(int layer, int column, int row) const
{
    if (layer < 0 || layer >= layerCount || !inside(column, row) || cells[size_t(layer)].isEmpty())
        return -1;
    return cells[size_t(layer)].at(row * maxSize + column);
}

void EditingGrid::place(int layer, int column, int row, int slot)
{
    if (layer < 0 || layer >= layerCount || !inside(column, row))
        return;
    QVector<int>& layerCells = cells[size_t(layer)];
    if (layerCells.isEmpty()) {
        if (slot < 0)
            return;
        layerCells.fill(-1, maxSize * maxSize);
    }
    layerCells[row * maxSize + column] = qMax(-1, slot);
    ++generation_;
}

void EditingGrid::clear(int layer)
{
    if (layer >= 0 && layer < layerCount) {
        cells[size_t(layer)].clear();
        ++generation_;
    }
}

bool EditingGrid::isEmpty(int layer) const
{
    if (layer < 0 || layer >= layerCount)
        return true;
    const QVector<int>& layerCells = cells[size_t(layer)];
    return std::all_of(layerCells.cbegin(), layerCells.cend(), [](int slot) { return slot < 0; });
}

QSize EditingGrid::usedExtent() const
{
    QSize extent(1, 1);
    for (const QVector<int>& layerCells : cells) {
        for (int i = 0; i < layerCells.size(); ++i) {
            if (layerCells.at(i) >= 0)
                extent = extent.expandedTo(QSize(i % maxSize + 1, i / maxSize + 1));
        }
    }
    return extent;
}

void EditingGrid::fill(int layer, const QList<int>& slotList)
{
    clear(layer);
    for (int i = 0; i < slotList.size() && i / columns_ < rows_; ++i)
        place(layer, i % columns_, i / columns_, slotList.at(i));
}
