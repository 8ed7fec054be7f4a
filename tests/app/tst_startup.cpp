// The start-up makes the colour-matching tables ready: built and written to
// "dither.lut" where that file is missing or made for another palette, read
// from it otherwise. This test is the only one of the suite that builds the
// tables; it leaves the file for the other window tests.

#include "app/lutstartup.h"
#include "app/windowtest.h"
#include "support/core/recordbytes.h"

class StartupTest : public QObject {
    Q_OBJECT

private:
    TestEnvironment environment;
    const QString shared = QStringLiteral(MOSAIKON_SHARED_LUT);

private slots:
    // The first row builds the tables for real; the others count the builds
    // and take the tables it shared.
    void starts_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("builds");
        QTest::addColumn<bool>("reported");
        QTest::newRow("missing") << "missing" << 0 << false;
        QTest::newRow("current") << "current" << 0 << false;
        QTest::newRow("made for another palette") << "stale" << 1 << false;
        QTest::newRow("unwritable") << "unwritable" << 1 << true;
    }

    void starts()
    {
        QFETCH(QString, file);
        QFETCH(int, builds);
        QFETCH(bool, reported);
        QTemporaryDir directory;
        QDir::setCurrent(directory.path());
        QFile lut(shared);
        QVERIFY(file != "unwritable" || QDir().mkdir("dither.lut")); // a directory: neither read nor written
        QVERIFY(file != "current" || lut.copy("dither.lut"));
        if (file == "stale" && lut.open(QIODevice::ReadOnly)) {
            QByteArray bytes = lut.readAll();
            filetest::putI32(bytes, 12, 0x123456); // the first palette colour, after three header numbers
            QVERIFY(Files::writeSafely("dither.lut", bytes));
        }
        int calls = 0;
        const auto takeShared = [&](DitherLut& tables, const Palette::Colors& palette) { calls += tables.load(shared, palette); };
        LutStartup::setBuilder(file == "missing" ? DitherLut::Builder() : takeShared);
        DitherLut::setCurrent(DitherLut());
        PromptScript prompts;
        delete new Mosaikon;

        QCOMPARE(calls, builds);
        QCOMPARE(promptKinds(prompts), QString(reported ? "E" : ""));
        QVERIFY(QFile::exists("pal.txt"));
        // Black and white are colours 0 and 1 of the default palette.
        QCOMPARE(int(DitherLut::current().nearest(DitherLut::Ciede2000, qRgb(0, 0, 0))), 0);
        QCOMPARE(int(DitherLut::current().nearest(DitherLut::Rgb, qRgb(255, 255, 255))), 1);
        DitherLut written;
        QCOMPARE(written.load("dither.lut", Palette::defaults()), !reported);
        if (file == "missing") {
            QFile::remove(shared);
            QVERIFY(QFile::copy("dither.lut", shared));
        }
        QDir::setCurrent(environment.root());
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
