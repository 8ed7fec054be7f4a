#include "editing/slotselection.h"

#include <QSet>

#include <algorithm>

void SlotSelection::click(int slot)
{
    if (contains(slot))
        return;
    indexes = {slot};
    rect = QRect();
}

void SlotSelection::ctrlClick(int slot)
{
    if (!indexes.removeOne(slot))
        indexes.append(slot);
    rect = QRect();
}

void SlotSelection::shiftClick(int slot)
{
    const int from = anchor();
    rect = QRect();
    if (from < 0) {
        indexes = {slot};
        return;
    }
    indexes.clear();
    for (int i = qMin(from, slot); i <= qMax(from, slot); ++i)
        indexes.append(i);
}

void SlotSelection::altClick(int slot, int gridWidth)
{
    const int from = anchor();
    if (from < 0 || gridWidth <= 0) {
        indexes = {slot};
        rect = QRect();
        return;
    }
    const QPoint a(from % gridWidth, from / gridWidth);
    const QPoint b(slot % gridWidth, slot / gridWidth);
    rect = QRect(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())), QPoint(qMax(a.x(), b.x()), qMax(a.y(), b.y())));
    indexes.clear();
    for (int row = rect.top(); row <= rect.bottom(); ++row) {
        for (int column = rect.left(); column <= rect.right(); ++column)
            indexes.append(row * gridWidth + column);
    }
}

void SlotSelection::clear()
{
    indexes.clear();
    rect = QRect();
}

void SlotSelection::selectAll(int slotCount)
{
    clear();
    for (int i = 0; i < slotCount; ++i)
        indexes.append(i);
}

void SlotSelection::selectNonEmpty(const Imageset& set)
{
    clear();
    // Images outside a grid made smaller stay in the set but are not listed.
    const int slotCount = set.selectorGridWidth * set.selectorGridHeight;
    for (auto it = set.images.cbegin(); it != set.images.cend() && it.key() < slotCount; ++it)
        indexes.append(it.key());
}

void SlotSelection::invert(int slotCount)
{
    const QSet<int> selected(indexes.cbegin(), indexes.cend());
    clear();
    for (int i = 0; i < slotCount; ++i) {
        if (!selected.contains(i))
            indexes.append(i);
    }
}

QString Slots::dragFormat(const Imageset& set)
{
    switch (set.type) {
    case Imageset::Spriteset:
        return QStringLiteral("text/spriteset_index");
    case Imageset::Blockset:
        return QStringLiteral("text/blockset_index");
    default:
        return QStringLiteral("text/charset_index");
    }
}

void SlotSelection::selectPlaced(const EditingGrid& grid, int layer, int gridWidth)
{
    clear();
    QSet<int> seen;
    for (int row = 0; row < grid.rows(); ++row) {
        for (int column = 0; column < grid.columns(); ++column) {
            const int slot = grid.slotAt(layer, column, row);
            if (slot >= 0 && !seen.contains(slot)) {
                seen.insert(slot);
                indexes.append(slot);
            }
        }
    }
    if (indexes.isEmpty() || gridWidth <= 0)
        return;
    QRect cells;
    for (int slot : qAsConst(indexes))
        cells |= QRect(slot % gridWidth, slot / gridWidth, 1, 1);
    if (cells.width() * cells.height() == indexes.size())
        rect = cells;
}

QString Slots::dragPayload(const Imageset& set, const SlotSelection& selection)
{
    QStringList parts {QString::number(set.id)};
    if (selection.rect.isEmpty())
        parts << QStringLiteral("-1") << QStringLiteral("-1");
    else
        parts << QString::number(selection.rect.width()) << QString::number(selection.rect.height());
    parts << QStringLiteral("1") << QStringLiteral("1");
    for (int slot : selection.indexes)
        parts << QString::number(slot) << QString::number(set.imageColor(slot));
    return parts.join(QLatin1Char(','));
}

void Slots::clear(Imageset& set, const QList<int>& slotList)
{
    for (int slot : slotList) {
        set.images.remove(slot);
        set.imageColors.remove(slot);
        set.blockColors.remove(slot);
        set.multiColorSprites.remove(slot);
    }
}
