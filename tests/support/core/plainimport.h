#pragma once

// The conversion of a picture into a set done the plain, slow way, straight
// from its definition: every set-wide combination, every cell, every
// candidate, every pixel. The fast search must choose what this chooses.
// Shared by the conversion test and bench-import.

#include "convert/colormatch.h"
#include "convert/pictureconversion.h"

#include <QImage>
#include <QVector>

#include <array>
#include <limits>

namespace plainimport {

// The kind of images a set of this type and mode makes, every colour searched.
inline PictureConversion::Setup setupFor(Imageset::Type type, Imageset::Mode mode, bool multiColorSprites = false)
{
    const bool sprites = type == Imageset::Spriteset;
    Imageset set(1, QStringLiteral("set"), sprites ? 24 : 8, sprites ? 21 : 8, type);
    set.mode = mode;
    return PictureConversion::Setup::forSet(set, multiColorSprites);
}

struct Outcome {
    std::array<int, 4> colors {};
    QVector<int> foregrounds;     // per cell
    QVector<int> backgrounds;     // per cell, extended background mode: 0-3
    QVector<BlockColors> blocks;  // per cell, block sets
    QVector<int> codes;           // per picture pixel, as stored in the image
    double error = 0;
};

namespace detail {

using PictureConversion::Setup;

struct Candidate {
    int foreground = 0;
    int background = 0;
    BlockColors block {0, 1, 2};
};

// The cell's colour list for a candidate; in extended background mode the
// four backgrounds come first and the candidate's background is a position.
inline QVector<int> listOf(const Setup& setup, const std::array<int, 4>& set, const Candidate& candidate)
{
    if (setup.ecm())
        return {set[0], set[1], set[2], set[3], candidate.foreground};
    if (setup.type == Imageset::Blockset)
        return setup.multiColor() ? QVector<int> {set[0], candidate.block.c1, candidate.block.c2, candidate.foreground}
                                  : QVector<int> {candidate.block.c0, candidate.foreground};
    return setup.multiColor() ? QVector<int> {set[0], set[1], set[2], candidate.foreground}
                              : QVector<int> {set[0], candidate.foreground};
}

// Position in the list of a pixel's colour.
inline int positionOf(const Setup& setup, const QVector<int>& list, const Candidate& candidate, QRgb pixel,
                      const Palette::Colors& palette)
{
    if (setup.ecm()) {
        const double toBackground = ColorMatch::rgbDistance(palette[size_t(list[candidate.background])], pixel);
        const double toForeground = ColorMatch::rgbDistance(palette[size_t(candidate.foreground)], pixel);
        return toBackground <= toForeground ? candidate.background : 4;
    }
    int best = 0;
    for (int k = 1; k < list.size(); ++k) {
        if (ColorMatch::rgbDistance(palette[size_t(list[k])], pixel)
            < ColorMatch::rgbDistance(palette[size_t(list[best])], pixel))
            best = k;
    }
    return best;
}

inline QVector<Candidate> candidates(const Setup& setup, const std::array<int, 4>& set)
{
    QVector<Candidate> result;
    for (int f = setup.foreground.first; f <= setup.foreground.last; ++f) {
        if (setup.ecm()) {
            for (int i = 0; i < 4; ++i)
                result.append({f, i, {}});
        } else if (setup.type == Imageset::Blockset && setup.multiColor()) {
            for (int c1 = setup.multi1.first; c1 <= setup.multi1.last; ++c1)
                for (int c2 = setup.multi2.first; c2 <= setup.multi2.last; ++c2)
                    result.append({f, 0, {set[0], c1, c2}});
        } else if (setup.type == Imageset::Blockset) {
            for (int c0 = setup.background.first; c0 <= setup.background.last; ++c0)
                result.append({f, 0, {c0, 1, 2}});
        } else {
            result.append({f, 0, {}});
        }
    }
    return result;
}

}

// picture: palette indexes, a whole number of cells.
inline Outcome search(const QImage& picture, const PictureConversion::Setup& setup, const Palette::Colors& palette)
{
    using namespace detail;
    const QSize cell = setup.cellSize();
    const int columns = picture.width() / cell.width();
    const int rows = picture.height() / cell.height();
    const bool blocks = setup.type == Imageset::Blockset;
    const bool multicolors = !blocks && (setup.multiColor() || setup.ecm());
    const auto rangeOf = [](const PictureConversion::Range& range, bool searched) {
        return searched ? range : PictureConversion::Range::single(range.first);
    };
    const PictureConversion::Range ranges[4] = {rangeOf(setup.background, !blocks || setup.multiColor()),
                                                rangeOf(setup.multi1, multicolors), rangeOf(setup.multi2, multicolors),
                                                rangeOf(setup.background3, setup.ecm())};

    Outcome best;
    best.error = std::numeric_limits<double>::infinity();
    std::array<int, 4> set;
    for (set[0] = ranges[0].first; set[0] <= ranges[0].last; ++set[0])
    for (set[1] = ranges[1].first; set[1] <= ranges[1].last; ++set[1])
    for (set[2] = ranges[2].first; set[2] <= ranges[2].last; ++set[2])
    for (set[3] = ranges[3].first; set[3] <= ranges[3].last; ++set[3]) {
        Outcome outcome;
        outcome.colors = set;
        outcome.codes.resize(picture.width() * picture.height());
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                double cellBest = std::numeric_limits<double>::infinity();
                Candidate chosen;
                QVector<int> chosenCodes;
                for (const Candidate& candidate : candidates(setup, set)) {
                    const QVector<int> list = listOf(setup, set, candidate);
                    double error = 0;
                    QVector<int> codes;
                    for (int y = 0; y < cell.height(); ++y) {
                        for (int x = 0; x < cell.width(); ++x) {
                            const QRgb pixel = palette[size_t(picture.pixelIndex(column * cell.width() + x,
                                                                                 row * cell.height() + y) & 15)];
                            const int position = positionOf(setup, list, candidate, pixel, palette);
                            error += ColorMatch::rgbDistance(palette[size_t(list[position])], pixel);
                            codes.append(position);
                        }
                    }
                    if (error < cellBest) {
                        cellBest = error;
                        chosen = candidate;
                        chosenCodes = codes;
                    }
                }
                outcome.error += cellBest;
                outcome.foregrounds.append(chosen.foreground);
                outcome.backgrounds.append(chosen.background);
                outcome.blocks.append(chosen.block);
                for (int i = 0; i < chosenCodes.size(); ++i) {
                    int code = chosenCodes[i];
                    if (setup.ecm())
                        code = code == 4 ? 1 : 0;
                    else if (setup.type == Imageset::Spriteset && setup.multiColor() && code >= 2)
                        code = 5 - code;
                    const int x = column * cell.width() + i % cell.width();
                    const int y = row * cell.height() + i / cell.width();
                    outcome.codes[y * picture.width() + x] = code;
                }
            }
        }
        if (outcome.error < best.error)
            best = outcome;
    }
    return best;
}

}
