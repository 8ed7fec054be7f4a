#pragma once

#include "editing/clipboards.h"
#include "model/workingcopies.h"
#include "project/mdichild.h"

#include <QObject>

#include <functional>

class Document;
class QMdiArea;

// What an editor may ask about the rest of the project, handed to every
// editor by the main window: look-ups of the datasets it depends on (open
// editors' working copies first, so unsaved changes show everywhere), the
// dependants of its item, opened in minimized editors where they have none,
// redraws of the editors that show its item, and the shared clipboards.
class EditorServices : public QObject {
    Q_OBJECT

public:
    // Opens the item's editor or finds the open one; null when the kind has
    // no editor or the item does not exist.
    using OpenEditor = std::function<MdiChild*(const ItemKey& key, bool activate, bool minimized)>;

    EditorServices(const Project& project, const QMdiArea* area, OpenEditor openEditor, QObject* parent = nullptr);

    // The project's items as the open editors see them.
    WorkingCopies workingCopies() const;
    // The document of the open editor of an item (not closing), or null.
    Document* openDocument(const ItemKey& key) const;

    // The documents of the tile sets made of the image set, and of the
    // screens drawn directly from the reference: every one of them gets an
    // editor (minimized, not activated) where it has none. A caller that
    // renumbers images or tiles changes them through Document edits, so each
    // change is one step the user can undo in that editor.
    QList<Document*> tilesetsUsing(qint32 imagesetId, bool isCharset);
    QList<Document*> screensUsing(qint32 sourceRef);

    // The item changed, or its editor closed: every open editor that draws
    // it, directly or through a tile set, draws anew.
    void datasetChanged(const ItemKey& key);
    // Every open editor drops its cached pictures and draws anew.
    void fullUpdate();

    // The clipboards all image-set editors share.
    ImageClipboard& imageClipboard() { return images; }
    BitmapClipboard& bitmapClipboard() { return bitmaps; }

private:
    QList<Document*> openAll(ItemKind kind, const QList<qint32>& ids);

    const Project& project;
    const QMdiArea* area;
    OpenEditor openEditor;
    ImageClipboard images;
    BitmapClipboard bitmaps;
};
