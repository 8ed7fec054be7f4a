// The "Import image" dialog: its colour rows for each kind of set, the
// ranges its boxes give, when the reduction is made again, the status line
// and picking a colour from the preview.

#include "dialogs/importimagedialog.h"
#include "model/palette.h"
#include "support/core/plainimport.h"
#include "support/testenvironment.h"
#include "views/imagedrawer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QtTest>

using PictureConversion::Range;
using PictureConversion::Setup;
Q_DECLARE_METATYPE(PictureConversion::Setup)

namespace {

// 16 x 8 pixels: the left cell red (2), the right cell white (1) with a
// light red (10) pixel at (12, 3).
QImage twoCells()
{
    QImage picture(16, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            picture.setPixel(x, y, Palette::defaults()[x < 8 ? 2 : 1]);
    picture.setPixel(12, 3, Palette::defaults()[10]);
    return picture;
}

QStringList visibleLabels(const ImportImage& dialog)
{
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&dialog) && label->text().endsWith(QLatin1Char(':'))
            && (label->text().contains(QLatin1String("ckgnd")) || label->text().startsWith(QLatin1String("Multi"))
                || label->text() == QLatin1String("Background:") || label->text() == QLatin1String("Foreground:")))
            labels.append(label->text());
    }
    return labels;
}

}

class ImportImageTest : public QObject {
    Q_OBJECT

    TestEnvironment environment;

private slots:
    void initTestCase() { Palette::setCurrent(Palette::defaults()); }

