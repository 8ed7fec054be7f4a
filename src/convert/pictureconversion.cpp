#include "convert/pictureconversion.h"

#include "convert/colormatch.h"

#include <QElapsedTimer>
#include <QtConcurrent>

#include <atomic>
#include <optional>
#include <limits>

using namespace PictureConversion;

namespace {

constexpr int colorCount = Palette::size;
constexpr double noError = std::numeric_limits<double>::infinity();

// distance[source][target]: weighted RGB distance of two palette colours.
using Distances = std::array<std::array<double, colorCount>, colorCount>;

// A cell as the palette colours it holds and how many pixels of each.
struct CellColors {
    int count = 0;
    std::array<int, colorCount> color {};
    std::array<double, colorCount> weight {};
};

// One choice of the set-wide colours.
using Combination = std::array<int, 4>;

// A cell's colours as searched, with the error they give.
struct Choice {
    double error = noError;
    int foreground = 0;
    int background = 0; // extended background mode: 0-3
    BlockColors block {0, 1, 2};
};

bool searchesMulticolors(const Setup& setup)
{
    return setup.type != Imageset::Blockset && (setup.multiColor() || setup.ecm());
}

bool searchesBackground(const Setup& setup)
{
    return setup.type != Imageset::Blockset || setup.mode == Imageset::MCM;
}

// Every set-wide combination in search order: background outermost, then
// multicolour 1, multicolour 2 and the fourth background. A colour the mode
// does not search stays at its range's first.
QVector<Combination> combinations(const Setup& setup)
{
    const auto span = [](const Range& range, bool searched) { return searched ? range : Range::single(range.first); };
    const Range ranges[4] = {span(setup.background, searchesBackground(setup)),
                             span(setup.multi1, searchesMulticolors(setup)),
                             span(setup.multi2, searchesMulticolors(setup)), span(setup.background3, setup.ecm())};
    QVector<Combination> result;
    for (int b = ranges[0].first; b <= ranges[0].last; ++b)
        for (int m1 = ranges[1].first; m1 <= ranges[1].last; ++m1)
            for (int m2 = ranges[2].first; m2 <= ranges[2].last; ++m2)
                for (int b3 = ranges[3].first; b3 <= ranges[3].last; ++b3)
                    result.append({b, m1, m2, b3});
    return result;
}

class CellSearch {
public:
    CellSearch(const Setup& setup, const Distances& distance)
        : setup(setup)
        , distance(distance)
    {
    }

    // The cell's best colours under the set-wide ones: image colours tried
    // in order; for each, the four backgrounds in extended background mode
    // or a block's own colours; an equal error keeps the earlier.
    Choice best(const CellColors& cell, const Combination& set) const
    {
        if (setup.ecm())
            return bestEcm(cell, set);
        if (setup.type == Imageset::Blockset)
            return setup.mode == Imageset::MCM ? bestMulticolorBlock(cell, set[0]) : bestBlock(cell);
        // The colours every candidate shares: the background and, in
        // multicolour, the multicolours.
        std::array<double, colorCount> shared;
        for (int j = 0; j < cell.count; ++j) {
            const auto& row = distance[size_t(cell.color[j])];
            shared[j] = row[size_t(set[0])];
            if (setup.multiColor())
                shared[j] = std::min({shared[j], row[size_t(set[1])], row[size_t(set[2])]});
        }
        Choice choice;
        for (int foreground = setup.foreground.first; foreground <= setup.foreground.last; ++foreground) {
            const double error = errorWith(cell, shared, foreground);
            if (error < choice.error) {
                choice.error = error;
                choice.foreground = foreground;
                if (error == 0)
                    break;
            }
        }
        return choice;
    }

    // For the set-wide search in extended background mode: the smallest
    // error of the cell for each background colour, over every image colour.
    std::array<double, colorCount> ecmErrors(const CellColors& cell) const
    {
        std::array<double, colorCount> result;
        result.fill(noError);
        for (int background = 0; background < colorCount; ++background)
            for (int foreground = setup.foreground.first; foreground <= setup.foreground.last; ++foreground)
                result[size_t(background)] = std::min(result[size_t(background)], pairError(cell, background, foreground));
        return result;
    }

private:
    // Each colour of the cell goes to the nearest of `shared` and the colour.
    double errorWith(const CellColors& cell, const std::array<double, colorCount>& shared, int color) const
    {
        double error = 0;
        for (int j = 0; j < cell.count; ++j)
            error += cell.weight[j] * std::min(shared[j], distance[size_t(cell.color[j])][size_t(color)]);
        return error;
    }

