#include "dialogs/vicIIcalculator.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using VicII::NumberBase;

Q_DECLARE_METATYPE(VicII::NumberBase)

namespace {

const char* const resultLabelNames[] = {"lblBank",    "lblTxtD011", "lblTxtD016", "lblTxtD018",
                                        "lblSpritePointers", "lblBmpD011", "lblBmpD016", "lblBmpD018"};
const char* const bankButtonNames[] = {"radioBtnBank0", "radioBtnBank1", "radioBtnBank2", "radioBtnBank3"};
const char* const addressBoxNames[] = {"cbxTxtCharsMem", "cbxTxtScreenMem", "cbxBmpScreenMem", "cbxBmpMemory"};

// A missing form widget makes every later check meaningless, so it stops the run.
template <typename T>
T* widget(const QWidget& dialog, const char* name)
{
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("the dialog has no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

QString labelText(const QWidget& dialog, const char* name)
{
    return widget<QLabel>(dialog, name)->text();
}

QStringList resultTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const char* name : resultLabelNames)
        texts << labelText(dialog, name);
    return texts;
}

QStringList bankButtonTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const char* name : bankButtonNames)
        texts << widget<QRadioButton>(dialog, name)->text();
    return texts;
}

QStringList boxItems(const QWidget& dialog, const char* name)
{
    const QComboBox* box = widget<QComboBox>(dialog, name);
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

void choose(const QWidget& dialog, const char* radioName)
{
    widget<QRadioButton>(dialog, radioName)->click();
}

void select(const QWidget& dialog, const char* boxName, int index)
{
    widget<QComboBox>(dialog, boxName)->setCurrentIndex(index);
}

QGroupBox* groupTitled(const QWidget& dialog, const QString& title)
{
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
        if (group->title() == title)
            return group;
    return nullptr;
}

// The label of a form field: its text and the box it names.
bool hasFieldLabel(const QGroupBox& group, const QString& text, const QWidget* field)
{
    for (const QLabel* label : group.findChildren<QLabel*>())
        if (label->text() == text && label->buddy() == field)
            return true;
    return false;
}

}  // namespace

class VicIICalculatorTest : public QObject {
    Q_OBJECT

private slots:
    void formatNumber_data();
    void formatNumber();
    void registerValues();
    void addressItemsFunction();
    void singleBitChange_data();
    void singleBitChange();

    void formTexts();
    void radioGroupsAreSeparate();
    void defaultsInHexadecimal();
    void defaultsInDecimal();
    void bank2Screen3SpritePointers();
    void switchingBaseRewritesResultsNotItems();
    void changingBankKeepsIndexes();
    void noCheckedBankCountsAsBank0();
    void closeButtonCloses();
    void addressBoxes_data();
    void addressBoxes();
    void bankButtonTextsByBase_data();
    void bankButtonTextsByBase();
    void results_data();
    void results();
};

void VicIICalculatorTest::formatNumber_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<NumberBase>("base");
    QTest::addColumn<QString>("expected");

    QTest::newRow("hex register") << 56576 << 4 << NumberBase::Hexadecimal << "$DD00";
    QTest::newRow("hex zero padded") << 0 << 4 << NumberBase::Hexadecimal << "$0000";
    QTest::newRow("hex byte") << 21 << 2 << NumberBase::Hexadecimal << "$15";
    QTest::newRow("hex uppercase") << 0xBF << 2 << NumberBase::Hexadecimal << "$BF";
    QTest::newRow("hex wider than digits") << 0x1234 << 2 << NumberBase::Hexadecimal << "$1234";
    QTest::newRow("decimal") << 53272 << 4 << NumberBase::Decimal << "53272";
    QTest::newRow("decimal not padded") << 5 << 4 << NumberBase::Decimal << "5";
}

void VicIICalculatorTest::formatNumber()
{
    QFETCH(int, value);
    QFETCH(int, digits);
    QFETCH(NumberBase, base);
    QFETCH(QString, expected);
    QCOMPARE(VicII::formatNumber(value, digits, base), expected);
}

