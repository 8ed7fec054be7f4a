#include "dialogs/vicIIcalculator.h"

#include "ui_vicIIcalculator.h"

#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace VicII {

QString formatNumber(int value, int hexDigits, NumberBase base)
{
    if (base == NumberBase::Decimal)
        return QString::number(value);
    return QStringLiteral("$") + QStringLiteral("%1").arg(value, hexDigits, 16, QLatin1Char('0')).toUpper();
}

QString binaryByte(int value)
{
    return QStringLiteral("%1").arg(value, 8, 2, QLatin1Char('0'));
}

int textModeD018(int screenIndex, int charsIndex)
{
    return (screenIndex * 8 + charsIndex) * 2 + 1;
}

int bitmapModeD018(int screenIndex, int bitmapIndex)
{
    return ((screenIndex * 2 + bitmapIndex) * 8) | 1;
}

int spritePointersAddress(int bank, int screenIndex)
{
    return ((screenIndex + 16 * bank) * 1024) | 0x3F8;
}

QStringList addressItems(int bank, int count, int step)
{
    QStringList items;
    for (int k = 0; k < count; ++k) {
        const int address = bank * bankSize + k * step;
        items << QStringLiteral("%1 ($%2)").arg(address).arg(address, 4, 16, QLatin1Char('0')).toUpper();
    }
    return items;
}

QString singleBitChange(int bitMask, bool set, NumberBase base)
{
    QString pattern;
    for (int bit = 0x80; bit != 0; bit >>= 1)
        pattern += bit != bitMask ? QLatin1Char('x') : set ? QLatin1Char('1') : QLatin1Char('0');
    if (set)
        return QStringLiteral("%1 (OR %2)").arg(pattern, formatNumber(bitMask, 2, base));
    return QStringLiteral("%1 (AND %2)").arg(pattern, formatNumber(0xFF & ~bitMask, 2, base));
}

}  // namespace VicII

namespace {

constexpr int cia2PortA = 0xDD00;
constexpr int vicControl1 = 0xD011;
constexpr int vicControl2 = 0xD016;
constexpr int vicMemorySetup = 0xD018;

constexpr int extendedColourBit = 0x40;  // in $D011
constexpr int bitmapModeBit = 0x20;      // in $D011
constexpr int multicolourBit = 0x10;     // in $D016

constexpr int screenStep = 1024;
constexpr int charsStep = 2048;
constexpr int bitmapStep = 8192;

}  // namespace

VicIICalculator::VicIICalculator(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::VicIICalculator>())
{
    ui->setupUi(this);
    bankButtons[0] = ui->radioBtnBank0;
    bankButtons[1] = ui->radioBtnBank1;
    bankButtons[2] = ui->radioBtnBank2;
    bankButtons[3] = ui->radioBtnBank3;

    for (QRadioButton* button : bankButtons)
        connect(button, &QRadioButton::toggled, this, &VicIICalculator::bankUpdated);
    for (QRadioButton* button : {ui->radioBtnBase16, ui->radioBtnBase10, ui->radioBtnSCM, ui->radioBtnMCM,
                                 ui->radioBtnECM, ui->radioBtnMono, ui->radioBtnMulti})
        connect(button, &QRadioButton::toggled, this, &VicIICalculator::updateCalc);
    for (QComboBox* box : {ui->cbxTxtCharsMem, ui->cbxTxtScreenMem, ui->cbxBmpScreenMem, ui->cbxBmpMemory})
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &VicIICalculator::updateCalc);

    // Wide enough for the longest address of any bank, so that neither text
    // is cut nor the dialog changes its width with the bank.
    for (const AddressBox& entry : addressBoxes()) {
        int textWidth = 0;
        for (int bank = 0; bank < 4; ++bank) {
            for (const QString& item : VicII::addressItems(bank, entry.count, entry.step))
                textWidth = qMax(textWidth, entry.box->fontMetrics().horizontalAdvance(item));
        }
        QStyleOptionComboBox option;
        option.initFrom(entry.box);
        const QSize contents(textWidth, entry.box->fontMetrics().height());
        entry.box->setMinimumWidth(
            entry.box->style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, entry.box).width());
    }
    bankUpdated();
}

