// The image-set editor: selection gestures in its list, colour and mode edits
// as undo steps (and none for edits that change nothing), a grid resize that
// is no step, and the question before an unsaved editor closes.

#include "app/windowtest.h"
#include "editors/imageset/imageseteditor.h"
#include "editors/imageset/imagelistpane.h"
#include "model/palette.h"
#include "support/promptscript.h"
#include "support/testenvironment.h"
#include "views/customspinbox.h"
#include "views/qgraphicsviewzoomable.h"

#include <QComboBox>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QtTest>

namespace {
Imageset charset()
{
    Imageset set(0, QStringLiteral("Font"), 8, 8, Imageset::Charset);
    for (int slot : {0, 1, 6, 40})
        set.images.insert(slot, ImageData(8, 8));
    for (ImageData& image : set.images)
        image.bytes.fill(char(0xFF));
    return set;
}

// Moves the mouse over the centre of a slot and clicks it, unless only hovering.
void click(ImagesetEditor& editor, int slot, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool hoverOnly = false)
{
    const Imageset& set = editor.current();
    QWidget* viewport = editor.imageList()->view()->viewport();
    const QPoint centre = editor.imageList()->view()->mapFromScene((slot % set.selectorGridWidth + 0.5) * set.imageWidth,
                                                                   (slot / set.selectorGridWidth + 0.5) * set.imageHeight);
    QTest::mouseMove(viewport, centre);
    if (!hoverOnly)
        QTest::mouseClick(viewport, Qt::LeftButton, modifiers, centre);
}
}

class ImagesetEditorTest : public QObject {
    Q_OBJECT

    TestEnvironment environment;

    // An editor shown at zoom 2.
    std::unique_ptr<ImagesetEditor> show(const Imageset& set)
    {
        auto editor = showImagesetEditor(set, {900, 700});
        editor->imageList()->setZoom(2.0);
        return editor;
    }

private slots:
    void initTestCase() { Palette::setCurrent(Palette::defaults()); }

    void selectionGestures()
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
    }

    void editsAreUndoStepsUnlessTheyChangeNothing()
    {
        auto chars = show(charset());
        QComboBox* multi1 = chars->findChild<QComboBox*>("cbxCol01");
        multi1->setCurrentIndex(9);
        chars->findChild<QRadioButton*>("radioMCM")->click();
        QVERIFY(chars->current().colors[1] == 9 && chars->current().mode == Imageset::MCM);
        chars->undo();
        QCOMPARE(chars->current().mode, Imageset::SCM);
        chars->undo();
        QVERIFY(chars->current() == charset() && !chars->isModified());
        QCOMPARE(multi1->currentIndex(), 1);
        // The mode the set has, the colour it has, an empty slot cleared; a
        // block colour or a sprite's mode with nothing selected.
        chars->findChild<QRadioButton*>("radioSCM")->click();
        chars->setMultiColor01(1);
        chars->clearSlots({100});
        QVERIFY(!chars->canUndo() && chars->canRedo() && !chars->isModified());
        auto blocks = show(Imageset(0, "B", 8, 8, Imageset::Blockset));
        blocks->setMultiColor01(11);
        auto sprites = show(Imageset(0, "S", 24, 21, Imageset::Spriteset));
        sprites->findChild<QRadioButton*>("radioMCM")->click();
        QVERIFY(!blocks->canUndo() && !sprites->canUndo());
        // With a sprite selected, the mode goes to that sprite.
        click(*sprites, 5);
        sprites->findChild<QRadioButton*>("radioMCM")->click();
        QCOMPARE(sprites->current().multiColorSprites, QSet<int> {5});
        // Clearing a slot with an image from the list's menu is a step.
        QScopedPointer<QMenu> menu(chars->imageListMenu(6));
        for (QAction* action : menu->actions()) {
            if (action->text() == QStringLiteral("Clear current slot(s)"))
                action->trigger();
        }
        QVERIFY(!chars->current().images.contains(6) && chars->canUndo());
    }

    void gridResizeIsNoStep()
    {
        Imageset blocks(0, "B", 8, 8, Imageset::Blockset);
        blocks.images.insert(200, ImageData(8, 8));
        auto editor = show(blocks);
        click(*editor, 200, Qt::NoModifier, true);
        QCOMPARE(editor->imageList()->hoverIndex(), 200);
        editor->findChild<CustomSpinBox*>("spinBoxSelectorGridSizeY")->setValue(2);
        QVERIFY(editor->current().selectorGridHeight == 2 && editor->current().images.contains(200));
        QVERIFY(!editor->canUndo());
        // A hover outside the smaller grid is forgotten.
        QCOMPARE(editor->imageList()->hoverIndex(), -1);
        // Character sets keep their 256 slots.
        QVERIFY(!show(charset())->findChild<CustomSpinBox*>("spinBoxSelectorGridSizeX")->isEnabled());
    }

    void closeQuestion_data()
    {
        QTest::addColumn<int>("answer"); // 0: the item is being deleted, no question
        QTest::addColumn<QString>("outcome");
        QTest::newRow("yes") << int(QMessageBox::Yes) << "closed, handed back";
        QTest::newRow("no") << int(QMessageBox::No) << "closed";
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << "open, modified";
        QTest::newRow("item deleted") << 0 << "closed, modified";
    }

    void closeQuestion()
    {
        QFETCH(int, answer);
        QFETCH(QString, outcome);
        PromptScript prompts;
        auto editor = show(charset());
        editor->imageList()->setZoom(5.0);
        editor->findChild<QComboBox*>("cbxCol10")->setCurrentIndex(12);
        QStringList shown;
        // The copy handed back carries the edit and the list's view settings.
        connect(editor.get(), &DocumentEditor::handedBack, this, [&shown](const Dataset& copy) {
            const auto& set = static_cast<const Imageset&>(copy);
            shown << (set.colors[2] == 12 && set.selectorZoom == 5.0 ? "handed back" : "handed back without the edit");
        });
        if (answer)
            prompts.button(QMessageBox::StandardButton(answer));
        editor->forceClose = !answer;
        shown.prepend(editor->close() ? "closed" : "open");
        if (editor->isModified())
            shown << "modified";
        QCOMPARE(shown.join(", "), outcome);
        QCOMPARE(prompts.shown.size(), answer ? 1 : 0);
        QCOMPARE(prompts.shown.value(0).text, QString(answer ? "The Charset 'Font' is not saved. Do you want to save it now?\n" : ""));
    }
};

QTEST_MAIN(ImagesetEditorTest)
#include "tst_imageseteditor.moc"
