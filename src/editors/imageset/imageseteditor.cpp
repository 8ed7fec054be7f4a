#include "editors/imageset/imageseteditor.h"

#include "dialogs/prompt.h"
#include "editing/imagesetcolors.h"
#include "editing/slotselection.h"
#include "editors/imageset/colorpanel.h"
#include "editors/imageset/imagelistpane.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

ImagesetEditor::ImagesetEditor(const Imageset& set, int nodeKind, QWidget* parent)
    : MdiChild(nodeKind, set.id, parent)
    , history(set)
    , imageListPane(new ImageListPane(set.type))
    , colors(new ColorPanel(set.type))
{
    auto* listGroup = new QGroupBox(Imageset::kindWord(set.type) + QLatin1Char('s'));
    auto* listLayout = new QVBoxLayout(listGroup);
    listLayout->addWidget(imageListPane);
    auto* colorGroup = new QGroupBox(QStringLiteral("Colors"));
    auto* colorLayout = new QVBoxLayout(colorGroup);
    colorLayout->addWidget(colors);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(listGroup);
    splitter->addWidget(colorGroup);
    splitter->setStretchFactor(0, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    imageListPane->setImageset(&history.current());
    imageListPane->setZoom(set.selectorZoom);
    imageListPane->setGridVisible(set.selectorGridVisible);

    connect(imageListPane->saveButton(), &QPushButton::clicked, this, QOverload<>::of(&ImagesetEditor::save));
    connect(imageListPane, &ImageListPane::selectionChanged, this, &ImagesetEditor::imagesSelectionUpdated);
    connect(imageListPane, &ImageListPane::gridResized, this, &ImagesetEditor::gridSelectorResized);
    connect(imageListPane, &ImageListPane::menuRequested, this, [this](const QPoint& position, int slot) {
        QMenu* menu = imageListMenu(slot);
        menu->exec(position);
        menu->deleteLater();
    });
    connect(colors, &ColorPanel::modeChosen, this, &ImagesetEditor::modeRadioClicked);
    connect(colors, &ColorPanel::multiColor00Chosen, this, &ImagesetEditor::setMultiColor00);
    connect(colors, &ColorPanel::multiColor01Chosen, this, &ImagesetEditor::setMultiColor01);
    connect(colors, &ColorPanel::multiColor10Chosen, this, &ImagesetEditor::setMultiColor10);
    connect(colors, &ColorPanel::bckgnd3Chosen, this, &ImagesetEditor::setBckgnd3);
    connect(colors, &ColorPanel::imageColorChosen, this, &ImagesetEditor::setImageColor);

    const auto shortcut = [this](const char* keys, auto slot) {
        auto* key = new QShortcut(QKeySequence(QLatin1String(keys)), this);
        key->setContext(Qt::WidgetWithChildrenShortcut);
        connect(key, &QShortcut::activated, this, slot);
    };
    shortcut("Ctrl+S", [this] { save(); });
    shortcut("Alt+A", [this] {
        SlotSelection selection;
        selection.selectAll(current().selectorGridWidth * current().selectorGridHeight);
        imageListPane->setSelection(selection);
    });
    shortcut("Alt+D", [this] { imageListPane->setSelection(SlotSelection()); });

    colors->showSet(current(), {});
    updateTitle();
}

void ImagesetEditor::recordStep()
{
    history.push();
    imageListPane->setImageset(&history.current());
    emit menuUpdated();
}

void ImagesetEditor::setChanged()
{
    refreshAll();
    updateTitle();
    emit imagesetUpdated();
}

void ImagesetEditor::refreshAll()
{
    imageListPane->setImageset(&history.current());
    imageListPane->invalidatePictures();
    colors->showSet(current(), imageListPane->selection().indexes);
}

void ImagesetEditor::undo()
{
    if (!history.undo())
        return;
    refreshAll();
    updateTitle();
    emit menuUpdated();
    emit imagesetUpdated();
}

void ImagesetEditor::redo()
{
    if (!history.redo())
        return;
    refreshAll();
    updateTitle();
    emit menuUpdated();
    emit imagesetUpdated();
}

void ImagesetEditor::setName(const QString& name)
{
    history.changeEveryState([&name](Imageset& set) { set.name = name; });
    updateTitle();
}

void ImagesetEditor::invalidateCache()
{
    refreshAll();
}

void ImagesetEditor::updateTitle()
{
    setWindowTitle(current().name + (isModified() ? QStringLiteral(" *") : QString()));
    emit titleUpdated();
}

void ImagesetEditor::save()
{
    Imageset copy = current();
    copy.selectorZoom = imageListPane->zoom();
    copy.selectorGridVisible = imageListPane->gridVisible();
    emit save(copy);
    history.markSaved();
    updateTitle();
}

void ImagesetEditor::imagesSelectionUpdated()
{
    colors->showSet(current(), imageListPane->selection().indexes);
    emit imagesSelectionChanged();
}

void ImagesetEditor::gridSelectorResized()
{
    // The list size is a view setting: it changes every state and is no step.
    const QPoint size = imageListPane->gridSize();
    history.changeEveryState([size](Imageset& set) {
        set.selectorGridWidth = size.x();
        set.selectorGridHeight = size.y();
    });
    imageListPane->setSelection(SlotSelection());
    imageListPane->setImageset(&history.current());
}

void ImagesetEditor::modeRadioClicked(int mode)
{
    const QList<int> selected = imageListPane->selection().indexes;
    if (!ImagesetColors::setModeRecords(current(), selected)) {
        colors->showSet(current(), selected);
        return;
    }
    recordStep();
    ImagesetColors::setMode(history.current(), selected, mode);
    setChanged();
}

void ImagesetEditor::setMultiColor00(int colorIndex)
{
    recordStep();
    ImagesetColors::setMultiColor00(history.current(), imageListPane->selection().indexes, colorIndex);
    setChanged();
}

void ImagesetEditor::setMultiColor01(int colorIndex)
{
    recordStep();
    ImagesetColors::setMultiColor01(history.current(), imageListPane->selection().indexes, colorIndex);
    setChanged();
}

void ImagesetEditor::setMultiColor10(int colorIndex)
{
    recordStep();
    ImagesetColors::setMultiColor10(history.current(), imageListPane->selection().indexes, colorIndex);
    setChanged();
}

void ImagesetEditor::setBckgnd3(int colorIndex)
{
    recordStep();
    ImagesetColors::setBckgnd3(history.current(), colorIndex);
    setChanged();
}

void ImagesetEditor::setImageColor(int colorIndex)
{
    const QList<int> selected = imageListPane->selection().indexes;
    if (!ImagesetColors::setImageColorRecords(selected)) {
        colors->showSet(current(), selected);
        return;
    }
    recordStep();
    ImagesetColors::setImageColor(history.current(), selected, colorIndex);
    setChanged();
}

void ImagesetEditor::clearSlots(const QList<int>& slotList)
{
    if (slotList.isEmpty())
        return;
    recordStep();
    ::clearSlots(history.current(), slotList);
    setChanged();
}

QMenu* ImagesetEditor::imageListMenu(int hoverSlot)
{
    const SlotSelection selection = imageListPane->selection();
    const bool onSelection = hoverSlot >= 0 && selection.contains(hoverSlot);
    const QList<int> targets = onSelection ? selection.indexes : (hoverSlot >= 0 ? QList<int> {hoverSlot} : QList<int>());
    const int slotCount = current().selectorGridWidth * current().selectorGridHeight;

    auto* menu = new QMenu(this);
    QAction* none = menu->addAction(QStringLiteral("No selection"), this,
                                    [this] { imageListPane->setSelection(SlotSelection()); });
    none->setShortcut(QKeySequence(QStringLiteral("Alt+D")));
    none->setEnabled(!selection.isEmpty());
    menu->addAction(QStringLiteral("Select all"), this, [this, slotCount] {
            SlotSelection all;
            all.selectAll(slotCount);
            imageListPane->setSelection(all);
        })->setShortcut(QKeySequence(QStringLiteral("Alt+A")));
    menu->addAction(QStringLiteral("Select all non empty"), this, [this] {
        SlotSelection used;
        used.selectNonEmpty(current());
        imageListPane->setSelection(used);
    });
    menu->addAction(QStringLiteral("Invert selection"), this, [this, slotCount] {
        SlotSelection inverted = imageListPane->selection();
        inverted.invert(slotCount);
        imageListPane->setSelection(inverted);
    });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Clear %1 slot(s)").arg(onSelection ? QStringLiteral("selected") : QStringLiteral("current")),
                    this, [this, targets] { clearSlots(targets); });
    return menu;
}

void ImagesetEditor::closeEvent(QCloseEvent* event)
{
    if (!forceClose && isModified()) {
        switch (Prompt::question(this, QMessageBox::Warning, QStringLiteral("Data not saved!"),
                                 QStringLiteral("The %1set '%2' is not saved. Do you want to save it now?\n")
                                     .arg(Imageset::kindWord(current().type), current().name),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
        case QMessageBox::Yes:
            save();
            break;
        case QMessageBox::No:
            history.markSaved();
            updateTitle();
            break;
        default:
            event->ignore();
            return;
        }
    }
    event->accept();
    closing = true;
    emit editorClosed();
}
