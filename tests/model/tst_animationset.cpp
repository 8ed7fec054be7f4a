// Animations: how long each frame shows while playing.

#include "model/animationset.h"

#include <QtTest>

class AnimationsetTest : public QObject {
    Q_OBJECT

private slots:
    void frameDuration_data()
    {
        QTest::addColumn<int>("speed"); // frames per second
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("50") << 50 << 20;
        QTest::newRow("7") << 7 << 142;
        QTest::newRow("1") << 1 << 1000;
        QTest::newRow("0 plays as 1") << 0 << 1000;
        QTest::newRow("-5 plays as 1") << -5 << 1000;
    }

    void frameDuration()
    {
        QFETCH(int, speed);
        Animation animation;
        animation.speed = speed;
        QTEST(animation.frameDuration(), "milliseconds");
    }
};

QTEST_GUILESS_MAIN(AnimationsetTest)
#include "tst_animationset.moc"
