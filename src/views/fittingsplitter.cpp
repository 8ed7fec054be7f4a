#include "views/fittingsplitter.h"

#include <QResizeEvent>

FittingSplitter::FittingSplitter(QWidget* parent)
    : QSplitter(Qt::Horizontal, parent)
{
    setChildrenCollapsible(false);
}

int FittingSplitter::sideBySideWidth() const
{
    int width = 0;
    for (int i = 0; i < count(); ++i) {
        const QWidget* pane = widget(i);
        width += pane->minimumSizeHint().expandedTo(pane->minimumSize()).width();
    }
    return width + handleWidth() * qMax(0, count() - 1);
}

QSize FittingSplitter::minimumSizeHint() const
{
    int widest = 0;
    int tallest = 0;
    int stacked = handleWidth() * qMax(0, count() - 1);
    for (int i = 0; i < count(); ++i) {
        const QSize pane = widget(i)->minimumSizeHint().expandedTo(widget(i)->minimumSize());
        widest = qMax(widest, pane.width());
        tallest = qMax(tallest, pane.height());
        stacked += pane.height();
    }
    return QSize(widest, orientation() == Qt::Vertical ? stacked : tallest);
}

void FittingSplitter::resizeEvent(QResizeEvent* event)
{
    const Qt::Orientation fitting = event->size().width() >= sideBySideWidth() ? Qt::Horizontal : Qt::Vertical;
    if (fitting != orientation()) {
        setOrientation(fitting);
        updateGeometry();
    }
    QSplitter::resizeEvent(event);
}
