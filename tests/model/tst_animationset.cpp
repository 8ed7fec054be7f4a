// Animations: playback timing, defaults and value copies.

#include "model/animationset.h"
#include "model/imageset.h"

#include <QtTest>

namespace {

Animationset buildAnimations()
{
    Animationset set;
    set.zoom = 4.0;

    Animation walk;
    walk.speed = 50;
    AnimationFrame first;
    first.gridX = 2;
    first.gridY = 1;
    first.offsetX = {0, 3, 0, 0};
    first.offsetY = {1, 0, 0, -2};
    first.placedImages = {PlacedImage {0, 0, 5, 0}, PlacedImage {1, 0, 6, 1}};
    AnimationFrame second;
    second.placedImages = {PlacedImage {0, 0, 7, 0}};
    walk.frames = {first, second};

    Animation blink;
    blink.speed = 10;
    AnimationFrame only;
    only.gridX = 3;
    only.placedImages = {PlacedImage {2, 0, 9, 2}};
    blink.frames = {only};

    set.animations = {walk, blink};
    return set;
}

// Applies one of the edits numbered in animationsetCopies_data.
void changeAnimations(Animationset& set, int change)
{
    switch (change) {
    case 0: set.animations[0].speed = 7; break;
    case 1: set.animations[1].frames.append(AnimationFrame()); break;
    case 2: set.animations[0].frames[0].placedImages[0].x = 3; break;
    case 3: set.animations[0].frames[0].offsetX[1] = -4; break;
    case 4: set.zoom = 2.5; break;
    case 5: set.animations.removeFirst(); break;
    case 6: set.animations[0].frames[1].placedImages.append(PlacedImage {1, 1, 8, 3}); break;
    case 7: set.animations[1].frames[0].gridX = 9; break;
    case 8: set.animations[1].frames[0].placedImages[0].layer = 0; break;
    }
}

} // namespace

class AnimationsetTest : public QObject {
    Q_OBJECT

private slots:
    void frameDuration_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("milliseconds");

        QTest::newRow("50 fps") << 50 << 20;
        QTest::newRow("3 fps") << 3 << 333;
        QTest::newRow("0 plays as 1 fps") << 0 << 1000;
        QTest::newRow("1 fps") << 1 << 1000;
        QTest::newRow("7 fps") << 7 << 142;
        QTest::newRow("60 fps") << 60 << 16;
        QTest::newRow("100 fps") << 100 << 10;
    }

    void frameDuration()
    {
        QFETCH(int, speed);
        QFETCH(int, milliseconds);

        Animation animation;
        animation.speed = speed;
        QCOMPARE(animation.frameDuration(), milliseconds);
    }

    void animationDefaults()
    {
        const Animation animation;
        QCOMPARE(animation.speed, 50);
        QCOMPARE(animation.frameDuration(), 20);
        const Animationset set;
        QCOMPARE(set.zoom, 4.0);
        QVERIFY(set.animations.isEmpty());
        const AnimationFrame frame;
        QCOMPARE(frame.gridX, 1);
        QCOMPARE(frame.gridY, 1);
        for (int layer = 0; layer < 4; ++layer) {
            QCOMPARE(frame.offsetX[size_t(layer)], 0);
            QCOMPARE(frame.offsetY[size_t(layer)], 0);
        }
    }

    void animationsetCopies_data()
    {
        QTest::addColumn<int>("change");

        QTest::newRow("speed") << 0;
        QTest::newRow("frame added") << 1;
        QTest::newRow("placed image moved") << 2;
        QTest::newRow("layer offset") << 3;
        QTest::newRow("zoom") << 4;
        QTest::newRow("animation removed") << 5;
        QTest::newRow("placed image added") << 6;
        QTest::newRow("frame grid") << 7;
        QTest::newRow("placed image layer") << 8;
    }

    void animationsetCopies()
    {
        QFETCH(int, change);

        const Animationset pristine = buildAnimations();

        // Editing a copy leaves the original alone ...
        Animationset original = buildAnimations();
        Animationset copy = original;
        changeAnimations(copy, change);
        QVERIFY(!(copy == pristine));
        QVERIFY(original == pristine);
        QCOMPARE(original.animations.size(), 2);
        QCOMPARE(original.animations[0].speed, 50);
        QCOMPARE(original.animations[0].frames[0].placedImages[0].x, 0);
        QCOMPARE(original.animations[0].frames[0].offsetX[1], 3);

        // ... and editing the original leaves an earlier copy alone.
        Animationset second = original;
        changeAnimations(original, change);
        QVERIFY(second == pristine);

        // The same holds for the animations held by an image set.
        Imageset set(1, QStringLiteral("sprites"), 24, 21, Imageset::Spriteset);
        set.animations = buildAnimations();
        Imageset setCopy = set;
        changeAnimations(setCopy.animations, change);
        QVERIFY(set.animations == pristine);
        QVERIFY(!(setCopy.animations == pristine));

        Animationset assigned;
        assigned = set.animations;
        changeAnimations(assigned, change);
        QVERIFY(set.animations == pristine);
    }
};

QTEST_GUILESS_MAIN(AnimationsetTest)
#include "tst_animationset.moc"
