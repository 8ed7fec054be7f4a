#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>

class QComboBox;
class QRadioButton;

namespace Ui {
class VicIICalculator;
}

// The register values and addresses behind the calculator, free of widgets.
namespace VicII {

enum class NumberBase { Hexadecimal, Decimal };

// The chip sees one 16 KiB bank of memory at a time.
constexpr int bankSize = 16384;

// "$" and the value in uppercase hexadecimal, zero-padded to hexDigits, or the
// plain decimal number.
QString formatNumber(int value, int hexDigits, NumberBase base);

// The value as eight binary digits, most significant first.
QString binaryByte(int value);

// $D018 in text mode: screen index in bits 4-7, character set index in bits 1-3, bit 0 set.
int textModeD018(int screenIndex, int charsIndex);

// $D018 in bitmap mode: screen index in bits 4-7, bitmap half in bit 3, bit 0 set.
int bitmapModeD018(int screenIndex, int bitmapIndex);

// The eight sprite pointers are the last 8 bytes of the 1 KiB text screen.
int spritePointersAddress(int bank, int screenIndex);

// The items of an address box: count slots of step bytes from the bank's
// start, each as "decimal ($HEX)" whatever the chosen base.
QStringList addressItems(int bank, int count, int step);

// How to set ("x1xxxxxx (OR $40)") or clear ("x0xxxxxx (AND $BF)") the one
// bit of a register given by bitMask.
QString singleBitChange(int bitMask, bool set, NumberBase base);

}  // namespace VicII

// Tells which values to write into the VIC-II registers for a chosen bank,
// screen, character set or bitmap and display mode. It only shows text.
class VicIICalculator : public QDialog {
    Q_OBJECT

public:
    explicit VicIICalculator(QWidget* parent = nullptr);
    ~VicIICalculator() override;

public slots:
    // Refills the address boxes for the checked bank, keeping their indexes.
    void bankUpdated();
    // Rewrites every result and the bank buttons' texts.
    void updateCalc();

private:
    // A box of addresses: count choices step bytes apart in the bank.
    struct AddressBox {
        QComboBox* box;
        int count;
        int step;
        int defaultIndex;
    };
    QList<AddressBox> addressBoxes() const;
    int bankNumber() const;
    VicII::NumberBase numberBase() const;

    std::unique_ptr<Ui::VicIICalculator> ui;
    QRadioButton* bankButtons[4];
};
