// The dithering lookup tables: the build (once per run, for the default
// palette, on a worker with progress reports), the entries against the plain
// reference (convert/colorreference.h), the "dither.lut" file layout, which
// files load and which are rejected, and the rebuild of a rejected file.

#include "convert/colorreference.h"

#include "convert/ditherlut.h"

#include <QtConcurrent>
#include <QtTest>

#include <atomic>
#include <numeric>
#include <random>

namespace {

quint32 readUint32(const QByteArray& bytes, int at)
{
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData() + at);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

void writeUint32(QByteArray& bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

QByteArray uint32Bytes(quint32 value)
{
    QByteArray bytes(4, '\0');
    writeUint32(bytes, 0, value);
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct FileParts {
    QByteArray head; // header and palette, 76 bytes
    QByteArray ciede2000;
    QByteArray rgb;
};

QByteArray joined(const FileParts& parts)
{
    return parts.head + uint32Bytes(quint32(parts.ciede2000.size())) + parts.ciede2000
        + uint32Bytes(quint32(parts.rgb.size())) + parts.rgb;
}

// A qCompress block whose stored expanded length is replaced.
QByteArray withAnnouncedLength(QByteArray block, quint32 length)
{
    block[0] = char(length >> 24);
    block[1] = char((length >> 16) & 0xFF);
    block[2] = char((length >> 8) & 0xFF);
    block[3] = char(length & 0xFF);
    return block;
}

// The palette as the tables keep it: 0x00RRGGBB.
Palette::Colors withoutAlpha(const Palette::Colors& palette)
{
    Palette::Colors colors = palette;
    for (QRgb& color : colors)
        color &= 0xFFFFFF;
    return colors;
}

bool sameTables(const DitherLut& one, const DitherLut& other)
{
    for (DitherLut::ColorSpace space : {DitherLut::Ciede2000, DitherLut::Rgb}) {
        if (!one.table(space) || !other.table(space)
            || !std::equal(one.table(space), one.table(space) + DitherLut::tableSize, other.table(space)))
            return false;
    }
    return true;
}

} // namespace

class DitherLutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void buildRanOnWorkersWithProgress();
    void ciede2000TableEqualsReferenceOnSample();
    void rgbTableEqualsReferenceEverywhere();
    void nearestReadsTheTables();
    void fileHasTheDescribedLayout();
    void validFileLoads();
    void storedAlphaBytesDoNotCount();
    void invalidFileIsRejected_data();
    void invalidFileIsRejected();
    void fileForAnotherPaletteIsRejected();
    void loadOrBuildRebuildsAndRewrites_data();
    void loadOrBuildRebuildsAndRewrites();
    void loadOrBuildUsesValidFile();
    void unwritableFileStillGivesTables();
    void noTablesGiveZeroAndCannotBeSaved();
    void currentTablesAreProgramWide();

private:
    QString path(const QString& name) const { return directory.filePath(name); }
    FileParts validParts() const;
    QVector<QPair<QString, QByteArray>> invalidFiles() const;

    QTemporaryDir directory;
    DitherLut built;
    QByteArray validBytes;
    QThread* testThread = nullptr;
    double buildSeconds = 0;
    struct Report {
        int percent;
        qint64 milliseconds;
        bool onTestThread;
    };
    QVector<Report> reports;
};

void DitherLutTest::initTestCase()
{
    QVERIFY(directory.isValid());
    testThread = QThread::currentThread();
    QElapsedTimer timer;
    timer.start();
    QMutex mutex;
    // The one full build of this test run.
    QFuture<void> done = built.buildAsync(Palette::defaults(), [&](int percent) {
        const QMutexLocker lock(&mutex);
        reports.append({percent, timer.elapsed(), QThread::currentThread() == testThread});
    });
    done.waitForFinished();
    buildSeconds = timer.elapsed() / 1000.0;
    qInfo("build of both tables: %.2f s, %lld colours re-checked", buildSeconds, built.buildInfo().rechecked);
    QVERIFY(done.isFinished());
    QVERIFY(built.isValid());
    QVERIFY(built.save(path("dither.lut")));
    validBytes = readFile(path("dither.lut"));
    QVERIFY(validBytes.size() > 84);
}

void DitherLutTest::buildRanOnWorkersWithProgress()
{
    // Reports come from the building threads, never from the one that
    // started the build, at least 250 ms apart (allowing for the reporting
    // thread being held up briefly), with shares from 0 to 100.
    if (buildSeconds > 1.0)
        QVERIFY(!reports.isEmpty());
    for (int i = 0; i < reports.size(); ++i) {
        QVERIFY(!reports[i].onTestThread);
        QVERIFY(reports[i].percent >= 0 && reports[i].percent <= 100);
        if (i > 0)
            QVERIFY2(reports[i].milliseconds - reports[i - 1].milliseconds >= 200,
                     qPrintable(QString::number(reports[i].milliseconds - reports[i - 1].milliseconds)));
    }
    QCOMPARE(built.palette(), withoutAlpha(Palette::defaults()));
    QVERIFY(built.buildInfo().ciede2000Seconds > 0);
    QVERIFY(built.buildInfo().rgbSeconds > 0);
}

void DitherLutTest::ciede2000TableEqualsReferenceOnSample()
{
    QVector<QRgb> colors;
    for (QRgb color : Palette::defaults())
        colors.append(color);
    for (int v = 0; v < 256; ++v) {
        colors.append(qRgb(v, v, v));
        for (int edge = 0; edge < 12; ++edge) {
            const int fixed = edge % 4;
            const int first = fixed & 1 ? 255 : 0, second = fixed & 2 ? 255 : 0;
            const int running = edge / 4;
            int channel[3];
            channel[running] = v;
            channel[(running + 1) % 3] = first;
            channel[(running + 2) % 3] = second;
            colors.append(qRgb(channel[0], channel[1], channel[2]));
        }
    }
    std::mt19937 random(77);
    for (int i = 0; i < 100000; ++i)
        colors.append(QRgb(random() & 0xFFFFFF));
    const Reference::PaletteLab palette = Reference::lab(Palette::defaults());
    const quint8* table = built.table(DitherLut::Ciede2000);
    int differences = 0;
    for (QRgb color : colors)
        differences += table[color & 0xFFFFFF] != Reference::nearestCiede2000(palette, color);
    QCOMPARE(differences, 0);
}

void DitherLutTest::rgbTableEqualsReferenceEverywhere()
{
    const quint8* table = built.table(DitherLut::Rgb);
    const Palette::Colors& palette = Palette::defaults();
    QVector<int> reds(256);
    std::iota(reds.begin(), reds.end(), 0);
    std::atomic<int> differences {0};
    QtConcurrent::blockingMap(reds, [&](int red) {
        int here = 0;
        for (int i = red << 16; i < (red + 1) << 16; ++i)
            here += table[i] != Reference::nearestRgb(palette, QRgb(i));
        differences += here;
    });
    QCOMPARE(differences.load(), 0);
}

void DitherLutTest::nearestReadsTheTables()
{
    for (DitherLut::ColorSpace space : {DitherLut::Rgb, DitherLut::Ciede2000}) {
        QCOMPARE(built.nearest(space, qRgb(0, 0, 0)), quint8(0));
        QCOMPARE(built.nearest(space, qRgb(255, 255, 255)), quint8(1));
        for (int i = 0; i < Palette::size; ++i)
            QCOMPARE(built.nearest(space, Palette::defaults()[i]), quint8(i));
        // The alpha byte is not part of the index.
        QCOMPARE(built.nearest(space, 0x00123456), built.table(space)[0x123456]);
        QCOMPARE(built.nearest(space, 0x80123456), built.table(space)[0x123456]);
    }
    QCOMPARE(built.nearest(DitherLut::Ciede2000, qRgb(0, 0, 255)), quint8(6));
    // The two colour spaces do disagree somewhere.
    QVERIFY(!std::equal(built.table(DitherLut::Rgb), built.table(DitherLut::Rgb) + DitherLut::tableSize,
                        built.table(DitherLut::Ciede2000)));
}

void DitherLutTest::fileHasTheDescribedLayout()
{
    const QByteArray& bytes = validBytes;
    QCOMPARE(readUint32(bytes, 0), 0u);
    QCOMPARE(readUint32(bytes, 4), 12u);
    QCOMPARE(readUint32(bytes, 8), 1u);
    for (int i = 0; i < Palette::size; ++i)
        QCOMPARE(readUint32(bytes, 12 + 4 * i), Palette::defaults()[i] & 0xFFFFFF);
    const int p = int(readUint32(bytes, 76));
    QVERIFY(80 + p + 4 <= bytes.size());
    const int q = int(readUint32(bytes, 80 + p));
    QCOMPARE(bytes.size(), 84 + p + q);
    // The blocks are exactly what qCompress gives at its default level.
    const QByteArray ciede2000 = QByteArray::fromRawData(reinterpret_cast<const char*>(built.table(DitherLut::Ciede2000)),
                                                         DitherLut::tableSize);
    const QByteArray rgb =
        QByteArray::fromRawData(reinterpret_cast<const char*>(built.table(DitherLut::Rgb)), DitherLut::tableSize);
    QCOMPARE(bytes.mid(80, p), qCompress(ciede2000));
    QCOMPARE(bytes.mid(84 + p, q), qCompress(rgb));
}

void DitherLutTest::validFileLoads()
{
    DitherLut loaded;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(loaded.load(path("dither.lut"), Palette::defaults()));
    qInfo("load: %lld ms", timer.elapsed());
    QVERIFY(loaded.isValid());
    QVERIFY(sameTables(loaded, built));
    QCOMPARE(loaded.palette(), withoutAlpha(Palette::defaults()));
    // Writing the loaded tables gives the same file.
    QVERIFY(loaded.save(path("again.lut")));
    QCOMPARE(readFile(path("again.lut")), validBytes);
}

void DitherLutTest::storedAlphaBytesDoNotCount()
{
    QByteArray bytes = validBytes;
    for (int i = 0; i < Palette::size; ++i)
        bytes[12 + 4 * i + 3] = char(0xFF);
    QVERIFY(writeFile(path("alpha.lut"), bytes));
    DitherLut loaded;
    QVERIFY(loaded.load(path("alpha.lut"), Palette::defaults()));
    QVERIFY(sameTables(loaded, built));
    // A palette entry "black with alpha 0" matches a stored black.
    Palette::Colors palette = Palette::defaults();
    palette[0] = 0;
    QVERIFY(loaded.load(path("dither.lut"), palette));
}

FileParts DitherLutTest::validParts() const
{
    FileParts parts;
    parts.head = validBytes.left(76);
    const int p = int(readUint32(validBytes, 76));
    parts.ciede2000 = validBytes.mid(80, p);
    parts.rgb = validBytes.mid(84 + p);
    return parts;
}

QVector<QPair<QString, QByteArray>> DitherLutTest::invalidFiles() const
{
    QVector<QPair<QString, QByteArray>> files;
    const auto add = [&files](const char* name, const QByteArray& bytes) { files.append({QString::fromLatin1(name), bytes}); };
    const FileParts valid = validParts();
    const int p = valid.ciede2000.size();
    const int size = validBytes.size();
    QByteArray bytes;

    bytes = validBytes;
    writeUint32(bytes, 8, 2);
    add("header 0, 12, 2", bytes);
    bytes = validBytes;
    writeUint32(bytes, 0, 1);
    add("header 1, 12, 1", bytes);
    bytes = validBytes;
    writeUint32(bytes, 4, 13);
    add("header 0, 13, 1", bytes);
    bytes = validBytes;
    writeUint32(bytes, 12 + 4 * 7, Palette::defaults()[7] ^ 1);
    add("palette colour 7 differs", bytes);

    add("empty", QByteArray());
    add("ends in the header", validBytes.left(10));
    add("ends in the palette", validBytes.left(60));
    add("ends before the first length", validBytes.left(76));
    add("ends in the first length", validBytes.left(78));
    add("ends in the first block", validBytes.left(80 + p / 2));
    add("ends before the second length", validBytes.left(80 + p));
    add("ends in the second length", validBytes.left(82 + p));
    add("ends in the second block", validBytes.left(84 + p + 10));
    add("one byte short", validBytes.left(size - 1));
    bytes = validBytes;
    writeUint32(bytes, 76, quint32(size));
    add("first length past the end", bytes);
    bytes = validBytes;
    writeUint32(bytes, 76, 0xFFFFFFFFu);
    add("first length 2^32 - 1", bytes);
    bytes = validBytes;
    writeUint32(bytes, 80 + p, quint32(size));
    add("second length past the end", bytes);

    FileParts parts = valid;
    for (int i = p / 2; i < p / 2 + 64; ++i)
        parts.ciede2000[i] = char(parts.ciede2000[i] ^ 0x5A);
    add("first block corrupt", joined(parts));
    parts = valid;
    for (int i = 10; i < parts.rgb.size(); i += 97)
        parts.rgb[i] = char(~parts.rgb[i]);
    add("second block corrupt", joined(parts));
    parts = valid;
    parts.rgb = QByteArray();
    add("second block empty", joined(parts));
    parts = valid;
    parts.ciede2000 = parts.ciede2000.left(3);
    add("first block of three bytes", joined(parts));

    const QByteArray table(DitherLut::tableSize, '\1');
    parts = valid;
    parts.ciede2000 = qCompress(table.left(DitherLut::tableSize - 1));
    add("first block one entry short", joined(parts));
    parts = valid;
    parts.rgb = qCompress(table + QByteArray(1, '\1'));
    add("second block one entry long", joined(parts));
    parts = valid;
    parts.ciede2000 = withAnnouncedLength(qCompress(table.left(1000)), quint32(DitherLut::tableSize));
    add("first block expands to less than announced", joined(parts));
    parts = valid;
    parts.rgb = withAnnouncedLength(qCompress(table + QByteArray(4096, '\1')), quint32(DitherLut::tableSize));
    add("second block expands to more than announced", joined(parts));
    parts = valid;
    parts.ciede2000 = withAnnouncedLength(qCompress(table.left(1000)), 0x7FFFFFF0u);
    add("first block announces 2 GiB", joined(parts));
    QByteArray badEntry = table;
    badEntry[123456] = char(16);
    parts = valid;
    parts.rgb = qCompress(badEntry);
    add("entry 16 in the second block", joined(parts));
    return files;
}

void DitherLutTest::invalidFileIsRejected_data()
{
    QTest::addColumn<QByteArray>("bytes");
    for (const auto& file : invalidFiles())
        QTest::newRow(qPrintable(file.first)) << file.second;
}

void DitherLutTest::invalidFileIsRejected()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(writeFile(path("invalid.lut"), bytes));
    // Tables held before stay as they were.
    DitherLut held = built;
    const quint8* ciede2000 = held.table(DitherLut::Ciede2000);
    const quint8* rgb = held.table(DitherLut::Rgb);
    QVERIFY(!held.load(path("invalid.lut"), Palette::defaults()));
    QVERIFY(held.table(DitherLut::Ciede2000) == ciede2000);
    QVERIFY(held.table(DitherLut::Rgb) == rgb);
    QCOMPARE(held.palette(), withoutAlpha(Palette::defaults()));
    // Without tables there are still none afterwards.
    DitherLut empty;
    QVERIFY(!empty.load(path("invalid.lut"), Palette::defaults()));
    QVERIFY(!empty.isValid());
    QVERIFY(empty.table(DitherLut::Rgb) == nullptr);
}