void VicIICalculatorTest::registerValues()
{
    QCOMPARE(VicII::binaryByte(21), QStringLiteral("00010101"));
    QCOMPARE(VicII::binaryByte(255), QStringLiteral("11111111"));

    QCOMPARE(VicII::textModeD018(1, 2), 0x15);
    QCOMPARE(VicII::textModeD018(0, 0), 0x01);
    QCOMPARE(VicII::textModeD018(15, 7), 0xFF);
    QCOMPARE(VicII::textModeD018(3, 5), 0x3B);

    QCOMPARE(VicII::bitmapModeD018(1, 1), 0x19);
    QCOMPARE(VicII::bitmapModeD018(0, 0), 0x01);
    QCOMPARE(VicII::bitmapModeD018(8, 0), 0x81);
    QCOMPARE(VicII::bitmapModeD018(15, 1), 0xF9);

    QCOMPARE(VicII::spritePointersAddress(0, 1), 0x07F8);
    QCOMPARE(VicII::spritePointersAddress(1, 0), 0x43F8);
    QCOMPARE(VicII::spritePointersAddress(2, 3), 0x8FF8);
    QCOMPARE(VicII::spritePointersAddress(3, 15), 0xFFF8);
}

void VicIICalculatorTest::addressItemsFunction()
{
    QCOMPARE(VicII::addressItems(1, 2, 8192), QStringList({"16384 ($4000)", "24576 ($6000)"}));
    QCOMPARE(VicII::addressItems(0, 3, 1024), QStringList({"0 ($0000)", "1024 ($0400)", "2048 ($0800)"}));
    QCOMPARE(VicII::addressItems(3, 8, 2048).last(), QStringLiteral("63488 ($F800)"));
}

void VicIICalculatorTest::singleBitChange_data()
{
    QTest::addColumn<int>("bitMask");
    QTest::addColumn<bool>("set");
    QTest::addColumn<NumberBase>("base");
    QTest::addColumn<QString>("expected");

    QTest::newRow("set bit 6 hex") << 0x40 << true << NumberBase::Hexadecimal << "x1xxxxxx (OR $40)";
    QTest::newRow("clear bit 6 hex") << 0x40 << false << NumberBase::Hexadecimal << "x0xxxxxx (AND $BF)";
    QTest::newRow("clear bit 4 decimal") << 0x10 << false << NumberBase::Decimal << "xxx0xxxx (AND 239)";
    QTest::newRow("set bit 5 decimal") << 0x20 << true << NumberBase::Decimal << "xx1xxxxx (OR 32)";
}

void VicIICalculatorTest::singleBitChange()
{
    QFETCH(int, bitMask);
    QFETCH(bool, set);
    QFETCH(NumberBase, base);
    QFETCH(QString, expected);
    QCOMPARE(VicII::singleBitChange(bitMask, set, base), expected);
}

void VicIICalculatorTest::formTexts()
{
    VicIICalculator dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("VIC II calculator"));

    QGroupBox* base = groupTitled(dialog, "Base");
    QGroupBox* bank = groupTitled(dialog, "Bank");
    QGroupBox* text = groupTitled(dialog, "Text mode");
    QGroupBox* bitmap = groupTitled(dialog, "Bitmap mode");
    QVERIFY(base && bank && text && bitmap);

    const QRadioButton* base16 = widget<QRadioButton>(dialog, "radioBtnBase16");
    const QRadioButton* base10 = widget<QRadioButton>(dialog, "radioBtnBase10");
    QCOMPARE(base16->text(), QStringLiteral("Hexadecimal"));
    QCOMPARE(base10->text(), QStringLiteral("Decimal"));
    QVERIFY(base->isAncestorOf(base16) && base->isAncestorOf(base10));

    for (const char* name : bankButtonNames)
        QVERIFY(bank->isAncestorOf(widget<QRadioButton>(dialog, name)));
    QVERIFY(bank->isAncestorOf(widget<QLabel>(dialog, "lblBank")));

    QCOMPARE(widget<QRadioButton>(dialog, "radioBtnSCM")->text(), QStringLiteral("SCM"));
    QCOMPARE(widget<QRadioButton>(dialog, "radioBtnMCM")->text(), QStringLiteral("MCM"));
    QCOMPARE(widget<QRadioButton>(dialog, "radioBtnECM")->text(), QStringLiteral("ECM"));
    for (const char* name : {"radioBtnSCM", "radioBtnMCM", "radioBtnECM", "lblTxtD011", "lblTxtD016", "lblTxtD018",
                             "lblSpritePointers"})
        QVERIFY2(text->isAncestorOf(widget<QWidget>(dialog, name)), name);
    QVERIFY(hasFieldLabel(*text, "Chars memory:", widget<QComboBox>(dialog, "cbxTxtCharsMem")));
    QVERIFY(hasFieldLabel(*text, "Screen memory:", widget<QComboBox>(dialog, "cbxTxtScreenMem")));

    QCOMPARE(widget<QRadioButton>(dialog, "radioBtnMono")->text(), QStringLiteral("Mono"));
    QCOMPARE(widget<QRadioButton>(dialog, "radioBtnMulti")->text(), QStringLiteral("Multi"));
    for (const char* name : {"radioBtnMono", "radioBtnMulti", "lblBmpD011", "lblBmpD016", "lblBmpD018"})
        QVERIFY2(bitmap->isAncestorOf(widget<QWidget>(dialog, name)), name);
    QVERIFY(hasFieldLabel(*bitmap, "Screen memory:", widget<QComboBox>(dialog, "cbxBmpScreenMem")));
    QVERIFY(hasFieldLabel(*bitmap, "Bitmap memory:", widget<QComboBox>(dialog, "cbxBmpMemory")));

    for (const char* name : resultLabelNames)
        QVERIFY2(widget<QLabel>(dialog, name)->font().pointSize() == 10, name);
}

