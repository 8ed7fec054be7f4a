// The grid-size spin box leaves Copy, Paste, Undo and Redo to the window's
// shortcuts while it has focus; a plain spin box keeps them for its text
// (tests/data/customspinbox).

#include "views/customspinbox.h"
#include "support/core/datatable.h"

#include <QShortcut>
#include <QVBoxLayout>

class CustomSpinBoxTest : public QObject {
    Q_OBJECT

private slots:
    void keys_data() { datatable::addRows("customspinbox/keys.txt"); }

    void keys()
    {
        QFETCH(QStringList, fields);
        QWidget window;
        QSpinBox* box = fields[0] == "custom" ? new CustomSpinBox : new QSpinBox;
        (new QVBoxLayout(&window))->addWidget(box);
        box->setRange(1, 256);
        box->setValue(8);
        QStringList shown;
        using Keys = QKeySequence;
        const QMap<QString, Keys::StandardKey> shortcuts {
            {"undo", Keys::Undo}, {"redo", Keys::Redo}, {"copy", Keys::Copy}, {"paste", Keys::Paste}};
        for (auto it = shortcuts.cbegin(); it != shortcuts.cend(); ++it)
            connect(new QShortcut(it.value(), &window), &QShortcut::activated, this, [&shown, it] { shown << it.key(); });
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("12"));
        QTest::keySequence(box, shortcuts.contains(fields[1]) ? shortcuts[fields[1]] : QKeySequence(fields[1]));
        QCOMPARE((shown << box->text()).join(' '), fields[2]);
    }
};

QTEST_MAIN(CustomSpinBoxTest)
#include "tst_customspinbox.moc"
