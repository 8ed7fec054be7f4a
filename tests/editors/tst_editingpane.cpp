// The editing pane of the image-set editor driven by real mouse and key
// events: strokes and shapes as undo steps, refusals, layers, drops, the
// grid filled from the list, moves of selected pixels and the colour menu.

#include "app/windowtest.h"
#include "editing/slotselection.h"
#include "editors/imageset/colorpanel.h"
#include "editors/imageset/editingpane.h"
#include "editors/imageset/imageseteditor.h"
#include "editors/imageset/imagelistpane.h"
#include "model/palette.h"
#include "support/promptscript.h"
#include "support/testenvironment.h"
#include "views/qgraphicsscenewithgrid.h"
#include "views/qgraphicsviewzoomable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QMenu>
#include <QSpinBox>
#include <QtTest>

namespace {
// A character set, or a multicolour one whose slot 1 is hi-res.
Imageset charset(bool mixed = false)
{
    Imageset set(5, QStringLiteral("Font"), 8, 8, Imageset::Charset);
    if (mixed) {
        set.mode = Imageset::MCM;
        set.imageColors = {{0, 9}, {1, 1}};
    }
    return set;
}

int code(const ImagesetEditor& editor, int x, int y)
{
    const EditingPane* pane = editor.editing();
    return LayerCanvas(pane->grid(), pane->currentLayer(), 8, 8).code(editor.current(), x, y);
}
}

class EditingPaneTest : public QObject {
    Q_OBJECT

    TestEnvironment environment;

    static std::unique_ptr<ImagesetEditor> show(const Imageset& set) { return showImagesetEditor(set, {1200, 800}); }