void VicIICalculatorTest::radioGroupsAreSeparate()
{
    VicIICalculator dialog;
    choose(dialog, "radioBtnBase10");
    choose(dialog, "radioBtnBank2");
    choose(dialog, "radioBtnMCM");
    choose(dialog, "radioBtnMulti");
    for (const char* name : {"radioBtnBase10", "radioBtnBank2", "radioBtnMCM", "radioBtnMulti"})
        QVERIFY2(widget<QRadioButton>(dialog, name)->isChecked(), name);
    for (const char* name : {"radioBtnBase16", "radioBtnBank0", "radioBtnSCM", "radioBtnECM", "radioBtnMono"})
        QVERIFY2(!widget<QRadioButton>(dialog, name)->isChecked(), name);

    choose(dialog, "radioBtnECM");
    QVERIFY(!widget<QRadioButton>(dialog, "radioBtnMCM")->isChecked());
    QVERIFY(widget<QRadioButton>(dialog, "radioBtnMulti")->isChecked());
}

void VicIICalculatorTest::defaultsInHexadecimal()
{
    VicIICalculator dialog;
    for (const char* name : {"radioBtnBase16", "radioBtnBank0", "radioBtnSCM", "radioBtnMono"})
        QVERIFY2(widget<QRadioButton>(dialog, name)->isChecked(), name);
    QCOMPARE(widget<QComboBox>(dialog, "cbxTxtScreenMem")->currentText(), QStringLiteral("1024 ($0400)"));
    QCOMPARE(widget<QComboBox>(dialog, "cbxTxtCharsMem")->currentText(), QStringLiteral("4096 ($1000)"));
    QCOMPARE(widget<QComboBox>(dialog, "cbxBmpScreenMem")->currentText(), QStringLiteral("1024 ($0400)"));
    QCOMPARE(widget<QComboBox>(dialog, "cbxBmpMemory")->currentText(), QStringLiteral("8192 ($2000)"));

    QCOMPARE(resultTexts(dialog), QStringList({
                                      "$DD00 = xxxxxx11",
                                      "$D011 = x0xxxxxx (AND $BF)",
                                      "$D016 = xxx0xxxx (AND $EF)",
                                      "$D018 = 00010101 ($15)",
                                      "Sprite pointers = $07F8",
                                      "$D011 = xx1xxxxx (OR $20)",
                                      "$D016 = xxx0xxxx (AND $EF)",
                                      "$D018 = 00011001 ($19)",
                                  }));
    QCOMPARE(bankButtonTexts(dialog), QStringList({"Bank 0 ($0000 - $3FFF)", "Bank 1 ($4000 - $7FFF)",
                                                   "Bank 2 ($8000 - $BFFF)", "Bank 3 ($C000 - $FFFF)"}));
}

void VicIICalculatorTest::defaultsInDecimal()
{
    VicIICalculator dialog;
    choose(dialog, "radioBtnBase10");
    QCOMPARE(labelText(dialog, "lblTxtD018"), QStringLiteral("53272 = 00010101 (21)"));
    QCOMPARE(labelText(dialog, "lblSpritePointers"), QStringLiteral("Sprite pointers = 2040"));
    QCOMPARE(labelText(dialog, "lblBank"), QStringLiteral("56576 = xxxxxx11"));
}

