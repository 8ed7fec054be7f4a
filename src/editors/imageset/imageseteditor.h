#pragma once

#include "model/history.h"
#include "model/imageset.h"
#include "project/mdichild.h"

#include <functional>

class ColorPanel;
class ImageListPane;
class QMenu;

// The window in which one character, sprite or block set is edited. It works
// on its own history of copies of the set and hands the current copy back to
// the project when saved.
class ImagesetEditor : public MdiChild {
    Q_OBJECT

public:
    ImagesetEditor(const Imageset& set, int nodeKind, QWidget* parent = nullptr);
    ~ImagesetEditor() override;

    const Imageset& current() const { return history.current(); }

    void undo() override;
    void redo() override;
    bool canUndo() const override { return history.canUndo(); }
    bool canRedo() const override { return history.canRedo(); }
    void setName(const QString& name) override;
    bool isModified() const override { return history.isModified(); }
    void invalidateCache() override;
    void handBack() override { save(); }

    // The context menu of the image list for the slot under the mouse (-1
    // for none); the caller owns it.
    QMenu* imageListMenu(int hoverSlot);

    ImageListPane* imageList() const { return imageListPane; }
    ColorPanel* colorPanel() const { return panel; }

signals:
    void save(const Imageset& imageset);
    void imagesSelectionChanged();
    void imagesetUpdated();
    void editorClosed();
    void requestFullUpdate();

public slots:
    void save();
    void gridSelectorResized(int columns, int rows);
    void modeRadioClicked(Imageset::Mode mode);
    void setMultiColor00(int colorIndex);
    void setMultiColor01(int colorIndex);
    void setMultiColor10(int colorIndex);
    void setBckgnd3(int colorIndex);
    void setImageColor(int colorIndex);
    void updateTitle();
    void imagesSelectionUpdated();
    void clearSlots(const QList<int>& slotList);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Applies a change to the set as one undo step; a change that leaves the
    // set as it was records nothing.
    void edit(const std::function<void(Imageset&)>& change);
    // edit() with one of the colour or mode operations on the selected slots.
    template<typename Value>
    void editSelected(void (*change)(Imageset&, const QList<int>&, Value), Value value);
    void showHistoryMove();
    void refreshAll();

    History<Imageset> history;
    ImageListPane* imageListPane;
    ColorPanel* panel;
};
