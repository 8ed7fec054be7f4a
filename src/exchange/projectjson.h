#pragma once

#include "model/project.h"
#include "model/recordio.h"

#include <QByteArray>

// A project as JSON text, for reading by other programs.
namespace ProjectJson {

// The whole project as one JSON object in UTF-8, every field of every item
// under its own name, maps as arrays of [key..., value] in ascending key
// order. The same project always gives the same text, one item per line, so
// that projects can be compared in version control.
QByteArray dump(const Project& project, const FileVersion& version);

}