void VicIICalculatorTest::bank2Screen3SpritePointers()
{
    VicIICalculator dialog;
    choose(dialog, "radioBtnBank2");
    select(dialog, "cbxTxtScreenMem", 3);
    QCOMPARE(widget<QComboBox>(dialog, "cbxTxtScreenMem")->currentText(), QStringLiteral("35840 ($8C00)"));
    QCOMPARE(labelText(dialog, "lblSpritePointers"), QStringLiteral("Sprite pointers = $8FF8"));
    QCOMPARE(labelText(dialog, "lblBank"), QStringLiteral("$DD00 = xxxxxx01"));
}

void VicIICalculatorTest::switchingBaseRewritesResultsNotItems()
{
    VicIICalculator dialog;
    choose(dialog, "radioBtnBank1");
    const QStringList hexResults = resultTexts(dialog);
    const QStringList hexBankTexts = bankButtonTexts(dialog);
    QMap<QString, QStringList> itemsBefore;
    for (const char* name : addressBoxNames)
        itemsBefore[name] = boxItems(dialog, name);

    choose(dialog, "radioBtnBase10");
    QCOMPARE(resultTexts(dialog), QStringList({
                                      "56576 = xxxxxx10",
                                      "53265 = x0xxxxxx (AND 191)",
                                      "53270 = xxx0xxxx (AND 239)",
                                      "53272 = 00010101 (21)",
                                      "Sprite pointers = 18424",
                                      "53265 = xx1xxxxx (OR 32)",
                                      "53270 = xxx0xxxx (AND 239)",
                                      "53272 = 00011001 (25)",
                                  }));
    QCOMPARE(bankButtonTexts(dialog), QStringList({"Bank 0 (0 - 16383)", "Bank 1 (16384 - 32767)",
                                                   "Bank 2 (32768 - 49151)", "Bank 3 (49152 - 65535)"}));
    for (const char* name : addressBoxNames)
        QCOMPARE(boxItems(dialog, name), itemsBefore[name]);

    choose(dialog, "radioBtnBase16");
    QCOMPARE(resultTexts(dialog), hexResults);
    QCOMPARE(bankButtonTexts(dialog), hexBankTexts);
    QCOMPARE(labelText(dialog, "lblSpritePointers"), QStringLiteral("Sprite pointers = $47F8"));
}

void VicIICalculatorTest::changingBankKeepsIndexes()
{
    VicIICalculator dialog;
    select(dialog, "cbxTxtScreenMem", 5);
    select(dialog, "cbxTxtCharsMem", 3);
    select(dialog, "cbxBmpScreenMem", 9);
    select(dialog, "cbxBmpMemory", 0);
    QCOMPARE(labelText(dialog, "lblSpritePointers"), QStringLiteral("Sprite pointers = $17F8"));

    choose(dialog, "radioBtnBank3");
    QCOMPARE(widget<QComboBox>(dialog, "cbxTxtScreenMem")->currentIndex(), 5);
    QCOMPARE(widget<QComboBox>(dialog, "cbxTxtCharsMem")->currentIndex(), 3);
    QCOMPARE(widget<QComboBox>(dialog, "cbxBmpScreenMem")->currentIndex(), 9);
    QCOMPARE(widget<QComboBox>(dialog, "cbxBmpMemory")->currentIndex(), 0);
    QCOMPARE(widget<QComboBox>(dialog, "cbxTxtScreenMem")->currentText(), QStringLiteral("54272 ($D400)"));
    QCOMPARE(widget<QComboBox>(dialog, "cbxTxtCharsMem")->currentText(), QStringLiteral("55296 ($D800)"));
    QCOMPARE(widget<QComboBox>(dialog, "cbxBmpScreenMem")->currentText(), QStringLiteral("58368 ($E400)"));
    QCOMPARE(widget<QComboBox>(dialog, "cbxBmpMemory")->currentText(), QStringLiteral("49152 ($C000)"));

    // The register values depend on the indexes only; the sprite pointers move with the bank.
    QCOMPARE(labelText(dialog, "lblTxtD018"), QStringLiteral("$D018 = 01010111 ($57)"));
    QCOMPARE(labelText(dialog, "lblBmpD018"), QStringLiteral("$D018 = 10010001 ($91)"));
    QCOMPARE(labelText(dialog, "lblSpritePointers"), QStringLiteral("Sprite pointers = $D7F8"));
    QCOMPARE(labelText(dialog, "lblBank"), QStringLiteral("$DD00 = xxxxxx00"));
}

