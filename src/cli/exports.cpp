#include "cli/exports.h"

#include "exchange/animationexport.h"
#include "exchange/imagesetexchange.h"
#include "exchange/screenexport.h"
#include "exchange/tilesetexchange.h"

namespace {
// The counts of tiles and cells are 16-bit words in the exported data, and
// a tiny file may name a huge item: what does not fit is refused before
// anything is built.
void checkCount(const Request& request, qint64 count, const char* what)
{
    if (count > 65535)
        throw Failure(BadInput, QStringLiteral("%1: %2 %3 do not fit the 16-bit count of the export (at most 65535)")
                                    .arg(request.positional.at(1))
                                    .arg(count)
                                    .arg(QLatin1String(what)));
}

// Tiles of up to 256 x 256 cells make a small tile count a vast export: more
// cells than sixteen times the machine's 64 KiB are no data for it, and are
// refused before anything is built.
void checkCells(const Request& request, qint64 cells)
{
    constexpr qint64 maxCells = 16 * 65536;
    if (cells > maxCells)
        throw Failure(BadInput, QStringLiteral("%1: %2 cells are more than an export takes (at most %3)")
                                    .arg(request.positional.at(1))
                                    .arg(cells)
                                    .arg(maxCells));
}

QList<ExportSection> exportSections(const ExportTarget& target, const Request& request,
                                    const ExportDataOptions& options)
{
    const bool selected = request.has(QStringLiteral("select"));
    if (target.ref.animation >= 0) {
        const auto& set = *target.dataset.staticCast<Imageset>();
        const QSize scale = set.type == Imageset::Spriteset ? QSize(set.imageWidth, set.imageHeight) : QSize(1, 1);
        return AnimationExport::sections(set.name, set.animations.animations.at(target.ref.animation),
                                         target.ref.animation, target.ref.frame, scale);
    }
    switch (target.ref.kind) {
    case ItemKind::Tileset: {
        const auto& tileset = *target.dataset.staticCast<Tileset>();
        // Without a selection every place of the tile grid is exported.
        const qint64 count = selected ? request.selectedNumbers().size() : qint64(tileset.gridSizeX) * tileset.gridSizeY;
        checkCount(request, count, "tiles");
        checkCells(request, count * tileset.tileWidth * tileset.tileHeight);
        const QList<int> tiles = selected ? request.selectedNumbers() : TilesetExchange::allTiles(tileset);
        return TilesetExchange::sections(tileset, tiles, options);
    }
    case ItemKind::Screen: {
        const auto& screen = *target.dataset.staticCast<Screen>();
        checkCount(request, selected ? request.selectedCells().size() : qint64(screen.width) * screen.height, "cells");
        const QList<CellPos> cells = selected ? request.selectedCells() : ScreenExport::allCells(screen);
        return ScreenExport::sections(screen, cells, options);
    }
    default: {
        const auto& set = *target.dataset.staticCast<Imageset>();
        return ImagesetExchange::sections(set, selected ? request.selectedNumbers() : ImagesetExchange::allSlots(set), options);
    }
    }
}

}

ExportTarget findItem(const Project& project, const QString& text)
{
    ExportTarget target;
    if (!ItemRef::parse(text, target.ref))
        throw Failure(BadUsage, QStringLiteral("'%1' does not name an item (see mosaikon-cli --help)").arg(text));
    const ResolvedItem resolved = resolveItem(project, target.ref, text);
    if (!resolved.dataset)
        throw Failure(BadInput, resolved.error);
    target.dataset = resolved.dataset;
    return target;
}

ExportedItem exportItem(const Project& project, const Request& request)
{
    const ExportTarget target = findItem(project, request.positional.at(1));
    ExportedItem exported;
    exported.options = request.exportOptions(target.ref);
    exported.sections = exportSections(target, request, exported.options);
    return exported;
}
