#include "editors/imageset/pictureimportflow.h"

#include "convert/paralleljob.h"
#include "dialogs/importimagedialog.h"
#include "dialogs/prompt.h"
#include "exchange/imagesetexchange.h"

#include <QApplication>
#include <QProgressDialog>

namespace {

const QString errorTitle = QStringLiteral("Error!");

// The refusal of targets the set cannot take, or an empty text.
QString targetRefusal(const Imageset& set, const QList<int>& targets)
{
    if (!ImagesetExchange::importTargetsAllowed(set, targets))
        return QStringLiteral("In ECM mode you can select only the first 64 characters!");
    if (set.type == Imageset::Spriteset) {
        const bool multiColor = set.multiColorSprites.contains(targets.first());
        for (int slot : targets) {
            if (set.multiColorSprites.contains(slot) != multiColor)
                return QStringLiteral("The selected sprites must be all mono color or all multi color!");
        }
    }
    return QString();
}

// The search on a thread of its own, so that its loops have every core,
// while the progress dialog stays responsive.
std::optional<PictureConversion::Result> convertWithProgress(QWidget* parent, const QImage& picture,
                                                             const PictureConversion::Setup& setup)
{
    QProgressDialog progress(QStringLiteral("Importing image..."), QStringLiteral("Abort Import"), 0, 100, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setValue(0);
    PictureConversion::Result result;
    const Palette::Colors palette = Palette::current();
    ParallelJob job([&](ParallelJob::Control& control) {
        PictureConversion::Progress report;
        report.report = [&control](int percent) { control.report(percent); };
        report.cancelled = [&control] { return control.isCancelled(); };
        result = PictureConversion::convert(picture, setup, palette, report);
    });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    job.wait([&] {
        if (progress.wasCanceled())
            job.cancel();
        progress.setValue(job.progress());
        QCoreApplication::processEvents();
    });
    QApplication::restoreOverrideCursor();
    // Abort pressed while the last cells were done still means abort.
    if (result.cancelled || progress.wasCanceled())
        return std::nullopt;
    return result;
}

}

std::optional<PictureImportFlow::Conversion> PictureImportFlow::run(QWidget* parent, const Imageset& set,
                                                                    const QList<int>& targets,
                                                                    PicturePreparation::Settings& settings)
{
    const QString file = Prompt::getOpenFileName(parent, QStringLiteral("Import image..."),
                                                 QStringLiteral("Image Files (*.png *.jpg *.bmp)"));
    if (file.isEmpty() || targets.isEmpty())
        return std::nullopt;
    const QString refusal = targetRefusal(set, targets);
    if (!refusal.isEmpty()) {
        Prompt::critical(parent, errorTitle, refusal);
        return std::nullopt;
    }
    const QImage picture(file);
    if (picture.isNull()) {
        Prompt::critical(parent, errorTitle, QStringLiteral("Unable to load the image \"%1\"!").arg(file));
        return std::nullopt;
    }
    const bool multiColorSprites = set.type == Imageset::Spriteset && set.multiColorSprites.contains(targets.first());
    const PictureConversion::Setup kind = PictureConversion::Setup::forSet(set, multiColorSprites);
    const QImage fitted = PicturePreparation::fitToTargets(picture, kind.cellSize(), targets.size());
    if (fitted.isNull()) {
        Prompt::critical(parent, errorTitle,
                         QStringLiteral("The image \"%1\" cannot be fitted into %2 slot(s)!").arg(file).arg(targets.size()));
        return std::nullopt;
    }

    ImportImage dialog(fitted, kind, settings, parent);
    if (!Prompt::exec(&dialog))
        return std::nullopt;
    settings = dialog.settings();
    Conversion conversion;
    conversion.setup = dialog.conversionSetup();
    conversion.putInEditor = settings.putInEditor;
    const auto result = convertWithProgress(parent, dialog.outputPicture(), conversion.setup);
    if (!result)
        return std::nullopt;
    conversion.result = *result;
    return conversion;
}