VicIICalculator::~VicIICalculator() = default;

QList<VicIICalculator::AddressBox> VicIICalculator::addressBoxes() const
{
    // Defaults: screen at $0400 and characters at $1000 as the machine starts
    // up, the bitmap in the upper half of the bank.
    return {
        {ui->cbxTxtScreenMem, 16, screenStep, 1},
        {ui->cbxTxtCharsMem, 8, charsStep, 2},
        {ui->cbxBmpScreenMem, 16, screenStep, 1},
        {ui->cbxBmpMemory, 2, bitmapStep, 1},
    };
}

int VicIICalculator::bankNumber() const
{
    for (int bank = 0; bank < 4; ++bank)
        if (bankButtons[bank]->isChecked())
            return bank;
    return 0;
}

VicII::NumberBase VicIICalculator::numberBase() const
{
    return ui->radioBtnBase10->isChecked() ? VicII::NumberBase::Decimal : VicII::NumberBase::Hexadecimal;
}

void VicIICalculator::bankUpdated()
{
    const int bank = bankNumber();
    for (const AddressBox& entry : addressBoxes()) {
        const int index = entry.box->currentIndex() >= 0 ? entry.box->currentIndex() : entry.defaultIndex;
        // The results are written once below, not for every step of the refill.
        const QSignalBlocker blocker(entry.box);
        entry.box->clear();
        entry.box->addItems(VicII::addressItems(bank, entry.count, entry.step));
        entry.box->setCurrentIndex(index);
    }
    updateCalc();
}

void VicIICalculator::updateCalc()
{
    using VicII::binaryByte;
    const VicII::NumberBase base = numberBase();
    const auto number = [base](int value, int digits) { return VicII::formatNumber(value, digits, base); };
    const auto registerLine = [&number](int address, const QString& value) {
        return QStringLiteral("%1 = %2").arg(number(address, 4), value);
    };
    const int bank = bankNumber();

    // The two low bits of $DD00 select the bank, inverted.
    ui->lblBank->setText(
        registerLine(cia2PortA, QStringLiteral("xxxxxx%1").arg(3 - bank, 2, 2, QLatin1Char('0'))));
    for (int b = 0; b < 4; ++b) {
        const int start = b * VicII::bankSize;
        bankButtons[b]->setText(QStringLiteral("Bank %1 (%2 - %3)")
                                    .arg(QString::number(b), number(start, 4),
                                         number(start + VicII::bankSize - 1, 4)));
    }

    const int screenIndex = ui->cbxTxtScreenMem->currentIndex();
    const int textD018 = VicII::textModeD018(screenIndex, ui->cbxTxtCharsMem->currentIndex());
    ui->lblTxtD018->setText(registerLine(vicMemorySetup,
                                         QStringLiteral("%1 (%2)").arg(binaryByte(textD018), number(textD018, 2))));
    ui->lblSpritePointers->setText(
        QStringLiteral("Sprite pointers = %1").arg(number(VicII::spritePointersAddress(bank, screenIndex), 4)));
    ui->lblTxtD011->setText(registerLine(
        vicControl1, VicII::singleBitChange(extendedColourBit, ui->radioBtnECM->isChecked(), base)));
    ui->lblTxtD016->setText(
        registerLine(vicControl2, VicII::singleBitChange(multicolourBit, ui->radioBtnMCM->isChecked(), base)));

    ui->lblBmpD011->setText(registerLine(vicControl1, VicII::singleBitChange(bitmapModeBit, true, base)));
    const int bitmapD018 =
        VicII::bitmapModeD018(ui->cbxBmpScreenMem->currentIndex(), ui->cbxBmpMemory->currentIndex());
    ui->lblBmpD018->setText(registerLine(
        vicMemorySetup, QStringLiteral("%1 (%2)").arg(binaryByte(bitmapD018), number(bitmapD018, 2))));
    ui->lblBmpD016->setText(
        registerLine(vicControl2, VicII::singleBitChange(multicolourBit, ui->radioBtnMulti->isChecked(), base)));
}
