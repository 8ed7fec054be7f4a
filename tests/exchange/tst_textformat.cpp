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

    // Data values and comment values (four hex digits above 255); no hex
    // prefix stands for decimal.
    void values()
    {
        for (const QStringList& row : {QStringList {"$", "5", "$05", "$05"}, {"0x", "171", "0xAB", "0xAB"},
                                       {"$", "255", "$FF", "$FF"}, {"$", "256", "$100", "$0100"},
                                       {"", "5", "5", "5"}, {"", "65535", "65535", "65535"}}) {
            const TextFormat format(testvalues::dialect(row[0], "!byte", 0, 8));
            QCOMPARE(format.value(row[1].toInt()), row[2]);
            QCOMPARE(format.commentValue(row[1].toInt()), row[3]);
        }
    }
};

QTEST_GUILESS_MAIN(TextFormatTest)
#include "tst_textformat.moc"
