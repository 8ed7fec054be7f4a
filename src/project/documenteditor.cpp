#include "project/documenteditor.h"

#include "dialogs/prompt.h"
#include "model/document.h"
#include "project/editorservices.h"

#include <QCloseEvent>

DocumentEditor::DocumentEditor(int nodeKind, Document* document, EditorServices* services, QWidget* parent)
    : MdiChild(nodeKind, document->dataset().id, parent)
    , document_(document)
    , services_(services)
{
    document_->setParent(this);
    connect(document_, &Document::statusChanged, this, [this] {
        updateTitle();
        emit menuUpdated();
    });
    if (services_) {
        connect(document_, &Document::changed, this, [this] { services_->datasetChanged(itemKey); });
        connect(document_, &Document::elementsChanged, this, [this] { services_->datasetChanged(itemKey); });
    }
}

DocumentEditor::~DocumentEditor()
{
    // The panes observe the document: they go first.
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

void DocumentEditor::undo()
{
    document_->undo();
}

void DocumentEditor::redo()
{
    document_->redo();
}

bool DocumentEditor::canUndo() const
{
    return document_->canUndo();
}

bool DocumentEditor::canRedo() const
{
    return document_->canRedo();
}

void DocumentEditor::setName(const QString& name)
{
    document_->setName(name);
}

bool DocumentEditor::isModified() const
{
    return document_->isModified();
}

void DocumentEditor::addViewSettings(Dataset& /*copy*/) const
{
}

void DocumentEditor::save()
{
    const QSharedPointer<Dataset> copy = document_->copy();
    addViewSettings(*copy);
    emit handedBack(*copy);
    document_->markSaved();
}

void DocumentEditor::updateTitle()
{
    setWindowTitle(document_->dataset().name + (isModified() ? QStringLiteral(" *") : QString()));
    emit titleUpdated();
}

void DocumentEditor::closeEvent(QCloseEvent* event)
{
    if (!forceClose && isModified()) {
        switch (Prompt::question(this, QMessageBox::Warning, QStringLiteral("Data not saved!"), unsavedQuestion(),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
        case QMessageBox::Yes:
            save();
            break;
        case QMessageBox::No:
            document_->markSaved();
            break;
        default:
            event->ignore();
            return;
        }
    }
    event->accept();
    closing = true;
    // The editors that drew the working copy now draw the project's copy.
    if (services_)
        services_->datasetChanged(itemKey);
}
