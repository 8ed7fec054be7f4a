#pragma once

#include "convert/picturepreparation.h"
#include "editing/clipboards.h"
#include "exchange/exportoptions.h"
#include "model/imagesetdocument.h"
#include "project/documenteditor.h"

class ColorPanel;
class EditingPane;
class ImageListPane;
class QMenu;

// The window in which one character, sprite or block set is edited: the
// image list, the editing pane and the colour panel over the set's document.
class ImagesetEditor : public DocumentEditor {
    Q_OBJECT

public:
    ImagesetEditor(const Imageset& set, int nodeKind, EditorServices* services = nullptr,
                   QWidget* parent = nullptr);

    const Imageset& current() const { return doc->current(); }

    void invalidateCache() override;

    // The context menu of the image list for the slot under the mouse (-1
    // for none); the caller owns it.
    QMenu* imageListMenu(int hoverSlot);

    ImageListPane* imageList() const { return imageListPane; }
    ColorPanel* colorPanel() const { return panel; }
    EditingPane* editing() const { return editingPane; }

signals:
    void imagesSelectionChanged();

public slots:
    void gridSelectorResized(int columns, int rows);
    void modeRadioClicked(Imageset::Mode mode);
    void setMultiColor00(int colorIndex);
    void setMultiColor01(int colorIndex);
    void setMultiColor10(int colorIndex);
    void setBckgnd3(int colorIndex);
    void setImageColor(int colorIndex);
    void imagesSelectionUpdated();
    void clearSlots(const QList<int>& slotList);
    // "Swap colors": two codes change places in the images, and so do the
    // colours behind them.
    void swapColors();
    // Alt+C and Alt+X: the selected slots onto the shared image clipboard;
    // Alt+V: pasted with their first cell at a slot.
    void copySlots(bool cut);
    void pasteSlots(int slot);
    void showStats();
    // "Export %1 as image...": the selected (or all) images as a PNG picture.
    void exportImage();
    // "Copy romset 1/2 into %1": ROM glyphs into the target slots.
    void copyRom(const QList<int>& targets, int half);
    // "Export %1 as data...": the selected (or all) slots as assembler text.
    void exportData();
    // "Import data into %1...": assembler text read into the targets.
    void importData(const QList<int>& targets);
    // "Import image into %1...": a picture converted into the targets as
    // one undo step; the slots written become the selection and, when the
    // dialog says so, fill the editing pane's layer.
    void importImage(const QList<int>& targets);

protected:
    QString unsavedQuestion() const override;
    void addViewSettings(Dataset& copy) const override;

private:
    // An edit of the set as one undo step; when it changes nothing, the
    // colour panel still shows the set as it is.
    void edit(const std::function<void(Imageset&)>& change);
    // edit() with one of the colour or mode operations on the selected slots.
    template<typename Value>
    void editSelected(void (*change)(Imageset&, const QList<int>&, Value), Value value);

    // The shared clipboards, or the editor's own when it has no services.
    ImageClipboard ownImages;
    BitmapClipboard ownBitmaps;
    ImageClipboard* images;
    BitmapClipboard* bitmaps;
    ExportDataOptions exportOptions = ExportDataOptions::forImageset();
    QString lastImport; // shown again by the next import
    // The import dialog's settings since the last change of mode.
    PicturePreparation::Settings importSettings;
    ImagesetDocument* doc;
    ImageListPane* imageListPane;
    ColorPanel* panel;
    EditingPane* editingPane;
};
