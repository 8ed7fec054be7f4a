// Run-length codes of exported data. Byte code: a run of n equal bytes is the
// count n (at most 127) then the value; a byte below 128 that stands alone is
// written as value OR 128. Word code: the same over little-endian 16-bit
// words with runs of at most 32767 and the marker 32768.

#include "exchange/rle.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

QByteArray byteRun(int count, int value)
{
    return QByteArray(count, char(value));
}

// Words as bytes, low byte first.
QByteArray words(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values) {
        result.append(char(value & 0xFF));
        result.append(char((value >> 8) & 0xFF));
    }
    return result;
}

QByteArray wordRun(int count, int value)
{
    QByteArray result;
    result.reserve(count * 2);
    for (int i = 0; i < count; ++i) {
        result.append(char(value & 0xFF));
        result.append(char((value >> 8) & 0xFF));
    }
    return result;
}

QVector<quint32> symbolsOf(const QByteArray& data, bool wordCode)
{
    QVector<quint32> symbols;
    if (!wordCode) {
        for (char c : data)
            symbols.append(quint8(c));
    } else {
        for (int i = 0; i + 1 < data.size(); i += 2)
            symbols.append(quint32(quint8(data.at(i))) | quint32(quint8(data.at(i + 1))) << 8);
    }
    return symbols;
}

// Checks that a code is the run-length code of the values: read back run by
// run, every run has a count of 1 to the maximum, a lone value below the
// marker uses the marker form and only such values do, a run is cut short
// only by a different value or by reaching the maximum, and the runs give
// back exactly the input values.
void verifyCodeStructure(const QByteArray& input, const QByteArray& code, bool wordCode)
{
    const quint32 marker = wordCode ? 0x8000 : 0x80;
    const quint32 maxRun = marker - 1;
    const QVector<quint32> values = symbolsOf(input, wordCode);
    const QVector<quint32> symbols = symbolsOf(code, wordCode);
    QCOMPARE(code.size() % (wordCode ? 2 : 1), 0);

    int position = 0; // in values
    bool hasPrevious = false;
    quint32 previousValue = 0;
    quint32 previousCount = 0;
    for (int i = 0; i < symbols.size(); ++i) {
        quint32 value;
        quint32 count;
        if (symbols.at(i) & marker) {
            value = symbols.at(i) & ~marker;
            count = 1;
        } else {
            QVERIFY2(i + 1 < symbols.size(), "count without value");
            count = symbols.at(i);
            value = symbols.at(++i);
            QVERIFY2(count >= 1 && count <= maxRun, qPrintable(QStringLiteral("bad count %1").arg(count)));
            if (count == 1)
                QVERIFY2(value >= marker, "a lone value below the marker must use the marker form");
        }
        if (hasPrevious && value == previousValue)
            QVERIFY2(previousCount == maxRun, "a run was split before reaching the maximum");
        for (quint32 k = 0; k < count; ++k) {
            QVERIFY2(position < values.size(), "code gives more values than the input has");
            QCOMPARE(values.at(position), value);
            ++position;
        }
        hasPrevious = true;
        previousValue = value;
        previousCount = count;
    }
    QCOMPARE(position, values.size());
}

} // namespace

