#include "app/mosaikon.h"
#include "editors/imageset/colorpanel.h"
#include "editors/imageset/imageseteditor.h"
#include "editors/imageset/imagelistpane.h"
#include "model/palette.h"
#include "model/projectfile.h"
#include "project/itemcommands.h"
#include "project/mdichild.h"
#include "project/projecttree.h"
#include "support/promptscript.h"
#include "support/testenvironment.h"
#include "views/customspinbox.h"
#include "views/qgraphicsviewzoomable.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

namespace {
Imageset charsetWithImages()
{
    Imageset set(0, QStringLiteral("Font"), 8, 8, Imageset::Charset);
    for (int slot : {0, 1, 6, 40}) {
        ImageData image(8, 8);
        image.bytes.fill(char(0xFF));
        set.images.insert(slot, image);
    }
    return set;
}

// The viewport position of the centre of a list slot.
QPoint slotCentre(const ImagesetEditor& editor, int slot)
{
    const Imageset& set = editor.current();
    QGraphicsViewZoomable* view = editor.imageList()->view();
    const QPointF scene((slot % set.selectorGridWidth + 0.5) * set.imageWidth,
                        (slot / set.selectorGridWidth + 0.5) * set.imageHeight);
    return view->mapFromScene(scene);
}

void clickSlot(ImagesetEditor& editor, int slot, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* viewport = editor.imageList()->view()->viewport();
    const QPoint position = slotCentre(editor, slot);
    QTest::mouseMove(viewport, position);
    QTest::mousePress(viewport, Qt::LeftButton, modifiers, position);
    QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, position);
}

QString statusText(const ImagesetEditor& editor)
{
    return editor.findChild<QLabel*>(QStringLiteral("lblImagesStatus"))->text();
}

QTreeWidgetItem* itemNode(ProjectTree* tree, ItemKind kind, qint32 id)
{
    QTreeWidgetItem* category = tree->categoryItem(kind);
    for (int i = 0; i < category->childCount(); ++i) {
        if (ProjectTree::idOf(category->child(i)) == id)
            return category->child(i);
    }
    return nullptr;
}
}

class ImagesetEditorTest : public QObject {
    Q_OBJECT

private:
    QScopedPointer<TestEnvironment> environment;

    // An editor shown at zoom 2 with its list scrolled to the top left.
    std::unique_ptr<ImagesetEditor> showEditor(const Imageset& set)
    {
        std::unique_ptr<ImagesetEditor> editor(new ImagesetEditor(set, itemNodeOf(Imageset::itemKindOf(set.type))));
        editor->resize(900, 700);
        editor->show();
        editor->imageList()->setZoom(2.0);
        QTest::qWait(10);
        return editor;
    }

private slots:
    void initTestCase()
    {
        environment.reset(new TestEnvironment);
        Palette::setCurrent(Palette::defaults());
    }

    void selectionGestures()
    {
        auto editor = showEditor(charsetWithImages());
        clickSlot(*editor, 3);
        clickSlot(*editor, 34, Qt::AltModifier);
        QCOMPARE(editor->imageList()->selection().indexes, (QList<int> {2, 3, 34, 35}));
        std::unique_ptr<QMimeData> mime(editor->imageList()->selectionMimeData());
        QCOMPARE(QString::fromUtf8(mime->data("text/charset_index")), QStringLiteral("0,2,2,1,1,2,15,3,15,34,15,35,15"));

        clickSlot(*editor, 7, Qt::ControlModifier);
        QCOMPARE(editor->imageList()->selection().indexes, (QList<int> {2, 3, 34, 35, 7}));
        // Shift with several selected has no anchor: only the clicked slot.
        clickSlot(*editor, 10, Qt::ShiftModifier);
        QCOMPARE(editor->imageList()->selection().indexes, (QList<int> {10}));
        clickSlot(*editor, 13, Qt::ShiftModifier);
        QCOMPARE(editor->imageList()->selection().indexes, (QList<int> {10, 11, 12, 13}));
        mime.reset(editor->imageList()->selectionMimeData());
        QCOMPARE(QString::fromUtf8(mime->data("text/charset_index")),
                 QStringLiteral("0,-1,-1,1,1,10,15,11,15,12,15,13,15"));
    }

