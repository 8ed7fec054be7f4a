// Times the project file on a large project: a sprite set with all 65,536
// slots filled and coloured, and a 1024 x 1024 screen with an index and a
// colour in every cell. Prints wall-clock seconds of every run and the best
// for encoding (serialize), decoding (parse), writing and reading the file.
//
//   bench-projectfile [--runs N]

#include "model/projectfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

Project largeProject()
{
    Project project;
    auto sprites = QSharedPointer<Imageset>::create(0, QStringLiteral("All sprites"), 24, 21, Imageset::Spriteset);
    for (int slot = 0; slot < 65536; ++slot) {
        ImageData image(24, 21);
        for (int i = 0; i < image.bytes.size(); ++i)
            image.bytes[i] = char((slot * 7 + i * 13) & 0xFF);
        sprites->images.insert(slot, image);
        sprites->imageColors.insert(slot, slot & 15);
    }
    project.spritesets.append(sprites);

    auto screen = QSharedPointer<Screen>::create();
    screen->id = 0;
    screen->name = QStringLiteral("Large screen");
    screen->sourceRef = SourceRef::make(SourceRef::charsetBit, 0);
    screen->width = 1024;
    screen->height = 1024;
    for (int x = 0; x < screen->width; ++x) {
        for (int y = 0; y < screen->height; ++y) {
            screen->cellIndexes.insert({x, y}, (x * 31 + y) & 255);
            screen->cellColors.insert({x, y}, (x + y) & 15);
        }
    }
    project.screens.append(screen);
    return project;
}

// Runs the step the given number of times; prints every figure and the best.
void measure(const char* name, int runs, const std::function<bool()>& step)
{
    double best = 1e300;
    std::printf("%-10s", name);
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const bool ok = step();
        const double seconds = timer.nsecsElapsed() / 1e9;
        best = std::min(best, seconds);
        std::printf(" %8.3f%s", seconds, ok ? "" : " (failed)");
    }
    std::printf("   best %.3f s\n", best);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int at = arguments.indexOf(QStringLiteral("--runs"));
    const int runs = at >= 0 && at + 1 < arguments.size() ? qMax(1, arguments.at(at + 1).toInt()) : 3;

    QElapsedTimer timer;
    timer.start();
    const Project project = largeProject();
    std::printf("building the project: %.3f s\n", timer.nsecsElapsed() / 1e9);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.mzprj"));
    QByteArray bytes;
    measure("serialize", runs, [&] {
        bytes = ProjectFile::serialize(project);
        return !bytes.isEmpty();
    });
    std::printf("file size: %lld bytes\n", qint64(bytes.size()));
    measure("parse", runs, [&] {
        Project read;
        return ProjectFile::parse(bytes, read).ok();
    });
    measure("write", runs, [&] { return ProjectFile::write(path, project); });
    measure("read", runs, [&] {
        Project read;
        return ProjectFile::read(path, read).ok() && read.screens.size() == 1;
    });
    return 0;
}
