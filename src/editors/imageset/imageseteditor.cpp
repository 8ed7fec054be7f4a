#include "editors/imageset/imageseteditor.h"

#include "dialogs/exportdialog.h"
#include "dialogs/prompt.h"
#include "exchange/imagesetexchange.h"
#include "model/charrom.h"
#include "model/recordio.h"
#include "editing/imagesetcolors.h"
#include "editing/setcommands.h"
#include "editing/slotselection.h"
#include "editors/imageset/colorpanel.h"
#include "editors/imageset/editingpane.h"
#include "editors/imageset/imagelistpane.h"
#include "editors/imageset/pictureimportflow.h"
#include "project/editorservices.h"
#include "views/fittingsplitter.h"

#include <QBuffer>
#include <QGroupBox>
#include <QToolButton>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

ImagesetEditor::ImagesetEditor(const Imageset& set, int nodeKind, EditorServices* services, QWidget* parent)
    : DocumentEditor(nodeKind, new ImagesetDocument(set), services, parent)
    , images(services ? &services->imageClipboard() : &ownImages)
    , bitmaps(services ? &services->bitmapClipboard() : &ownBitmaps)
    , doc(static_cast<ImagesetDocument*>(document()))
    , imageListPane(new ImageListPane(doc))
    , panel(new ColorPanel(doc))
    , editingPane(new EditingPane(doc, panel, bitmaps))
{
    auto* listGroup = new QGroupBox(Imageset::kindWord(set.type) + QLatin1Char('s'));
    auto* listLayout = new QVBoxLayout(listGroup);
    listLayout->addWidget(imageListPane);
    auto* editorGroup = new QGroupBox(QStringLiteral("Editor"));
    auto* editorLayout = new QVBoxLayout(editorGroup);
    editorLayout->addWidget(editingPane);
    auto* colorGroup = new QGroupBox(QStringLiteral("Colors"));
    auto* colorLayout = new QVBoxLayout(colorGroup);
    colorLayout->addWidget(panel);

    auto* splitter = new FittingSplitter;
    splitter->addWidget(listGroup);
    splitter->addWidget(editorGroup);
    splitter->addWidget(colorGroup);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    imageListPane->setZoom(set.selectorZoom);
    imageListPane->setGridVisible(set.selectorGridVisible);

    connect(imageListPane->saveButton(), &QPushButton::clicked, this, &ImagesetEditor::save);
    connect(imageListPane->copyButton(), &QToolButton::clicked, this, [this] { copySlots(false); });
    connect(imageListPane->cutButton(), &QToolButton::clicked, this, [this] { copySlots(true); });
    connect(imageListPane->statisticsButton(), &QToolButton::clicked, this, &ImagesetEditor::showStats);
    connect(imageListPane, &ImageListPane::selectionChanged, this, &ImagesetEditor::imagesSelectionUpdated);
    connect(imageListPane, &ImageListPane::gridResized, this, &ImagesetEditor::gridSelectorResized);
    connect(imageListPane, &ImageListPane::menuRequested, this, [this](const QPoint& position, int slot) {
        QMenu* menu = imageListMenu(slot);
        menu->exec(position);
        menu->deleteLater();
    });
    connect(panel, &ColorPanel::modeChosen, this, &ImagesetEditor::modeRadioClicked);
    connect(panel, &ColorPanel::multiColor00Chosen, this, &ImagesetEditor::setMultiColor00);
    connect(panel, &ColorPanel::multiColor01Chosen, this, &ImagesetEditor::setMultiColor01);
    connect(panel, &ColorPanel::multiColor10Chosen, this, &ImagesetEditor::setMultiColor10);
    connect(panel, &ColorPanel::bckgnd3Chosen, this, &ImagesetEditor::setBckgnd3);
    connect(panel, &ColorPanel::imageColorChosen, this, &ImagesetEditor::setImageColor);
    connect(panel, &ColorPanel::swapColorsChosen, this, &ImagesetEditor::swapColors);

    const auto shortcut = [this](const char* keys, auto slot) {
        auto* key = new QShortcut(QKeySequence(QLatin1String(keys)), this);
        key->setContext(Qt::WidgetWithChildrenShortcut);
        connect(key, &QShortcut::activated, this, slot);
    };
    shortcut("Alt+A", [this] {
        SlotSelection selection;
        selection.selectAll(current().selectorGridWidth * current().selectorGridHeight);
        imageListPane->setSelection(selection);
    });
    shortcut("Alt+D", [this] { imageListPane->setSelection(SlotSelection()); });
    shortcut("Alt+C", [this] { copySlots(false); });
    shortcut("Alt+X", [this] { copySlots(true); });
    shortcut("Alt+V", [this] { pasteSlots(imageListPane->hoverIndex()); });

    updateTitle();
}

