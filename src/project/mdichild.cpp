#include "project/mdichild.h"

#include <QMdiArea>
#include <QMdiSubWindow>

MdiChild::MdiChild(int nodeKind, qint32 id, QWidget* parent)
    : QWidget(parent)
    , itemKey {nodeKind, id}
{
    setAttribute(Qt::WA_DeleteOnClose);
}

QList<MdiChild*> editorWindows(const QMdiArea* area)
{
    QList<MdiChild*> editors;
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::CreationOrder)) {
        auto* editor = qobject_cast<MdiChild*>(window->widget());
        if (editor && !editor->closing)
            editors.append(editor);
    }
    return editors;
}

MdiChild* findEditor(const QMdiArea* area, const ItemKey& key)
{
    for (MdiChild* editor : editorWindows(area)) {
        if (editor->itemKey == key)
            return editor;
    }
    return nullptr;
}