void VicIICalculatorTest::noCheckedBankCountsAsBank0()
{
    VicIICalculator dialog;
    choose(dialog, "radioBtnBank2");
    for (const char* name : bankButtonNames)
        widget<QRadioButton>(dialog, name)->setAutoExclusive(false);
    widget<QRadioButton>(dialog, "radioBtnBank2")->setChecked(false);
    QCOMPARE(boxItems(dialog, "cbxBmpMemory"), QStringList({"0 ($0000)", "8192 ($2000)"}));
    QCOMPARE(labelText(dialog, "lblBank"), QStringLiteral("$DD00 = xxxxxx11"));
    QCOMPARE(labelText(dialog, "lblSpritePointers"), QStringLiteral("Sprite pointers = $07F8"));
}

void VicIICalculatorTest::closeButtonCloses()
{
    VicIICalculator dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QPushButton* close = widget<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Close);
    QVERIFY(close);
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void VicIICalculatorTest::addressBoxes_data()
{
    QTest::addColumn<QString>("bankButton");
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("defaultIndex");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("last");

    struct Bank {
        const char* button;
        const char* screens[3];  // first, second, last
        const char* chars[3];
        const char* bitmaps[2];
    };
    const Bank banks[] = {
        {"radioBtnBank0",
         {"0 ($0000)", "1024 ($0400)", "15360 ($3C00)"},
         {"0 ($0000)", "2048 ($0800)", "14336 ($3800)"},
         {"0 ($0000)", "8192 ($2000)"}},
        {"radioBtnBank1",
         {"16384 ($4000)", "17408 ($4400)", "31744 ($7C00)"},
         {"16384 ($4000)", "18432 ($4800)", "30720 ($7800)"},
         {"16384 ($4000)", "24576 ($6000)"}},
        {"radioBtnBank2",
         {"32768 ($8000)", "33792 ($8400)", "48128 ($BC00)"},
         {"32768 ($8000)", "34816 ($8800)", "47104 ($B800)"},
         {"32768 ($8000)", "40960 ($A000)"}},
        {"radioBtnBank3",
         {"49152 ($C000)", "50176 ($C400)", "64512 ($FC00)"},
         {"49152 ($C000)", "51200 ($C800)", "63488 ($F800)"},
         {"49152 ($C000)", "57344 ($E000)"}},
    };
    for (const Bank& bank : banks) {
        const QString tag = QString::fromLatin1(bank.button).right(5) + " ";
        QTest::newRow(qPrintable(tag + "text screen")) << bank.button << "cbxTxtScreenMem" << 16 << 1
                                                       << bank.screens[0] << bank.screens[1] << bank.screens[2];
        QTest::newRow(qPrintable(tag + "chars")) << bank.button << "cbxTxtCharsMem" << 8 << 2 << bank.chars[0]
                                                 << bank.chars[1] << bank.chars[2];
        QTest::newRow(qPrintable(tag + "bitmap screen")) << bank.button << "cbxBmpScreenMem" << 16 << 1
                                                         << bank.screens[0] << bank.screens[1] << bank.screens[2];
        QTest::newRow(qPrintable(tag + "bitmap")) << bank.button << "cbxBmpMemory" << 2 << 1 << bank.bitmaps[0]
                                                  << bank.bitmaps[1] << bank.bitmaps[1];
    }
}

void VicIICalculatorTest::addressBoxes()
{
    QFETCH(QString, bankButton);
    QFETCH(QString, boxName);
    QFETCH(int, count);
    QFETCH(int, defaultIndex);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, last);

    VicIICalculator dialog;
    choose(dialog, qPrintable(bankButton));
    const QComboBox* box = widget<QComboBox>(dialog, qPrintable(boxName));
    QCOMPARE(box->count(), count);
    QCOMPARE(box->currentIndex(), defaultIndex);
    QCOMPARE(box->itemText(0), first);
    QCOMPARE(box->itemText(1), second);
    QCOMPARE(box->itemText(count - 1), last);

    // Items do not depend on the base.
    const QStringList items = boxItems(dialog, qPrintable(boxName));
    choose(dialog, "radioBtnBase10");
    QCOMPARE(boxItems(dialog, qPrintable(boxName)), items);
}

