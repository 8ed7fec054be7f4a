// Times the image list of the image-set editor on the largest sprite set:
// 256 x 256 slots, every one holding an image. Prints milliseconds for a
// hover move, a plain click, an Alt+click selecting 1,000 slots and a full
// redraw after a colour change, each including the repaint it causes. Then
// the undo history: milliseconds per one-pixel edit and the memory 100 of
// them keep, on that sprite set and on a full character set. Then the
// editing pane with a grid of 256 x 256 characters, every cell placed: its
// first paint, a freehand move, a fill of the whole area, a flood selection
// of an area of a million runs and a step of moving a 256 x 256 selection.
// Last, the main window's recovery copy of unsaved work.
#include "app/mosaikon.h"
#include "app/recoverycopy.h"
#include "dialogs/exportdialog.h"
#include "dialogs/prompt.h"
#include "editing/slotselection.h"
#include "exchange/imagesetexchange.h"
#include "editors/imageset/editingpane.h"
#include "editors/imageset/imagelistpane.h"
#include "editors/imageset/imageseteditor.h"
#include "model/imagesetdocument.h"
#include "model/projectfile.h"
#include "views/qgraphicsviewzoomable.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include <malloc.h>

namespace {
// A set with an image in every slot of its grid.
Imageset fullSet(Imageset::Type type, int width, int height, int gridWidth, int gridHeight)
{
    Imageset set(0, QStringLiteral("Images"), width, height, type);
    set.selectorGridWidth = gridWidth;
    set.selectorGridHeight = gridHeight;
    for (int slot = 0; slot < set.selectorGridWidth * set.selectorGridHeight; ++slot) {
        ImageData image(width, height);
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

// The bytes the heap hands out: the allocator's own count, which unlike the
// resident size does not depend on what it kept or gave back.
double heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

// One undo step per run, each flipping the first pixel of another image, and
// the memory the history keeps for them.
void reportUndoSteps(const char* what, const Imageset& set)
{
    constexpr int steps = History<Imageset>::capacity;
    ImagesetDocument document(set);
    const int imageCount = set.images.size();
    const double heapBefore = heapBytes();
    report(what, [&](int step) {
        const int slot = step * imageCount / steps;
        document.edit([slot](Imageset& changed) {
            QByteArray& bytes = changed.images[slot].bytes;
            bytes[0] = char(bytes.at(0) ^ 0x80);
        });
    }, steps);
    std::printf("%-40s %8.2f MiB kept for %d steps\n", what, (heapBytes() - heapBefore) / (1024.0 * 1024.0), steps);
}

void sendMouse(QWidget* viewport, QEvent::Type type, QPoint position, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, position, viewport->mapToGlobal(position), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, modifiers);
    QApplication::sendEvent(viewport, &event);
}
}

// A character set whose characters have even rows empty and odd rows of
// every other pixel set: its empty pixels form one area of short runs.
Imageset combedCharset()
{
    Imageset set(0, QStringLiteral("Comb"), 8, 8, Imageset::Charset);
    for (int slot = 0; slot < 256; ++slot) {
        ImageData image(8, 8);
        for (int row = 1; row < 8; row += 2)
            image.bytes[row] = char(0x55);
        set.images.insert(slot, image);
    }
    return set;
}

// An editor on a set with all 256 x 256 cells of its editing grid placed,
// cell n with slot n modulo the set's slot count.
std::unique_ptr<ImagesetEditor> fullGridEditor(const Imageset& set, double* firstPaint)
{
    auto editor = std::make_unique<ImagesetEditor>(set, 7);
    editor->resize(1280, 1024);
    editor->show();
    while (!editor->windowHandle() || !editor->windowHandle()->isExposed())
        QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    SlotSelection all;
    all.rect = QRect(0, 0, EditingGrid::maxSize, EditingGrid::maxSize);
    for (int cell = 0; cell < EditingGrid::maxSize * EditingGrid::maxSize; ++cell)
        all.indexes.append(cell % (set.selectorGridWidth * set.selectorGridHeight));
    editor->editing()->editSlots(all, -1);
    editor->editing()->view()->viewport()->repaint();
    if (firstPaint)
        *firstPaint = timer.nsecsElapsed() / 1e6;
    return editor;
}

void benchEditingPane()
{
    const auto paintPending = [] {
        QApplication::processEvents();
        QApplication::processEvents();
    };
    double firstPaint = 0;
    auto editor = fullGridEditor(Imageset(0, QStringLiteral("Chars"), 8, 8, Imageset::Charset), &firstPaint);
    std::printf("%-40s %8.2f ms\n", "editing pane: place 65,536 cells, paint", firstPaint);
    EditingPane* pane = editor->editing();
    QWidget* viewport = pane->view()->viewport();
    const auto at = [pane](int x, int y) { return pane->view()->mapFromScene(QPointF(2 * x + 1, 2 * y + 1)); };

    sendMouse(viewport, QEvent::MouseButtonPress, at(0, 0), Qt::LeftButton, Qt::NoModifier);
    report("freehand move setting one pixel", [&](int run) {
        QMouseEvent move(QEvent::MouseMove, at(1 + run, 3), viewport->mapToGlobal(at(1 + run, 3)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        paintPending();
    }, 40);
    sendMouse(viewport, QEvent::MouseButtonRelease, at(41, 3), Qt::LeftButton, Qt::NoModifier);

    // The characters repeat, and a fill sees its own pixels in every copy:
    // the whole area takes a set of 65,536 distinct blocks.
    Imageset blockSet(0, QStringLiteral("Blocks"), 8, 8, Imageset::Blockset);
    blockSet.selectorGridWidth = blockSet.selectorGridHeight = EditingGrid::maxSize;
    auto blocks = fullGridEditor(blockSet, nullptr);
    EditingPane* blockPane = blocks->editing();
    blockPane->chooseTool(EditingPane::Fill);
    report("fill of 2048 x 2048 pixels", [&](int run) {
        sendMouse(blockPane->view()->viewport(), QEvent::MouseButtonPress, blockPane->view()->mapFromScene(QPointF(1, 1)),
                  run % 2 ? Qt::RightButton : Qt::LeftButton, Qt::NoModifier);
        paintPending();
    }, 5);
    if (LayerCanvas(blockPane->grid(), 0, 8, 8).code(blocks->current(), 2047, 2047) != 1)
        std::printf("the last fill did not reach the far corner\n");

    // The dialogs of the transformations are answered at once.
    Prompt::setResponder([](const PromptRequest&) { return PromptAnswer {true, QMessageBox::Ok, {}, 0}; });
    blockPane->rotateOptions.angle = 33.0;
    const std::pair<const char*, void (EditingPane::*)()> transforms[] = {
        {"shift of 2048 x 2048 pixels", &EditingPane::shiftLeft},
        {"mirror of 2048 x 2048 pixels", &EditingPane::mirror},
        {"invert of 2048 x 2048 pixels", &EditingPane::invert},
        {"rotation by 33 degrees of 2048 x 2048", &EditingPane::rotate}};
    for (const auto& [what, transform] : transforms) {
        report(what, [&](int) {
            (blockPane->*transform)();
            paintPending();
        }, 3);
    }

    auto combed = fullGridEditor(combedCharset(), nullptr);
    EditingPane* combedPane = combed->editing();
    combedPane->chooseTool(EditingPane::FloodSelect);
    QWidget* combedViewport = combedPane->view()->viewport();
    report("flood selection of 1,049,600 runs", [&](int) {
        sendMouse(combedViewport, QEvent::MouseButtonPress, combedPane->view()->mapFromScene(QPointF(1, 1)),
                  Qt::LeftButton, Qt::NoModifier);
        paintPending();
    }, 4);

    pane->chooseTool(EditingPane::SelectMove);
    sendMouse(viewport, QEvent::MouseButtonPress, at(0, 0), Qt::LeftButton, Qt::NoModifier);
    QMouseEvent band(QEvent::MouseMove, at(255, 255), viewport->mapToGlobal(at(255, 255)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &band);
    sendMouse(viewport, QEvent::MouseButtonRelease, at(255, 255), Qt::LeftButton, Qt::NoModifier);
    sendMouse(viewport, QEvent::MouseButtonPress, at(10, 10), Qt::LeftButton, Qt::NoModifier);
    report("move step of a 256 x 256 selection", [&](int run) {
        QMouseEvent move(QEvent::MouseMove, at(11 + run, 10), viewport->mapToGlobal(at(11 + run, 10)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        paintPending();
    }, 20);
    sendMouse(viewport, QEvent::MouseButtonRelease, at(30, 10), Qt::LeftButton, Qt::NoModifier);
}

// The copy of unsaved work the main window writes when the editing pauses,
// blocking the editing meanwhile: the project with its only set open in an
// editor holding a change. The window's side files go to a temporary folder
// (its colour tables are built there first, which takes seconds), the copy
// to the data folder of test mode.
void benchRecoveryCopy(const char* what, const Imageset& set)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir directory;
    const QString started = QDir::currentPath();
    QDir::setCurrent(directory.path());
    Project project;
    project.append(Imageset::itemKindOf(set.type), QSharedPointer<Imageset>::create(set));
    ProjectFile::write(QStringLiteral("bench.mzprj"), project);
    Mosaikon window;
    window.readProject(QStringLiteral("bench.mzprj"));
    auto* editor = static_cast<ImagesetEditor*>(
        window.openEditor({itemNodeOf(Imageset::itemKindOf(set.type)), set.id}, true, false));
    editor->setMultiColor01(9);
    report(what, [&](int) {
        window.recoveryCopy()->noteChange();
        window.recoveryCopy()->update();
    });
    if (!QFile::exists(RecoveryCopy::projectFile()))
        std::printf("no recovery copy was written\n");
    window.recoveryCopy()->remove();
    QDir::setCurrent(started);
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QElapsedTimer timer;
    timer.start();
    const Imageset sprites = fullSet(Imageset::Spriteset, 24, 21, Imageset::maxGridSize, Imageset::maxGridSize);
    ImagesetEditor editor(sprites, 7);
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

    report("copy and paste of 1,000 slots", [&](int run) {
        editor.copySlots(false);
        editor.pasteSlots(2000 + run * 1000);
        paintPending();
    }, 5);
    report("export text of 65,536 sprites", [&](int) {
        ImagesetExchange::text(sprites, ImagesetExchange::allSlots(sprites), ExportDataOptions::forImageset());
    }, 3);
    report("export preview of 65,536 sprites", [&](int) {
        const QList<int> all = ImagesetExchange::allSlots(sprites);
        ExportDialog dialog(ExportDataOptions::forImageset(), {}, ExportDialog::Comments::Free,
                            [&](const ExportDataOptions& options) { return ImagesetExchange::text(sprites, all, options); });
        dialog.show();
        paintPending();
    }, 3);

    reportUndoSteps("one-pixel undo step, 65,536 sprites", sprites);
    reportUndoSteps("one-pixel undo step, 256 chars", fullSet(Imageset::Charset, 8, 8, 32, 8));
    benchEditingPane();
    benchRecoveryCopy("recovery copy of a 256-character project", fullSet(Imageset::Charset, 8, 8, 32, 8));
    benchRecoveryCopy("recovery copy of a 65,536-sprite project", sprites);
    return 0;
}
