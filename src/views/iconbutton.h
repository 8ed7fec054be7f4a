#pragma once

#include <QString>

class QToolButton;

// A flat tool button showing one of our icons (":/Mosaikon/Icons/<icon>.png")
// with its tooltip, named so that tests and styles find it.
QToolButton* makeIconButton(const QString& name, const QString& icon, const QString& toolTip, bool checkable = false);