void VicIICalculatorTest::bankButtonTextsByBase_data()
{
    QTest::addColumn<QString>("baseButton");
    QTest::addColumn<QString>("bankButton");
    QTest::addColumn<QStringList>("expected");

    const QStringList hex = {"Bank 0 ($0000 - $3FFF)", "Bank 1 ($4000 - $7FFF)", "Bank 2 ($8000 - $BFFF)",
                             "Bank 3 ($C000 - $FFFF)"};
    const QStringList decimal = {"Bank 0 (0 - 16383)", "Bank 1 (16384 - 32767)", "Bank 2 (32768 - 49151)",
                                 "Bank 3 (49152 - 65535)"};
    for (const char* bank : bankButtonNames) {
        QTest::newRow(qPrintable(QStringLiteral("hex ") + bank)) << "radioBtnBase16" << bank << hex;
        QTest::newRow(qPrintable(QStringLiteral("decimal ") + bank)) << "radioBtnBase10" << bank << decimal;
    }
}

void VicIICalculatorTest::bankButtonTextsByBase()
{
    QFETCH(QString, baseButton);
    QFETCH(QString, bankButton);
    QFETCH(QStringList, expected);

    VicIICalculator dialog;
    choose(dialog, qPrintable(bankButton));
    choose(dialog, qPrintable(baseButton));
    QCOMPARE(bankButtonTexts(dialog), expected);
}

void VicIICalculatorTest::results_data()
{
    QTest::addColumn<QString>("baseButton");
    QTest::addColumn<QString>("bankButton");
    QTest::addColumn<int>("screenIndex");
    QTest::addColumn<int>("charsIndex");
    QTest::addColumn<int>("bitmapScreenIndex");
    QTest::addColumn<int>("bitmapIndex");
    QTest::addColumn<QString>("textModeButton");
    QTest::addColumn<QString>("bitmapModeButton");
    QTest::addColumn<QStringList>("expected");  // in the order of resultLabelNames

    QTest::newRow("hex bank 1 all lowest SCM mono")
        << "radioBtnBase16" << "radioBtnBank1" << 0 << 0 << 0 << 0 << "radioBtnSCM" << "radioBtnMono"
        << QStringList({"$DD00 = xxxxxx10", "$D011 = x0xxxxxx (AND $BF)", "$D016 = xxx0xxxx (AND $EF)",
                        "$D018 = 00000001 ($01)", "Sprite pointers = $43F8", "$D011 = xx1xxxxx (OR $20)",
                        "$D016 = xxx0xxxx (AND $EF)", "$D018 = 00000001 ($01)"});
    QTest::newRow("decimal bank 1 all lowest SCM mono")
        << "radioBtnBase10" << "radioBtnBank1" << 0 << 0 << 0 << 0 << "radioBtnSCM" << "radioBtnMono"
        << QStringList({"56576 = xxxxxx10", "53265 = x0xxxxxx (AND 191)", "53270 = xxx0xxxx (AND 239)",
                        "53272 = 00000001 (1)", "Sprite pointers = 17400", "53265 = xx1xxxxx (OR 32)",
                        "53270 = xxx0xxxx (AND 239)", "53272 = 00000001 (1)"});
    QTest::newRow("hex bank 3 all highest ECM multi")
        << "radioBtnBase16" << "radioBtnBank3" << 15 << 7 << 15 << 1 << "radioBtnECM" << "radioBtnMulti"
        << QStringList({"$DD00 = xxxxxx00", "$D011 = x1xxxxxx (OR $40)", "$D016 = xxx0xxxx (AND $EF)",
                        "$D018 = 11111111 ($FF)", "Sprite pointers = $FFF8", "$D011 = xx1xxxxx (OR $20)",
                        "$D016 = xxx1xxxx (OR $10)", "$D018 = 11111001 ($F9)"});
    QTest::newRow("decimal bank 3 all highest ECM multi")
        << "radioBtnBase10" << "radioBtnBank3" << 15 << 7 << 15 << 1 << "radioBtnECM" << "radioBtnMulti"
        << QStringList({"56576 = xxxxxx00", "53265 = x1xxxxxx (OR 64)", "53270 = xxx0xxxx (AND 239)",
                        "53272 = 11111111 (255)", "Sprite pointers = 65528", "53265 = xx1xxxxx (OR 32)",
                        "53270 = xxx1xxxx (OR 16)", "53272 = 11111001 (249)"});
    QTest::newRow("decimal bank 2 MCM mono")
        << "radioBtnBase10" << "radioBtnBank2" << 3 << 5 << 8 << 0 << "radioBtnMCM" << "radioBtnMono"
        << QStringList({"56576 = xxxxxx01", "53265 = x0xxxxxx (AND 191)", "53270 = xxx1xxxx (OR 16)",
                        "53272 = 00111011 (59)", "Sprite pointers = 36856", "53265 = xx1xxxxx (OR 32)",
                        "53270 = xxx0xxxx (AND 239)", "53272 = 10000001 (129)"});
    QTest::newRow("hex bank 2 MCM mono")
        << "radioBtnBase16" << "radioBtnBank2" << 3 << 5 << 8 << 0 << "radioBtnMCM" << "radioBtnMono"
        << QStringList({"$DD00 = xxxxxx01", "$D011 = x0xxxxxx (AND $BF)", "$D016 = xxx1xxxx (OR $10)",
                        "$D018 = 00111011 ($3B)", "Sprite pointers = $8FF8", "$D011 = xx1xxxxx (OR $20)",
                        "$D016 = xxx0xxxx (AND $EF)", "$D018 = 10000001 ($81)"});
    QTest::newRow("hex bank 0 SCM multi")
        << "radioBtnBase16" << "radioBtnBank0" << 10 << 3 << 2 << 1 << "radioBtnSCM" << "radioBtnMulti"
        << QStringList({"$DD00 = xxxxxx11", "$D011 = x0xxxxxx (AND $BF)", "$D016 = xxx0xxxx (AND $EF)",
                        "$D018 = 10100111 ($A7)", "Sprite pointers = $2BF8", "$D011 = xx1xxxxx (OR $20)",
                        "$D016 = xxx1xxxx (OR $10)", "$D018 = 00101001 ($29)"});
    QTest::newRow("decimal bank 0 SCM multi")
        << "radioBtnBase10" << "radioBtnBank0" << 10 << 3 << 2 << 1 << "radioBtnSCM" << "radioBtnMulti"
        << QStringList({"56576 = xxxxxx11", "53265 = x0xxxxxx (AND 191)", "53270 = xxx0xxxx (AND 239)",
                        "53272 = 10100111 (167)", "Sprite pointers = 11256", "53265 = xx1xxxxx (OR 32)",
                        "53270 = xxx1xxxx (OR 16)", "53272 = 00101001 (41)"});
    QTest::newRow("hex bank 1 screen 12 chars 6 ECM mono")
        << "radioBtnBase16" << "radioBtnBank1" << 12 << 6 << 4 << 0 << "radioBtnECM" << "radioBtnMono"
        << QStringList({"$DD00 = xxxxxx10", "$D011 = x1xxxxxx (OR $40)", "$D016 = xxx0xxxx (AND $EF)",
                        "$D018 = 11001101 ($CD)", "Sprite pointers = $73F8", "$D011 = xx1xxxxx (OR $20)",
                        "$D016 = xxx0xxxx (AND $EF)", "$D018 = 01000001 ($41)"});
}

