#pragma once

#include <QString>

class QCursor;
class QToolButton;

// A flat tool button showing one of our icons (":/Mosaikon/Icons/<icon>.png")
// with its tooltip, named so that tests and styles find it.
QToolButton* makeIconButton(const QString& name, const QString& icon, const QString& toolTip, bool checkable = false);

// The colour pick: our pipette with its tip at the hot spot.
QCursor colorPickerCursor();
