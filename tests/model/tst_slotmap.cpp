// The slot map under the image sets: key order across chunk boundaries and
// signs, removal down to empty chunks, writes to a copy never reaching the
// map it was copied from, and equality whether chunks are shared or not.

#include "model/slotmap.h"

#include <QtTest>

#include <functional>

namespace {

using Map = SlotMap<QString>;
using Change = std::function<void(Map&)>;

// Entries written "key=value", separated by blanks, inserted in that order.
Map made(const QString& entries)
{
    Map map;
    for (const QString& entry : entries.split(' ', Qt::SkipEmptyParts))
        map.insert(entry.section('=', 0, 0).toInt(), entry.section('=', 1));
    return map;
}

// The entries in iteration order, written as made() reads them.
QString written(const Map& map)
{
    QStringList entries;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        entries.append(QStringLiteral("%1=%2").arg(it.key()).arg(*it));
    return entries.join(' ');
}

} // namespace

Q_DECLARE_METATYPE(Change)

class SlotMapTest : public QObject {
    Q_OBJECT

private slots:
    void order_data()
    {
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QList<int>>("removed");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* inserted, QList<int> removed, const char* expected) {
            QTest::newRow(name) << QString(inserted) << removed << QString(expected);
        };
        row("across a chunk boundary", "256=c 255=b 0=a 512=e 511=d", {}, "0=a 255=b 256=c 511=d 512=e");
        row("negative keys", "5=f 0=e -1=d -256=c -257=b -2147483648=a", {},
            "-2147483648=a -257=b -256=c -1=d 0=e 5=f");
        row("large keys", "2147483647=d 1048576=c 65536=b 65535=a", {}, "65535=a 65536=b 1048576=c 2147483647=d");
        row("an entry replaced", "7=a 7=b", {}, "7=b");
        row("the last entry of a middle chunk removed", "10=a 300=b 600=c", {300}, "10=a 600=c");
        row("the last chunk emptied", "10=a 300=b 301=c", {301, 300}, "10=a");
        row("everything removed", "3=a -3=b", {3, -3}, "");
        row("absent keys removed", "3=a", {4, 259, -253}, "3=a");
    }

    void order()
    {
        QFETCH(QString, inserted);
        QFETCH(QList<int>, removed);
        QFETCH(QString, expected);
        Map map = made(inserted);
        for (int key : removed)
            map.remove(key);

        QCOMPARE(written(map), expected);
        // No emptied chunk or removed entry is left behind to tell them apart.
        QVERIFY(map == made(expected));
        QList<int> keys;
        for (const QString& entry : expected.split(' ', Qt::SkipEmptyParts))
            keys.append(entry.section('=', 0, 0).toInt());
        QCOMPARE(map.keys(), keys);
        QCOMPARE(map.size(), keys.size());
        QCOMPARE(map.isEmpty(), keys.isEmpty());
        if (!keys.isEmpty())
            QCOMPARE(map.lastKey(), keys.last());
        // The neighbours in the same and in the adjacent chunks.
        for (qint64 key : keys + removed) {
            for (qint64 neighbour : {key - 256, key - 1, key + 1, key + 256}) {
                if (neighbour >= INT_MIN && neighbour <= INT_MAX)
                    QCOMPARE(map.value(int(neighbour), "none") != "none", keys.contains(int(neighbour)));
            }
        }
    }

    void copies_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, Change change, const char* expected) {
            QTest::newRow(name) << change << QString(expected);
        };
        row("insert into a shared chunk", [](Map& map) { map.insert(1, "x"); }, "0=a 1=x 255=b 256=c 300=d");
        row("insert into a new chunk", [](Map& map) { map.insert(-1, "x"); }, "-1=x 0=a 255=b 256=c 300=d");
        row("entry written through []", [](Map& map) { map[256] = "x"; }, "0=a 255=b 256=x 300=d");
        row("empty slot written through []", [](Map& map) { map[257] += "x"; }, "0=a 255=b 256=c 257=x 300=d");
        row("entry written through find", [](Map& map) { *map.find(255) = "x"; }, "0=a 255=x 256=c 300=d");
        row("entries written while iterating", [](Map& map) {
            for (QString& value : map)
                value += "!";
        }, "0=a! 255=b! 256=c! 300=d!");
        row("entry removed", [](Map& map) { map.remove(300); }, "0=a 255=b 256=c");
        row("chunk emptied", [](Map& map) {
            map.remove(0);
            map.remove(255);
        }, "256=c 300=d");
        row("cleared", [](Map& map) { map.clear(); }, "");
        row("same value written back", [](Map& map) { map[0] = "a"; }, "0=a 255=b 256=c 300=d");
        row("chunk added and emptied", [](Map& map) {
            map.insert(1000, "x");
            map.remove(1000);
        }, "0=a 255=b 256=c 300=d");
    }

    void copies()
    {
        QFETCH(Change, change);
        QFETCH(QString, expected);
        const QString before = "0=a 255=b 256=c 300=d";
        const Map original = made(before);
        Map copy = original;
        change(copy);

        QCOMPARE(written(original), before);
        QCOMPARE(written(copy), expected);
        QCOMPARE(copy == original, expected == before);
        QCOMPARE(copy != original, expected != before);
    }

    // Maps built apart share no chunk.
    void equality_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<bool>("equal");
        QTest::newRow("same entries") << "0=a 300=b" << "300=b 0=a" << true;
        QTest::newRow("other value") << "0=a 300=b" << "0=a 300=c" << false;
        QTest::newRow("other slot of a chunk") << "0=a" << "1=a" << false;
        QTest::newRow("same slot of another chunk") << "0=a" << "256=a" << false;
        QTest::newRow("same slot of a negative chunk") << "0=a" << "-256=a" << false;
        QTest::newRow("one more chunk") << "0=a" << "0=a 256=b" << false;
        QTest::newRow("one more entry in a chunk") << "0=a" << "0=a 1=b" << false;
    }

    void equality()
    {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(bool, equal);
        QCOMPARE(made(left) == made(right), equal);
        QCOMPARE(made(right) == made(left), equal);
        QCOMPARE(made(left) != made(right), !equal);
    }
};

QTEST_GUILESS_MAIN(SlotMapTest)
#include "tst_slotmap.moc"
