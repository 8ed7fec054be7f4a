// The dithering lookup tables: one build per run, on a worker, against the
// plain one-colour scan; the "dither.lut" file, which files load, which are
// rejected, and when the tables are built and written anew.

#include "convert/ditherlut.h"
#include "convert/paralleljob.h"
#include "model/recordio.h"
#include "support/core/recordbytes.h"

#include <QtConcurrent>
#include <QtEndian>
#include <QtTest>

#include <atomic>

class DitherLutTest : public QObject {
    Q_OBJECT

    QTemporaryDir directory;
    DitherLut built;
    QByteArray validBytes;

    QString path(const QString& name) const { return directory.filePath(name); }
    QByteArray file(const QString& name) const { QByteArray bytes; Files::readWhole(path(name), bytes); return bytes; }
    static QByteArray table(const DitherLut& tables, DitherLut::ColorSpace space)
    {
        return QByteArray(reinterpret_cast<const char*>(tables.table(space)), tables.isValid() ? DitherLut::tableSize : 0);
    }
    // The tables built at the start, for the default palette kept without alpha bytes.
    bool isBuilt(const DitherLut& tables) const
    {
        bool same = tables.isValid() && table(tables, DitherLut::Ciede2000) == table(built, DitherLut::Ciede2000)
            && table(tables, DitherLut::Rgb) == table(built, DitherLut::Rgb);
        for (int i = 0; i < Palette::size; ++i)
            same = same && tables.palette()[i] == (Palette::defaults()[i] & 0xFFFFFF);
        return same;
    }

private slots:
    void initTestCase()
    {
        // The one full build of the run, as a parallel job: off the calling
        // thread, and complete when the job has finished.
        QThread* testThread = QThread::currentThread();
        std::atomic<bool> offThread {false};
        QList<int> seen;
        ParallelJob job([&](ParallelJob::Control& control) {
            offThread = QThread::currentThread() != testThread;
            built.build(Palette::defaults(), [&control](int percent) { control.report(percent); });
            control.report(100);
        });
        job.wait([&] { seen << job.progress(); });
        QVERIFY(offThread);
        QCOMPARE(seen.last(), 100);
        QVERIFY(isBuilt(built));
        QVERIFY(built.save(path("dither.lut")));
        validBytes = file("dither.lut");
    }

    void builtTablesEqualPlainScan()
    {
        // Every RGB entry; the CIEDE2000 entries of one colour in 4093.
        const Palette::Colors& palette = Palette::defaults();
        const ColorMatch::PaletteLab lab = ColorMatch::toLab(palette);
        QVector<QRgb> reds;
        for (QRgb red = 0; red < 256; ++red)
            reds << (red << 16);
        std::atomic<int> differences {0};
        QtConcurrent::blockingMap(reds, [&](QRgb first) {
            int here = 0;
            for (QRgb color = first; color < first + 0x10000; ++color) {
                here += built.nearest(DitherLut::Rgb, color) != ColorMatch::nearestRgb(palette, color);
                if (color % 4093 == 0)
                    here += built.nearest(DitherLut::Ciede2000, color)
                        != ColorMatch::nearestLab(lab, ColorMatch::toLab(color));
            }
            differences += here;
        });
        QCOMPARE(differences.load(), 0);
        // Palette colours, whatever their alpha byte, give their own entry.
        for (int i = 0; i < Palette::size; ++i) {
            QCOMPARE(int(built.nearest(DitherLut::Ciede2000, palette[i] & 0x7FFFFFFF)), i);
            QCOMPARE(int(built.nearest(DitherLut::Rgb, palette[i] & 0x00FFFFFF)), i);
        }
    }

    void fileRoundTrip()
    {
        const QByteArray ciede2000 = qCompress(table(built, DitherLut::Ciede2000));
        const QByteArray rgb = qCompress(table(built, DitherLut::Rgb));
        filetest::Bytes expected;
        expected.i32(0).i32(12).i32(1);
        for (QRgb color : Palette::defaults())
            expected.i32(qint32(color & 0xFFFFFF));
        QVERIFY(validBytes == expected.i32(ciede2000.size()).raw(ciede2000).i32(rgb.size()).raw(rgb).data);

        // A file with bytes after the second block and alpha bytes in its
        // palette loads for a palette asked for with other alpha bytes, and
        // nothing is built; saving the tables gives the file as built.
        QByteArray bytes = validBytes + "more";
        for (int i = 0; i < Palette::size; ++i)
            bytes[15 + 4 * i] = char(0xFF);
        QVERIFY(Files::writeSafely(path("loaded.lut"), bytes));
        Palette::Colors palette = Palette::defaults();
        palette[0] = 0;
        int builds = 0;
        const DitherLut::Builder builder = [&](DitherLut& target, const Palette::Colors&) { ++builds, target = built; };
        DitherLut loaded, rebuilt, unsaved;
        QCOMPARE(loaded.loadOrBuild(path("loaded.lut"), palette, builder), DitherLut::Loaded);
        QVERIFY(isBuilt(loaded) && builds == 0);
        QVERIFY(loaded.save(path("again.lut")));
        QVERIFY(file("again.lut") == validBytes);
        // Without a file the tables are built (here: handed over) and written;
        // where the file cannot be written they are still there.
        QCOMPARE(rebuilt.loadOrBuild(path("missing.lut"), Palette::defaults(), builder), DitherLut::Built);
        QVERIFY(isBuilt(rebuilt) && file("missing.lut") == validBytes);
        QCOMPARE(unsaved.loadOrBuild(path("no folder/dither.lut"), Palette::defaults(), builder), DitherLut::BuiltNotSaved);
        QVERIFY(isBuilt(unsaved) && !QFile::exists(path("no folder/dither.lut")));
        QCOMPARE(builds, 2);
        // Without tables there is nothing to write.
        QVERIFY(!DitherLut().save(path("none.lut")) && !QFile::exists(path("none.lut")));
    }

