// The palette file of "red,green,blue" lines and the character ROM file:
// what is read from them and what a missing one becomes.

#include "model/charrom.h"
#include "model/palette.h"
#include "support/core/datatable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class PaletteTest : public QObject {
    Q_OBJECT

    QTemporaryDir directory;

    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = directory.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static QByteArray contentOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void missingPaletteIsWrittenWithDefaults()
    {
        const QString path = directory.filePath("missing-pal.txt");
        const Palette::Colors colors = Palette::loadFile(path);
        QCOMPARE(contentOf(path), contentOf(datatable::path("palette/default-pal.txt")));
        QVERIFY(Palette::loadFile(path) == colors);
        // Colour numbers keep their low four bits only.
        Palette::setCurrent(colors);
        QCOMPARE(Palette::color(18), qRgb(140, 40, 45));
        QCOMPARE(Palette::color(-1), qRgb(155, 155, 155));
    }

    void readsLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QList<QRgb>>("expected"); // the entries read; the others stay transparent black

        QTest::newRow("blanks and blank lines, no final newline")
            << QByteArray("  7 , 8 ,\t9  \n\n   \n4,5,6") << QList<QRgb> {qRgb(7, 8, 9), qRgb(4, 5, 6)};
        QTest::newRow("components keep their low byte") << QByteArray("300,256,-1\n") << QList<QRgb> {qRgb(44, 0, 255)};
        QTest::newRow("not a number counts as zero") << QByteArray("red,20,30\n") << QList<QRgb> {qRgb(0, 20, 30)};
        QTest::newRow("two parts end the reading") << QByteArray("1,1,1\n1,2\n5,5,5\n") << QList<QRgb> {qRgb(1, 1, 1)};
        QTest::newRow("four parts end the reading") << QByteArray("1,1,1\n2,2,2,2\n3,3,3\n") << QList<QRgb> {qRgb(1, 1, 1)};
        QByteArray twenty;
        QList<QRgb> sixteen;
        for (int i = 0; i < 20; ++i) {
            twenty += QByteArray::number(i) + ",0,9\n";
            if (i < 16)
                sixteen.append(qRgb(i, 0, 9));
        }
        QTest::newRow("at most sixteen entries") << twenty << sixteen;
    }

    void readsLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(QList<QRgb>, expected);
        const QString path = writeFile("pal.txt", content);
        const Palette::Colors colors = Palette::loadFile(path);
        QCOMPARE(QList<QRgb>(colors.begin(), colors.end()), expected + QVector<QRgb>(16 - expected.size(), 0).toList());
        QCOMPARE(contentOf(path), content); // an existing file is never rewritten
    }

    void characterRom_data()
    {
        QTest::addColumn<int>("fileSize"); // -1: no file
        QTest::newRow("missing") << -1;
        QTest::newRow("short") << 2100;
        QTest::newRow("exact") << 4096;
        QTest::newRow("long") << 5000;
    }

    // Up to 4096 bytes, zero beyond the file; a character is 8 rows of its set.
    void characterRom()
    {
        QFETCH(int, fileSize);
        QByteArray content;
        for (int i = 0; i < fileSize; ++i)
            content.append(char((i * 7 + 3) & 255));
        const QString path = fileSize < 0 ? directory.filePath("none.rom") : writeFile("char.rom", content);
        const QByteArray rom = CharRom::loadFile(path);
        QCOMPARE(rom, content.left(4096).leftJustified(4096, '\0'));
        CharRom::setCurrent(rom);
        const auto rows = [&](int offset) { return content.mid(offset, 8).leftJustified(8, '\0'); };
        QCOMPARE(CharRom::character(0, 1), rows(8));
        QCOMPARE(CharRom::character(1, 1), rows(2056));
        QCOMPARE(CharRom::character(1, 255), rows(4088));
    }
};

QTEST_GUILESS_MAIN(PaletteTest)
#include "tst_palette.moc"
