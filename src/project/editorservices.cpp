#include "project/editorservices.h"

#include "model/document.h"
#include "project/documenteditor.h"

EditorServices::EditorServices(const Project& project, const QMdiArea* area, OpenEditor openEditor, QObject* parent)
    : QObject(parent)
    , project(project)
    , area(area)
    , openEditor(std::move(openEditor))
{
}

Document* EditorServices::openDocument(const ItemKey& key) const
{
    auto* editor = qobject_cast<DocumentEditor*>(findEditor(area, key));
    return editor ? editor->document() : nullptr;
}

WorkingCopies EditorServices::workingCopies() const
{
    return WorkingCopies(project, [this](ItemKind kind, qint32 id) -> const Dataset* {
        const Document* document = openDocument({itemNodeOf(kind), id});
        return document ? &document->dataset() : nullptr;
    });
}

QList<Document*> EditorServices::openAll(ItemKind kind, const QList<qint32>& ids)
{
    QList<Document*> documents;
    for (qint32 id : ids) {
        auto* editor = qobject_cast<DocumentEditor*>(openEditor({itemNodeOf(kind), id}, false, true));
        if (editor && !editor->closing)
            documents.append(editor->document());
    }
    return documents;
}

QList<Document*> EditorServices::tilesetsUsing(qint32 imagesetId, bool isCharset)
{
    return openAll(ItemKind::Tileset, workingCopies().tilesetsUsing(imagesetId, isCharset));
}

QList<Document*> EditorServices::screensUsing(qint32 sourceRef)
{
    return openAll(ItemKind::Screen, workingCopies().screensUsing(sourceRef));
}

void EditorServices::datasetChanged(const ItemKey& key)
{
    const WorkingCopies copies = workingCopies();
    for (MdiChild* editor : editorWindows(area)) {
        auto* documentEditor = qobject_cast<DocumentEditor*>(editor);
        if (documentEditor
            && copies.draws(editor->itemKey.kind(), documentEditor->document()->dataset(), key.kind(), key.id))
            editor->invalidateCache();
    }
}

void EditorServices::fullUpdate()
{
    for (MdiChild* editor : editorWindows(area))
        editor->invalidateCache();
}