void ImagesetEditor::edit(const std::function<void(Imageset&)>& change)
{
    if (!doc->edit(change))
        panel->showCurrent();
}

void ImagesetEditor::invalidateCache()
{
    imageListPane->showCurrent();
    panel->showCurrent();
}

void ImagesetEditor::addViewSettings(Dataset& copy) const
{
    auto& set = static_cast<Imageset&>(copy);
    set.selectorZoom = imageListPane->zoom();
    set.selectorGridVisible = imageListPane->gridVisible();
}

QString ImagesetEditor::unsavedQuestion() const
{
    return QStringLiteral("The %1set '%2' is not saved. Do you want to save it now?\n")
        .arg(Imageset::kindWord(current().type), current().name);
}

void ImagesetEditor::imagesSelectionUpdated()
{
    panel->setSelection(imageListPane->selection().indexes);
    emit imagesSelectionChanged();
}

void ImagesetEditor::gridSelectorResized(int columns, int rows)
{
    // The list size is a view setting: it changes every state and is no step.
    imageListPane->setSelection(SlotSelection());
    doc->changeSetting([columns, rows](Imageset& set) {
        set.selectorGridWidth = columns;
        set.selectorGridHeight = rows;
    });
}

void ImagesetEditor::modeRadioClicked(Imageset::Mode mode)
{
    // The colour boxes of the import dialog differ between modes.
    importSettings = PicturePreparation::Settings();
    editSelected(ImagesetColors::setMode, mode);
}

template<typename Value>
void ImagesetEditor::editSelected(void (*change)(Imageset&, const QList<int>&, Value), Value value)
{
    const QList<int> selected = imageListPane->selection().indexes;
    edit([&](Imageset& set) { change(set, selected, value); });
}

void ImagesetEditor::setMultiColor00(int colorIndex)
{
    editSelected(ImagesetColors::setMultiColor00, colorIndex);
}

void ImagesetEditor::setMultiColor01(int colorIndex)
{
    editSelected(ImagesetColors::setMultiColor01, colorIndex);
}

void ImagesetEditor::setMultiColor10(int colorIndex)
{
    editSelected(ImagesetColors::setMultiColor10, colorIndex);
}

void ImagesetEditor::setBckgnd3(int colorIndex)
{
    edit([&](Imageset& set) { ImagesetColors::setBckgnd3(set, colorIndex); });
}

void ImagesetEditor::setImageColor(int colorIndex)
{
    editSelected(ImagesetColors::setImageColor, colorIndex);
}

void ImagesetEditor::swapColors()
{
    // Multicolour sets swap the codes the mouse buttons draw, hi-res ones
    // their only two.
    const bool chosenCodes = current().type == Imageset::Spriteset || current().mode == Imageset::MCM;
    const int first = chosenCodes ? panel->leftCode() : 1, second = chosenCodes ? panel->rightCode() : 0;
    if (first == second)
        return;
    const QString refusal = ImagesetColors::swapRefusal(current(), first, second);
    if (!refusal.isEmpty()) {
        Prompt::critical(this, QStringLiteral("Operation not permitted!"), refusal);
        return;
    }
    const QList<int> selected = imageListPane->selection().indexes;
    edit([&](Imageset& set) { ImagesetColors::swapColors(set, selected, first, second); });
}

