#pragma once

#include "model/imageset.h"
#include "model/palette.h"

#include <QImage>
#include <QList>

#include <array>
#include <functional>

// A picture reduced to the palette turned into the images and colours of a
// set: the picture is cut into cells of the set's image size, and the set's
// own colours (background, multicolours, fourth background) and every cell's
// colours are the ones that together show the picture with the smallest
// error. The error of a pixel is the weighted RGB distance between its
// colour and the colour it gets; the set-wide colours and each cell's
// colours are searched exhaustively over the ranges allowed, and of equal
// errors the earlier candidate wins.
//
// The search works on colours, not pixels: a cell is the counts of its
// palette colours, and a 16 x 16 table holds every distance. The set-wide
// combinations are spread over every core, and each combination's error is
// summed in the same order whatever thread computes it, so the result never
// depends on timing.
namespace PictureConversion {

// The colours a choice may take, first to last palette number.
struct Range {
    int first = 0;
    int last = 15;
    static Range single(int color) { return {color, color}; }
    bool operator==(const Range& other) const { return first == other.first && last == other.last; }
};

// The kind of images made and the colour ranges of each choice.
struct Setup {
    Imageset::Type type = Imageset::Charset;
    Imageset::Mode mode = Imageset::SCM;
    // Sprites only: whether the sprites made are multicolour.
    bool multiColorSprites = false;
    Range background;
    Range multi1;
    Range multi2;
    Range background3;
    // The image colour. For a multicolour character set it is the colour
    // 0-7 that the character's code 11 shows.
    Range foreground;

    // Every range full: the foreground of a multicolour character set 0-7,
    // every other 0-15.
    static Setup forSet(const Imageset& set, bool multiColorSprites);

    bool multiColor() const;
    bool ecm() const { return type == Imageset::Charset && mode == Imageset::ECM; }
    // Multicolour images: every image pixel is two picture pixels wide.
    bool widePixels() const { return multiColor(); }
    QSize cellSize() const;
};

// What one cell became.
struct Cell {
    int imageColor = 0;
    // Extended background colour mode: which of the four backgrounds.
    int background = 0;
    // Block sets: the block's colours (c1 and c2 are 1 and 2 outside
    // multicolour mode).
    BlockColors block;
    // The pixel code of each palette colour of the picture.
    std::array<quint8, Palette::size> codeOf {};
};

struct Result {
    bool cancelled = false;
    // The picture converted: palette indexes, cells in reading order.
    QImage picture;
    int columns = 0;
    int rows = 0;
    // Background, multicolour 1 and 2, fourth background as chosen; a
    // colour the set's mode does not search stays at its range's first.
    std::array<int, 4> colors {};
    QVector<Cell> cells;
    // Sum of the weighted RGB distances over every picture pixel.
    double error = 0;
};

struct Progress {
    // Share of the search done, 0-100, from any thread, at most once a second.
    std::function<void(int percent)> report;
    // Asked before each set-wide combination and each group of cells.
    std::function<bool()> cancelled;
};

// picture: 8-bit palette indexes (values above 15 count as their low four
// bits), a whole number of cells in size.
Result convert(const QImage& picture, const Setup& setup, const Palette::Colors& palette,
               const Progress& progress = {});

// Writes the k-th cell into the k-th target slot and sets the set-wide
// colours the mode has. Returns the slots written: in extended background
// colour mode the character codes (background x 64 + slot) that show them.
QList<int> write(Imageset& set, const Setup& setup, const Result& result, const QList<int>& targets);

}