void VicIICalculatorTest::results()
{
    QFETCH(QString, baseButton);
    QFETCH(QString, bankButton);
    QFETCH(int, screenIndex);
    QFETCH(int, charsIndex);
    QFETCH(int, bitmapScreenIndex);
    QFETCH(int, bitmapIndex);
    QFETCH(QString, textModeButton);
    QFETCH(QString, bitmapModeButton);
    QFETCH(QStringList, expected);

    // Chosen in two orders: bank before the addresses, and addresses before the bank.
    for (bool bankFirst : {true, false}) {
        VicIICalculator dialog;
        if (bankFirst)
            choose(dialog, qPrintable(bankButton));
        select(dialog, "cbxTxtScreenMem", screenIndex);
        select(dialog, "cbxTxtCharsMem", charsIndex);
        select(dialog, "cbxBmpScreenMem", bitmapScreenIndex);
        select(dialog, "cbxBmpMemory", bitmapIndex);
        if (!bankFirst)
            choose(dialog, qPrintable(bankButton));
        choose(dialog, qPrintable(textModeButton));
        choose(dialog, qPrintable(bitmapModeButton));
        choose(dialog, qPrintable(baseButton));
        QCOMPARE(resultTexts(dialog), expected);
    }
}

QTEST_MAIN(VicIICalculatorTest)
#include "tst_vicIIcalculator.moc"
