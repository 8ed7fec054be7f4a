// Animations for a player routine: the frame count, per frame its layers in
// order of first use with their offsets, then per layer its placed images as
// x, y and index scaled to pixels or cells, every value one byte.

#include "exchange/animationexport.h"
#include "support/core/recordbytes.h"
#include "support/core/values.h"

#include <QtTest>

using filetest::placed;

class AnimationExportTest : public QObject {
    Q_OBJECT

private slots:
    void sections_data()
    {
        QTest::addColumn<int>("frame"); // -1: all
        QTest::addColumn<QSize>("scale");
        QTest::addColumn<QString>("expected"); // the file of the sections in one line
        QTest::addColumn<QString>("file"); // the whole text, when given

        QTest::newRow("all frames in cells") << -1 << QSize(1, 1) << "animation-all-sections.txt" << "";
        // 11 x 24 = 264 and 13 x 21 = 273 keep their low bytes.
        QTest::newRow("one frame keeps its number, sprite pixels")
            << 2 << QSize(24, 21) << "animation-frame-sections.txt" << "animation.asm";
    }

    void sections()
    {
        QFETCH(int, frame);
        QFETCH(QSize, scale);
        QFETCH(QString, expected);
        QFETCH(QString, file);

        Animation animation;
        animation.frames = {
            filetest::frame(1, 1, {1, 2, -4, 0}, {-1, 3, 5, 0},
                            {placed(0, 0, 1, 2), placed(1, 0, 2, 0), placed(2, 0, 3, 2), placed(0, 1, 4, 1)}),
            AnimationFrame(), filetest::frame(1, 1, {0, 0, 0, 200}, {0, 0, 0, -128}, {placed(11, 13, 300, 3)})};
        QCOMPARE(testvalues::describe(AnimationExport::sections("h", animation, 2, frame, scale)) + '\n',
                 testvalues::dataFile("exchange/" + expected));
        if (!file.isEmpty())
            QCOMPARE(AnimationExport::text("h", animation, 2, frame, scale, {}),
                     testvalues::dataFile("exchange/" + file));
    }
};

QTEST_GUILESS_MAIN(AnimationExportTest)
#include "tst_animationexport.moc"