    double pairError(const CellColors& cell, int first, int second) const
    {
        double error = 0;
        for (int j = 0; j < cell.count; ++j) {
            const auto& row = distance[size_t(cell.color[j])];
            error += cell.weight[j] * std::min(row[size_t(first)], row[size_t(second)]);
        }
        return error;
    }

    Choice bestEcm(const CellColors& cell, const Combination& set) const
    {
        Choice choice;
        for (int foreground = setup.foreground.first; foreground <= setup.foreground.last; ++foreground) {
            for (int i = 0; i < 4; ++i) {
                const double error = pairError(cell, set[size_t(i)], foreground);
                if (error < choice.error) {
                    choice.error = error;
                    choice.foreground = foreground;
                    choice.background = i;
                    if (error == 0)
                        return choice;
                }
            }
        }
        return choice;
    }

    Choice bestBlock(const CellColors& cell) const
    {
        Choice choice;
        for (int foreground = setup.foreground.first; foreground <= setup.foreground.last; ++foreground) {
            for (int c0 = setup.background.first; c0 <= setup.background.last; ++c0) {
                const double error = pairError(cell, c0, foreground);
                if (error < choice.error) {
                    choice.error = error;
                    choice.foreground = foreground;
                    choice.block = {c0, 1, 2};
                    if (error == 0)
                        return choice;
                }
            }
        }
        return choice;
    }

    Choice bestMulticolorBlock(const CellColors& cell, int background) const
    {
        Choice choice;
        std::array<double, colorCount> withForeground, withMulti1;
        for (int foreground = setup.foreground.first; foreground <= setup.foreground.last; ++foreground) {
            for (int j = 0; j < cell.count; ++j) {
                const auto& row = distance[size_t(cell.color[j])];
                withForeground[j] = std::min(row[size_t(background)], row[size_t(foreground)]);
            }
            for (int c1 = setup.multi1.first; c1 <= setup.multi1.last; ++c1) {
                for (int j = 0; j < cell.count; ++j)
                    withMulti1[j] = std::min(withForeground[j], distance[size_t(cell.color[j])][size_t(c1)]);
                for (int c2 = setup.multi2.first; c2 <= setup.multi2.last; ++c2) {
                    const double error = errorWith(cell, withMulti1, c2);
                    if (error < choice.error) {
                        choice.error = error;
                        choice.foreground = foreground;
                        choice.block = {background, c1, c2};
                        if (error == 0)
                            return choice;
                    }
                }
            }
        }
        return choice;
    }

    const Setup& setup;
    const Distances& distance;
};

// The pixel code each palette colour gets with the chosen colours: the
// position of the nearest colour in the cell's list (the earlier on equal
// distances); a multicolour sprite swaps positions 2 and 3, whose codes
// show the sprite colour and multicolour 2 the other way round. In extended
// background mode a pixel keeps the background unless the image colour is
// strictly nearer.
std::array<quint8, colorCount> codesFor(const Setup& setup, const Distances& distance, const Combination& set,
                                        const Choice& choice)
{
    std::array<quint8, colorCount> codes {};
    if (setup.ecm()) {
        const int background = set[size_t(choice.background)];
        for (int c = 0; c < colorCount; ++c)
            codes[size_t(c)] = distance[size_t(c)][size_t(background)] <= distance[size_t(c)][size_t(choice.foreground)] ? 0 : 1;
        return codes;
    }
    QVector<int> list;
    if (setup.type == Imageset::Blockset)
        list = setup.multiColor() ? QVector<int> {set[0], choice.block.c1, choice.block.c2}
                                  : QVector<int> {choice.block.c0};
    else
        list = setup.multiColor() ? QVector<int> {set[0], set[1], set[2]} : QVector<int> {set[0]};
    list.append(choice.foreground);
    const bool sprite = setup.type == Imageset::Spriteset && setup.multiColor();
    for (int c = 0; c < colorCount; ++c) {
        int position = 0;
        for (int k = 1; k < list.size(); ++k) {
            if (distance[size_t(c)][size_t(list[k])] < distance[size_t(c)][size_t(list[position])])
                position = k;
        }
        codes[size_t(c)] = quint8(sprite && position >= 2 ? 5 - position : position);
    }
    return codes;
}

QVector<CellColors> cellColors(const QImage& picture, QSize cell, int columns, int rows)
{
    QVector<CellColors> cells(columns * rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            std::array<int, colorCount> counts {};
            for (int y = 0; y < cell.height(); ++y) {
                const uchar* line = picture.constScanLine(row * cell.height() + y) + column * cell.width();
                for (int x = 0; x < cell.width(); ++x)
                    ++counts[line[x] & 15];
            }
            CellColors& colors = cells[row * columns + column];
            for (int c = 0; c < colorCount; ++c) {
                if (counts[size_t(c)] > 0) {
                    colors.color[size_t(colors.count)] = c;
                    colors.weight[size_t(colors.count)] = counts[size_t(c)];
                    ++colors.count;
                }
            }
        }
    }
    return cells;
}