    void rowsAndRanges_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<int>("foregroundItems");
        QTest::newRow("hires characters") << plainimport::setupFor(Imageset::Charset, Imageset::SCM)
                                          << QStringList {"Background:", "Foreground:"} << 17;
        QTest::newRow("multicolour characters: eight image colours")
            << plainimport::setupFor(Imageset::Charset, Imageset::MCM) << QStringList {"Background:", "Multi 1:", "Multi 2:", "Foreground:"} << 9;
        QTest::newRow("extended background") << plainimport::setupFor(Imageset::Charset, Imageset::ECM)
                                             << QStringList {"Bckgnd 0:", "Bckgnd 1:", "Bckgnd 2:", "Bckgnd 3:", "Foreground:"} << 17;
        QTest::newRow("mono sprites") << plainimport::setupFor(Imageset::Spriteset, Imageset::MCM)
                                      << QStringList {"Background:", "Foreground:"} << 17;
        QTest::newRow("multicolour sprites") << plainimport::setupFor(Imageset::Spriteset, Imageset::SCM, true)
                                             << QStringList {"Background:", "Multi 1:", "Multi 2:", "Foreground:"} << 17;
        QTest::newRow("multicolour blocks") << plainimport::setupFor(Imageset::Blockset, Imageset::MCM)
                                            << QStringList {"Background:", "Multi 1:", "Multi 2:", "Foreground:"} << 17;
    }
    void rowsAndRanges()
    {
        QFETCH(Setup, setup);
        QFETCH(QStringList, labels);
        QFETCH(int, foregroundItems);
        ImportImage dialog(QImage(48, 21, QImage::Format_RGB32), setup, {});
        QCOMPARE(visibleLabels(dialog), labels);
        auto* foreground = dialog.findChild<QComboBox*>(QStringLiteral("cbxForegnd"));
        QCOMPARE(foreground->count(), foregroundItems);
        QCOMPARE(foreground->currentText(), QStringLiteral("(Auto)"));

        // "(Auto)" is every colour the box offers, an item that colour alone.
        QCOMPARE(dialog.conversionSetup().foreground, (Range {0, foregroundItems - 2}));
        dialog.findChild<QComboBox*>(QStringLiteral("cbxBckgnd"))->setCurrentIndex(6);
        foreground->setCurrentIndex(3);
        QCOMPARE(dialog.conversionSetup().background, Range::single(6));
        QCOMPARE(dialog.conversionSetup().foreground, Range::single(3));
        QCOMPARE(dialog.conversionSetup().multi1, (Range {0, 15}));
        QCOMPARE(dialog.settings().backgroundIndex, 6);
    }

    // The reduction is made again only when what it depends on changed;
    // several changes in one turn of the event loop render once.
    void reductionReuse()
    {
        ImportImage dialog(twoCells(), plainimport::setupFor(Imageset::Charset, Imageset::SCM), {});
        const qint64 first = dialog.outputPicture().cacheKey();
        dialog.findChild<QCheckBox*>(QStringLiteral("chkShowFullColors"))->setChecked(true);
        QCoreApplication::processEvents();
        QCOMPARE(dialog.previewPicture().format(), QImage::Format_RGB32);
        QCOMPARE(dialog.outputPicture().cacheKey(), first);
        dialog.findChild<QCheckBox*>(QStringLiteral("chkShowFullColors"))->setChecked(false);
        QCoreApplication::processEvents();
        QCOMPARE(dialog.outputPicture().cacheKey(), first);

        dialog.findChild<QComboBox*>(QStringLiteral("cbxDitherMethod"))->setCurrentIndex(1);
        QCoreApplication::processEvents();
        const qint64 dithered = dialog.outputPicture().cacheKey();
        QVERIFY(dithered != first);

        auto* contrast = dialog.findChild<QSpinBox*>(QStringLiteral("spinContrast"));
        contrast->setValue(0);
        dialog.findChild<QSpinBox*>(QStringLiteral("spinBrightness"))->setValue(0);
        QCOMPARE(dialog.previewPicture().pixelIndex(0, 0), 2); // not yet rendered
        QCoreApplication::processEvents();
        QCOMPARE(dialog.previewPicture().pixelIndex(0, 0), 0); // black
        // Import takes the reduction of the current settings, also while the
        // full colours are shown.
        dialog.findChild<QCheckBox*>(QStringLiteral("chkShowFullColors"))->setChecked(true);
        contrast->setValue(100);
        QCOMPARE(dialog.outputPicture().pixelIndex(0, 0), 2);
    }

    // Status line and picking map the mouse through the rectangle the
    // picture is drawn in: a 16 x 8 picture in a 320 x 100 preview is drawn
    // 200 x 100, 12.5 widget pixels per picture pixel.
    void statusAndPicking()
    {
        ImportImage dialog(twoCells(), plainimport::setupFor(Imageset::Charset, Imageset::MCM), {});
        auto* preview = dialog.findChild<ImageDrawer*>(QStringLiteral("lblImage"));
        preview->setMinimumSize(320, 100);
        preview->setMaximumSize(320, 100);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(preview->drawnRect(), QRect(0, 0, 200, 100));

        QTest::mouseMove(preview, QPoint(156, 40));
        QCOMPARE(dialog.statusText(),
                 QStringLiteral("Projected size: (2 x 1) | x:  12, y:   3, col: 10 (R: 198, G:  86, B:  92)"));
        QTest::mouseMove(preview, QPoint(250, 40));
        QCOMPARE(dialog.statusText(), QStringLiteral("Projected size: (2 x 1) | x: ---, y: ---, col: ---"));

        // Light red (10) is not among the eight image colours of a
        // multicolour character: picking stays armed; red (2) is item 2.
        auto* foreground = dialog.findChild<QComboBox*>(QStringLiteral("cbxForegnd"));
        dialog.pickForegnd();
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(156, 40));
        QCOMPARE(foreground->currentIndex(), 8);
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(250, 40));
        QCOMPARE(foreground->currentIndex(), 8);
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(30, 40));
        QCOMPARE(foreground->currentIndex(), 2);
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(156, 40)); // disarmed: no change
        QCOMPARE(foreground->currentIndex(), 2);
        // A right click disarms.
        auto* background = dialog.findChild<QComboBox*>(QStringLiteral("cbxBckgnd"));
        dialog.pickBckgnd();
        QTest::mouseClick(preview, Qt::RightButton, {}, QPoint(156, 40));
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(156, 40));
        QCOMPARE(background->currentIndex(), 16);
    }
};

QTEST_MAIN(ImportImageTest)
#include "tst_importimage.moc"
