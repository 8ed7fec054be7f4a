// Run-length codes: a run of n equal values is n (at most 127, or 32767 for
// little-endian words) then the value; a lone value below the marker (128,
// or 32768) is written as value OR marker.

#include "exchange/rle.h"
#include "support/core/recordbytes.h"
#include "support/core/values.h"

#include <QtTest>

using testvalues::bytes;

namespace {
QByteArray words(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result += bytes({value, value >> 8});
    return result;
}
}

class RleTest : public QObject {
    Q_OBJECT

private slots:
    void codes_data()
    {
        QTest::addColumn<bool>("wordCode");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<bool>("complete"); // false: a code cut short, decoded as far as it goes

        QTest::newRow("empty") << false << QByteArray() << QByteArray() << true;
        QTest::newRow("lone values around the marker")
            << false << bytes({5, 127, 128, 255}) << bytes({0x85, 0xFF, 1, 128, 1, 255}) << true;
        QTest::newRow("short runs") << false << bytes({1, 2, 2, 3, 3, 3}) << bytes({0x81, 2, 2, 3, 3}) << true;
        QTest::newRow("run of 127") << false << QByteArray(127, 7) << bytes({127, 7}) << true;
        QTest::newRow("run of 128") << false << QByteArray(128, 7) << bytes({127, 7, 0x87}) << true;
        QTest::newRow("run of 129 above the marker")
            << false << QByteArray(129, char(200)) << bytes({127, 200, 2, 200}) << true;
        QTest::newRow("count without value") << false << bytes({5}) << bytes({0x85, 3}) << false;
        QTest::newRow("words: lone values around the marker")
            << true << words({5, 0x1234, 32767, 32768}) << words({0x8005, 0x9234, 0xFFFF, 1, 32768}) << true;
        QTest::newRow("words: low byte first")
            << true << bytes({1, 2, 2, 1, 1, 1, 1, 1}) << words({0x8201, 0x8102, 2, 0x0101}) << true;
        QTest::newRow("words: run of 32767") << true << words({7}).repeated(32767) << words({32767, 7}) << true;
        QTest::newRow("words: run of 32768")
            << true << words({40000}).repeated(32768) << words({32767, 40000, 1, 40000}) << true;
        QTest::newRow("words: count without value") << true << words({5}) << words({0x8005, 2}) << false;
        QTest::newRow("words: half a word") << true << QByteArray() << bytes({5}) << false;
    }

    void codes()
    {
        QFETCH(bool, wordCode);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, code);
        QFETCH(bool, complete);

        if (complete)
            QCOMPARE(wordCode ? Rle::encode16(plain) : Rle::encode8(plain), code);
        bool ok = !complete;
        QCOMPARE(wordCode ? Rle::decode16(code, &ok) : Rle::decode8(code, &ok), plain);
        QCOMPARE(ok, complete);
    }

    void roundTrip()
    {
        const QByteArray plain = filetest::pattern(3000, 1) + QByteArray(70000, char(0x90)) + filetest::pattern(100, 2);
        bool ok8 = false, ok16 = false;
        QVERIFY(Rle::decode8(Rle::encode8(plain), &ok8) == plain && ok8);
        QVERIFY(Rle::decode16(Rle::encode16(plain), &ok16) == plain && ok16);
    }
};

QTEST_GUILESS_MAIN(RleTest)
#include "tst_rle.moc"