// Reports a share done at most once a second, from whichever thread
// passes the mark.
class Reporter {
public:
    Reporter(Progress progress, int total)
        : progress(std::move(progress))
        , total(std::max(1, total))
    {
        clock.start();
    }
    bool cancelled() const { return progress.cancelled && progress.cancelled(); }
    void done(int count)
    {
        const int finished = (doneCount += count);
        qint64 due = nextReport;
        if (!progress.report || clock.elapsed() < due || !nextReport.compare_exchange_strong(due, clock.elapsed() + 1000))
            return;
        progress.report(int(qint64(finished) * 100 / total));
    }

private:
    const Progress progress;
    const int total;
    QElapsedTimer clock;
    std::atomic<int> doneCount {0};
    std::atomic<qint64> nextReport {1000};
};

// Runs work(first, last) over [0, count) in pieces on every core, until
// cancelled.
void inPieces(int count, int pieceSize, Reporter& reporter, const std::function<void(int, int)>& work)
{
    QVector<int> starts;
    for (int first = 0; first < count; first += pieceSize)
        starts.append(first);
    QtConcurrent::blockingMap(starts, [&](int first) {
        if (reporter.cancelled())
            return;
        const int last = std::min(count, first + pieceSize);
        work(first, last);
        reporter.done(last - first);
    });
}

// The set-wide combination with the smallest error, the earlier of equal
// ones; nothing when cancelled. Each combination's error is summed over the
// cells in reading order by one thread, so timing never changes a sum.
std::optional<Combination> bestCombination(const QVector<Combination>& sets, const Setup& setup,
                                           const CellSearch& search, const QVector<CellColors>& cells,
                                           const Progress& progress)
{
    if (sets.size() == 1)
        return sets.first();
    QVector<std::array<double, colorCount>> ecmErrors;
    if (setup.ecm()) {
        for (const CellColors& colors : cells)
            ecmErrors.append(search.ecmErrors(colors));
    }
    QVector<double> totals(sets.size(), noError);
    Reporter reporter(progress, sets.size());
    inPieces(sets.size(), 16, reporter, [&](int first, int last) {
        for (int i = first; i < last && !reporter.cancelled(); ++i) {
            const Combination& set = sets[i];
            double total = 0;
            for (int c = 0; c < cells.size(); ++c) {
                if (setup.ecm()) {
                    const auto& errors = ecmErrors[c];
                    total += std::min({errors[size_t(set[0])], errors[size_t(set[1])], errors[size_t(set[2])],
                                       errors[size_t(set[3])]});
                } else {
                    total += search.best(cells[c], set).error;
                }
            }
            totals[i] = total;
        }
    });
    if (reporter.cancelled())
        return std::nullopt;
    return sets[int(std::min_element(totals.cbegin(), totals.cend()) - totals.cbegin())];
}

}

Setup Setup::forSet(const Imageset& set, bool multiColorSprites)
{
    Setup setup;
    setup.type = set.type;
    setup.mode = set.mode;
    setup.multiColorSprites = multiColorSprites;
    if (set.type == Imageset::Charset && set.mode == Imageset::MCM)
        setup.foreground = {0, 7};
    return setup;
}

bool Setup::multiColor() const
{
    return type == Imageset::Spriteset ? multiColorSprites : mode == Imageset::MCM;
}

QSize Setup::cellSize() const
{
    return type == Imageset::Spriteset ? QSize(24, 21) : QSize(8, 8);
}

