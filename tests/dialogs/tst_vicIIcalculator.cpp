// The VIC-II calculator: for a chosen number base, bank, text screen,
// character set, bitmap screen, bitmap and modes, the register values, sprite
// pointers and addresses it shows (tests/data/vicII/results.txt), whichever
// order they are chosen in.

#include "dialogs/vicIIcalculator.h"
#include "support/core/datatable.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

class VicIICalculatorTest : public QObject {
    Q_OBJECT

private slots:
    void results_data() { datatable::addRows("vicII/results.txt"); }

    void results()
    {
        QFETCH(QStringList, fields);
        const QStringList choice = fields.takeFirst().split(' ');
        const QStringList boxes {"cbxTxtScreenMem", "cbxTxtCharsMem", "cbxBmpScreenMem", "cbxBmpMemory"};
        // The bank before the addresses, and the addresses before the bank.
        for (bool bankFirst : {true, false}) {
            VicIICalculator dialog;
            const auto radio = [&dialog](const QString& name) { return dialog.findChild<QRadioButton*>("radioBtn" + name); };
            if (bankFirst)
                radio(choice[1])->click();
            for (int i = 0; i < boxes.size(); ++i)
                dialog.findChild<QComboBox*>(boxes[i])->setCurrentIndex(choice[2 + i].toInt());
            for (int i : {1, 6, 7, 0})
                radio(choice[i])->click();
            QStringList shown;
            for (const char* label : {"lblBank", "lblTxtD011", "lblTxtD016", "lblTxtD018", "lblSpritePointers",
                                      "lblBmpD011", "lblBmpD016", "lblBmpD018"})
                shown << dialog.findChild<QLabel*>(label)->text();
            shown << radio(choice[1])->text();
            for (const QString& box : boxes)
                shown << dialog.findChild<QComboBox*>(box)->currentText();
            QCOMPARE(shown, fields);
        }
    }
};

QTEST_MAIN(VicIICalculatorTest)
#include "tst_vicIIcalculator.moc"
