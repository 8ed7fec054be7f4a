#include "editing/slotpayload.h"

#include <QList>

std::optional<SlotPayload> SlotPayload::parse(const QByteArray& text)
{
    const QList<QByteArray> words = text.split(',');
    if (words.size() < 5 || words.size() % 2 == 0)
        return std::nullopt;
    QVector<int> numbers;
    for (const QByteArray& word : words) {
        bool ok = false;
        numbers.append(word.trimmed().toInt(&ok));
        if (!ok)
            return std::nullopt;
    }
    SlotPayload payload;
    payload.setId = numbers.at(0);
    payload.blockWidth = numbers.at(1);
    payload.blockHeight = numbers.at(2);
    payload.pieceWidth = numbers.at(3);
    payload.pieceHeight = numbers.at(4);
    // A piece is at most a tile of 256 x 256 cells.
    if (payload.pieceWidth < 1 || payload.pieceHeight < 1 || payload.pieceWidth > 256 || payload.pieceHeight > 256)
        return std::nullopt;
    for (int i = 5; i + 1 < numbers.size(); i += 2)
        payload.items.append({numbers.at(i), numbers.at(i + 1)});
    return payload;
}

QVector<std::pair<QPoint, int>> SlotPayload::placements(const QPoint& cell, int gridColumns) const
{
    const bool block = blockWidth > 0 && blockHeight > 0;
    const int endColumn = block ? cell.x() + blockWidth - 1 : gridColumns - 1;
    const int pieceSize = pieceWidth * pieceHeight;
    QVector<std::pair<QPoint, int>> result;
    QPoint piece = cell;
    for (int i = 0; i < items.size(); ++i) {
        const int k = i % pieceSize;
        if (i > 0 && k == 0) {
            // The next piece to the right while it fits, else a new row.
            piece.rx() += pieceWidth;
            if (piece.x() + pieceWidth - 1 > endColumn)
                piece = QPoint(cell.x(), piece.y() + pieceHeight);
        }
        if (items.at(i).second != -1)
            result.append({piece + QPoint(k % pieceWidth, k / pieceWidth), items.at(i).first});
    }
    return result;
}
