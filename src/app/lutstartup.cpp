#include "app/lutstartup.h"

#include "dialogs/prompt.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QThread>

namespace {
DitherLut::Builder replacedBuilder;

// Tables made for the palette already (the top bytes of colours do not count).
bool tablesServe(const DitherLut& tables, const Palette::Colors& palette)
{
    if (!tables.isValid())
        return false;
    for (int i = 0; i < Palette::size; ++i) {
        if ((tables.palette()[i] & 0xFFFFFF) != (palette[i] & 0xFFFFFF))
            return false;
    }
    return true;
}

// Builds on the thread pool while the GUI thread keeps the progress dialog
// painted, checking every 25 ms whether the work is done.
void buildWithProgress(QWidget* window, DitherLut& tables, const Palette::Colors& palette)
{
    QProgressDialog dialog(QStringLiteral("Build dithering LUT..."), QString(), 0, 100, window);
    dialog.setCancelButton(nullptr);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setValue(0);
    dialog.show();
    QFuture<void> done = tables.buildAsync(palette, [&dialog](int percent) {
        QMetaObject::invokeMethod(&dialog, [&dialog, percent] { dialog.setValue(percent); }, Qt::QueuedConnection);
    });
    while (!done.isFinished()) {
        QCoreApplication::processEvents();
        QThread::msleep(25);
    }
    // Progress reports still queued must reach the dialog while it exists.
    QCoreApplication::processEvents();
}
}

void LutStartup::setBuilder(const DitherLut::Builder& builder)
{
    replacedBuilder = builder;
}

void LutStartup::prepare(QWidget* window)
{
    const Palette::Colors& palette = Palette::current();
    if (tablesServe(DitherLut::current(), palette))
        return;
    DitherLut tables;
    const DitherLut::Origin origin = tables.loadOrBuild(
        QStringLiteral("dither.lut"), palette,
        replacedBuilder ? replacedBuilder
                        : DitherLut::Builder([window](DitherLut& lut, const Palette::Colors& colors) {
                              buildWithProgress(window, lut, colors);
                          }));
    DitherLut::setCurrent(std::move(tables));
    if (origin == DitherLut::BuiltNotSaved)
        Prompt::critical(window, QStringLiteral("Error!"),
                         QStringLiteral("Cannot save the LUT for dithering (this will be recreated at every startup)!"));
}
