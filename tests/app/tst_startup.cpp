// The start-up makes the colour-matching tables ready: built with a progress
// dialog and written to "dither.lut" where that file is missing or made for
// another palette, read from it otherwise. This test is the only one of the
// suite that builds the tables; it leaves the file for the other window tests.

#include "app/lutstartup.h"
#include "app/windowtest.h"
#include "convert/ditherlut.h"
#include "support/core/recordbytes.h"
#include "support/testenvironment.h"

#include <QProgressDialog>

namespace {
// Counts the progress dialogs shown while it is installed.
class ProgressWatcher : public QObject {
public:
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QProgressDialog*>(watched))
            ++shown;
        return false;
    }
};
}

class StartupTest : public QObject {
    Q_OBJECT

private:
    QScopedPointer<TestEnvironment> environment;
    const QString shared = QStringLiteral(MOSAIKON_SHARED_LUT);

private slots:
    void initTestCase() { environment.reset(new TestEnvironment); }

    void firstStartBuildsAndWritesTheTables()
    {
        QFile::remove(QStringLiteral("dither.lut"));
        LutStartup::setBuilder({});
        DitherLut::setCurrent(DitherLut());
        ProgressWatcher watcher;
        qApp->installEventFilter(&watcher);
        PromptScript prompts;
        delete new Mosaikon;
        qApp->removeEventFilter(&watcher);
        QCOMPARE(watcher.shown, 1);
        QVERIFY(prompts.shown.isEmpty());
        QVERIFY(QFile::exists(QStringLiteral("pal.txt")));
        // Black and white are colours 0 and 1 of the default palette.
        QCOMPARE(int(DitherLut::current().nearest(DitherLut::Ciede2000, qRgb(0, 0, 0))), 0);
        QCOMPARE(int(DitherLut::current().nearest(DitherLut::Rgb, qRgb(255, 255, 255))), 1);
        DitherLut reread;
        QVERIFY(reread.load(QStringLiteral("dither.lut"), Palette::defaults()));
        QFile::remove(shared);
        QVERIFY(QFile::copy(QStringLiteral("dither.lut"), shared));
    }

    void laterStarts_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("builds");
        QTest::addColumn<bool>("reported");
        QTest::newRow("current") << "current" << 0 << false;
        QTest::newRow("made for another palette") << "stale" << 1 << false;
        QTest::newRow("unwritable") << "unwritable" << 1 << true;
    }

    void laterStarts()
    {
        QFETCH(QString, file);
        QFETCH(int, builds);
        QFETCH(bool, reported);
        QTemporaryDir directory;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(directory.path());
        QFile source(shared);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        filetest::putI32(bytes, 12, 0x123456); // the first palette colour, after the three header numbers
        QFile target(QStringLiteral("dither.lut"));
        if (file == "unwritable") // a directory: neither read nor written
            QVERIFY(QDir().mkdir(target.fileName()));
        else if (file == "stale")
            QVERIFY(target.open(QIODevice::WriteOnly) && target.write(bytes) == bytes.size());
        else
            QVERIFY(QFile::copy(shared, target.fileName()));
        target.close();

        int calls = 0;
        LutStartup::setBuilder([&](DitherLut& tables, const Palette::Colors& palette) {
            ++calls;
            QVERIFY(tables.load(shared, palette));
        });
        DitherLut::setCurrent(DitherLut());
        PromptScript prompts;
        delete new Mosaikon;
        QCOMPARE(calls, builds);
        QCOMPARE(promptKinds(prompts), QString(reported ? "E" : ""));
        QVERIFY(DitherLut::current().isValid());
        DitherLut reread;
        QCOMPARE(reread.load(target.fileName(), Palette::defaults()), !reported);
        QDir::setCurrent(previous);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