    // A mouse event on the pixel of the editing area (at its centre).
    static void mouse(ImagesetEditor& editor, QEvent::Type type, QPoint pixel, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QGraphicsViewZoomable* view = editor.editing()->view();
        const QPoint at = view->mapFromScene(QPointF(2 * pixel.x() + 1, 2 * pixel.y() + 1));
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                          held, modifiers);
        QApplication::sendEvent(view->viewport(), &event);
    }
    static void drag(ImagesetEditor& editor, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(editor, QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
        mouse(editor, QEvent::MouseMove, to, Qt::LeftButton, modifiers);
        mouse(editor, QEvent::MouseButtonRelease, to, Qt::LeftButton, modifiers);
    }

private slots:
    void initTestCase() { Palette::setCurrent(Palette::defaults()); }

    // A stroke is one step however many pixels it draws; drawing the code
    // a pixel has records nothing.
    void strokesAndShapesAreSteps()
    {
        auto editor = show(charset());
        mouse(*editor, QEvent::MouseButtonPress, {0, 0});
        for (int x = 1; x < 50; ++x)
            mouse(*editor, QEvent::MouseMove, {x % 32, x / 32});
        mouse(*editor, QEvent::MouseButtonRelease, {17, 1});
        QCOMPARE(code(*editor, 49 % 32, 1) + code(*editor, 0, 0), 2);
        QCOMPARE(editor->current().images.size(), 4);
        editor->undo();
        QVERIFY(!editor->canUndo() && editor->current().images.isEmpty());
        editor->redo();
        mouse(*editor, QEvent::MouseButtonPress, {3, 0});
        mouse(*editor, QEvent::MouseButtonRelease, {3, 0});
        mouse(*editor, QEvent::MouseButtonPress, {40, 9}, Qt::RightButton); // code 0 on code 0
        mouse(*editor, QEvent::MouseButtonRelease, {40, 9}, Qt::RightButton);
        editor->undo();
        QVERIFY(!editor->canUndo());

        editor->editing()->chooseTool(EditingPane::Rectangle);
        drag(*editor, {8, 8}, {15, 15});
        QCOMPARE(code(*editor, 8, 15) + code(*editor, 15, 8) + code(*editor, 11, 11), 2);
        editor->undo();
        QCOMPARE(code(*editor, 8, 15), 0);
    }

    // Shapes, fills and moves on hi-res and multicolour images at once are
    // refused with nothing changed.
    void mixedKindsAreRefused()
    {
        PromptScript prompts;
        auto editor = show(charset(true));
        for (int tool : {EditingPane::Line, EditingPane::Fill, EditingPane::FloodSelect}) {
            editor->editing()->chooseTool(tool);
            drag(*editor, {0, 0}, {12, 3});
        }
        QCOMPARE(prompts.shown.size(), 3);
        QCOMPARE(prompts.shown.first().title, QStringLiteral("Operation not permitted!"));
        QCOMPARE(prompts.shown.first().text, QStringLiteral("Can't apply this operation to both mono and multi color chars."));
        QVERIFY(!editor->canUndo());
        // Within a selection of the multicolour image alone a fill works.
        editor->editing()->chooseTool(EditingPane::SelectMove);
        drag(*editor, {0, 0}, {7, 7});
        editor->editing()->chooseTool(EditingPane::Fill);
        drag(*editor, {2, 2}, {2, 2});
        QCOMPARE(prompts.shown.size(), 3);
        QCOMPARE(code(*editor, 2, 2), 3); // left draws the foreground
        QCOMPARE(code(*editor, 8, 0), 0);
    }

    // A move carries the selected pixels over others and back, restoring
    // them; the move is one step.
    void selectionMoves()
    {
        auto editor = show(charset());
        drag(*editor, {0, 0}, {0, 0});
        drag(*editor, {5, 0}, {5, 0});
        EditingPane* pane = editor->editing();
        pane->chooseTool(EditingPane::SelectMove);
        drag(*editor, {0, 0}, {1, 0}); // select two pixels
        mouse(*editor, QEvent::MouseButtonPress, {0, 0});
        mouse(*editor, QEvent::MouseMove, {5, 0});
        QCOMPARE(code(*editor, 5, 0) + code(*editor, 0, 0), 1);
        mouse(*editor, QEvent::MouseMove, {0, 0});
        mouse(*editor, QEvent::MouseButtonRelease, {0, 0});
        QCOMPARE(code(*editor, 5, 0) + code(*editor, 0, 0), 2);
        mouse(*editor, QEvent::MouseButtonPress, {1, 0});
        mouse(*editor, QEvent::MouseMove, {4, 0});
        mouse(*editor, QEvent::MouseButtonRelease, {4, 0});
        QCOMPARE(code(*editor, 3, 0) + code(*editor, 0, 0), 1);
        QCOMPARE(pane->editingScene()->selection(), QRegion(6, 0, 4, 2));
        editor->undo();
        QCOMPARE(code(*editor, 3, 0) + code(*editor, 0, 0), 1);
        QCOMPARE(pane->editingScene()->selection(), QRegion(0, 0, 4, 2));
        // A drawing after a move starts the next move afresh.
        drag(*editor, {40, 0}, {40, 0}, Qt::ControlModifier); // adds a band
        QCOMPARE(pane->editingScene()->selection(), QRegion(0, 0, 4, 2) + QRegion(80, 0, 2, 2));
        QTest::keyClick(pane->view(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(pane->editingScene()->selection().isEmpty());
    }

    // Layers: keys 1-4 choose the layer; the lowest layer drawn shows the
    // background colour, higher ones let the layers below show through.
    void layers()
    {
        Imageset set = charset();
        set.backgroundColor = Qt::red;
        set.images.insert(1, ImageData(8, 8));
        set.images[1].setCode(0, 0, false, 1);
        auto editor = show(set);
        EditingPane* pane = editor->editing();
        QTest::keyClick(pane->view(), Qt::Key_2);
        QCOMPARE(pane->currentLayer(), 1);
        SlotSelection one;
        one.indexes = {1};
        pane->editSlots(one, -1);
        const auto colourAt = [&](QPoint pixel) {
            QImage image(pane->view()->viewport()->size(), QImage::Format_RGB32);
            pane->view()->viewport()->render(&image);
            return QColor(image.pixel(pane->view()->mapFromScene(QPointF(2 * pixel.x() + 1, 2 * pixel.y() + 1))));
        };
        const QColor background = QColor::fromRgb(Palette::color(6)), foreground = QColor::fromRgb(Palette::color(15));
        QCOMPARE(colourAt({0, 0}), foreground);
        QCOMPARE(colourAt({1, 0}), background); // layer 1's slot 0 below
        pane->findChild<QCheckBox*>(QStringLiteral("chkShowLayer0"))->setChecked(false);
        QCOMPARE(colourAt({1, 0}), background); // layer 2 is the lowest now
        QCOMPARE(colourAt({9, 0}), QColor(Qt::red)); // no slot there on layer 2
        pane->clearLayer(1);
        QCOMPARE(pane->grid().slotAt(1, 0, 0), -1);
    }

    // The list's selection fills the grid; drops place slots of this set
    // only, tiles in their layout, empty tile cells skipped.
    void placingSlots()
    {
        Imageset sprites(2, QStringLiteral("S"), 24, 21, Imageset::Spriteset);
        auto editor = show(sprites);
        EditingPane* pane = editor->editing();
        pane->findChild<QSpinBox*>(QStringLiteral("spinBoxGridSizeY"))->setValue(2);
        SlotSelection ten;
        for (int slot = 20; slot < 30; ++slot)
            ten.indexes << slot;
        pane->editSlots(ten, -1);
        QCOMPARE(pane->grid().slotAt(0, 3, 1), 27);
        QCOMPARE(pane->grid().usedExtent(), QSize(4, 2));

        QVERIFY(pane->dropSlots("text/spriteset_index", "2,2,2,1,1,5,1,6,1,7,1,8,1", {3, 0}));
        QCOMPARE((QList<int> {pane->grid().slotAt(0, 3, 0), pane->grid().slotAt(0, 4, 0), pane->grid().slotAt(0, 3, 1),
                              pane->grid().slotAt(0, 4, 1)}),
                 (QList<int> {5, 6, 7, 8}));
        QCOMPARE(pane->findChild<QSpinBox*>(QStringLiteral("spinBoxGridSizeX"))->minimum(), 5);
        QVERIFY(!pane->dropSlots("text/spriteset_index", "3,-1,-1,1,1,5,1", {0, 0}));

        Imageset blocks(2, QStringLiteral("B"), 8, 8, Imageset::Blockset);
        auto blockEditor = show(blocks);
        EditingPane* blockPane = blockEditor->editing();
        QVERIFY(!blockPane->dropSlots("text/tileset_charset_index", "2,-1,-1,2,1,9,1,9,1", {0, 0}));
        // Two tiles of 2 x 1 side by side, the second's first cell empty.
        QVERIFY(blockPane->dropSlots("text/tileset_blockset_index", "2,4,1,2,1,9,1,10,1,11,-1,12,1", {1, 2}));
        QCOMPARE((QList<int> {blockPane->grid().slotAt(0, 1, 2), blockPane->grid().slotAt(0, 2, 2),
                              blockPane->grid().slotAt(0, 3, 2), blockPane->grid().slotAt(0, 4, 2)}),
                 (QList<int> {9, 10, 19, 12}));
    }

    // The reference picture: from a file (as foreground, the option below
    // the dialog) or from slots (as background), moved and resized by its
    // tool, which is refused without a picture.
    void referencePicture()
    {
        PromptScript prompts;
        auto editor = show(charset());
        EditingPane* pane = editor->editing();
        auto* tool = pane->findChild<QToolButton*>(QStringLiteral("btnEditDecalImage"));
        tool->click();
        QVERIFY(!tool->isChecked());
        QCOMPARE(prompts.shown.value(0).text, QStringLiteral("No background/foreground image set."));

        QImage picture(30, 10, QImage::Format_RGB32);
        picture.fill(Qt::green);
        QVERIFY(picture.save(environment.path("reference.png")));
        prompts.file(environment.path("reference.png"), 1).cancel();
        auto* load = pane->findChild<QToolButton*>(QStringLiteral("btnSetDecalImage"));
        load->click();
        QCOMPARE(prompts.shown.value(1).items, QStringList({"Load as background", "Load as foreground"}));
        QVERIFY(load->isChecked() && pane->editingScene()->isReferenceInFront());
        QCOMPARE(pane->editingScene()->referenceRect(), QRectF(0, 0, 30, 10));
        load->click(); // removes it
        load->click(); // asks again, cancelled
        QVERIFY(!load->isChecked() && pane->editingScene()->referenceImage().isNull());

        SlotSelection two;
        two.indexes = {0, 1};
        pane->referenceFromSlots(two, -1, false);
        QVERIFY(load->isChecked() && !pane->editingScene()->isReferenceInFront());
        tool->click();
        QCOMPARE(pane->currentTool(), int(EditingPane::Reference));
        // The right edge dragged with Shift: the picture keeps its 2:1.
        mouse(*editor, QEvent::MouseButtonPress, {15, 4});
        mouse(*editor, QEvent::MouseMove, {20, 4}, Qt::LeftButton, Qt::ShiftModifier);
        mouse(*editor, QEvent::MouseButtonRelease, {20, 4});
        QCOMPARE(pane->findChild<QLabel*>(QStringLiteral("lblEditorStatus"))->text().section(" | ", 3),
                 QStringLiteral("Background image: (x: 0, y: 0) - (w: 42, h: 21)"));
        tool->click();
        QCOMPARE(pane->currentTool(), int(EditingPane::Draw));
        QVERIFY(!editor->canUndo());
    }

    // Transformations check a layer with slots, a rectangular selection for
    // shifts and one kind of image, in that order; the dialogs' values are
    // remembered, a cancel or a scale by 100 % records nothing.
    void transformations()
    {
        PromptScript prompts;
        auto editor = show(charset(true));
        EditingPane* pane = editor->editing();
        const auto click = [pane](const char* name) { pane->findChild<QToolButton*>(QLatin1String(name))->click(); };
        pane->chooseTool(EditingPane::SelectMove);
        drag(*editor, {0, 0}, {1, 1});
        drag(*editor, {20, 0}, {21, 1}, Qt::ControlModifier); // a second rectangle, in a hi-res character
        click("btnShiftLeft");
        click("btnMirror");
        QCOMPARE(prompts.shown.value(0).text, QStringLiteral("The selection must be a rectangle."));
        QCOMPARE(prompts.shown.value(1).text, QStringLiteral("Can't apply this operation to both mono and multi color chars."));
        pane->clearSelection();
        drag(*editor, {0, 0}, {7, 0}); // multicolour character 0 alone
        pane->chooseTool(EditingPane::Draw);
        drag(*editor, {0, 0}, {0, 0});
        prompts.cancel();
        click("btnRotate");
        pane->scaleOptions.width = pane->scaleOptions.height = 100.0;
        prompts.accept();
        click("btnScale");
        QCOMPARE(prompts.shown.size(), 4);
        QCOMPARE(prompts.shown.value(2).title, QStringLiteral("Rotate"));
        click("btnShiftRight");
        QCOMPARE(code(*editor, 2, 0), 3);
        QVERIFY(editor->canUndo());
        editor->undo();
        QCOMPARE(code(*editor, 0, 0), 3);
        editor->undo();
        QCOMPARE(code(*editor, 0, 0), 0);
        pane->clearLayer(0);
        click("btnInvert");
        QCOMPARE(prompts.shown.size(), 4);
    }

    // Swapping colours: refused for the character colour, else two codes
    // and the colours behind them change places as one step.
    void swapColors()
    {
        PromptScript prompts;
        auto editor = show(charset(true));
        drag(*editor, {0, 0}, {0, 0}); // code 3 in multicolour character 0
        auto* swap = editor->colorPanel()->findChild<QPushButton*>(QStringLiteral("btnSwapColors"));
        swap->click();
        QCOMPARE(prompts.shown.value(0).text, QStringLiteral("Can't swap the foreground color for Charsets or Spritesets!"));
        editor->colorPanel()->pickCode(Qt::LeftButton, 1);
        editor->colorPanel()->pickCode(Qt::RightButton, 0);
        swap->click();
        QCOMPARE(editor->current().colors[0], 1);
        QCOMPARE(editor->current().colors[1], 6);
        QCOMPARE(code(*editor, 2, 0), 1); // a 0 pixel now 01
        editor->undo();
        QCOMPARE(code(*editor, 2, 0), 0);
    }

    // Pixels copied and pasted in the pane float at the grid's corner,
    // selected, and drag on like a move; slots pasted in the list are one
    // step. Multicolour and hi-res pixels do not mix.
    void clipboards()
    {
        PromptScript prompts;
        auto editor = show(charset());
        EditingPane* pane = editor->editing();
        drag(*editor, {9, 1}, {9, 1});
        pane->chooseTool(EditingPane::SelectMove);
        drag(*editor, {8, 1}, {10, 1});
        QTest::keyClick(pane->view(), Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(pane->view(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(code(*editor, 1, 0), 1);
        QCOMPARE(pane->editingScene()->selection(), QRegion(0, 0, 6, 2));
        drag(*editor, {1, 0}, {1, 3});
        QCOMPARE(code(*editor, 1, 0) + code(*editor, 1, 3), 1);

        SlotSelection first;
        first.indexes = {0, 1};
        editor->imageList()->setSelection(first);
        editor->copySlots(false);
        editor->pasteSlots(40);
        QCOMPARE(editor->current().images.value(40), editor->current().images.value(0));
        editor->undo();
        QVERIFY(!editor->current().images.contains(40));

        editor->modeRadioClicked(Imageset::MCM); // every character multicolour (colour 15)
        QTest::keyClick(pane->view(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(prompts.shown.value(0).text, QStringLiteral("Cannot paste, incompatible image types."));
    }

    // The picture export asks for a file and the cells; a picture too large
    // to make is refused with the file's name.
    void exportImage()
    {
        PromptScript prompts;
        auto editor = show(charset());
        drag(*editor, {0, 0}, {0, 0});
        prompts.text(environment.path("chars")).number(16).number(16);
        editor->exportImage();
        QCOMPARE(QImage(environment.path("chars.png")).size(), QSize(128, 128));
        prompts.text(environment.path("huge.png")).number(2048).number(2048);
        editor->exportImage();
        QCOMPARE(prompts.shown.last().text, QStringLiteral("Unable to save the file \"%1\"!").arg(environment.path("huge.png")));
        QVERIFY(!QFile::exists(environment.path("huge.png")));
    }

    // The data export shows the text for the options and keeps them when
    // accepted; the import reads text into the targets as one step.
    void dataExchange()
    {
        PromptScript prompts;
        Imageset set = charset();
        set.name = QStringLiteral("F");
        auto editor = show(set);
        drag(*editor, {0, 0}, {0, 0});
        SlotSelection first;
        first.indexes = {0};
        editor->imageList()->setSelection(first);
        QString shown;
        prompts.accept([&shown](QDialog* dialog) {
            dialog->findChild<QComboBox*>(QStringLiteral("cbxBase"))->setCurrentIndex(0); // Dec
            dialog->findChild<QSpinBox*>(QStringLiteral("spxDataPerLine"))->setValue(2);
            QCoreApplication::processEvents(); // the text follows the options once the edits are handled
            shown = dialog->findChild<QPlainTextEdit*>(QStringLiteral("textEdit"))->toPlainText();
        });
        prompts.accept([&shown](QDialog* dialog) {
            shown += '|' + dialog->findChild<QSpinBox*>(QStringLiteral("spxDataPerLine"))->text();
        });
        editor->exportData();
        editor->exportData();
        QCOMPARE(shown, QStringLiteral("F_data:\n!byte 128, 0\n!byte 0, 0\n!byte 0, 0\n!byte 0, 0\n\n|2"));

        prompts.accept([](QDialog* dialog) {
            dialog->findChild<QPlainTextEdit*>(QStringLiteral("textEdit"))->setPlainText("x_data: !byte $ff, 1");
        });
        editor->importData({3});
        QCOMPARE(editor->current().images.value(3).bytes.left(2), QByteArray("\xff\x01"));
        editor->undo();
        QVERIFY(!editor->current().images.contains(3));
        editor->modeRadioClicked(Imageset::ECM);
        editor->importData({64});
        QCOMPARE(prompts.shown.last().text, QStringLiteral("In ECM mode you can only import in the first 64 characters!"));
    }

    // A colour from the pane's menu is an undo step of the set.
    void colourMenu()
    {
        PromptScript prompts;
        prompts.text(QStringLiteral("#102030"));
        auto editor = show(charset());
        std::unique_ptr<QMenu> menu(editor->editing()->colorMenu());
        QCOMPARE(menu->actions().last()->text(), QStringLiteral("Set chars grid color..."));
        menu->actions().first()->trigger();
        QCOMPARE(prompts.shown.value(0).title, QStringLiteral("Select the background color..."));
        QCOMPARE(editor->current().backgroundColor, QColor(0x10, 0x20, 0x30));
        QVERIFY(editor->isModified());
        editor->undo();
        QCOMPARE(editor->current().backgroundColor, QColor(Qt::black));
    }
};

QTEST_MAIN(EditingPaneTest)
#include "tst_editingpane.moc"
