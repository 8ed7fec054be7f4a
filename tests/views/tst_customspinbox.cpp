// The grid-size spin box leaves Copy, Paste, Undo and Redo to the window's
// shortcuts while it has focus; a plain spin box keeps them for its text.

#include "views/customspinbox.h"

#include <QShortcut>
#include <QVBoxLayout>
#include <QtTest>

class CustomSpinBoxTest : public QObject {
    Q_OBJECT

private slots:
    void keys_data()
    {
        QTest::addColumn<bool>("custom");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("shortcut"); // the window shortcut activated, or -1
        QTest::addColumn<QString>("text");
        QTest::newRow("undo") << true << QKeySequence(QKeySequence::Undo) << 0 << "12";
        QTest::newRow("redo") << true << QKeySequence(QKeySequence::Redo) << 1 << "12";
        QTest::newRow("copy") << true << QKeySequence(QKeySequence::Copy) << 2 << "12";
        QTest::newRow("paste") << true << QKeySequence(QKeySequence::Paste) << 3 << "12";
        QTest::newRow("other keys edit the value") << true << QKeySequence(Qt::Key_Up) << -1 << "13";
        QTest::newRow("plain spin box undoes its text") << false << QKeySequence(QKeySequence::Undo) << -1 << "8";
    }

    void keys()
    {
        QFETCH(bool, custom);
        QFETCH(QKeySequence, keys);
        QFETCH(int, shortcut);
        QFETCH(QString, text);
        QWidget window;
        QSpinBox* box = custom ? new CustomSpinBox : new QSpinBox;
        (new QVBoxLayout(&window))->addWidget(box);
        box->setRange(1, 256);
        box->setValue(8);
        QList<int> activated;
        int i = 0;
        for (auto key : {QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Copy, QKeySequence::Paste})
            connect(new QShortcut(QKeySequence(key), &window), &QShortcut::activated, this, [&activated, n = i++] { activated << n; });
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // Typed text the box could undo.
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("12"));
        QVERIFY(box->hasFocus());
        QTest::keySequence(box, keys);
        QCOMPARE(activated, shortcut < 0 ? QList<int>() : QList<int> {shortcut});
        QCOMPARE(box->text(), text);
    }
};

QTEST_MAIN(CustomSpinBoxTest)
#include "tst_customspinbox.moc"