class RleTest : public QObject {
    Q_OBJECT

private slots:
    void examples_data()
    {
        QTest::addColumn<bool>("wordCode");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("bytes: 200 x 3") << false << byteRun(200, 3) << bytes({127, 3, 73, 3});
        QTest::newRow("bytes: single 200") << false << bytes({200}) << bytes({1, 200});
        QTest::newRow("bytes: single 5") << false << bytes({5}) << bytes({133});
        QTest::newRow("bytes: empty") << false << QByteArray() << QByteArray();
        QTest::newRow("bytes: single 0") << false << bytes({0}) << bytes({0x80});
        QTest::newRow("bytes: single 127") << false << bytes({127}) << bytes({0xFF});
        QTest::newRow("bytes: single 128") << false << bytes({128}) << bytes({1, 128});
        QTest::newRow("bytes: single 255") << false << bytes({255}) << bytes({1, 255});
        QTest::newRow("bytes: two 5") << false << bytes({5, 5}) << bytes({2, 5});
        QTest::newRow("bytes: two 200") << false << bytes({200, 200}) << bytes({2, 200});
        QTest::newRow("bytes: 1, 2, 2, 3, 3, 3") << false << bytes({1, 2, 2, 3, 3, 3}) << bytes({0x81, 2, 2, 3, 3});
        QTest::newRow("bytes: 1, 2, 1") << false << bytes({1, 2, 1}) << bytes({0x81, 0x82, 0x81});
        QTest::newRow("bytes: run then lone high value")
            << false << (byteRun(3, 9) + bytes({200})) << bytes({3, 9, 1, 200});
        QTest::newRow("bytes: 127 x 7") << false << byteRun(127, 7) << bytes({127, 7});
        QTest::newRow("bytes: 128 x 7") << false << byteRun(128, 7) << bytes({127, 7, 0x87});
        QTest::newRow("bytes: 128 x 200") << false << byteRun(128, 200) << bytes({127, 200, 1, 200});
        QTest::newRow("bytes: 129 x 200") << false << byteRun(129, 200) << bytes({127, 200, 2, 200});
        QTest::newRow("bytes: 254 x 7") << false << byteRun(254, 7) << bytes({127, 7, 127, 7});
        QTest::newRow("bytes: 255 x 7") << false << byteRun(255, 7) << bytes({127, 7, 127, 7, 0x87});
        QTest::newRow("bytes: 256 x 0") << false << byteRun(256, 0) << bytes({127, 0, 127, 0, 2, 0});
        QTest::newRow("bytes: 127 x 1, 1 x 2") << false << (byteRun(127, 1) + bytes({2})) << bytes({127, 1, 0x82});

        QTest::newRow("words: 300, 300") << true << words({300, 300}) << bytes({0x02, 0x00, 0x2C, 0x01});
        QTest::newRow("words: single 5") << true << words({5}) << bytes({0x05, 0x80});
        QTest::newRow("words: empty") << true << QByteArray() << QByteArray();
        QTest::newRow("words: single 0") << true << words({0}) << bytes({0x00, 0x80});
        QTest::newRow("words: single 0x1234") << true << words({0x1234}) << bytes({0x34, 0x92});
        QTest::newRow("words: single 32767") << true << words({32767}) << bytes({0xFF, 0xFF});
        QTest::newRow("words: single 32768") << true << words({32768}) << words({1, 32768});
        QTest::newRow("words: single 65535") << true << words({65535}) << words({1, 65535});
        QTest::newRow("words: 1, 2, 2") << true << words({1, 2, 2}) << words({0x8001, 2, 2});
        QTest::newRow("words: equal bytes, equal words")
            << true << bytes({1, 1, 1, 1}) << words({2, 0x0101});
        QTest::newRow("words: equal bytes, different words")
            << true << bytes({1, 2, 2, 1}) << words({0x8000 | 0x0201, 0x8000 | 0x0102});
        QTest::newRow("words: 32767 x 7") << true << wordRun(32767, 7) << words({32767, 7});
        QTest::newRow("words: 32768 x 7") << true << wordRun(32768, 7) << words({32767, 7, 0x8007});
        QTest::newRow("words: 32768 x 40000") << true << wordRun(32768, 40000) << words({32767, 40000, 1, 40000});
        QTest::newRow("words: 65534 x 7") << true << wordRun(65534, 7) << words({32767, 7, 32767, 7});
        QTest::newRow("words: 65535 x 40000")
            << true << wordRun(65535, 40000) << words({32767, 40000, 32767, 40000, 1, 40000});
        QTest::newRow("words: 200 x 3") << true << wordRun(200, 3) << words({200, 3});
    }

    void examples()
    {
        QFETCH(bool, wordCode);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);

        const QByteArray code = wordCode ? Rle::encode16(input) : Rle::encode8(input);
        QCOMPARE(code, expected);