    void damagedFileIsRejected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const int p = qFromLittleEndian<qint32>(validBytes.constData() + 76), size = validBytes.size();
        const auto patched = [this](int at, qint32 value) {
            QByteArray bytes = validBytes;
            filetest::putI32(bytes, at, value);
            return bytes;
        };
        QTest::newRow("header 1, 12, 1") << patched(0, 1);
        QTest::newRow("header 0, 13, 1") << patched(4, 13);
        QTest::newRow("header 0, 12, 2") << patched(8, 2);
        QTest::newRow("palette colour 7 differs") << patched(12 + 4 * 7, qint32(Palette::defaults()[7] & 0xFFFFFF) ^ 1);
        for (int end : {0, 10, 60, 76, 78, 80 + p / 2, 80 + p, 82 + p, 94 + p, size - 1})
            QTest::addRow("ends after %d bytes", end) << validBytes.left(end);
        QTest::newRow("first length past the end") << patched(76, size);
        QTest::newRow("first length 2^32 - 1") << patched(76, -1);
        QTest::newRow("second length past the end") << patched(80 + p, size);

        const QByteArray first = validBytes.mid(80, p), second = validBytes.mid(84 + p), ones(DitherLut::tableSize, '\1');
        const auto blocks = [this](const QByteArray& one, const QByteArray& two) {
            return filetest::Bytes().raw(validBytes.left(76)).i32(one.size()).raw(one).i32(two.size()).raw(two).data;
        };
        // qCompress puts the expanded length in front, big-endian.
        QByteArray corrupt = first, entry16(DitherLut::tableSize, '\0');
        QByteArray short1000 = qCompress(ones.left(1000)), huge = short1000;
        for (int i = p / 2; i < p / 2 + 64; ++i)
            corrupt[i] = char(corrupt[i] ^ 0x5A);
        entry16[123456] = char(16);
        qToBigEndian(quint32(DitherLut::tableSize), short1000.data());
        qToBigEndian(0x7FFFFFF0u, huge.data());
        QTest::newRow("first block corrupt") << blocks(corrupt, second);
        QTest::newRow("first block of three bytes") << blocks(first.left(3), second);
        QTest::newRow("first block expands to less than announced") << blocks(short1000, second);
        QTest::newRow("first block announces 2 GiB") << blocks(huge, second);
        QByteArray oneMore = first;
        oneMore[3] = char(oneMore[3] + 1);
        QTest::newRow("first block announces a byte more than a table") << blocks(oneMore, second);
        QTest::newRow("second block one entry long") << blocks(first, qCompress(ones + '\1'));
        QTest::newRow("entry 16 in the second block") << blocks(first, qCompress(entry16));
        // Well-formed but wrong, and a block that would expand to 64 MiB.
        const QByteArray zeros = qCompress(QByteArray(DitherLut::tableSize, '\0'));
        QTest::newRow("tables of zeros") << blocks(zeros, zeros);
        QByteArray bomb = qCompress(QByteArray(4 * DitherLut::tableSize, '\0'));
        qToBigEndian(quint32(DitherLut::tableSize), bomb.data());
        QTest::newRow("first block expands beyond a table") << blocks(bomb, second);
    }

    void damagedFileIsRejected()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(Files::writeSafely(path("damaged.lut"), bytes));
        // Tables held before stay as they were.
        DitherLut held = built;
        QVERIFY(!held.load(path("damaged.lut"), Palette::defaults()));
        QVERIFY(held.table(DitherLut::Rgb) == built.table(DitherLut::Rgb));
        QVERIFY(held.table(DitherLut::Ciede2000) == built.table(DitherLut::Ciede2000));
    }
};

QTEST_GUILESS_MAIN(DitherLutTest)
#include "tst_ditherlut.moc"
