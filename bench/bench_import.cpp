// Times picture import: the colour search against the plain one that tries
// every combination, cell, candidate and pixel, and the import dialog's
// live preview.
//
//   bench-import [--verify] [--lut PATH]
//
// Without options: the search on the large cases (an MCM character set of
// 256 characters, an ECM set of 64, 1,024 multicolour sprites), with the
// processor seconds of all threads next to the wall-clock seconds, and the
// plain search's time for the same case estimated from a share of its
// combinations (the full run takes minutes). Then the preview of a
// 320 x 200 picture with Floyd-Steinberg after one spin-box step, using
// the tables of "dither.lut" at PATH (default: the current directory).
// --verify   runs both searches on 20 seeded pictures per mode, small enough
//            for the plain one, and counts disagreements in the chosen
//            colours or the total error (must be 0).

#include "convert/ditherlut.h"
#include "convert/paralleljob.h"
#include "convert/pictureconversion.h"
#include "convert/picturepreparation.h"
#include "support/core/plainimport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QThread>

#include <atomic>

#include <cmath>
#include <cstdio>
#include <ctime>

using PictureConversion::Range;
using PictureConversion::Setup;
using plainimport::setupFor;

namespace {

double processorSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

// A photograph's worth of smooth shapes and noise.
QImage photo(QSize size, quint32 seed)
{
    QRandomGenerator random(seed);
    const double fx = 3 + random.bounded(5.0), fy = 2 + random.bounded(5.0);
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const double u = double(x) / size.width(), v = double(y) / size.height();
            const int r = int(127 + 120 * std::sin(fx * u + 2 * v)) + int(random.bounded(30));
            const int g = int(127 + 120 * std::sin(fy * v + u * u * 4)) + int(random.bounded(30));
            const int b = int(127 + 120 * std::cos((fx + fy) * u * v)) + int(random.bounded(30));
            picture.setPixel(x, y, qRgb(std::min(r, 255), std::min(g, 255), std::min(b, 255)));
        }
    return picture;
}

// As the dialog hands it over: pairs alike for wide pixels, reduced.
QImage reduced(QSize size, quint32 seed, bool wide,
              PicturePreparation::Method method = PicturePreparation::NoDithering)
{
    const Palette::Colors& palette = Palette::defaults();
    const QImage adjusted = PicturePreparation::adjust(photo(size, seed), {}, wide);
    return PicturePreparation::reduce(adjusted, method, wide, palette,
                                      [&palette](QRgb color) { return ColorMatch::nearestRgb(palette, color); });
}

// The search from a thread outside the pool, as the program runs it.
PictureConversion::Result timedSearch(const QImage& picture, const Setup& setup, double& wall, double& processor)
{
    PictureConversion::Result result;
    QElapsedTimer clock;
    const double startProcessor = processorSeconds();
    clock.start();
    ParallelJob job([&](ParallelJob::Control&) { result = PictureConversion::convert(picture, setup, Palette::defaults()); });
    job.wait();
    wall = clock.nsecsElapsed() / 1e9;
    processor = processorSeconds() - startProcessor;
    return result;
}

void largeCase(const char* name, const QImage& picture, Setup setup, const QList<Range Setup::*>& fixedForEstimate)
{
    double wall = 0, processor = 0;
    const PictureConversion::Result result = timedSearch(picture, setup, wall, processor);
    // The plain search over a share of the combinations, scaled up.
    double share = 1;
    for (Range Setup::*field : fixedForEstimate) {
        Range& range = setup.*field;
        share *= range.last - range.first + 1;
        range = Range::single(range.first);
    }
    QElapsedTimer clock;
    clock.start();
    plainimport::search(picture, setup, Palette::defaults());
    const double plain = clock.nsecsElapsed() / 1e9 * share;
    std::printf("%-44s %8.3f s wall %8.3f s processor   plain (estimated) %9.1f s   error %.1f\n", name, wall,
                processor, plain, result.error);
}