    void statusLineFollowsHoverSelectionAndZoom()
    {
        auto editor = showEditor(charsetWithImages());
        QTest::mouseMove(editor->imageList()->view()->viewport(), slotCentre(*editor, 40));
        QCOMPARE(statusText(*editor), QStringLiteral("| Char:    40 | Selected: 0 | Zoom: 200%"));
        clickSlot(*editor, 1);
        QCOMPARE(statusText(*editor), QStringLiteral("| Char:     1 | Selected: 1 | Zoom: 200%"));
        QCOMPARE(editor->findChild<QLabel*>(QStringLiteral("lblImagesForecolor"))->text(), QStringLiteral("15"));

        // Ctrl+wheel zooms the list in whole steps.
        QGraphicsViewZoomable* view = editor->imageList()->view();
        QWheelEvent wheel(QPointF(10, 10), view->viewport()->mapToGlobal(QPoint(10, 10)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        QVERIFY(statusText(*editor).endsWith(QStringLiteral("Zoom: 300%")));
    }

    void ecmListShowsPatternsOnFourBackgrounds()
    {
        Imageset set = charsetWithImages();
        set.mode = Imageset::ECM;
        set.colors = {2, 5, 6, 7};
        // Pattern 6 is empty in its left half, so the background shows there.
        ImageData pattern(8, 8);
        pattern.bytes.fill(char(0x0F));
        set.images.insert(6, pattern);
        auto editor = showEditor(set);
        const QImage picture = editor->imageList()->view()->viewport()->grab().toImage();
        for (int quarter = 0; quarter < 4; ++quarter) {
            const int slot = quarter * 64 + 6;
            const QPoint centre = slotCentre(*editor, slot);
            // Left half: the quarter's background; right half: the image colour 15.
            QCOMPARE(QColor(picture.pixel(centre - QPoint(5, 0))), QColor::fromRgb(Palette::color(set.colors[quarter])));
            QCOMPARE(QColor(picture.pixel(centre + QPoint(4, 0))), QColor::fromRgb(Palette::color(15)));
        }
    }

    void colourAndModeChangesAreUndoable()
    {
        auto editor = showEditor(charsetWithImages());
        auto* multi1 = editor->findChild<QComboBox*>(QStringLiteral("cbxCol01"));
        multi1->setCurrentIndex(9);
        QCOMPARE(editor->current().colors[1], 9);
        QVERIFY(editor->isModified());
        editor->findChild<QRadioButton*>(QStringLiteral("radioMCM"))->click();
        QCOMPARE(editor->current().mode, Imageset::MCM);
        QVERIFY(editor->findChild<QRadioButton*>(QStringLiteral("radioL01"))->isEnabled());
        editor->undo();
        QCOMPARE(editor->current().mode, Imageset::SCM);
        QVERIFY(!editor->findChild<QRadioButton*>(QStringLiteral("radioL01"))->isEnabled());
        editor->undo();
        QCOMPARE(editor->current().colors[1], 1);
        QVERIFY(!editor->isModified());
        QCOMPARE(multi1->currentIndex(), 1);
    }

    void choicesThatChangeNothingRecordNothing()
    {
        auto editor = showEditor(charsetWithImages());
        // The mode already chosen, a colour the set already has, clearing an empty slot.
        editor->findChild<QRadioButton*>(QStringLiteral("radioSCM"))->click();
        editor->setMultiColor01(editor->current().colors[1]);
        editor->clearSlots({100});
        QVERIFY(!editor->canUndo());
        QVERIFY(!editor->isModified());
    }

    void shrinkingTheGridForgetsAHoverOutsideIt()
    {
        Imageset blocks(0, "B", 8, 8, Imageset::Blockset);
        auto editor = showEditor(blocks);
        QTest::mouseMove(editor->imageList()->view()->viewport(), slotCentre(*editor, 200));
        QCOMPARE(editor->imageList()->hoverIndex(), 200);
        editor->findChild<CustomSpinBox*>(QStringLiteral("spinBoxSelectorGridSizeY"))->setValue(2);
        QCOMPARE(editor->imageList()->hoverIndex(), -1);
        QVERIFY(statusText(*editor).startsWith(QStringLiteral("| Block: --- |")));
    }

    void colourPanelFollowsKindAndMode()
    {
        Imageset sprites(0, "S", 24, 21, Imageset::Spriteset);
        auto editor = showEditor(sprites);
        auto* left = editor->findChild<QButtonGroup*>(QStringLiteral("buttonGroupLeft"));
        // A sprite's code 10 is its own colour: the rows change ids.
        QCOMPARE(left->id(editor->findChild<QRadioButton*>(QStringLiteral("radioL10"))), 3);
        QCOMPARE(left->id(editor->findChild<QRadioButton*>(QStringLiteral("radioL11"))), 2);
        QVERIFY(editor->findChild<QRadioButton*>(QStringLiteral("radioECM"))->isHidden());
        QCOMPARE(editor->findChild<QRadioButton*>(QStringLiteral("radioMCM"))->text(), QStringLiteral("Multi"));

        // No sprite selected: the mode buttons change nothing.
        editor->findChild<QRadioButton*>(QStringLiteral("radioMCM"))->click();
        QVERIFY(!editor->isModified());
        clickSlot(*editor, 5);
        editor->findChild<QRadioButton*>(QStringLiteral("radioMCM"))->click();
        QVERIFY(editor->current().multiColorSprites.contains(5));

        Imageset chars = charsetWithImages();
        chars.mode = Imageset::ECM;
        auto ecm = showEditor(chars);
        QVERIFY(!ecm->findChild<QLabel*>(QStringLiteral("labelBckgnd3"))->isHidden());
        QVERIFY(ecm->findChild<QRadioButton*>(QStringLiteral("radioL11"))->isChecked());
        QVERIFY(!ecm->findChild<QRadioButton*>(QStringLiteral("radioL00"))->isEnabled());

        Imageset blocks(0, "B", 8, 8, Imageset::Blockset);
        auto blockEditor = showEditor(blocks);
        QVERIFY(!blockEditor->findChild<QComboBox*>(QStringLiteral("cbxCol01"))->isEnabled());
        clickSlot(*blockEditor, 2);
        auto* multi1 = blockEditor->findChild<QComboBox*>(QStringLiteral("cbxCol01"));
        QVERIFY(multi1->isEnabled());
        multi1->setCurrentIndex(11);
        QCOMPARE(blockEditor->current().blockColors.value(2).c1, 11);
        QCOMPARE(blockEditor->current().colors[1], 1);
    }

    void clearingSlotsFromTheMenu()
    {
        Imageset sprites(0, "S", 24, 21, Imageset::Spriteset);
        sprites.images.insert(4, ImageData(24, 21));
        sprites.multiColorSprites.insert(4);
        auto editor = showEditor(sprites);
        QScopedPointer<QMenu> menu(editor->imageListMenu(4));
        QAction* clear = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == QLatin1String("Clear current slot(s)"))
                clear = action;
        }
        QVERIFY(clear);
        clear->trigger();
        QVERIFY(!editor->current().images.contains(4));
        QVERIFY(!editor->current().multiColorSprites.contains(4));
        QVERIFY(editor->canUndo());
    }

