// Times the outline of a selection made of many rectangles: a checkerboard
// of 200 x 200 unit squares, one rectangle per black square.
//
//   bench-regionoutline [--runs N]

#include "editing/regionoutline.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int at = arguments.indexOf(QStringLiteral("--runs"));
    const int runs = at >= 0 && at + 1 < arguments.size() ? qMax(1, arguments.at(at + 1).toInt()) : 3;

    const int size = 200;
    std::vector<QRect> rects;
    for (int y = 0; y < size; ++y)
        for (int x = y % 2; x < size; x += 2)
            rects.emplace_back(x, y, 1, 1);
    QRegion region;
    region.setRects(rects.data(), int(rects.size()));

    for (int run = 1; run <= runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QVector<QLine> outline = Region::outline(region);
        std::printf("run %d: %d rectangles, %d segments, %.1f ms\n", run, region.rectCount(), outline.size(),
                    timer.nsecsElapsed() / 1e6);
    }
    return 0;
}
