#pragma once

#include "convert/colormatch.h"
#include "model/palette.h"

#include <QByteArray>
#include <QRgb>
#include <QString>

#include <functional>

// The nearest palette index of every 24-bit colour in both colour spaces,
// so that reducing a picture to the palette costs one memory read per pixel.
// Table entry (R << 16 | G << 8 | B) holds the index that
// ColorMatch::nearest() gives for that colour: the lowest index among the
// entries at the smallest distance.
//
// The tables are kept in the side file "dither.lut" (little-endian unsigned
// 32-bit integers): 0, 12, 1; the sixteen palette colours they were built
// for, each 0x00RRGGBB; then the CIEDE2000 table and the RGB table, each as
// its byte length followed by the bytes qCompress() gives for the 16,777,216
// entries at its default level. The file only serves a program whose palette
// equals the stored one.
//
// Start-up, on the GUI thread (a failed write still leaves usable tables):
//
//     DitherLut tables;
//     const auto origin = tables.loadOrBuild("dither.lut", Palette::current(),
//         [&](DitherLut& lut, const Palette::Colors& palette) {
//             // progress dialog; the build runs as a ParallelJob, so that
//             // its loops have every core while the GUI thread polls it
//             ParallelJob job([&](ParallelJob::Control& control) {
//                 lut.build(palette, [&control](int percent) { control.report(percent); });
//             });
//             job.wait([&] {
//                 dialog.setValue(job.progress());
//                 QCoreApplication::processEvents();
//             });
//         });
//     if (origin == DitherLut::BuiltNotSaved)
//         ... report that "dither.lut" could not be written ...
//     DitherLut::setCurrent(std::move(tables));
//
// The quantiser then reads DitherLut::current().nearest(space, color).
class DitherLut {
public:
    // Index of the import dialog's colour-space box.
    enum ColorSpace { Rgb = ColorMatch::Rgb, Ciede2000 = ColorMatch::Ciede2000 };
    static constexpr int tableSize = 1 << 24;

    // Called with the share of the CIEDE2000 table done, 0 to 100, from one
    // of the threads that build it, at most once every 250 ms. A GUI must
    // post it to its own thread.
    using Progress = std::function<void(int percent)>;

    // No tables: isValid() is false and nearest() gives 0.
    DitherLut() = default;

    bool isValid() const { return tables[Rgb].size() == tableSize && tables[Ciede2000].size() == tableSize; }
    // The palette the tables were built or loaded for, each 0x00RRGGBB.
    const Palette::Colors& palette() const { return tablePalette; }

    quint8 nearest(ColorSpace space, QRgb color) const
    {
        const QByteArray& table = tables[space == Ciede2000 ? Ciede2000 : Rgb];
        return table.isEmpty() ? 0 : quint8(table.constData()[color & 0xFFFFFF]);
    }
    // The whole table (tableSize entries), or nullptr without tables.
    const quint8* table(ColorSpace space) const;

    // Builds both tables for the palette, each by a parallel loop on the
    // global thread pool (the CIEDE2000 table first); the calling thread
    // takes part. The new tables replace the old ones when both are complete.
    // Called from a thread of the pool the loops would lack that thread: run
    // it from a ParallelJob instead.
    void build(const Palette::Colors& palette, const Progress& progress = {});

    // Reads the tables from the file at path when its header is 0, 12, 1,
    // its palette equals the given one (top bytes ignored), both blocks
    // expand to exactly tableSize entries, all below 16, and the file does
    // not end early (bytes after the second block are ignored). Otherwise
    // returns false and leaves the tables as they were.
    bool load(const QString& path, const Palette::Colors& palette);
    // Writes the file (through a temporary file, so a failed write keeps the
    // previous one). False without tables or when it cannot be written.
    bool save(const QString& path) const;

    enum Origin { Loaded, Built, BuiltNotSaved };
    using Builder = std::function<void(DitherLut& tables, const Palette::Colors& palette)>;
    // Loads the file; when it does not serve the palette, builds the tables
    // with builder (build() when empty) and writes the file anew. Should the
    // builder leave no tables for the palette, build() makes them.
    Origin loadOrBuild(const QString& path, const Palette::Colors& palette, const Builder& builder = {});

    // Figures of the last build().
    struct BuildInfo {
        double ciede2000Seconds = 0;
        double rgbSeconds = 0;
        // Colours whose CIEDE2000 entry needed the exact scan (near ties and
        // colours at jumps of the formula, see ColorMatch::Ciede2000Matcher).
        qint64 rechecked = 0;
    };
    const BuildInfo& buildInfo() const { return info; }

    // Entries of the tables computed for single colours exactly as build()
    // computes them, without building the tables: indices[i] for colors[i].
    static void match(ColorSpace space, const Palette::Colors& palette, const QRgb* colors, quint8* indices,
                      int count);

    // The program's tables: set once at start-up, read-only afterwards.
    static const DitherLut& current();
    static void setCurrent(DitherLut tables);

private:
    QByteArray tables[2];
    Palette::Colors tablePalette {};
    BuildInfo info;
};
