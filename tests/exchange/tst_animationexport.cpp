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
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("file"); // the whole text, when given

        QTest::newRow("all frames in cells")
            << -1 << QSize(1, 1)
            << "h_anim_2_numFrames: 03 | h_anim_2_frame_0_nlayers: 03 | h_anim_2_frame_0_layer_3_offset: fc 05 | "
               "h_anim_2_frame_0_layer_1_offset: 01 ff | h_anim_2_frame_0_layer_2_offset: 02 03 | "
               "h_anim_2_frame_0_layer_3_numImages: 02 | h_anim_2_frame_0_layer_3_x_y_index: 00 00 01 02 00 03 | "
               "h_anim_2_frame_0_layer_1_numImages: 01 | h_anim_2_frame_0_layer_1_x_y_index: 01 00 02 | "
               "h_anim_2_frame_0_layer_2_numImages: 01 | h_anim_2_frame_0_layer_2_x_y_index: 00 01 04 | "
               "h_anim_2_frame_1_nlayers: 00 | h_anim_2_frame_2_nlayers: 01 | h_anim_2_frame_2_layer_4_offset: c8 80 | "
               "h_anim_2_frame_2_layer_4_numImages: 01 | h_anim_2_frame_2_layer_4_x_y_index: 0b 0d 2c" << "";
        // 11 x 24 = 264 and 13 x 21 = 273 keep their low bytes.
        QTest::newRow("one frame keeps its number, sprite pixels") << 2 << QSize(24, 21)
            << "h_anim_2_numFrames: 01 | h_anim_2_frame_2_nlayers: 01 | h_anim_2_frame_2_layer_4_offset: c8 80 | "
               "h_anim_2_frame_2_layer_4_numImages: 01 | h_anim_2_frame_2_layer_4_x_y_index: 08 11 2c"
            << "animation.asm";
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
        QCOMPARE(testvalues::describe(AnimationExport::sections("h", animation, 2, frame, scale)), expected);
        if (!file.isEmpty())
            QCOMPARE(AnimationExport::text("h", animation, 2, frame, scale, {}),
                     testvalues::dataFile("exchange/" + file));
    }
};

QTEST_GUILESS_MAIN(AnimationExportTest)
#include "tst_animationexport.moc"
