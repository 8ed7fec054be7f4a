// The shared form of exported text: item names as labels, values in hex or
// decimal. Data lines and whole texts are pinned by each exporter's tests.

#include "exchange/textformat.h"
#include "support/core/values.h"

#include <QtTest>

class TextFormatTest : public QObject {
    Q_OBJECT

private slots:
    void labelName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");

        QTest::newRow("letters, digits, underscore kept; blank and tab turned") << "azAZ09_ a\tb" << "azAZ09__a_b";
        QTest::newRow("neighbours of the kept ranges and others dropped") << QStringLiteral("`{@[/:-.\n\r\u00f6") << "";
    }

    void labelName()
    {
        QFETCH(QString, name);
        QFETCH(QString, label);
        QCOMPARE(TextFormat::labelName(name), label);
    }

    // Data values and comment values; no hex prefix stands for decimal.
    void values_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("commentText"); // four hex digits above 255

        QTest::newRow("hex padded") << "$" << 5 << "$05" << "$05";
        QTest::newRow("hex upper case, own prefix") << "0x" << 0xab << "0xAB" << "0xAB";
        QTest::newRow("hex 255") << "$" << 255 << "$FF" << "$FF";
        QTest::newRow("hex 256") << "$" << 256 << "$100" << "$0100";
        QTest::newRow("decimal") << "" << 5 << "5" << "5";
        QTest::newRow("decimal 65535") << "" << 65535 << "65535" << "65535";
    }

    void values()
    {
        QFETCH(QString, prefix);
        QFETCH(int, value);
        QFETCH(QString, text);
        QFETCH(QString, commentText);
        const TextFormat format(testvalues::dialect(prefix, "!byte", 0, 8));
        QCOMPARE(format.value(value), text);
        QCOMPARE(format.commentValue(value), commentText);
    }
};

QTEST_GUILESS_MAIN(TextFormatTest)
#include "tst_textformat.moc"
