// The image-set editor: selection gestures and the status line of its list,
// ECM characters on their four backgrounds, colour and mode edits as undo
// steps, edits that change nothing record nothing, a grid resize is no step,
// and the question before an unsaved editor closes.

#include "editors/imageset/imageseteditor.h"
#include "editors/imageset/imagelistpane.h"
#include "model/palette.h"
#include "support/promptscript.h"
#include "support/testenvironment.h"
#include "views/customspinbox.h"
#include "views/qgraphicsviewzoomable.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QtTest>

namespace {
Imageset charset()
{
    Imageset set(0, QStringLiteral("Font"), 8, 8, Imageset::Charset);
    for (int slot : {0, 1, 6, 40}) {
        ImageData image(8, 8);
        image.bytes.fill(char(0xFF));
        set.images.insert(slot, image);
    }
    return set;
}

template<typename T>
T* child(const QWidget& parent, const char* name)
{
    return parent.findChild<T*>(QString::fromLatin1(name));
}

// The viewport position of the centre of a list slot.
QPoint slotCentre(const ImagesetEditor& editor, int slot)
{
    const Imageset& set = editor.current();
    return editor.imageList()->view()->mapFromScene((slot % set.selectorGridWidth + 0.5) * set.imageWidth,
                                                    (slot / set.selectorGridWidth + 0.5) * set.imageHeight);
}

void hover(ImagesetEditor& editor, int slot)
{
    QTest::mouseMove(editor.imageList()->view()->viewport(), slotCentre(editor, slot));
}

void click(ImagesetEditor& editor, int slot, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    hover(editor, slot);
    QTest::mouseClick(editor.imageList()->view()->viewport(), Qt::LeftButton, modifiers, slotCentre(editor, slot));
}
}

class ImagesetEditorTest : public QObject {
    Q_OBJECT

    QScopedPointer<TestEnvironment> environment;

    // An editor shown at zoom 2.
    std::unique_ptr<ImagesetEditor> show(const Imageset& set)
    {
        std::unique_ptr<ImagesetEditor> editor(new ImagesetEditor(set, itemNodeOf(Imageset::itemKindOf(set.type))));
        editor->resize(900, 700);
        editor->show();
        editor->imageList()->setZoom(2.0);
        return editor;
    }

private slots:
    void initTestCase()
    {
        environment.reset(new TestEnvironment);
        Palette::setCurrent(Palette::defaults());
    }