void DitherLutTest::fileForAnotherPaletteIsRejected()
{
    Palette::Colors other = Palette::defaults();
    other[15] = qRgb(156, 155, 155);
    DitherLut loaded;
    QVERIFY(!loaded.load(path("dither.lut"), other));
    QVERIFY(!loaded.load(path("no such file.lut"), Palette::defaults()));
    QVERIFY(!loaded.isValid());
}

void DitherLutTest::loadOrBuildRebuildsAndRewrites_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QStringList chosen {"header 0, 12, 2", "palette colour 7 differs", "empty", "ends in the second block",
                              "first block corrupt", "first block one entry short", "entry 16 in the second block"};
    for (const auto& file : invalidFiles()) {
        if (chosen.contains(file.first))
            QTest::newRow(qPrintable(file.first)) << file.second;
    }
}

void DitherLutTest::loadOrBuildRebuildsAndRewrites()
{
    QFETCH(QByteArray, bytes);
    const QString file = path("rebuild.lut");
    QVERIFY(writeFile(file, bytes));
    int builds = 0;
    DitherLut tables;
    // The builder hands over the tables built at the start instead of
    // building them again.
    const DitherLut::Origin origin =
        tables.loadOrBuild(file, Palette::defaults(), [&](DitherLut& target, const Palette::Colors& palette) {
            ++builds;
            if (palette == Palette::defaults())
                target = built;
        });
    QCOMPARE(origin, DitherLut::Built);
    QCOMPARE(builds, 1);
    QVERIFY(sameTables(tables, built));
    // The file was written anew and now loads.
    QCOMPARE(readFile(file), validBytes);
    DitherLut loaded;
    QVERIFY(loaded.load(file, Palette::defaults()));
}

