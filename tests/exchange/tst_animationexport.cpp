// Animations as assembler text for a player routine: the frame count, per
// frame its layers in order of first use with their offsets, then per layer
// its placed images as x, y and index, every value one byte.

#include "exchange/animationexport.h"
#include "exchange/exportoptions.h"
#include "exchange/textformat.h"
#include "model/animationset.h"

#include <QtTest>

Q_DECLARE_METATYPE(Animation)
Q_DECLARE_METATYPE(ExportSection)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

AnimationFrame frame(std::initializer_list<PlacedImage> images, std::array<int, 4> offsetX = {},
                     std::array<int, 4> offsetY = {})
{
    AnimationFrame f;
    for (const PlacedImage& image : images)
        f.placedImages.append(image);
    f.offsetX = offsetX;
    f.offsetY = offsetY;
    return f;
}

Animation animation(std::initializer_list<AnimationFrame> frames)
{
    Animation a;
    for (const AnimationFrame& f : frames)
        a.frames.append(f);
    return a;
}

ExportSection section(const QString& label, const QByteArray& data)
{
    return ExportSection {QString(), label, data};
}

QStringList labelsOf(const QList<ExportSection>& sections)
{
    QStringList labels;
    for (const ExportSection& s : sections)
        labels.append(s.label);
    return labels;
}

// A frame using layers 2, 0 and 1, first met in that order.
AnimationFrame threeLayers()
{
    return frame({{0, 0, 1, 2}, {1, 0, 2, 0}, {2, 0, 3, 2}, {0, 1, 4, 1}}, {1, 2, -4, 0}, {-1, 3, 5, 0});
}

}

class AnimationExportTest : public QObject {
    Q_OBJECT

private slots:
    void sections_data();
    void sections();
    void exportTextSprite();
    void exportTextDecimal();
};

void AnimationExportTest::sections_data()
{
    QTest::addColumn<Animation>("animation");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("frame");
    QTest::addColumn<QSize>("scale");
    QTest::addColumn<QList<ExportSection>>("expected");

    const QSize chars(1, 1);
    const QSize sprites(24, 21);

    QTest::newRow("no frames") << Animation() << 0 << -1 << chars
                               << QList<ExportSection> {section("hero_anim_0_numFrames", bytes({0}))};
    QTest::newRow("empty frame: nlayers 0 only")
        << animation({frame({})}) << 0 << -1 << chars
        << QList<ExportSection> {section("hero_anim_0_numFrames", bytes({1})),
                                 section("hero_anim_0_frame_0_nlayers", bytes({0}))};

    // Offsets of all layers first, then count and images per layer; layers
    // in the order of first use; negative offsets as two's complement.
    const QString f = QStringLiteral("hero_anim_2_frame_0_");
    QTest::newRow("layer order of first use")
        << animation({threeLayers()}) << 2 << -1 << chars
        << QList<ExportSection> {section("hero_anim_2_numFrames", bytes({1})),
                                 section(f + "nlayers", bytes({3})),
                                 section(f + "layer_3_offset", bytes({0xFC, 5})),
                                 section(f + "layer_1_offset", bytes({1, 0xFF})),
                                 section(f + "layer_2_offset", bytes({2, 3})),
                                 section(f + "layer_3_numImages", bytes({2})),
                                 section(f + "layer_3_x_y_index", bytes({0, 0, 1, 2, 0, 3})),
                                 section(f + "layer_1_numImages", bytes({1})),
                                 section(f + "layer_1_x_y_index", bytes({1, 0, 2})),
                                 section(f + "layer_2_numImages", bytes({1})),
                                 section(f + "layer_2_x_y_index", bytes({0, 1, 4}))};

    const Animation placed = animation({frame({{2, 1, 5, 0}})});
    QTest::newRow("sprite positions in pixels")
        << placed << 0 << -1 << sprites
        << QList<ExportSection> {section("hero_anim_0_numFrames", bytes({1})),
                                 section("hero_anim_0_frame_0_nlayers", bytes({1})),
                                 section("hero_anim_0_frame_0_layer_1_offset", bytes({0, 0})),
                                 section("hero_anim_0_frame_0_layer_1_numImages", bytes({1})),
                                 section("hero_anim_0_frame_0_layer_1_x_y_index", bytes({48, 21, 5}))};
    QTest::newRow("character positions in cells")
        << placed << 0 << -1 << chars
        << QList<ExportSection> {section("hero_anim_0_numFrames", bytes({1})),
                                 section("hero_anim_0_frame_0_nlayers", bytes({1})),
                                 section("hero_anim_0_frame_0_layer_1_offset", bytes({0, 0})),
                                 section("hero_anim_0_frame_0_layer_1_numImages", bytes({1})),
                                 section("hero_anim_0_frame_0_layer_1_x_y_index", bytes({2, 1, 5}))};

    // 11 x 24 = 264 and 13 x 21 = 273 keep their low bytes 8 and 17; index
    // 300 gives 44.
    QTest::newRow("values above 255 keep the low byte")
        << animation({frame({{11, 13, 300, 3}}, {0, 0, 0, 200}, {0, 0, 0, -128})}) << 0 << -1 << sprites
        << QList<ExportSection> {section("hero_anim_0_numFrames", bytes({1})),
                                 section("hero_anim_0_frame_0_nlayers", bytes({1})),
                                 section("hero_anim_0_frame_0_layer_4_offset", bytes({200, 0x80})),
                                 section("hero_anim_0_frame_0_layer_4_numImages", bytes({1})),
                                 section("hero_anim_0_frame_0_layer_4_x_y_index", bytes({8, 17, 44}))};

    const Animation three = animation({frame({{0, 0, 1, 0}}), frame({}), frame({{1, 1, 9, 0}, {0, 0, 8, 0}}, {3})});
    QTest::newRow("all frames")
        << three << 1 << -1 << chars
        << QList<ExportSection> {section("hero_anim_1_numFrames", bytes({3})),
                                 section("hero_anim_1_frame_0_nlayers", bytes({1})),
                                 section("hero_anim_1_frame_0_layer_1_offset", bytes({0, 0})),
                                 section("hero_anim_1_frame_0_layer_1_numImages", bytes({1})),
                                 section("hero_anim_1_frame_0_layer_1_x_y_index", bytes({0, 0, 1})),
                                 section("hero_anim_1_frame_1_nlayers", bytes({0})),
                                 section("hero_anim_1_frame_2_nlayers", bytes({1})),
                                 section("hero_anim_1_frame_2_layer_1_offset", bytes({3, 0})),
                                 section("hero_anim_1_frame_2_layer_1_numImages", bytes({2})),
                                 section("hero_anim_1_frame_2_layer_1_x_y_index", bytes({1, 1, 9, 0, 0, 8}))};
    // One frame: count 1 and the frame's own index in its labels.
    QTest::newRow("single frame keeps its index")
        << three << 1 << 2 << chars
        << QList<ExportSection> {section("hero_anim_1_numFrames", bytes({1})),
                                 section("hero_anim_1_frame_2_nlayers", bytes({1})),
                                 section("hero_anim_1_frame_2_layer_1_offset", bytes({3, 0})),
                                 section("hero_anim_1_frame_2_layer_1_numImages", bytes({2})),
                                 section("hero_anim_1_frame_2_layer_1_x_y_index", bytes({1, 1, 9, 0, 0, 8}))};
    QTest::newRow("single empty frame")
        << three << 7 << 1 << chars
        << QList<ExportSection> {section("hero_anim_7_numFrames", bytes({1})),
                                 section("hero_anim_7_frame_1_nlayers", bytes({0}))};
}

