// Times the image list of the image-set editor on the largest sprite set:
// 256 x 256 slots, every one holding an image. Prints milliseconds for a
// hover move, a plain click, an Alt+click selecting 1,000 slots and a full
// redraw after a colour change, each including the repaint it causes.
#include "editing/slotselection.h"
#include "editors/imageset/imagelistpane.h"
#include "editors/imageset/imageseteditor.h"
#include "views/qgraphicsviewzoomable.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
Imageset fullSpriteSet()
{
    Imageset set(0, QStringLiteral("Sprites"), 24, 21, Imageset::Spriteset);
    set.selectorGridWidth = Imageset::maxGridSize;
    set.selectorGridHeight = Imageset::maxGridSize;
    for (int slot = 0; slot < set.selectorGridWidth * set.selectorGridHeight; ++slot) {
        ImageData image(24, 21);
        for (int i = 0; i < image.bytes.size(); ++i)
            image.bytes[i] = char((slot * 7 + i * 13) & 0xFF);
        set.images.insert(slot, image);
        set.imageColors.insert(slot, slot & 15);
    }
    return set;
}

// Counts the paint events of a widget.
struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// The best and the median of several runs, in milliseconds.
void report(const char* what, const std::function<void(int run)>& action, int runs = 15)
{
    QVector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        action(run);
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-40s best %8.2f ms   median %8.2f ms\n", what, times.first(), times.at(times.size() / 2));
}

void sendMouse(QWidget* viewport, QEvent::Type type, QPoint position, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, position, viewport->mapToGlobal(position), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, modifiers);
    QApplication::sendEvent(viewport, &event);
}
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QElapsedTimer timer;
    timer.start();
    ImagesetEditor editor(fullSpriteSet(), 7);
    editor.resize(1280, 1024);
    editor.show();
    // Painting only happens once the window is on screen.
    while (!editor.windowHandle() || !editor.windowHandle()->isExposed())
        QApplication::processEvents();
    QGraphicsViewZoomable* view = editor.imageList()->view();
    QWidget* viewport = view->viewport();
    PaintCounter paints;
    viewport->installEventFilter(&paints);
    viewport->repaint();
    std::printf("%-40s %8.2f ms\n", "open and first paint", timer.nsecsElapsed() / 1e6);


    // Lets the program repaint what the action changed, as it would on screen.
    const auto paintPending = [] {
        QApplication::processEvents();
        QApplication::processEvents();
    };
    const double zoom = view->zoomFactor();
    const auto cellCentre = [zoom](int column, int row) {
        return QPoint(int((column * 24 + 12) * zoom), int((row * 21 + 10) * zoom));
    };

    report("hover move", [&](int run) {
        sendMouse(viewport, QEvent::MouseMove, cellCentre(run % 10, 1), Qt::NoButton, Qt::NoModifier);
        paintPending();
    });
    report("plain click", [&](int run) {
        const QPoint position = cellCentre(run % 10, 2);
        sendMouse(viewport, QEvent::MouseButtonPress, position, Qt::LeftButton, Qt::NoModifier);
        sendMouse(viewport, QEvent::MouseButtonRelease, position, Qt::LeftButton, Qt::NoModifier);
        paintPending();
    });
    report("Alt+click selecting 1,000 slots", [&](int) {
        editor.imageList()->setSelection(SlotSelection());
        sendMouse(viewport, QEvent::MouseButtonPress, cellCentre(0, 0), Qt::LeftButton, Qt::NoModifier);
        sendMouse(viewport, QEvent::MouseButtonRelease, cellCentre(0, 0), Qt::LeftButton, Qt::NoModifier);
        // 40 columns x 25 rows
        sendMouse(viewport, QEvent::MouseButtonPress, cellCentre(39, 24), Qt::LeftButton, Qt::AltModifier);
        sendMouse(viewport, QEvent::MouseButtonRelease, cellCentre(39, 24), Qt::LeftButton, Qt::AltModifier);
        paintPending();
    });
    if (editor.imageList()->selection().indexes.size() != 1000)
        std::printf("unexpected selection size %d\n", int(editor.imageList()->selection().indexes.size()));

    auto* multi1 = editor.findChild<QComboBox*>(QStringLiteral("cbxCol01"));
    report("full redraw after a colour change", [&](int run) {
        multi1->setCurrentIndex(run % 16);
        paintPending();
    });
    // Every timed action must really have repainted the list.
    std::printf("viewport paints: %d\n", paints.count);
    return 0;
}
