#pragma once

#include "convert/pictureconversion.h"
#include "convert/picturepreparation.h"

#include <QList>

#include <optional>

class QWidget;

// "Import image into %1...": the questions and dialogs before a picture is
// written into slots. The caller writes the result as one undo step.
namespace PictureImportFlow {

struct Conversion {
    PictureConversion::Setup setup;
    PictureConversion::Result result;
    bool putInEditor = true;
};

// Asks for a picture file, refuses targets the set cannot take and
// pictures that cannot be read or fitted, runs the "Import image" dialog
// (settings pre-set it and keep what it was accepted with) and the
// conversion under a progress dialog with "Abort Import". Nothing when the
// user cancelled anything or a refusal was shown.
std::optional<Conversion> run(QWidget* parent, const Imageset& set, const QList<int>& targets,
                              PicturePreparation::Settings& settings);

}
