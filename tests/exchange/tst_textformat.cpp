// The shared form of exported assembler text: item names as labels, values in
// hex or decimal, data lines of a fixed number of values, labelled sections
// and 16-bit words.

#include "exchange/exportoptions.h"
#include "exchange/textformat.h"

#include <QtTest>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

QByteArray counting(int count)
{
    QByteArray result;
    for (int i = 0; i < count; ++i)
        result.append(char(i));
    return result;
}

}

class TextFormatTest : public QObject {
    Q_OBJECT

private slots:
    void defaults();
    void labelName_data();
    void labelName();
    void labelOfOnlyBadCharacters();
    void value_data();
    void value();
    void commentValue_data();
    void commentValue();
    void byteList_data();
    void byteList();
    void section_data();
    void section();
    void textJoinsSections();
    void comment_data();
    void comment();
    void littleEndianWord_data();
    void littleEndianWord();
};

void TextFormatTest::defaults()
{
    const ExportDataOptions options;
    QCOMPARE(options.indentSpaces, 0);
    QCOMPARE(options.dataPerLine, 8);
    QCOMPARE(options.dataPrefix, QStringLiteral("!byte"));
    QCOMPARE(options.base, ExportDataOptions::NumberBase::Hex);
    QCOMPARE(options.hexPrefix, QStringLiteral("$"));
    QCOMPARE(options.separator, QStringLiteral(", "));
    QCOMPARE(options.commentPrefix, QStringLiteral(";"));

    const ExportDataOptions imageset = ExportDataOptions::forImageset();
    QVERIFY(imageset.includeEmptySlots);
    QVERIFY(imageset.includeData);
    QVERIFY(!imageset.includeColors);
    QVERIFY(!imageset.includeSelection);
    QVERIFY(!imageset.includeComments);
    QVERIFY(!imageset.compressRLE);

    const ExportDataOptions tileset = ExportDataOptions::forTileset();
    QVERIFY(tileset.includeData);
    QVERIFY(tileset.includeColors);

    const ExportDataOptions screen = ExportDataOptions::forScreen();
    QVERIFY(!screen.includeComments);
    QVERIFY(!screen.compressRLE);
}

void TextFormatTest::labelName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label");

    QTest::newRow("letters digits underscore") << QStringLiteral("abcXYZ_0189") << QStringLiteral("abcXYZ_0189");
    QTest::newRow("blank") << QStringLiteral("my set") << QStringLiteral("my_set");
    QTest::newRow("two blanks") << QStringLiteral("a  b") << QStringLiteral("a__b");
    QTest::newRow("leading and trailing blank") << QStringLiteral(" a ") << QStringLiteral("_a_");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a_b");
    QTest::newRow("umlauts dropped") << QStringLiteral("G\u00e4r\u00f6t\u00fc") << QStringLiteral("Grt");
    QTest::newRow("minus plus dot dropped") << QStringLiteral("a-b+c.d") << QStringLiteral("abcd");
    QTest::newRow("line feed dropped") << QStringLiteral("a\nb") << QStringLiteral("ab");
    QTest::newRow("carriage return dropped") << QStringLiteral("a\rb") << QStringLiteral("ab");
    QTest::newRow("punctuation dropped") << QStringLiteral("x!\"#$%&'()*,/:;<=>?@[\\]^`{|}~y")
                                         << QStringLiteral("xy");
    QTest::newRow("sharp s and accents dropped") << QStringLiteral("\u00dfe\u00e9") << QStringLiteral("e");
    QTest::newRow("mixed") << QStringLiteral("Level 1: Caves (v2.0)") << QStringLiteral("Level_1_Caves_v20");
    QTest::newRow("empty") << QString() << QString();
}

void TextFormatTest::labelName()
{
    QFETCH(QString, name);
    QFETCH(QString, label);
    QCOMPARE(TextFormat::labelName(name), label);
}