    void gridResizeKeepsImagesAndIsNoStep()
    {
        Imageset blocks(0, "B", 8, 8, Imageset::Blockset);
        blocks.images.insert(200, ImageData(8, 8));
        auto editor = showEditor(blocks);
        editor->findChild<CustomSpinBox*>(QStringLiteral("spinBoxSelectorGridSizeX"))->setValue(4);
        QCOMPARE(editor->current().selectorGridWidth, 4);
        QVERIFY(editor->current().images.contains(200));
        QVERIFY(!editor->canUndo());
        QVERIFY(editor->findChild<CustomSpinBox*>(QStringLiteral("spinBoxSelectorGridSizeX"))->isEnabled());
        auto chars = showEditor(charsetWithImages());
        QVERIFY(!chars->findChild<CustomSpinBox*>(QStringLiteral("spinBoxSelectorGridSizeX"))->isEnabled());
    }

    void windowLifecycle()
    {
        PromptScript prompts;
        Mosaikon window;
        window.resize(1000, 800);
        window.show();
        window.itemCommands()->addNew(ItemKind::Charset);
        window.save(); // untitled: Save As
        QCOMPARE(prompts.unexpected, 1);
        prompts.unexpected = 0;

        QTreeWidgetItem* node = itemNode(window.projectTree(), ItemKind::Charset, 0);
        window.itemDoubleClicked(node, 0);
        auto* editor = qobject_cast<ImagesetEditor*>(findEditor(window.editorArea(), {CharsetNode, 0}));
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Charset 00"));

        // A second double click on a minimized editor restores it, no second window.
        auto* frame = qobject_cast<QMdiSubWindow*>(editor->parentWidget());
        frame->showMinimized();
        window.itemDoubleClicked(itemNode(window.projectTree(), ItemKind::Charset, 0), 0);
        QCOMPARE(window.editorArea()->subWindowList().size(), 1);
        QVERIFY(!frame->isMinimized());

        // An edit marks the editor and the tree; saving hands it back.
        editor->findChild<QComboBox*>(QStringLiteral("cbxCol10"))->setCurrentIndex(12);
        QVERIFY(itemNode(window.projectTree(), ItemKind::Charset, 0)->text(0).endsWith(" *"));
        QCOMPARE(window.projectTree()->categoryItem(ItemKind::Charset)->text(0), QStringLiteral("Charsets *"));
        QCOMPARE(window.currentProject().charsets.first()->colors[2], 2);
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(window.currentProject().charsets.first()->colors[2], 12);
        QCOMPARE(itemNode(window.projectTree(), ItemKind::Charset, 0)->text(0), QStringLiteral("Charset 00"));
        QCOMPARE(window.projectTree()->categoryItem(ItemKind::Charset)->text(0), QStringLiteral("Charsets"));

        // Ctrl+Z reaches the editor even while a grid spin box has focus.
        editor->findChild<QComboBox*>(QStringLiteral("cbxCol10"))->setCurrentIndex(13);
        auto* spin = editor->findChild<CustomSpinBox*>(QStringLiteral("spinBoxSelectorGridSizeX"));
        window.activateWindow();
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->current().colors[2], 12);

