#include "app/lutstartup.h"
#include "app/mosaikon.h"
#include "convert/ditherlut.h"
#include "model/palette.h"
#include "model/version.h"
#include "support/promptscript.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QtTest>

namespace {
// Notes every progress dialog shown while it is installed.
class ProgressWatcher : public QObject {
public:
    QStringList labels;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QProgressDialog*>(watched))
                labels.append(dialog->labelText());
        }
        return false;
    }
};
}

// The start-up builds the colour-matching tables the first time, in an empty
// directory, and reads them from "dither.lut" afterwards. This test is the
// only one of the suite that builds the tables; it leaves the file for the
// other window tests.
class StartupTest : public QObject {
    Q_OBJECT

private:
    QScopedPointer<TestEnvironment> environment;

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
        {
            Mosaikon window;
        }
        qApp->removeEventFilter(&watcher);
        QCOMPARE(watcher.labels, QStringList {QStringLiteral("Build dithering LUT...")});
        QVERIFY(prompts.shown.isEmpty());
        QVERIFY(QFile::exists(QStringLiteral("pal.txt")));
        QVERIFY(DitherLut::current().isValid());
        // Black and white are colours 0 and 1 of the default palette.
        QCOMPARE(int(DitherLut::current().nearest(DitherLut::Ciede2000, qRgb(0, 0, 0))), 0);
        QCOMPARE(int(DitherLut::current().nearest(DitherLut::Rgb, qRgb(255, 255, 255))), 1);

        DitherLut reread;
        QVERIFY(reread.load(QStringLiteral("dither.lut"), Palette::defaults()));
        QFile::remove(QStringLiteral(MOSAIKON_SHARED_LUT));
        QVERIFY(QFile::copy(QStringLiteral("dither.lut"), QStringLiteral(MOSAIKON_SHARED_LUT)));
    }

    void secondStartReadsTheFile()
    {
        int builds = 0;
        LutStartup::setBuilder([&builds](DitherLut&, const Palette::Colors&) { ++builds; });
        DitherLut::setCurrent(DitherLut());
        ProgressWatcher watcher;
        qApp->installEventFilter(&watcher);
        {
            Mosaikon window;
        }
        qApp->removeEventFilter(&watcher);
        QCOMPARE(builds, 0);
        QVERIFY(watcher.labels.isEmpty());
        QVERIFY(DitherLut::current().isValid());
    }

    void unwritableTableFileIsReportedAndTheProgramContinues()
    {
        QTemporaryDir directory;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(directory.path());
        // A directory where the file should be: it can be neither read nor written.
        QVERIFY(QDir().mkdir(QStringLiteral("dither.lut")));
        LutStartup::setBuilder([](DitherLut& tables, const Palette::Colors& palette) {
            QVERIFY(tables.load(QStringLiteral(MOSAIKON_SHARED_LUT), palette));
        });
        DitherLut::setCurrent(DitherLut());
        PromptScript prompts;
        {
            Mosaikon window;
            QCOMPARE(prompts.shown.size(), 1);
            QCOMPARE(prompts.last().icon, QMessageBox::Critical);
            QCOMPARE(prompts.last().title, QStringLiteral("Error!"));
            QCOMPARE(prompts.last().text,
                     QStringLiteral("Cannot save the LUT for dithering (this will be recreated at every startup)!"));
            QVERIFY(DitherLut::current().isValid());
            QCOMPARE(window.windowTitle(), QStringLiteral("Mosaikon v" MOSAIKON_VERSION " - [Untitled]"));
        }
        QDir::setCurrent(previous);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