        bool ok = false;
        const QByteArray decoded = wordCode ? Rle::decode16(expected, &ok) : Rle::decode8(expected, &ok);
        QVERIFY(ok);
        QCOMPARE(decoded, input);
    }

    void roundTrip_data()
    {
        QTest::addColumn<bool>("wordCode");
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("length"); // values (bytes or words)
        QTest::addColumn<int>("base");   // smallest value
        QTest::addColumn<int>("alphabet"); // number of different values
        QTest::addColumn<int>("maxRun"); // longest run generated

        QTest::newRow("bytes: empty") << false << quint32(1) << 0 << 0 << 256 << 1;
        QTest::newRow("bytes: one") << false << quint32(2) << 1 << 0 << 256 << 1;
        QTest::newRow("bytes: two") << false << quint32(3) << 2 << 0 << 2 << 2;
        QTest::newRow("bytes: 127 any") << false << quint32(4) << 127 << 0 << 256 << 1;
        QTest::newRow("bytes: 128 of two values") << false << quint32(5) << 128 << 0 << 2 << 5;
        QTest::newRow("bytes: 1000 noise") << false << quint32(6) << 1000 << 0 << 256 << 1;
        QTest::newRow("bytes: 1000 of two values") << false << quint32(7) << 1000 << 7 << 2 << 1;
        QTest::newRow("bytes: 5000 of one value") << false << quint32(8) << 5000 << 42 << 1 << 5000;
        QTest::newRow("bytes: long runs of three values") << false << quint32(9) << 10000 << 0 << 3 << 400;
        QTest::newRow("bytes: only values of 128 or more") << false << quint32(10) << 4096 << 128 << 128 << 3;
        QTest::newRow("bytes: values around 128") << false << quint32(11) << 4096 << 120 << 16 << 200;
        QTest::newRow("bytes: 64 KiB mixed") << false << quint32(12) << 65536 << 0 << 256 << 1000;
        QTest::newRow("bytes: runs around the limits") << false << quint32(13) << 20000 << 250 << 6 << 260;

        QTest::newRow("words: empty") << true << quint32(21) << 0 << 0 << 65536 << 1;
        QTest::newRow("words: one") << true << quint32(22) << 1 << 0 << 65536 << 1;
        QTest::newRow("words: 1000 noise") << true << quint32(23) << 1000 << 0 << 65536 << 1;
        QTest::newRow("words: around the marker") << true << quint32(24) << 5000 << 32766 << 4 << 50;
        QTest::newRow("words: runs longer than the limit") << true << quint32(25) << 200000 << 0 << 3 << 70000;
        QTest::newRow("words: byte-sized values") << true << quint32(26) << 10000 << 0 << 256 << 300;
        QTest::newRow("words: only values of 32768 or more") << true << quint32(27) << 3000 << 32768 << 32768 << 3;
        QTest::newRow("words: few values, short runs") << true << quint32(28) << 50000 << 1000 << 2 << 4;
    }

    void roundTrip()
    {
        QFETCH(bool, wordCode);
        QFETCH(quint32, seed);
        QFETCH(int, length);
        QFETCH(int, base);
        QFETCH(int, alphabet);
        QFETCH(int, maxRun);

        QRandomGenerator random(seed);
        QByteArray input;
        int produced = 0;
        while (produced < length) {
            const int value = base + int(random.bounded(quint32(alphabet)));
            const int run = qMin(length - produced, 1 + int(random.bounded(quint32(maxRun))));
            input += wordCode ? wordRun(run, value) : byteRun(run, value);
            produced += run;
        }
        QCOMPARE(input.size(), length * (wordCode ? 2 : 1));

        const QByteArray code = wordCode ? Rle::encode16(input) : Rle::encode8(input);
        verifyCodeStructure(input, code, wordCode);

        bool ok = false;
        const QByteArray decoded = wordCode ? Rle::decode16(code, &ok) : Rle::decode8(code, &ok);
        QVERIFY(ok);
        QCOMPARE(decoded.size(), input.size());
        QVERIFY(decoded == input);
    }

    void truncatedCode_data()
    {
        QTest::addColumn<bool>("wordCode");
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("decoded"); // compared when ok

        QTest::newRow("bytes: empty") << false << QByteArray() << true << QByteArray();
        QTest::newRow("bytes: lone value") << false << bytes({0x85}) << true << bytes({5});
        QTest::newRow("bytes: pair") << false << bytes({2, 5}) << true << bytes({5, 5});
        QTest::newRow("bytes: pair and lone value") << false << bytes({1, 200, 0x83}) << true << bytes({200, 3});
        QTest::newRow("bytes: count only") << false << bytes({3}) << false << QByteArray();
        QTest::newRow("bytes: second pair cut") << false << bytes({127, 3, 73}) << false << QByteArray();
        QTest::newRow("bytes: lone value then count") << false << bytes({0x81, 2}) << false << QByteArray();

        QTest::newRow("words: empty") << true << QByteArray() << true << QByteArray();
        QTest::newRow("words: lone value") << true << bytes({0x05, 0x80}) << true << words({5});
        QTest::newRow("words: pair") << true << words({2, 300}) << true << words({300, 300});
        QTest::newRow("words: half a word") << true << bytes({0x05}) << false << QByteArray();
        QTest::newRow("words: count only") << true << words({2}) << false << QByteArray();
        QTest::newRow("words: value cut in half") << true << bytes({0x02, 0x00, 0x2C}) << false << QByteArray();
        QTest::newRow("words: lone value then half a word")
            << true << bytes({0x05, 0x80, 0x07}) << false << QByteArray();
        QTest::newRow("words: full run then count only") << true << words({32767, 7, 3}) << false << QByteArray();
    }

    void truncatedCode()
    {
        QFETCH(bool, wordCode);
        QFETCH(QByteArray, code);
        QFETCH(bool, ok);
        QFETCH(QByteArray, decoded);

        bool reported = !ok; // start from the wrong answer
        const QByteArray result = wordCode ? Rle::decode16(code, &reported) : Rle::decode8(code, &reported);
        QCOMPARE(reported, ok);
        if (ok)
            QCOMPARE(result, decoded);
        // Without a place for the answer the decoders still work.
        const QByteArray again = wordCode ? Rle::decode16(code) : Rle::decode8(code);
        QCOMPARE(again, result);
    }
};

QTEST_GUILESS_MAIN(RleTest)
#include "tst_rle.moc"