        // Closing an edited editor with No leaves the project's copy as it was.
        editor->findChild<QComboBox*>(QStringLiteral("cbxCol10"))->setCurrentIndex(14);
        prompts.button(QMessageBox::No);
        QVERIFY(window.closeAll());
        QCOMPARE(prompts.last().title, QStringLiteral("Data not saved!"));
        QCOMPARE(prompts.last().text,
                 QStringLiteral("The Charset 'Charset 00' is not saved. Do you want to save it now?\n"));
        QCOMPARE(window.currentProject().charsets.first()->colors[2], 12);
        QCOMPARE(prompts.unexpected, 0);
    }

    void projectSaveStoresEditorStateAndViewSettings()
    {
        PromptScript prompts;
        Mosaikon window;
        window.show();
        window.itemCommands()->addNew(ItemKind::Spriteset);
        window.itemDoubleClicked(itemNode(window.projectTree(), ItemKind::Spriteset, 0), 0);
        auto* editor = qobject_cast<ImagesetEditor*>(findEditor(window.editorArea(), {SpritesetNode, 0}));
        editor->imageList()->setZoom(5.0);
        editor->imageList()->setGridVisible(false);
        clickSlot(*editor, 1);
        editor->findChild<QComboBox*>(QStringLiteral("cbxCol11"))->setCurrentIndex(7);

        const QString path = environment->path(QStringLiteral("views.mzprj"));
        prompts.text(path);
        QVERIFY(window.saveAs());
        QVERIFY(!editor->isModified());
        QVERIFY(!window.isUnsaved());
        Project reread;
        QVERIFY(ProjectFile::read(path, reread).ok());
        QCOMPARE(reread.spritesets.first()->selectorZoom, 5.0);
        QCOMPARE(reread.spritesets.first()->selectorGridVisible, false);
        QCOMPARE(reread.spritesets.first()->imageColor(1), 7);
    }

    void deletingAnItemClosesItsUnsavedEditorWithoutAsking()
    {
        PromptScript prompts;
        Mosaikon window;
        window.show();
        window.itemCommands()->addNew(ItemKind::Blockset);
        window.itemDoubleClicked(itemNode(window.projectTree(), ItemKind::Blockset, 0), 0);
        auto* editor = qobject_cast<ImagesetEditor*>(findEditor(window.editorArea(), {BlocksetNode, 0}));
        editor->findChild<QRadioButton*>(QStringLiteral("radioMCM"))->click();
        QVERIFY(editor->isModified());
        prompts.button(QMessageBox::Yes); // the deletion question only
        window.itemCommands()->remove(ItemKind::Blockset, 0);
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown.first().title, QStringLiteral("Warning!"));
        QTest::qWait(10);
        QVERIFY(window.editorArea()->subWindowList().isEmpty());
        QVERIFY(window.currentProject().blocksets.isEmpty());
    }
};

QTEST_MAIN(ImagesetEditorTest)
#include "tst_imageseteditor.moc"
