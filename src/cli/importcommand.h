#pragma once

#include "cli/arguments.h"
#include "convert/pictureconversion.h"
#include "convert/picturepreparation.h"

#include <QByteArray>
#include <QImage>
#include <QList>

// mosaikon-cli import: a picture converted into slots of an image set,
// exactly as the "Import image" dialog's Import does without putting the
// result in the editor.
namespace ImportCommand {

// The command's options read against the set they apply to: the target
// slots, the kind of images made with the colour ranges, and the
// adjustments. Throws a Failure (BadUsage) for an option it cannot follow,
// and (BadInput) for targets the set cannot take.
struct Plan {
    QList<int> targets;
    PictureConversion::Setup setup;
    PicturePreparation::Settings settings;
};
Plan plan(const Request& request, const Imageset& set);

// Fits, adjusts, reduces and converts the picture and writes it into the
// set. Returns the line of JSON the command prints. Throws a Failure
// (BadInput) when the picture cannot be fitted into the targets.
QByteArray run(Imageset& set, const Plan& plan, const QImage& picture, const QString& pictureName);

}