Result PictureConversion::convert(const QImage& picture, const Setup& requested, const Palette::Colors& palette,
                                  const Progress& progress)
{
    // Every range within the palette and never empty.
    Setup setup = requested;
    for (Range* range : {&setup.background, &setup.multi1, &setup.multi2, &setup.background3, &setup.foreground}) {
        range->first = std::clamp(range->first, 0, colorCount - 1);
        range->last = std::clamp(range->last, range->first, colorCount - 1);
    }
    Result result;
    const QSize cell = setup.cellSize();
    result.picture = picture.convertToFormat(QImage::Format_Indexed8);
    result.columns = picture.width() / cell.width();
    result.rows = picture.height() / cell.height();
    const int cellCount = result.columns * result.rows;

    Distances distance;
    for (int source = 0; source < colorCount; ++source)
        for (int target = 0; target < colorCount; ++target)
            distance[size_t(source)][size_t(target)] = ColorMatch::rgbDistance(palette[size_t(target)], palette[size_t(source)]);
    const QVector<CellColors> cells = cellColors(result.picture, cell, result.columns, result.rows);
    const CellSearch search(setup, distance);

    const QVector<Combination> sets = combinations(setup);
    const std::optional<Combination> winner = bestCombination(sets, setup, search, cells, progress);
    if (!winner) {
        result.cancelled = true;
        return result;
    }
    result.colors = *winner;

    // The cells once more with the winning colours, keeping their choices.
    // Progress counts these cells only when there was no search before.
    QVector<Choice> choices(cellCount);
    Reporter reporter(sets.size() > 1 ? Progress {{}, progress.cancelled} : progress, cellCount);
    inPieces(cellCount, 64, reporter, [&](int first, int last) {
        for (int c = first; c < last; ++c)
            choices[c] = search.best(cells[c], *winner);
    });
    if (reporter.cancelled()) {
        result.cancelled = true;
        return result;
    }
    for (const Choice& choice : choices) {
        Cell converted;
        converted.imageColor = choice.foreground;
        converted.background = choice.background;
        converted.block = setup.multiColor() ? BlockColors {(*winner)[0], choice.block.c1, choice.block.c2} : choice.block;
        converted.codeOf = codesFor(setup, distance, *winner, choice);
        result.cells.append(converted);
        result.error += choice.error;
    }
    return result;
}

QList<int> PictureConversion::write(Imageset& set, const Setup& setup, const Result& result, const QList<int>& targets)
{
    QList<int> written;
    const QSize cell = setup.cellSize();
    const bool wide = setup.widePixels();
    const int count = std::min(result.cells.size(), targets.size());
    for (int k = 0; k < count; ++k) {
        const int slot = targets[k];
        const Cell& converted = result.cells[k];
        const int left = (k % result.columns) * cell.width();
        const int top = (k / result.columns) * cell.height();
        ImageData image(set.imageWidth, set.imageHeight);
        for (int y = 0; y < cell.height() && y < image.height; ++y) {
            const uchar* line = result.picture.constScanLine(top + y) + left;
            char* row = image.bytes.data() + y * image.bytesPerRow;
            const int step = wide ? 2 : 1;
            for (int x = 0; x < cell.width() && x < image.width; x += step) {
                const int code = converted.codeOf[line[x] & 15];
                const int shift = wide ? 6 - (x % 8) : 7 - (x % 8);
                row[x / 8] = char(row[x / 8] | ((wide ? code & 3 : code & 1) << shift));
            }
        }
        set.images.insert(set.patternSlot(slot), image);

        if (setup.ecm()) {
            const int code = converted.background * 64 + slot;
            set.imageColors[code] = converted.imageColor;
            written.append(code);
            continue;
        }
        written.append(slot);
        const bool multiColorCharacter = setup.type == Imageset::Charset && setup.multiColor();
        // A colour of 8-15 makes a character multicolour, showing its low
        // three bits in code 11.
        set.imageColors[slot] = converted.imageColor + (multiColorCharacter ? 8 : 0);
        if (setup.type == Imageset::Blockset)
            set.blockColors[slot] = converted.block;
        if (setup.type == Imageset::Spriteset) {
            if (setup.multiColorSprites)
                set.multiColorSprites.insert(slot);
            else
                set.multiColorSprites.remove(slot);
        }
    }

    if (setup.type != Imageset::Blockset) {
        set.colors[0] = result.colors[0];
        if (setup.multiColor() || setup.ecm()) {
            set.colors[1] = result.colors[1];
            set.colors[2] = result.colors[2];
        }
        if (setup.ecm())
            set.colors[3] = result.colors[3];
    } else if (setup.mode == Imageset::MCM) {
        set.colors[0] = result.colors[0];
    }
    return written;
}
