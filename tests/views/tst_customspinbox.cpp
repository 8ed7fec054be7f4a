// The grid-size spin box leaves Copy, Paste, Undo and Redo to the window's
// shortcuts while it has focus; a plain spin box keeps them for its text.

#include "views/customspinbox.h"

#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

// A window with a spin box that has focus and holds typed text to undo, and
// window shortcuts that count their activations.
struct ShortcutWindow {
    QWidget window;
    QSpinBox* spinBox;
    int undoActivations = 0;
    int redoActivations = 0;
    int copyActivations = 0;
    int pasteActivations = 0;

    explicit ShortcutWindow(QSpinBox* box)
        : spinBox(box)
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(spinBox);
        spinBox->setRange(1, 256);
        spinBox->setValue(8);
        addShortcut(QKeySequence::Undo, undoActivations);
        addShortcut(QKeySequence::Redo, redoActivations);
        addShortcut(QKeySequence::Copy, copyActivations);
        addShortcut(QKeySequence::Paste, pasteActivations);
    }

    bool showAndType()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        spinBox->setFocus();
        spinBox->selectAll();
        QTest::keyClicks(spinBox, QStringLiteral("12"));
        return spinBox->hasFocus() && spinBox->value() == 12;
    }

private:
    void addShortcut(QKeySequence::StandardKey key, int& activations)
    {
        auto* shortcut = new QShortcut(QKeySequence(key), &window);
        QObject::connect(shortcut, &QShortcut::activated, [&activations] { ++activations; });
    }
};

}  // namespace

class CustomSpinBoxTest : public QObject {
    Q_OBJECT
private slots:
    void undoReachesTheWindowShortcut()
    {
        ShortcutWindow subject(new CustomSpinBox);
        QVERIFY(subject.showAndType());

        QTest::keyClick(subject.spinBox, Qt::Key_Z, Qt::ControlModifier);

        QCOMPARE(subject.undoActivations, 1);
        QCOMPARE(subject.spinBox->value(), 12);
        QCOMPARE(subject.spinBox->text(), QStringLiteral("12"));
    }

    void redoCopyAndPasteReachTheWindowShortcuts()
    {
        ShortcutWindow subject(new CustomSpinBox);
        QVERIFY(subject.showAndType());

        QTest::keySequence(subject.spinBox, QKeySequence(QKeySequence::Redo));
        QTest::keySequence(subject.spinBox, QKeySequence(QKeySequence::Copy));
        QTest::keySequence(subject.spinBox, QKeySequence(QKeySequence::Paste));

        QCOMPARE(subject.redoActivations, 1);
        QCOMPARE(subject.copyActivations, 1);
        QCOMPARE(subject.pasteActivations, 1);
        QCOMPARE(subject.spinBox->value(), 12);
    }

    void otherKeysStillEditTheValue()
    {
        ShortcutWindow subject(new CustomSpinBox);
        QVERIFY(subject.showAndType());

        QTest::keyClick(subject.spinBox, Qt::Key_Up);
        QCOMPARE(subject.spinBox->value(), 13);
        QTest::keyClick(subject.spinBox, Qt::Key_End);
        QTest::keyClick(subject.spinBox, Qt::Key_Backspace);
        QTest::keyClicks(subject.spinBox, QStringLiteral("5"));

        QCOMPARE(subject.spinBox->value(), 15);
        QCOMPARE(subject.undoActivations, 0);
    }

    void plainSpinBoxKeepsUndoForItsText()
    {
        ShortcutWindow subject(new QSpinBox);
        QVERIFY(subject.showAndType());

        QTest::keyClick(subject.spinBox, Qt::Key_Z, Qt::ControlModifier);

        QCOMPARE(subject.undoActivations, 0);
        QCOMPARE(subject.spinBox->text(), QStringLiteral("8"));
    }
};

QTEST_MAIN(CustomSpinBoxTest)
#include "tst_customspinbox.moc"