void TextFormatTest::labelOfOnlyBadCharacters()
{
    // Nothing of the name survives, so the label is the suffix alone.
    const QString label = TextFormat::labelName(QStringLiteral("\u00e4\u00f6\u00fc-+."));
    QCOMPARE(label, QString());
    const ExportDataOptions options;
    const TextFormat format(options);
    QCOMPARE(format.section(label + QStringLiteral("_data"), bytes({1})),
             QStringLiteral("_data:\n!byte $01\n\n"));
}

void TextFormatTest::value_data()
{
    QTest::addColumn<ExportDataOptions::NumberBase>("base");
    QTest::addColumn<QString>("hexPrefix");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    const auto hex = ExportDataOptions::NumberBase::Hex;
    const auto dec = ExportDataOptions::NumberBase::Dec;

    QTest::newRow("hex 255") << hex << "$" << 255 << "$FF";
    QTest::newRow("hex 5 padded") << hex << "$" << 5 << "$05";
    QTest::newRow("hex 0") << hex << "$" << 0 << "$00";
    QTest::newRow("hex 16") << hex << "$" << 16 << "$10";
    QTest::newRow("hex upper case") << hex << "$" << 0xab << "$AB";
    QTest::newRow("hex prefix 0x") << hex << "0x" << 0xab << "0xAB";
    QTest::newRow("hex prefix kept as typed") << hex << "0X" << 10 << "0X0A";
    QTest::newRow("hex free prefix") << hex << "&h" << 15 << "&h0F";
    QTest::newRow("hex empty prefix") << hex << "" << 200 << "C8";
    QTest::newRow("dec 0") << dec << "$" << 0 << "0";
    QTest::newRow("dec 5 no padding") << dec << "$" << 5 << "5";
    QTest::newRow("dec 255") << dec << "0x" << 255 << "255";
}

void TextFormatTest::value()
{
    QFETCH(ExportDataOptions::NumberBase, base);
    QFETCH(QString, hexPrefix);
    QFETCH(int, value);
    QFETCH(QString, text);

    ExportDataOptions options;
    options.base = base;
    options.hexPrefix = hexPrefix;
    const TextFormat format(options);
    QCOMPARE(format.hex(), base == ExportDataOptions::NumberBase::Hex);
    QCOMPARE(format.value(value), text);
}

void TextFormatTest::commentValue_data()
{
    QTest::addColumn<ExportDataOptions::NumberBase>("base");
    QTest::addColumn<QString>("hexPrefix");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    const auto hex = ExportDataOptions::NumberBase::Hex;
    const auto dec = ExportDataOptions::NumberBase::Dec;

    QTest::newRow("hex 255 two digits") << hex << "$" << 255 << "$FF";
    QTest::newRow("hex 5 two digits") << hex << "$" << 5 << "$05";
    QTest::newRow("hex 256 four digits") << hex << "$" << 256 << "$0100";
    QTest::newRow("hex 65535 four digits") << hex << "$" << 65535 << "$FFFF";
    QTest::newRow("hex 0x prefix") << hex << "0x" << 65535 << "0xFFFF";
    QTest::newRow("dec 255") << dec << "$" << 255 << "255";
    QTest::newRow("dec 65535") << dec << "$" << 65535 << "65535";
}

void TextFormatTest::commentValue()
{
    QFETCH(ExportDataOptions::NumberBase, base);
    QFETCH(QString, hexPrefix);
    QFETCH(int, value);
    QFETCH(QString, text);

    ExportDataOptions options;
    options.base = base;
    options.hexPrefix = hexPrefix;
    QCOMPARE(TextFormat(options).commentValue(value), text);
}

