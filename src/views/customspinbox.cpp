#include "views/customspinbox.h"

#include <QKeyEvent>
#include <QKeySequence>

CustomSpinBox::CustomSpinBox(QWidget* parent)
    : QSpinBox(parent)
{
    installEventFilter(this);
}

CustomSpinBox::~CustomSpinBox()
{
    removeEventFilter(this);
}

bool CustomSpinBox::eventFilter(QObject* watched, QEvent* event)
{
    // The box's text field would claim these keys through ShortcutOverride;
    // swallowing the override lets the key reach the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->matches(QKeySequence::Copy) || keyEvent->matches(QKeySequence::Paste)
            || keyEvent->matches(QKeySequence::Undo) || keyEvent->matches(QKeySequence::Redo))
            return true;
    }
    return QSpinBox::eventFilter(watched, event);
}
