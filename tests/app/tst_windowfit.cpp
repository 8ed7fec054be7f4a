// What a user sees when windows get narrow or crowded: editors that stay
// readable, fields that keep their place, keys that work wherever the focus
// is, and windows that come back as they were.

#include "app/windowtest.h"
#include "dialogs/vicIIcalculator.h"
#include "editors/imageset/imagelistpane.h"
#include "project/itemcommands.h"
#include "project/projecttree.h"
#include "views/fittingsplitter.h"
#include "views/qgraphicsviewzoomable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>

class WindowFitTest : public QObject {
    Q_OBJECT

private:
    TestEnvironment environment;

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void editorsStayReadableWhenNarrow_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<Qt::Orientation>("panes");
        QTest::newRow("400 px: stacked") << 400 << Qt::Vertical;
        QTest::newRow("1100 px: side by side") << 1100 << Qt::Horizontal;
    }

    // Fields keep their width and place when their text changes; leaving
    // the list forgets the hover.
    void editorsStayReadableWhenNarrow()
    {
        QFETCH(int, width);
        ImagesetEditor editor(Imageset(0, QStringLiteral("Font"), 8, 8, Imageset::Charset), CharsetNode);
        editor.resize(width, 700);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        const auto* splitter = editor.findChild<FittingSplitter*>();
        QVERIFY(splitter);
        QTEST(splitter->orientation(), "panes");
        // No visible control is narrower than it needs or reaches out of the editor.
        QStringList crushed;
        for (QWidget* control : editor.findChildren<QWidget*>()) {
            const auto* label = qobject_cast<QLabel*>(control);
            const bool checked = qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control)
                || (label && !label->text().isEmpty());
            const QRect area(control->mapTo(&editor, QPoint(0, 0)), control->size());
            if (checked && control->isVisibleTo(&editor)
                && (control->width() < control->minimumSizeHint().width() || !editor.rect().contains(area)))
                crushed << QStringLiteral("%1 \"%2\" %3 wide").arg(control->metaObject()->className(),
                                                                   control->property("text").toString()).arg(control->width());
        }
        QCOMPARE(crushed, QStringList());
        QVERIFY(editor.minimumSizeHint().width() <= 400);

        auto* foreground = editor.findChild<QLabel*>(QStringLiteral("lblImagesForecolor"));
        auto* status = editor.findChild<QLabel*>(QStringLiteral("lblImagesStatus"));
        QWidget* viewport = editor.imageList()->view()->viewport();
        QTest::mouseMove(viewport, QPoint(11, 11)); // the mouse comes from elsewhere in each row
        QTest::mouseMove(viewport, QPoint(10, 10));
        QCOMPARE(editor.imageList()->hoverIndex(), 0);
        const int fieldWidth = foreground->width();
        const QPoint statusPlace = status->pos();
        // The widest text a colour field shows fits it.
        QVERIFY(foreground->fontMetrics().horizontalAdvance(QStringLiteral("15 (Multi)")) <= fieldWidth);
        editor.setMultiColor01(9); // another number in the swatches
        editor.setImageColor(15);
        QCOMPARE(foreground->width(), fieldWidth);
        QCOMPARE(status->pos(), statusPlace);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(viewport->parentWidget(), &leave);
        QCOMPARE(editor.imageList()->hoverIndex(), -1);
        QVERIFY(status->text().contains(QStringLiteral(": ---")));
        QCOMPARE(foreground->text(), QStringLiteral("--"));
    }

    // The tree shows long names across its row; Ctrl+S pressed there saves
    // the active editor's change.
    void treeWidthAndSaveKey()
    {
        PromptScript script;
        auto window = openWindow();
        ProjectTree* tree = window->projectTree();
        QVERIFY(tree->width() >= tree->fontMetrics().horizontalAdvance(QString(24, QLatin1Char('n')) + QStringLiteral(" *")));
        QCOMPARE(tree->header()->sectionSize(0), tree->viewport()->width());
        window->itemCommands()->addNew(ItemKind::Charset);
        ImagesetEditor* editor = editImageset(*window, CharsetNode, 0);
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!editor->isModified());
        QCOMPARE(window->currentProject().charsets.first()->colors[1], 9);
    }

    void editorWindowsArrange_data()
    {
        QTest::addColumn<QString>("arrangement");
        for (const char* arrangement : {"minimized from maximized", "minimized from normal", "tile horizontally",
                                        "tile vertically"})
            QTest::newRow(arrangement) << QString::fromLatin1(arrangement);
    }

    // A minimized editor comes back as it was before; tiling gives three
    // editors equal strips in the order they were opened, none maximized.
    void editorWindowsArrange()
    {
        QFETCH(QString, arrangement);
        PromptScript script;
        auto window = openWindow();
        // One editor to minimize: beside a maximized one, the area maximizes
        // whichever window it activates.
        const bool minimizing = arrangement.startsWith("minimized");
        for (qint32 id = 0; id < (minimizing ? 1 : 3); ++id) {
            window->itemCommands()->addNew(ItemKind::Charset);
            window->openEditor({CharsetNode, id}, true, false);
        }
        const QList<QMdiSubWindow*> frames = window->editorArea()->subWindowList(QMdiArea::CreationOrder);
        if (minimizing) {
            const bool maximized = arrangement.endsWith("maximized");
            maximized ? frames.first()->showMaximized() : frames.first()->showNormal();
            frames.first()->showMinimized();
            window->openEditor({CharsetNode, 0}, true, false);
            QVERIFY(!frames.first()->isMinimized());
            QCOMPARE(frames.first()->isMaximized(), maximized);
            return;
        }
        const bool horizontal = arrangement.endsWith("horizontally");
        horizontal ? window->tileHorz() : window->tileVert();
        const QSize area = window->editorArea()->viewport()->size();
        const QSize strip = horizontal ? QSize(area.width() / 3, area.height()) : QSize(area.width(), area.height() / 3);
        for (int i = 0; i < frames.size(); ++i) {
            QVERIFY(!frames.at(i)->isMaximized());
            const QPoint place = horizontal ? QPoint(i * strip.width(), 0) : QPoint(0, i * strip.height());
            QCOMPARE(frames.at(i)->geometry(), QRect(place, strip));
        }
    }

    void calculatorAddressesFitTheirBoxes()
    {
        // As narrow as the dialog lets itself be made.
        VicIICalculator calculator;
        calculator.resize(100, 100);
        calculator.show();
        calculator.findChild<QRadioButton*>(QStringLiteral("radioBtnBank3"))->setChecked(true);
        for (const char* name : {"cbxTxtCharsMem", "cbxTxtScreenMem", "cbxBmpScreenMem", "cbxBmpMemory"}) {
            auto* box = calculator.findChild<QComboBox*>(QLatin1String(name));
            QStyleOptionComboBox option;
            option.initFrom(box);
            const int textRoom =
                box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box).width();
            for (int i = 0; i < box->count(); ++i)
                QVERIFY2(box->fontMetrics().horizontalAdvance(box->itemText(i)) <= textRoom, qPrintable(box->itemText(i)));
        }
    }
};

QTEST_MAIN(WindowFitTest)
#include "tst_windowfit.moc"