void DitherLutTest::loadOrBuildUsesValidFile()
{
    int builds = 0;
    DitherLut tables;
    const DitherLut::Origin origin = tables.loadOrBuild(path("dither.lut"), Palette::defaults(),
                                                        [&](DitherLut&, const Palette::Colors&) { ++builds; });
    QCOMPARE(origin, DitherLut::Loaded);
    QCOMPARE(builds, 0);
    QVERIFY(sameTables(tables, built));
}

void DitherLutTest::unwritableFileStillGivesTables()
{
    const QString file = path("missing folder/dither.lut");
    DitherLut tables;
    const DitherLut::Origin origin =
        tables.loadOrBuild(file, Palette::defaults(), [&](DitherLut& target, const Palette::Colors&) { target = built; });
    QCOMPARE(origin, DitherLut::BuiltNotSaved);
    QVERIFY(tables.isValid());
    QVERIFY(sameTables(tables, built));
    QVERIFY(!QFile::exists(file));
    QVERIFY(!built.save(file));
}

void DitherLutTest::noTablesGiveZeroAndCannotBeSaved()
{
    const DitherLut none;
    QVERIFY(!none.isValid());
    QCOMPARE(none.nearest(DitherLut::Rgb, qRgb(255, 255, 255)), quint8(0));
    QCOMPARE(none.nearest(DitherLut::Ciede2000, qRgb(255, 255, 255)), quint8(0));
    QVERIFY(none.table(DitherLut::Ciede2000) == nullptr);
    QVERIFY(!none.save(path("none.lut")));
    QVERIFY(!QFile::exists(path("none.lut")));
}

void DitherLutTest::currentTablesAreProgramWide()
{
    DitherLut::setCurrent(built);
    QVERIFY(DitherLut::current().isValid());
    QVERIFY(DitherLut::current().table(DitherLut::Ciede2000) == built.table(DitherLut::Ciede2000));
    QCOMPARE(DitherLut::current().nearest(DitherLut::Ciede2000, qRgb(255, 255, 255)), quint8(1));
    DitherLut::setCurrent(DitherLut());
    QVERIFY(!DitherLut::current().isValid());
}

QTEST_GUILESS_MAIN(DitherLutTest)
#include "tst_ditherlut.moc"
