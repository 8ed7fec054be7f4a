#include "exchange/screenexport.h"

#include "exchange/rle.h"
#include "exchange/textformat.h"

#include <algorithm>

namespace {
bool hasMissingCell(const Screen& screen, const QList<CellPos>& cells)
{
    return std::any_of(cells.cbegin(), cells.cend(),
                       [&](const CellPos& cell) { return !screen.cellIndexes.contains(cell); });
}
}

QList<CellPos> ScreenExport::allCells(const Screen& screen)
{
    QList<CellPos> cells;
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x)
            cells.append(CellPos {x, y});
    }
    return cells;
}

bool ScreenExport::wordIndexes(const Screen& screen, const QList<CellPos>& cells)
{
    int largest = 0;
    for (const CellPos& cell : cells)
        largest = std::max(largest, screen.cellIndexes.value(cell));
    // A missing cell is written as the largest value of the entry width, so
    // that value must stay free.
    return largest > (hasMissingCell(screen, cells) ? 254 : 255);
}

QByteArray ScreenExport::indexStream(const Screen& screen, const QList<CellPos>& cells, bool words)
{
    const int missing = words ? 0xFFFF : 0xFF;
    QByteArray stream;
    stream.reserve(cells.size() * (words ? 2 : 1));
    for (const CellPos& cell : cells) {
        const int index = screen.cellIndexes.value(cell, missing);
        stream += words ? TextFormat::littleEndianWord(index) : QByteArray(1, char(index & 0xFF));
    }
    return stream;
}

QByteArray ScreenExport::colorStream(const Screen& screen, const QList<CellPos>& cells)
{
    QByteArray stream;
    stream.reserve(cells.size());
    for (const CellPos& cell : cells)
        stream += char(screen.cellColors.value(cell, 255) & 0xFF);
    return stream;
}

QList<ExportSection> ScreenExport::sections(const Screen& screen, const QList<CellPos>& cells,
                                            const ExportDataOptions& options)
{
    const TextFormat format(options);
    const QString label = TextFormat::labelName(screen.name);
    const bool comments = options.includeComments;
    const bool rle = options.compressRLE;
    QList<ExportSection> sections;

    // 0 for a character set, 1 for a block set, 2 for a tile set (and for none).
    const int sourceType = SourceRef::isCharset(screen.sourceRef) ? 0 : SourceRef::isBlockset(screen.sourceRef) ? 1 : 2;
    const QString referenceHeader = comments
        ? format.comment(QStringLiteral(" (dataset_id, dataset_type), where dataset_type = 0 for charset, "
                                        "1 for blockset and 2 for tileset"))
        : QString();
    QByteArray reference;
    reference += char(screen.sourceRef & 0xFF);
    reference += char(sourceType);
    sections.append({referenceHeader, label + QStringLiteral("_dataset_id"), reference});
    sections.append({QString(), label + QStringLiteral("_width"), TextFormat::littleEndianWord(screen.width)});
    sections.append({QString(), label + QStringLiteral("_height"), TextFormat::littleEndianWord(screen.height)});
    sections.append({QString(), label + QStringLiteral("_num_cells"), TextFormat::littleEndianWord(cells.size())});

    const bool missing = screen.cellIndexes.isEmpty() || hasMissingCell(screen, cells);
    const bool wide = wordIndexes(screen, cells);
    const int noCell = wide ? 0xFFFF : 0xFF;

    QByteArray data = indexStream(screen, cells, wide);
    if (rle)
        data = wide ? Rle::encode16(data) : Rle::encode8(data);

    QString header;
    if (comments) {
        header += format.comment(
            QStringLiteral(" %1 bits per entry%2")
                .arg(wide ? 16 : 8)
                .arg(missing ? QStringLiteral(", %1 = no cell").arg(format.commentValue(noCell)) : QString()));
        if (rle) {
            header += format.comment(
                QStringLiteral(" RLE compressed as a sequence of 2 or 1 %1 depending on the following rule:")
                    .arg(wide ? QStringLiteral("word(s)") : QStringLiteral("byte(s)")));
            header += format.comment(QStringLiteral("    value | %1          if (n.repetition == 1) and (value < %2)")
                                         .arg(wide ? QStringLiteral("32768") : QStringLiteral("128  "))
                                         .arg(wide ? 32768 : 128));
            header += format.comment(QStringLiteral("   (n.repetition, value)   otherwise"));
        }
        header += format.comment(QStringLiteral(" Total bytes: %1").arg(data.size()));
        header += QLatin1Char('\n');
    }
    sections.append({header, label + QStringLiteral("_data"), data});

    // Only cells of a character or block set have colours of their own.
    if (!SourceRef::isCharset(screen.sourceRef) && !SourceRef::isBlockset(screen.sourceRef))
        return sections;

    QByteArray colors = colorStream(screen, cells);
    if (rle)
        colors = Rle::encode8(colors);

    QString colorHeader;
    if (comments) {
        colorHeader += format.comment(
            QStringLiteral(" 8 bits per entry%1")
                .arg(missing ? QStringLiteral(", %1 = no cell").arg(format.commentValue(255)) : QString()));
        if (rle) {
            colorHeader += format.comment(
                QStringLiteral(" RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:"));
            colorHeader +=
                format.comment(QStringLiteral("    value | 128            if (n.repetition == 1) and (value < 128)"));
            colorHeader += format.comment(QStringLiteral("   (n.repetition, value)   otherwise"));
        }
        colorHeader += format.comment(QStringLiteral(" Total bytes: %1").arg(colors.size()));
        colorHeader += QLatin1Char('\n');
    }
    sections.append({colorHeader, label + QStringLiteral("_color"), colors});
    return sections;
}

QString ScreenExport::text(const Screen& screen, const QList<CellPos>& cells, const ExportDataOptions& options)
{
    return TextFormat(options).text(sections(screen, cells, options));
}