void ImagesetEditor::copySlots(bool cut)
{
    if (!imageListPane->selection().isEmpty())
        images->take(current(), imageListPane->selection(), cut);
}

void ImagesetEditor::pasteSlots(int slot)
{
    if (images->isEmpty() || slot < 0)
        return;
    const QString refusal = images->pasteRefusal(current());
    if (!refusal.isEmpty()) {
        Prompt::critical(this, QStringLiteral("Error!"), refusal);
        return;
    }
    edit([&](Imageset& set) { images->pasteInto(set, slot); });
}

void ImagesetEditor::showStats()
{
    Prompt::information(this, QStringLiteral("Statistics"), SetCommands::statistics(current()));
}

void ImagesetEditor::exportImage()
{
    const SlotSelection selection = imageListPane->selection();
    const QList<int> targets = SetCommands::exportTargets(current(), selection);
    const QString file = Prompt::getSaveFileName(this, QStringLiteral("Export image..."), QStringLiteral("Image Files (*.png)"));
    const QString kind = Imageset::kindWord(current().type).toLower();
    int width = 0, height = 0;
    if (file.isEmpty()
        || !Prompt::getInt(this, QStringLiteral("Specify width"), QStringLiteral("Width (in %1s):").arg(kind),
                           selection.rect.isEmpty() ? 1 : selection.rect.width(), 1, 2048, width)
        || !Prompt::getInt(this, QStringLiteral("Specify height"), QStringLiteral("Height (in %1s):").arg(kind),
                           selection.rect.isEmpty() ? 1 : selection.rect.height(), 1, 2048, height))
        return;
    const QImage picture = SetCommands::picture(current(), targets, width, height);
    const bool written = !picture.isNull() && Files::writeSafely(file, [&picture] {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        return bytes;
    });
    if (!written)
        Prompt::critical(this, QStringLiteral("Error!"), QStringLiteral("Unable to save the file \"%1\"!").arg(file));
}

void ImagesetEditor::copyRom(const QList<int>& targets, int half)
{
    edit([&](Imageset& set) { SetCommands::copyRom(set, targets, half, CharRom::current()); });
}

void ImagesetEditor::exportData()
{
    const QList<int> slotList = SetCommands::exportTargets(current(), imageListPane->selection());
    const QList<ExportDialog::Flag> flags {
        {"chkIncludeEmptySlots", "Include empty slots", &ExportDataOptions::includeEmptySlots},
        {"chkIncludeData", "Include data", &ExportDataOptions::includeData},
        {"chkIncludeColors", "Include colors", &ExportDataOptions::includeColors},
        {"chkIncludeSelection", "Include selection", &ExportDataOptions::includeSelection},
        {"chkComments", "Include comments", &ExportDataOptions::includeComments},
        {"chkCompressRLE", "Export RLE compressed", &ExportDataOptions::compressRLE}};
    const Imageset set = current();
    ExportDialog dialog(exportOptions, flags, ExportDialog::Comments::Free,
                        [&set, &slotList](const ExportDataOptions& options) {
                            return ImagesetExchange::text(set, slotList, options);
                        },
                        this);
    if (Prompt::exec(&dialog))
        exportOptions = dialog.options();
}

void ImagesetEditor::importData(const QList<int>& targets)
{
    if (!ImagesetExchange::importTargetsAllowed(current(), targets)) {
        Prompt::critical(this, QStringLiteral("Error!"),
                         QStringLiteral("In ECM mode you can only import in the first 64 characters!"));
        return;
    }
    if (targets.isEmpty())
        return;
    ImportDataDialog dialog(lastImport, this);
    if (!Prompt::exec(&dialog))
        return;
    lastImport = dialog.text();
    const ImagesetImport import = ImagesetExchange::parseImport(lastImport);
    bool selectionGiven = false;
    QList<int> selected;
    edit([&](Imageset& set) { selected = ImagesetExchange::applyImport(set, targets, import, &selectionGiven); });
    if (selectionGiven) {
        SlotSelection selection;
        selection.indexes = selected;
        imageListPane->setSelection(selection);
    }
}

