// Times the dithering lookup tables: a full build of both tables, writing
// "dither.lut" and loading it again.
//
//   bench-lut [--runs N] [--verify] [--repeats] [--no-avx2]
//
// --runs N   repeats each measurement N times (default 3) and prints every
//            figure and the best. Wall-clock seconds; for the build also the
//            processor seconds of all threads, which vary less when other
//            programs share the machine.
// --verify   also builds both tables the straightforward way (every colour
//            converted to Lab and compared with all sixteen entries by
//            ColorMatch::ciede2000, and by ColorMatch::rgbDistance, in a
//            parallel loop over all cores), times it, and counts the entries
//            that differ from the fast tables (must be 0).
// --repeats  uses a palette with repeated entries instead of the default one.
// --no-avx2  runs the vector code without AVX2 instructions.

#include "convert/ciede2000matcher.h"
#include "convert/colormatch.h"
#include "convert/ditherlut.h"
#include "convert/paralleljob.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QVector>
#include <QtConcurrent>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <cstdio>
#include <numeric>

namespace {

double seconds(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e9;
}

// Processor time of all threads of the process.
double processorSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

void printRuns(const char* what, const QVector<double>& runs)
{
    std::printf("%-34s", what);
    for (double run : runs)
        std::printf(" %8.3f", run);
    std::printf("   best %8.3f s\n", *std::min_element(runs.begin(), runs.end()));
}

// Straightforward tables: the palette converted to Lab once, then every
// colour converted and compared with every entry.
void buildStraightforward(const Palette::Colors& palette, QByteArray& ciede2000, QByteArray& rgb,
                          double& ciede2000Seconds)
{
    QElapsedTimer timer;
    timer.start();
    ciede2000 = QByteArray(DitherLut::tableSize, Qt::Uninitialized);
    rgb = QByteArray(DitherLut::tableSize, Qt::Uninitialized);
    char* ciede2000Entries = ciede2000.data();
    char* rgbEntries = rgb.data();
    const ColorMatch::PaletteLab paletteLab = ColorMatch::toLab(palette);
    QVector<int> reds(256);
    std::iota(reds.begin(), reds.end(), 0);
    QtConcurrent::blockingMap(reds, [&](int red) {
        for (int i = red << 16; i < (red + 1) << 16; ++i)
            ciede2000Entries[i] = char(ColorMatch::nearestLab(paletteLab, ColorMatch::toLab(QRgb(i))));
    });
    ciede2000Seconds = seconds(timer);
    QtConcurrent::blockingMap(reds, [&](int red) {
        for (int i = red << 16; i < (red + 1) << 16; ++i)
            rgbEntries[i] = char(ColorMatch::nearestRgb(palette, QRgb(i)));
    });
}

qint64 countDifferences(const quint8* table, const QByteArray& expected)
{
    qint64 differences = 0;
    for (int i = 0; i < DitherLut::tableSize; ++i)
        differences += table[i] != quint8(expected[i]);
    return differences;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const bool verify = arguments.contains(QStringLiteral("--verify"));
    int runs = 3;
    const int runsAt = arguments.indexOf(QStringLiteral("--runs"));
    if (runsAt > 0 && runsAt + 1 < arguments.size())
        runs = std::max(1, arguments.at(runsAt + 1).toInt());
    Palette::Colors palette = Palette::defaults();
    if (arguments.contains(QStringLiteral("--no-avx2")))
        ColorMatch::Ciede2000Matcher::allowAvx2(false);
    if (arguments.contains(QStringLiteral("--repeats"))) {
        palette[9] = palette[3];
        palette[15] = palette[12];
        palette[14] = palette[0];
    }

    std::printf("threads %d, vector code %s, palette %s\n", QThread::idealThreadCount(),
                ColorMatch::Ciede2000Matcher::usesAvx2() ? "AVX2" : "SSE2/generic",
                arguments.contains(QStringLiteral("--repeats")) ? "with repeated entries" : "default");

    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("dither.lut"));
    DitherLut tables;
    QVector<double> buildRuns, buildProcessorRuns, ciede2000Runs, rgbRuns, saveRuns, loadRuns;
    qint64 rechecked = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        const double processorStart = processorSeconds();
        timer.start();
        tables.build(palette);
        buildRuns.append(seconds(timer));
        buildProcessorRuns.append(processorSeconds() - processorStart);
        ciede2000Runs.append(tables.buildInfo().ciede2000Seconds);
        rgbRuns.append(tables.buildInfo().rgbSeconds);
        rechecked = tables.buildInfo().rechecked;
    }
    // As at start-up: the build as a parallel job, the starting thread
    // looking every 25 ms at its progress.
    std::atomic<int> reports {0};
    std::atomic<int> lastPercent {-1};
    QElapsedTimer asyncTimer;
    const double asyncProcessorStart = processorSeconds();
    asyncTimer.start();
    ParallelJob job([&](ParallelJob::Control& control) {
        tables.build(palette, [&](int percent) {
            ++reports;
            lastPercent = percent;
            control.report(percent);
        });
    });
    job.wait();
    const double asyncSeconds = seconds(asyncTimer);
    const double asyncProcessorSeconds = processorSeconds() - asyncProcessorStart;

    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (!tables.save(path)) {
            std::printf("cannot write %s\n", qPrintable(path));
            return 1;
        }
        saveRuns.append(seconds(timer));
    }
    DitherLut loaded;
    for (int run = 0; run < runs; ++run) {
        loaded = DitherLut();
        QElapsedTimer timer;
        timer.start();
        if (!loaded.load(path, palette)) {
            std::printf("cannot load %s\n", qPrintable(path));
            return 1;
        }
        loadRuns.append(seconds(timer));
    }

    printRuns("build both tables", buildRuns);
    printRuns("  processor seconds, all threads", buildProcessorRuns);
    printRuns("  CIEDE2000 table", ciede2000Runs);
    printRuns("  RGB table", rgbRuns);
    std::printf("%-34s %8.3f s (processor %.3f s), %d progress reports, last %d %%\n", "build on a worker",
                asyncSeconds, asyncProcessorSeconds, reports.load(), lastPercent.load());
    printRuns("write dither.lut", saveRuns);
    printRuns("load dither.lut", loadRuns);
    std::printf("file size %lld bytes; colours re-checked with the exact scan %lld\n",
                QFileInfo(path).size(), rechecked);
    const bool sameAfterLoad =
        std::equal(loaded.table(DitherLut::Ciede2000), loaded.table(DitherLut::Ciede2000) + DitherLut::tableSize,
                   tables.table(DitherLut::Ciede2000))
        && std::equal(loaded.table(DitherLut::Rgb), loaded.table(DitherLut::Rgb) + DitherLut::tableSize,
                      tables.table(DitherLut::Rgb));
    std::printf("loaded tables equal the built ones: %s\n", sameAfterLoad ? "yes" : "NO");

    if (verify) {
        QByteArray ciede2000, rgb;
        QElapsedTimer timer;
        const double processorStart = processorSeconds();
        timer.start();
        double ciede2000Seconds = 0;
        buildStraightforward(palette, ciede2000, rgb, ciede2000Seconds);
        std::printf("%-34s %8.3f s (processor %.3f s)\n", "straightforward build (both)", seconds(timer),
                    processorSeconds() - processorStart);
        std::printf("%-34s %8.3f s\n", "  CIEDE2000 table", ciede2000Seconds);
        const qint64 ciede2000Differences = countDifferences(tables.table(DitherLut::Ciede2000), ciede2000);
        const qint64 rgbDifferences = countDifferences(tables.table(DitherLut::Rgb), rgb);
        std::printf("entries differing from the straightforward tables: CIEDE2000 %lld, RGB %lld\n",
                    ciede2000Differences, rgbDifferences);
        if (ciede2000Differences != 0 || rgbDifferences != 0)
            return 2;
    }
    return sameAfterLoad ? 0 : 3;
}
