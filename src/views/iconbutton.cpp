#include "views/iconbutton.h"

#include <QCursor>
#include <QPixmap>
#include <QToolButton>

QToolButton* makeIconButton(const QString& name, const QString& icon, const QString& toolTip, bool checkable)
{
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setIcon(QIcon(QStringLiteral(":/Mosaikon/Icons/%1.png").arg(icon)));
    button->setToolTip(toolTip);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    return button;
}

QCursor colorPickerCursor()
{
    return QCursor(QPixmap(QStringLiteral(":/Mosaikon/Icons/ColorPicker.png")), 1, 13);
}
