#pragma once

#include "convert/ditherlut.h"

class QWidget;

// Makes the program's colour-matching tables ready before the main window
// shows: read from "dither.lut" in the current directory when that file was
// built for the current palette, otherwise built (with a progress dialog over
// the window) and written anew. When the file cannot be written the user is
// told, and the tables serve this run all the same.
namespace LutStartup {
void prepare(QWidget* window);

// Replaces the computation of the tables; an empty builder restores the
// real one. Tests use it to take prebuilt tables instead of computing them.
void setBuilder(const DitherLut::Builder& builder);
}
