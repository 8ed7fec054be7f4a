#include "model/charrom.h"
#include "model/palette.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class PaletteTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir directory;

    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = directory.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(content);
        return path;
    }

private slots:
    void missingFileIsWrittenWithDefaults()
    {
        const QString path = directory.filePath("missing-pal.txt");
        const Palette::Colors colors = Palette::loadFile(path);
        QCOMPARE(colors[0], qRgb(0, 0, 0));
        QCOMPARE(colors[1], qRgb(255, 255, 255));
        QCOMPARE(colors[6], qRgb(40, 37, 183));
        QCOMPARE(colors[14], qRgb(94, 91, 255));
        QVERIFY(colors == Palette::defaults());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 17); // 16 lines, each ended by a newline
        QCOMPARE(lines.at(0), QByteArray("0,0,0"));
        QCOMPARE(lines.at(1), QByteArray("255,255,255"));
        QCOMPARE(lines.at(2), QByteArray("140,40,45"));
        QCOMPARE(lines.at(15), QByteArray("155,155,155"));
        QVERIFY(lines.at(16).isEmpty());

        // The written file reads back as the same palette.
        QVERIFY(Palette::loadFile(path) == Palette::defaults());
    }

    void readsFileLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("index");
        QTest::addColumn<uint>("expected");

        QTest::newRow("first entry") << QByteArray("1,2,3\n") << 0 << uint(qRgb(1, 2, 3));
        QTest::newRow("blank lines skipped")
            << QByteArray("1,2,3\n\n   \n4,5,6\n") << 1 << uint(qRgb(4, 5, 6));
        QTest::newRow("blanks around numbers")
            << QByteArray("  7 , 8 ,\t9  \n") << 0 << uint(qRgb(7, 8, 9));
        QTest::newRow("component keeps its low byte")
            << QByteArray("300,256,-1\n") << 0 << uint(qRgb(44, 0, 255));
        QTest::newRow("not a number counts as zero")
            << QByteArray("red,20,30\n") << 0 << uint(qRgb(0, 20, 30));
        QTest::newRow("entries after a short line stay empty")
            << QByteArray("1,1,1\n2,2,2\n3,3,3\n4,4,4\n1,2\n5,5,5\n") << 4 << 0u;
        QTest::newRow("entries before a short line are read")
            << QByteArray("1,1,1\n2,2,2\n3,3,3\n4,4,4\n1,2\n5,5,5\n") << 3 << uint(qRgb(4, 4, 4));
        QTest::newRow("four parts end the reading")
            << QByteArray("1,1,1\n2,2,2,2\n3,3,3\n") << 1 << 0u;
        QTest::newRow("entries missing at the end are transparent black")
            << QByteArray("1,1,1\n") << 15 << 0u;
        QTest::newRow("without final newline")
            << QByteArray("1,1,1\n9,8,7") << 1 << uint(qRgb(9, 8, 7));
    }

    void readsFileLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, index);
        QFETCH(uint, expected);
        const Palette::Colors colors = Palette::loadFile(writeFile("pal.txt", content));
        QCOMPARE(colors[size_t(index)], QRgb(expected));
    }

    void readsAtMostSixteenEntries()
    {
        QByteArray content;
        for (int i = 0; i < 20; ++i)
            content += QByteArray::number(i) + ",0,0\n";
        const QString path = writeFile("long-pal.txt", content);
        const Palette::Colors colors = Palette::loadFile(path);
        QCOMPARE(colors[15], qRgb(15, 0, 0));
        // An existing file is never rewritten.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    void colorNumbersUseTheirLowFourBits()
    {
        Palette::setCurrent(Palette::defaults());
        QCOMPARE(Palette::color(1), qRgb(255, 255, 255));
        QCOMPARE(Palette::color(16 + 2), Palette::defaults()[2]);
        QCOMPARE(Palette::color(-1), Palette::defaults()[15]);
    }

    void romFillsFromFile_data()
    {
        QTest::addColumn<int>("fileSize");
        QTest::newRow("missing") << -1;
        QTest::newRow("short") << 100;
        QTest::newRow("exact") << 4096;
        QTest::newRow("long") << 5000;
    }

    void romFillsFromFile()
    {
        QFETCH(int, fileSize);
        QString path = directory.filePath("no-char.rom");
        QByteArray content;
        for (int i = 0; i < fileSize; ++i)
            content.append(char((i * 7 + 3) & 255));
        if (fileSize >= 0)
            path = writeFile("char.rom", content);

        const QByteArray rom = CharRom::loadFile(path);
        QCOMPARE(rom.size(), CharRom::size);
        for (int i = 0; i < CharRom::size; ++i) {
            const char expected = i < content.size() ? content.at(i) : '\0';
            if (rom.at(i) != expected)
                QFAIL(qPrintable(QString("byte %1 differs").arg(i)));
        }
    }

    void romCharacterIsEightRowsOfItsSet()
    {
        QByteArray content(CharRom::size, '\0');
        for (int row = 0; row < 8; ++row) {
            content[2048 + 65 * 8 + row] = char(0x10 + row); // set 2, character 65
            content[1 * 8 + row] = char(0x80 >> row);         // set 1, character 1
        }
        CharRom::setCurrent(CharRom::loadFile(writeFile("glyphs.rom", content)));
        QCOMPARE(CharRom::character(1, 65), QByteArray::fromHex("1011121314151617"));
        QCOMPARE(CharRom::character(0, 1), QByteArray::fromHex("8040201008040201"));
        QCOMPARE(CharRom::character(0, 65), QByteArray(8, '\0'));
    }
};

QTEST_GUILESS_MAIN(PaletteTest)
#include "tst_palette.moc"