void ImagesetEditor::importImage(const QList<int>& targets)
{
    const auto conversion = PictureImportFlow::run(this, current(), targets, importSettings);
    if (!conversion)
        return;
    QList<int> written;
    edit([&](Imageset& set) { written = PictureConversion::write(set, conversion->setup, conversion->result, targets); });
    SlotSelection selection;
    selection.indexes = written;
    imageListPane->setSelection(selection);
    if (conversion->putInEditor) {
        selection.rect = QRect(0, 0, conversion->result.columns, conversion->result.rows);
        editingPane->editSlots(selection, -1);
    }
}

void ImagesetEditor::clearSlots(const QList<int>& slotList)
{
    edit([&](Imageset& set) { Slots::clear(set, slotList); });
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
    menu->addAction(QStringLiteral("Select from editor"), this, [this] {
        SlotSelection shown;
        shown.selectPlaced(editingPane->grid(), editingPane->currentLayer(), current().selectorGridWidth);
        imageListPane->setSelection(shown);
    });
    menu->addAction(QStringLiteral("Invert selection"), this, [this, slotCount] {
        SlotSelection inverted = imageListPane->selection();
        inverted.invert(slotCount);
        imageListPane->setSelection(inverted);
    });
    menu->addSeparator();
    const bool selected = !selection.isEmpty();
    menu->addAction(QStringLiteral("Copy selection"), this, [this] { copySlots(false); })->setEnabled(selected);
    menu->actions().last()->setShortcut(QKeySequence(QStringLiteral("Alt+C")));
    menu->addAction(QStringLiteral("Cut selection"), this, [this] { copySlots(true); })->setEnabled(selected);
    menu->actions().last()->setShortcut(QKeySequence(QStringLiteral("Alt+X")));
    menu->addAction(QStringLiteral("Paste"), this, [this, hoverSlot] { pasteSlots(hoverSlot); })
        ->setEnabled(!images->isEmpty() && hoverSlot >= 0);
    menu->actions().last()->setShortcut(QKeySequence(QStringLiteral("Alt+V")));
    menu->addSeparator();
    QAction* edit = menu->addAction(onSelection ? QStringLiteral("Edit selection") : QStringLiteral("Edit current"), this,
                                    [this, onSelection, selection, hoverSlot] {
                                        editingPane->editSlots(onSelection ? selection : SlotSelection(), hoverSlot);
                                    });
    edit->setEnabled(onSelection || hoverSlot >= 0);
    for (const bool inFront : {false, true}) {
        menu->addAction(inFront ? QStringLiteral("Set as foreground") : QStringLiteral("Set as background"), this,
                        [this, onSelection, selection, hoverSlot, inFront] {
                            editingPane->referenceFromSlots(onSelection ? selection : SlotSelection(), hoverSlot,
                                                            inFront);
                        })
            ->setEnabled(onSelection || hoverSlot >= 0);
    }
    const QString which = onSelection ? QStringLiteral("selected") : QStringLiteral("current");
    menu->addAction(QStringLiteral("Clear %1 slot(s)").arg(which), this, [this, targets] { clearSlots(targets); });
    if (current().type == Imageset::Charset) {
        for (int half : {0, 1})
            menu->addAction(QStringLiteral("Copy romset %1 into %2").arg(half + 1).arg(which), this,
                            [this, targets, half] { copyRom(targets, half); });
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("Import image into %1...").arg(onSelection ? QStringLiteral("selection") : which),
                    this, [this, targets] { importImage(targets); });
    menu->addAction(QStringLiteral("Import data into %1...").arg(onSelection ? QStringLiteral("selection") : which), this,
                    [this, targets] { importData(targets); });
    const QString exported = selection.isEmpty()
        ? QStringLiteral("all %1s").arg(Imageset::kindWord(current().type).toLower())
        : QStringLiteral("selection");
    menu->addAction(QStringLiteral("Export %1 as image...").arg(exported), this, &ImagesetEditor::exportImage);
    menu->addAction(QStringLiteral("Export %1 as data...").arg(exported), this, &ImagesetEditor::exportData);
    return menu;
}