void AnimationExportTest::sections()
{
    QFETCH(Animation, animation);
    QFETCH(int, index);
    QFETCH(int, frame);
    QFETCH(QSize, scale);
    QFETCH(QList<ExportSection>, expected);

    const QList<ExportSection> actual = AnimationExport::sections(QStringLiteral("hero"), animation, index, frame, scale);
    QCOMPARE(labelsOf(actual), labelsOf(expected));
    for (int i = 0; i < expected.size(); ++i) {
        QVERIFY2(actual.at(i).bytes == expected.at(i).bytes,
                 qPrintable(QStringLiteral("%1: %2 instead of %3")
                                .arg(expected.at(i).label, QString::fromLatin1(actual.at(i).bytes.toHex(' ')),
                                     QString::fromLatin1(expected.at(i).bytes.toHex(' ')))));
        QVERIFY(actual.at(i).header.isEmpty());
    }
}

void AnimationExportTest::exportTextSprite()
{
    const Animation a = animation({frame({{2, 1, 5, 0}}, {-4}, {2})});
    const QString expected = QStringLiteral(
        "Hero_sprites_anim_1_numFrames:\n"
        "!byte $01\n"
        "\n"
        "Hero_sprites_anim_1_frame_0_nlayers:\n"
        "!byte $01\n"
        "\n"
        "Hero_sprites_anim_1_frame_0_layer_1_offset:\n"
        "!byte $FC, $02\n"
        "\n"
        "Hero_sprites_anim_1_frame_0_layer_1_numImages:\n"
        "!byte $01\n"
        "\n"
        "Hero_sprites_anim_1_frame_0_layer_1_x_y_index:\n"
        "!byte $30, $15, $05\n"
        "\n");
    QCOMPARE(AnimationExport::text(QStringLiteral("Hero sprites!"), a, 1, -1, QSize(24, 21),
                                   ExportDataOptions::forAnimation()),
             expected);
}

void AnimationExportTest::exportTextDecimal()
{
    ExportDataOptions options = ExportDataOptions::forAnimation();
    options.base = ExportDataOptions::NumberBase::Dec;
    options.dataPrefix = QStringLiteral(".byte");
    options.indentSpaces = 2;
    options.dataPerLine = 3;
    options.separator = QStringLiteral(",");
    const Animation a = animation({frame({{1, 0, 7, 1}, {0, 0, 6, 1}}, {0, -1}, {0, 1})});
    const QString expected = QStringLiteral(
        "a_anim_0_numFrames:\n"
        "  .byte 1\n"
        "\n"
        "a_anim_0_frame_0_nlayers:\n"
        "  .byte 1\n"
        "\n"
        "a_anim_0_frame_0_layer_2_offset:\n"
        "  .byte 255,1\n"
        "\n"
        "a_anim_0_frame_0_layer_2_numImages:\n"
        "  .byte 2\n"
        "\n"
        "a_anim_0_frame_0_layer_2_x_y_index:\n"
        "  .byte 1,0,7\n"
        "  .byte 0,0,6\n"
        "\n");
    QCOMPARE(AnimationExport::text(QStringLiteral("a"), a, 0, 0, QSize(1, 1), options), expected);
}

QTEST_GUILESS_MAIN(AnimationExportTest)
#include "tst_animationexport.moc"
