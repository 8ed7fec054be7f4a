#include "app/lutstartup.h"

#include "convert/paralleljob.h"
#include "dialogs/prompt.h"

#include <QCoreApplication>
#include <QProgressDialog>

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

// Builds as a parallel job, whose loops have every core, while the GUI
// thread keeps the progress dialog painted, looking every 25 ms.
void buildWithProgress(QWidget* window, DitherLut& tables, const Palette::Colors& palette)
{
    QProgressDialog dialog(QStringLiteral("Build dithering LUT..."), QString(), 0, 100, window);
    dialog.setCancelButton(nullptr);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setValue(0);
    dialog.show();
    ParallelJob job([&tables, &palette](ParallelJob::Control& control) {
        tables.build(palette, [&control](int percent) { control.report(percent); });
    });
    job.wait([&dialog, &job] {
        dialog.setValue(job.progress());
        QCoreApplication::processEvents();
    });
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