void TextFormatTest::byteList_data()
{
    QTest::addColumn<int>("indent");
    QTest::addColumn<int>("perLine");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<ExportDataOptions::NumberBase>("base");
    QTest::addColumn<QString>("hexPrefix");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");

    const QString bang = QStringLiteral("!byte");
    const QString dot = QStringLiteral(".byte");
    const auto hex = ExportDataOptions::NumberBase::Hex;
    const auto dec = ExportDataOptions::NumberBase::Dec;
    const QString dollar = QStringLiteral("$");
    const QString comma = QStringLiteral(", ");

    QTest::newRow("defaults") << 0 << 8 << bang << hex << dollar << comma << bytes({1, 2, 255})
                              << "!byte $01, $02, $FF";
    QTest::newRow("empty list") << 0 << 8 << bang << hex << dollar << comma << QByteArray() << "";
    QTest::newRow("empty list with indent") << 4 << 1 << bang << hex << dollar << comma << QByteArray() << "";
    QTest::newRow("single value") << 0 << 8 << bang << hex << dollar << comma << bytes({7}) << "!byte $07";
    QTest::newRow("one per line") << 0 << 1 << bang << hex << dollar << comma << bytes({1, 2, 255})
                                  << "!byte $01\n!byte $02\n!byte $FF";
    QTest::newRow("one per line indented") << 2 << 1 << bang << hex << dollar << comma << bytes({1, 2})
                                           << "  !byte $01\n  !byte $02";
    QTest::newRow("indent 4") << 4 << 8 << bang << hex << dollar << comma << bytes({1, 2})
                              << "    !byte $01, $02";
    QTest::newRow("exactly one full line") << 0 << 3 << bang << hex << dollar << comma << bytes({0, 1, 2})
                                           << "!byte $00, $01, $02";
    QTest::newRow("one past a full line") << 0 << 3 << bang << hex << dollar << comma << bytes({0, 1, 2, 3})
                                          << "!byte $00, $01, $02\n!byte $03";
    QTest::newRow("exactly two full lines") << 0 << 3 << bang << hex << dollar << comma << counting(6)
                                            << "!byte $00, $01, $02\n!byte $03, $04, $05";
    QTest::newRow("default width wraps after 8") << 0 << 8 << bang << hex << dollar << comma << counting(9)
                                                 << "!byte $00, $01, $02, $03, $04, $05, $06, $07\n!byte $08";
    QTest::newRow("wide line") << 0 << 2048 << bang << hex << dollar << comma << counting(10)
                               << "!byte $00, $01, $02, $03, $04, $05, $06, $07, $08, $09";
    QTest::newRow("tab separator") << 0 << 8 << bang << hex << dollar << "\t" << bytes({1, 2, 3})
                                   << "!byte $01\t$02\t$03";
    QTest::newRow("blank separator") << 0 << 8 << bang << hex << dollar << " " << bytes({1, 2})
                                     << "!byte $01 $02";
    QTest::newRow("free separator") << 0 << 2 << bang << hex << dollar << " ; " << bytes({1, 2, 3})
                                    << "!byte $01 ; $02\n!byte $03";
    QTest::newRow("dot prefix decimal") << 0 << 8 << dot << dec << dollar << comma << bytes({0, 128, 255})
                                        << ".byte 0, 128, 255";
    QTest::newRow("free prefix") << 1 << 8 << "dc.b" << hex << "0x" << comma << bytes({16, 171})
                                 << " dc.b 0x10, 0xAB";
    QTest::newRow("tab prefix verbatim") << 0 << 8 << "\t.byte" << hex << dollar << comma << bytes({9})
                                         << "\t.byte $09";
    QTest::newRow("decimal ignores hex prefix") << 0 << 2 << bang << dec << "0x" << comma << bytes({10, 20, 30})
                                                << "!byte 10, 20\n!byte 30";
    QTest::newRow("high bytes unsigned") << 0 << 8 << bang << hex << dollar << comma << bytes({128, 200, 255})
                                         << "!byte $80, $C8, $FF";
}

