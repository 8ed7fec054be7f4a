#pragma once

#include "project/mdichild.h"

class Dataset;
class Document;
class EditorServices;

// An editor window over a document with an undo history: undo and redo, the
// modified mark in the title, handing the working copy back to the project,
// the question before unsaved changes are closed, and telling the editors
// that draw the item about its changes. Every editor that keeps a history
// derives from it and adds only its panes and commands.
class DocumentEditor : public MdiChild {
    Q_OBJECT

public:
    // The editor owns the document. Services may be null for an editor that
    // stands alone, as in tests.
    DocumentEditor(int nodeKind, Document* document, EditorServices* services, QWidget* parent = nullptr);
    ~DocumentEditor() override;

    Document* document() const { return document_; }
    EditorServices* services() const { return services_; }

    void undo() override;
    void redo() override;
    bool canUndo() const override;
    bool canRedo() const override;
    void setName(const QString& name) override;
    bool isModified() const override;
    void handBack() override { save(); }

public slots:
    // Hands the working copy to the project and marks it saved.
    void save();
    void updateTitle();

signals:
    // The copy for the project, with the editor's view settings.
    void handedBack(const Dataset& copy);

protected:
    void closeEvent(QCloseEvent* event) override;
    // The text of the question asked before an unsaved editor closes.
    virtual QString unsavedQuestion() const = 0;
    // Writes the panes' view settings (zoom, grid) into the copy handed back.
    virtual void addViewSettings(Dataset& copy) const;

private:
    Document* document_;
    EditorServices* services_;
};