    void selectionGesturesAndStatusLine()
    {
        auto editor = show(charset());
        click(*editor, 3);
        click(*editor, 34, Qt::AltModifier);
        std::unique_ptr<QMimeData> mime(editor->imageList()->selectionMimeData());
        QCOMPARE(QString(mime->data("text/charset_index")), QStringLiteral("0,2,2,1,1,2,15,3,15,34,15,35,15"));
        click(*editor, 7, Qt::ControlModifier);
        QCOMPARE(editor->imageList()->selection().indexes, (QList<int> {2, 3, 34, 35, 7}));
        click(*editor, 10, Qt::ShiftModifier); // several selected: no anchor
        click(*editor, 13, Qt::ShiftModifier);
        QCOMPARE(editor->imageList()->selection().indexes, (QList<int> {10, 11, 12, 13}));
        // The status line follows the hover, the selection and Ctrl+wheel zooming.
        hover(*editor, 40);
        QLabel* status = child<QLabel>(*editor, "lblImagesStatus");
        QCOMPARE(status->text(), QStringLiteral("| Char:    40 | Selected: 4 | Zoom: 200%"));
        QWidget* viewport = editor->imageList()->view()->viewport();
        QWheelEvent wheel(QPointF(10, 10), viewport->mapToGlobal(QPoint(10, 10)), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        QVERIFY(status->text().endsWith(QStringLiteral("Zoom: 300%")));
    }

    void ecmCharactersShowOnFourBackgrounds()
    {
        Imageset set = charset();
        set.mode = Imageset::ECM;
        set.colors = {2, 5, 6, 7};
        ImageData pattern(8, 8); // empty in its left half
        pattern.bytes.fill(char(0x0F));
        set.images.insert(6, pattern);
        auto editor = show(set);
        const QImage picture = editor->imageList()->view()->viewport()->grab().toImage();
        // Slot 6 of each quarter: its background on the left, the image colour 15 on the right.
        for (int quarter = 0; quarter < 4; ++quarter) {
            const QPoint centre = slotCentre(*editor, quarter * 64 + 6);
            QCOMPARE(QColor(picture.pixel(centre - QPoint(5, 0))), QColor(Palette::color(set.colors[quarter])));
            QCOMPARE(QColor(picture.pixel(centre + QPoint(4, 0))), QColor(Palette::color(15)));
        }
    }

    void colourAndModeEditsAreUndoSteps()
    {
        auto editor = show(charset());
        QComboBox* multi1 = child<QComboBox>(*editor, "cbxCol01");
        multi1->setCurrentIndex(9);
        child<QRadioButton>(*editor, "radioMCM")->click();
        QCOMPARE(editor->current().colors[1], 9);
        QCOMPARE(editor->current().mode, Imageset::MCM);
        editor->undo();
        QCOMPARE(editor->current().mode, Imageset::SCM);
        editor->undo();
        QVERIFY(editor->current() == charset());
        QVERIFY(!editor->isModified());
        QCOMPARE(multi1->currentIndex(), 1);
        // Block colours go to the selected block, the mode to the selected sprite.
        auto blocks = show(Imageset(0, "B", 8, 8, Imageset::Blockset));
        click(*blocks, 2);
        child<QComboBox>(*blocks, "cbxCol01")->setCurrentIndex(11);
        QCOMPARE(blocks->current().blockColors.keys(), QList<int> {2});
        QCOMPARE(blocks->current().blockColors[2].c1, 11);
        auto sprites = show(Imageset(0, "S", 24, 21, Imageset::Spriteset));
        click(*sprites, 5);
        child<QRadioButton>(*sprites, "radioMCM")->click();
        QCOMPARE(sprites->current().multiColorSprites, QSet<int> {5});
        QVERIFY(blocks->canUndo() && sprites->canUndo());
    }

    void editsThatChangeNothingRecordNothing()
    {
        auto chars = show(charset());
        child<QRadioButton>(*chars, "radioSCM")->click(); // the mode it has
        chars->setMultiColor01(chars->current().colors[1]);
        chars->clearSlots({100}); // an empty slot
        auto blocks = show(Imageset(0, "B", 8, 8, Imageset::Blockset));
        blocks->setMultiColor01(11); // no block selected
        auto sprites = show(Imageset(0, "S", 24, 21, Imageset::Spriteset));
        child<QRadioButton>(*sprites, "radioMCM")->click(); // no sprite selected
        for (ImagesetEditor* editor : {chars.get(), blocks.get(), sprites.get()})
            QVERIFY(!editor->canUndo() && !editor->isModified());
        // Clearing a slot with an image from the list's menu is a step.
        QScopedPointer<QMenu> menu(chars->imageListMenu(6));
        menu->actions().last()->trigger();
        QVERIFY(!chars->current().images.contains(6));
        QVERIFY(chars->canUndo());
    }

    void gridResizeIsNoStep()
    {
        Imageset blocks(0, "B", 8, 8, Imageset::Blockset);
        blocks.images.insert(200, ImageData(8, 8));
        auto editor = show(blocks);
        hover(*editor, 200);
        QCOMPARE(editor->imageList()->hoverIndex(), 200);
        child<CustomSpinBox>(*editor, "spinBoxSelectorGridSizeY")->setValue(2);
        QCOMPARE(editor->current().selectorGridHeight, 2);
        QVERIFY(editor->current().images.contains(200));
        QVERIFY(!editor->canUndo());
        // A hover outside the smaller grid is forgotten.
        QCOMPARE(editor->imageList()->hoverIndex(), -1);
        QVERIFY(child<QLabel>(*editor, "lblImagesStatus")->text().startsWith(QStringLiteral("| Block: --- |")));
        // Character sets keep their 256 slots.
        QVERIFY(!child<CustomSpinBox>(*show(charset()), "spinBoxSelectorGridSizeX")->isEnabled());
    }

    void closeQuestion_data()
    {
        QTest::addColumn<int>("answer"); // 0: the item is being deleted
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("handedBack");
        QTest::addColumn<bool>("modified");
        QTest::newRow("yes: handed back and closed") << int(QMessageBox::Yes) << true << true << false;
        QTest::newRow("no: closed") << int(QMessageBox::No) << true << false << false;
        QTest::newRow("cancel: stays open") << int(QMessageBox::Cancel) << false << false << true;
        QTest::newRow("item deleted: closed without a question") << 0 << true << false << true;
    }

    void closeQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(bool, handedBack);
        QFETCH(bool, modified);
        PromptScript prompts;
        auto editor = show(charset());
        editor->imageList()->setZoom(5.0);
        child<QComboBox>(*editor, "cbxCol10")->setCurrentIndex(12);
        QList<Imageset> copies;
        connect(editor.get(), &DocumentEditor::handedBack, this,
                [&copies](const Dataset& copy) { copies << static_cast<const Imageset&>(copy); });
        if (answer)
            prompts.button(QMessageBox::StandardButton(answer));
        editor->forceClose = !answer;
        QCOMPARE(editor->close(), closed);
        QCOMPARE(prompts.texts(), answer ? QStringList {"The Charset 'Font' is not saved. Do you want to save it now?\n"} : QStringList());
        QCOMPARE(copies.size(), int(handedBack));
        // The copy handed back carries the edit and the list's view settings.
        for (const Imageset& copy : copies)
            QVERIFY(copy.colors[2] == 12 && copy.selectorZoom == 5.0);
        QCOMPARE(editor->isModified(), modified);
        QCOMPARE(prompts.unexpected, 0);
    }
};

QTEST_MAIN(ImagesetEditorTest)
#include "tst_imageseteditor.moc"