int verify()
{
    struct Mode {
        const char* name;
        Imageset::Type type;
        Imageset::Mode mode;
        bool multiColorSprites;
    };
    const Mode modes[] = {{"SCM characters", Imageset::Charset, Imageset::SCM, false},
                          {"MCM characters", Imageset::Charset, Imageset::MCM, false},
                          {"ECM characters", Imageset::Charset, Imageset::ECM, false},
                          {"mono sprites", Imageset::Spriteset, Imageset::SCM, false},
                          {"multicolour sprites", Imageset::Spriteset, Imageset::SCM, true},
                          {"hires blocks", Imageset::Blockset, Imageset::SCM, false},
                          {"multicolour blocks", Imageset::Blockset, Imageset::MCM, false}};
    int disagreements = 0;
    for (const Mode& mode : modes) {
        int differing = 0;
        double plainSeconds = 0, fastSeconds = 0;
        for (quint32 seed = 1; seed <= 20; ++seed) {
            Setup setup = setupFor(mode.type, mode.mode, mode.multiColorSprites);
            QRandomGenerator random(seed);
            // Small enough for the plain search: a few cells, and some
            // ranges narrowed or fixed as a user would.
            Range* ranges[] = {&setup.background, &setup.multi1, &setup.multi2, &setup.background3, &setup.foreground};
            for (Range* range : ranges) {
                const int choice = int(random.bounded(3));
                if (choice == 1)
                    *range = Range::single(int(random.bounded(range->last + 1)));
                else if (choice == 2)
                    *range = Range {range->first, range->first + (range->last - range->first) / 2};
            }
            if (setup.ecm() || (setup.type == Imageset::Spriteset && setup.multiColor()))
                setup.background3 = Range::single(3);
            const QSize cell = setup.cellSize();
            const int columns = setup.type == Imageset::Spriteset || setup.ecm() ? 1 : 2;
            const QImage picture = reduced(QSize(columns * cell.width(), cell.height()), seed, setup.widePixels());

            QElapsedTimer clock;
            clock.start();
            const plainimport::Outcome plain = plainimport::search(picture, setup, Palette::defaults());
            plainSeconds += clock.nsecsElapsed() / 1e9;
            clock.restart();
            const PictureConversion::Result fast = PictureConversion::convert(picture, setup, Palette::defaults());
            fastSeconds += clock.nsecsElapsed() / 1e9;
            const bool sameError = std::abs(fast.error - plain.error) <= 1e-9 * std::max(1.0, plain.error);
            if (fast.colors != plain.colors || !sameError)
                ++differing;
        }
        std::printf("%-22s 20 pictures   plain %8.3f s   ours %8.4f s   disagreements %d\n", mode.name, plainSeconds,
                    fastSeconds, differing);
        disagreements += differing;
    }
    std::printf("disagreements in all: %d\n", disagreements);
    return disagreements == 0 ? 0 : 1;
}

// "Abort Import": from the cancel to the end of the search, on a search
// that would take seconds (multicolour blocks, every colour searched).
void abortDelay()
{
    Setup setup = setupFor(Imageset::Blockset, Imageset::MCM, false);
    const QImage picture = reduced(QSize(256, 256), 4, true, PicturePreparation::FloydSteinberg);
    std::atomic<bool> cancelled {false};
    PictureConversion::Progress progress;
    progress.cancelled = [&cancelled] { return cancelled.load(); };
    ParallelJob job([&](ParallelJob::Control&) { PictureConversion::convert(picture, setup, Palette::defaults(), progress); });
    QThread::msleep(20);
    if (job.isFinished()) {
        std::printf("Abort Import: the search ended before it could be cancelled\n");
        return;
    }
    QElapsedTimer clock;
    clock.start();
    cancelled = true;
    job.wait({}, 1);
    std::printf("%-44s %8.1f ms\n", "Abort Import, cancel to end of search", clock.nsecsElapsed() / 1e6);
}

void preview(const QString& lutPath)
{
    DitherLut tables;
    if (tables.loadOrBuild(lutPath, Palette::defaults()) == DitherLut::BuiltNotSaved)
        std::printf("(tables built, \"%s\" not written)\n", qPrintable(lutPath));
    const QImage source = photo(QSize(320, 200), 7);
    const quint8* table = tables.table(DitherLut::Rgb);
    const auto nearest = [table](QRgb color) { return int(table[color & 0xFFFFFF]); };
    PicturePreparation::Settings settings;
    double best = 1e9;
    for (int step = 1; step <= 5; ++step) {
        settings.brightness = step; // a spin-box step: every colour anew
        QElapsedTimer clock;
        clock.start();
        const QImage adjusted = PicturePreparation::adjust(source, settings, true);
        PicturePreparation::reduce(adjusted, PicturePreparation::FloydSteinberg, true, Palette::defaults(), nearest);
        best = std::min(best, clock.nsecsElapsed() / 1e6);
    }
    std::printf("%-44s %8.1f ms (best of 5)\n", "preview 320 x 200, Floyd-Steinberg", best);
}

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList arguments = app.arguments();
    if (arguments.contains(QStringLiteral("--verify")))
        return verify();
    const int lutAt = arguments.indexOf(QStringLiteral("--lut"));
    const QString lutPath = lutAt > 0 ? arguments.value(lutAt + 1) : QStringLiteral("dither.lut");

    largeCase("MCM characters, 256 targets (128 x 128)", reduced(QSize(128, 128), 1, true),
              setupFor(Imageset::Charset, Imageset::MCM, false), {&Setup::background, &Setup::multi1});
    largeCase("ECM characters, 64 targets (64 x 64)", reduced(QSize(64, 64), 2, false),
              setupFor(Imageset::Charset, Imageset::ECM, false), {&Setup::background, &Setup::multi1, &Setup::multi2});
    largeCase("1,024 multicolour sprites (768 x 672)", reduced(QSize(768, 672), 3, true),
              setupFor(Imageset::Spriteset, Imageset::SCM, true), {&Setup::background, &Setup::multi1});
    abortDelay();
    preview(lutPath);
    return 0;
}