void TextFormatTest::byteList()
{
    QFETCH(int, indent);
    QFETCH(int, perLine);
    QFETCH(QString, prefix);
    QFETCH(ExportDataOptions::NumberBase, base);
    QFETCH(QString, hexPrefix);
    QFETCH(QString, separator);
    QFETCH(QByteArray, data);
    QFETCH(QString, text);

    ExportDataOptions options;
    options.indentSpaces = indent;
    options.dataPerLine = perLine;
    options.dataPrefix = prefix;
    options.base = base;
    options.hexPrefix = hexPrefix;
    options.separator = separator;
    QCOMPARE(TextFormat(options).byteList(data), text);
}

void TextFormatTest::section_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << "set_data" << bytes({1, 2}) << QString() << "set_data:\n!byte $01, $02\n\n";
    QTest::newRow("two lines") << "set_data" << counting(10) << QString()
                               << "set_data:\n!byte $00, $01, $02, $03, $04, $05, $06, $07\n!byte $08, $09\n\n";
    QTest::newRow("header first") << "set_colors" << bytes({15}) << "; Total bytes: 1\n\n"
                                  << "; Total bytes: 1\n\nset_colors:\n!byte $0F\n\n";
    QTest::newRow("empty list") << "set_selection" << QByteArray() << QString() << "set_selection:\n\n\n";
}

void TextFormatTest::section()
{
    QFETCH(QString, label);
    QFETCH(QByteArray, data);
    QFETCH(QString, header);
    QFETCH(QString, text);

    const ExportDataOptions options;
    QCOMPARE(TextFormat(options).section(label, data, header), text);
}

void TextFormatTest::textJoinsSections()
{
    ExportDataOptions options;
    options.base = ExportDataOptions::NumberBase::Dec;
    options.dataPrefix = QStringLiteral(".byte");
    const TextFormat format(options);

    // A section without label is comment text alone.
    const QList<ExportSection> sections {
        {QStringLiteral("; note\n\n"), QString(), QByteArray()},
        {QString(), QStringLiteral("a_first"), bytes({1, 2})},
        {QStringLiteral("; Total bytes: 1\n\n"), QStringLiteral("a_second"), bytes({3})},
    };
    QCOMPARE(format.text(sections), QStringLiteral("; note\n\n"
                                                   "a_first:\n.byte 1, 2\n\n"
                                                   "; Total bytes: 1\n\na_second:\n.byte 3\n\n"));
    QCOMPARE(format.text({}), QString());
}

void TextFormatTest::comment_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");

    QTest::newRow("semicolon") << ";" << " Total bytes: 5" << "; Total bytes: 5\n";
    QTest::newRow("slashes") << "//" << " Total bytes: 5" << "// Total bytes: 5\n";
    QTest::newRow("free prefix") << "REM" << "x" << "REMx\n";
}

void TextFormatTest::comment()
{
    QFETCH(QString, prefix);
    QFETCH(QString, text);
    QFETCH(QString, line);

    ExportDataOptions options;
    options.commentPrefix = prefix;
    QCOMPARE(TextFormat(options).comment(text), line);
}

void TextFormatTest::littleEndianWord_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("word");

    QTest::newRow("0") << 0 << bytes({0, 0});
    QTest::newRow("255") << 255 << bytes({255, 0});
    QTest::newRow("256") << 256 << bytes({0, 1});
    QTest::newRow("300") << 300 << bytes({0x2C, 0x01});
    QTest::newRow("0x1234") << 0x1234 << bytes({0x34, 0x12});
    QTest::newRow("65535") << 65535 << bytes({255, 255});
    QTest::newRow("16384") << 16384 << bytes({0, 0x40});
}

void TextFormatTest::littleEndianWord()
{
    QFETCH(int, value);
    QFETCH(QByteArray, word);
    QCOMPARE(TextFormat::littleEndianWord(value), word);
}

QTEST_GUILESS_MAIN(TextFormatTest)
#include "tst_textformat.moc"
