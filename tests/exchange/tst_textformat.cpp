// The shared form of exported text: item names as labels, values in hex or
// decimal. Data lines and whole texts are pinned by each exporter's tests.

#include "exchange/textformat.h"

#include <QtTest>

class TextFormatTest : public QObject {
    Q_OBJECT

private slots:
    void labelName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");

        QTest::newRow("letters, digits, underscore kept; blank and tab turned") << "azAZ09_ a\tb" << "azAZ09__a_b";
        QTest::newRow("neighbours of the kept ranges dropped") << "`{@[/:-.\n\r" << "";
        QTest::newRow("beyond ASCII dropped") << QStringLiteral("Gr\u00f6\u00dfe \u2605") << "Gre_";
    }

    void labelName()
    {
        QFETCH(QString, name);
        QFETCH(QString, label);
        QCOMPARE(TextFormat::labelName(name), label);
    }

    void values_data()
    {
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("commentText"); // four hex digits above 255

        QTest::newRow("hex padded") << true << "$" << 5 << "$05" << "$05";
        QTest::newRow("hex upper case, own prefix") << true << "0x" << 0xab << "0xAB" << "0xAB";
        QTest::newRow("hex 255") << true << "$" << 255 << "$FF" << "$FF";
        QTest::newRow("hex 256") << true << "$" << 256 << "$100" << "$0100";
        QTest::newRow("decimal") << false << "$" << 5 << "5" << "5";
        QTest::newRow("decimal 65535") << false << "$" << 65535 << "65535" << "65535";
    }

    void values()
    {
        QFETCH(bool, hex);
        QFETCH(QString, prefix);
        QFETCH(int, value);
        QFETCH(QString, text);
        QFETCH(QString, commentText);

        ExportDataOptions options;
        options.base = hex ? ExportDataOptions::NumberBase::Hex : ExportDataOptions::NumberBase::Dec;
        options.hexPrefix = prefix;
        QCOMPARE(TextFormat(options).value(value), text);
        QCOMPARE(TextFormat(options).commentValue(value), commentText);
    }
};

QTEST_GUILESS_MAIN(TextFormatTest)
#include "tst_textformat.moc"
