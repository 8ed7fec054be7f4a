// Project files and single-item files: every layout from 0.10.0 on read into
// the project of a data file, the newest one written byte for byte, damaged,
// hostile, foreign and unknown files refused without touching the project,
// round trips of every kind, and files replaced safely.

#include "exchange/projectjson.h"
#include "model/itemfile.h"
#include "model/projectfile.h"
#include "support/core/recordbytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace filetest;

Q_DECLARE_METATYPE(FileVersion)

namespace {

constexpr FileVersion v10 {0, 10, 0}, v11 {0, 11, 0}, v12 {0, 12, 0};
constexpr int projectFile = -1; // in place of an item kind: the bytes are a whole project file
using Status = ProjectReadResult::Status;

// The sample image sets in the layout of a record version. Records before
// 0.12.0 also hold what only older files hold: an image stored short, a key
// that repeats (the later entry counts), a flag byte other than 0 and 1 and
// a name that ends at a zero byte.
Bytes imagesetRecord(const FileVersion& v, Imageset::Type type)
{
    const bool old = v < v12, sprites = type == Imageset::Spriteset;
    const int width = sprites ? 24 : 8, height = sprites ? 21 : 8, size = width * height / 8, t = int(type);
    static const int modes[3] {2, 0, 1}, colors[3][4] {{11, 12, 13, 14}, {0, 5, 10, 15}, {4, 3, 2, 1}};
    Bytes b;
    b.mark("record").version(v).i32(7 - 2 * t);
    if (old && type == Imageset::Charset)
        b.count("name length", 11).raw(QByteArray("Alt\0ignored", 11));
    else
        b.str(QStringList {"Zeichen ★", "Figuren", "Blöcke"}.at(t));
    b.count("image count", 2).i32(0).mark("image width").i32(width).mark("image height").i32(height);
    b.count("image byte count", size).raw(pattern(size, 1 + 2 * t));
    b.mark("slot").i32(255).i32(width).i32(height).count("image byte count", old ? 3 : size);
    b.raw(pattern(old ? 3 : size, 2 + 2 * t));
    b.count("image colour count", old ? 3 : 2);
    if (old)
        b.i32(200).u8(1);
    b.i32(0).u8(9).i32(200).u8(3).mark("mode").i32(modes[t]);
    b.mark("set width").i32(width).i32(height).mark("set byte size").i32(size);
    for (int color : colors[t])
        b.i32(color);
    if (v < v11)
        b.u8(sprites ? 0 : 0x80); // the kind flag: a character set unless 0
    else
        b.mark("type").i32(t).count("block colour count", t / 2).add(t == 2 ? Bytes().i32(5).i32(9).i32(10).i32(11) : Bytes());
    b.f64(QVector<double> {5.25, 1.75, 4.5}.at(t)).u8(t > 0);
    if (!old)
        b.mark("grid width").i32(20 + t).mark("grid height").i32(4 + t);
    b.count("multicolour sprite count", sprites ? 2 : 0).add(sprites ? Bytes().i32(1).i32(255) : Bytes());
    b.mark("red").i32(10 + t).mark("green").i32(20).mark("blue").i32(30).i32(200).i32(100).i32(50).i32(1).i32(2).i32(3);
    b.f64(6.5).count("animation count", t == 0);
    if (t > 0)
        return b;
    b.i32(7).count("frame count", 1).i32(2).i32(1);
    if (old) // one offset pair for all layers
        b.i32(5).i32(-7);
    else
        b.i32(1).i32(-2).i32(3).i32(-4).i32(-5).i32(6).i32(-7).i32(8);
    return b.count("placed image count", 2).i32(1).i32(0).i32(255).mark("layer").i32(2).i32(0).i32(0).i32(0).i32(0);
}

// The sample tile set: before 0.11.0 cells are bytes, a colour byte 255
// empty; before 0.12.0 a tile is stored short.
Bytes tilesetRecord(const FileVersion& v)
{
    const bool old = v < v12, bytes = v < v11;
    Bytes b;
    b.mark("record").version(v).i32(0).str(QString()).i32(0);
    if (!bytes)
        b.u8(0); // made of a block set
    const auto cells = [&](const char* label, const QVector<int>& values) {
        b.count(label, values.size());
        for (int value : values)
            bytes ? b.u8(quint8(value)) : b.i32(value);
    };
    b.count("tile count", 2).mark("tile index").i32(7).mark("tile width").i32(2).mark("tile height").i32(2);
    cells("index count", old ? QVector<int> {5} : QVector<int> {5, 5, 5, 5});
    cells("colour count", old ? QVector<int> {1} : QVector<int> {1, 1, 1, 1});
    b.i32(300).i32(2).i32(2);
    cells("index count", bytes ? QVector<int> {1, 200, 255, 0} : QVector<int> {1, 300, 65535, 0});
    cells("colour count", {bytes ? 255 : -1, 254, 0, 7});
    b.mark("set tile width").i32(2).mark("set tile height").i32(2);
    if (bytes)
        b.i32(99); // a value these versions stored and never used
    return b.f64(1.5).u8(0).u8(old ? 0x80 : 1).mark("grid x").i32(4096).mark("grid y").i32(7);
}

// A screen on tile set 0, stored before 0.12.0 as its plain identifier and
// without colours, or a screen with no source, cells or colours.
Bytes screenRecord(const FileVersion& v, bool filled)
{
    const bool old = v < v12;
    Bytes b;
    b.mark("record").version(v).i32(filled ? 4 : 0).str(filled ? "Level ①" : "N");
    b.i32(filled ? (old ? 0 : SourceRef::tilesetBit) : -1).count("cell count", filled ? (old ? 3 : 2) : 0);
    if (filled && old)
        b.i32(1).i32(0).i32(99);
    if (filled)
        b.mark("cell x").i32(1).mark("cell y").i32(0).i32(300).i32(16383).i32(5).i32(65535);
    if (!old)
        b.count("colour count", filled ? 2 : 0);
    if (filled && !old)
        b.mark("colour x").i32(1).mark("colour y").i32(0).i32(7).i32(2).i32(2).i32(15);
    return b.mark("width").i32(filled ? 16384 : 1).mark("height").i32(filled ? 300 : 1).f64(0.75).u8(0).u8(1);
}

struct Record {
    ItemKind kind;
    QString label;
    Bytes bytes;
};

// The sample items, in file order; block sets exist from 0.11.0 on.
QList<Record> sampleRecords(const FileVersion& v)
{
    QList<Record> records {{ItemKind::Charset, "charset ", imagesetRecord(v, Imageset::Charset)},
                           {ItemKind::Spriteset, "spriteset ", imagesetRecord(v, Imageset::Spriteset)}};
    if (!(v < v11))
        records.append({ItemKind::Blockset, "blockset ", imagesetRecord(v, Imageset::Blockset)});
    records.append({ItemKind::Tileset, "tileset ", tilesetRecord(v)});
    records.append({ItemKind::Screen, "screen ", screenRecord(v, true)});
    records.append({ItemKind::Screen, "empty screen ", screenRecord(v, false)});
    return records;
}

// A project file: the version triple, then per kind a count and the records.
// The header decides the sections (block sets from 0.11.0 on), each record's
// own version its layout.
Bytes sampleFile(const FileVersion& file, const FileVersion& records)
{
    Bytes b;
    b.version(file);
    const QList<Record> all = sampleRecords(records);
    for (ItemKind kind : allItemKinds) {
        if (kind == ItemKind::Blockset && file < v11)
            continue;
        Bytes section;
        int count = 0;
        for (const Record& record : all) {
            if (record.kind == kind) {
                section.add(record.bytes, record.label);
                ++count;
            }
        }
        b.count(QString(kindInfo(kind).reference) + " section", count).add(section);
    }
    return b;
}

QByteArray changed(QByteArray bytes, int offset, qint32 value)
{
    putI32(bytes, offset, value);
    return bytes;
}

qint32 intAt(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

QByteArray recordOf(const Dataset& dataset)
{
    RecordWriter out;
    dataset.save(out);
    return out.bytes();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot open>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void row(const QString& name, const QByteArray& bytes, int kind, Status expected, const QByteArray& written = {})
{
    QTest::newRow(qPrintable(name)) << bytes << kind << int(expected) << written;
}

} // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void layouts_data()
    {
        QTest::addColumn<FileVersion>("file");
        QTest::addColumn<FileVersion>("records");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0.10.0") << v10 << v10 << "0.10.0.json";
        QTest::newRow("0.11.0") << v11 << v11 << "0.11.0.json";
        QTest::newRow("0.12.0") << v12 << v12 << "0.12.0.json";
        QTest::newRow("0.12.0 file of 0.10.0 records") << v12 << v10 << "0.10.0.json";
        QTest::newRow("0.11.0 file of 0.12.0 records") << v11 << v12 << "0.12.0.json";
    }

    // Each layout reads into the project of its data file; each record alone
    // is a single-item file that reads alike into an item, which keeps its
    // own identifier and name. The newest layout is the one written.
    void layouts()
    {
        QFETCH(FileVersion, file);
        QFETCH(FileVersion, records);
        QFETCH(QString, expected);
        const Bytes bytes = sampleFile(file, records);
        Project project;
        const ProjectReadResult result = ProjectFile::parse(bytes.data, project);
        QCOMPARE(result.status, ProjectReadResult::Ok);
        QCOMPARE(result.version, file);
        QFile json(QFINDTESTDATA("../data/projectfile/" + expected));
        QVERIFY(json.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(ProjectJson::dump(project, records)).split('\n'),
                 QString::fromUtf8(json.readAll()).split('\n'));
        if (records == v12)
            QCOMPARE(ProjectFile::serialize(project).mid(12), bytes.data.mid(12));

        int index[5] {};
        for (const Record& record : sampleRecords(records)) {
            const QSharedPointer<Dataset> stored = project.datasets(record.kind).at(index[int(record.kind)]++);
            QVERIFY(writeFile(dir.filePath("item"), record.bytes.data));
            const QSharedPointer<Dataset> item = Project().makeItem(record.kind);
            const QString name = item->name;
            QCOMPARE(ItemFile::read(dir.filePath("item"), *item), ItemFileResult::Ok);
            QCOMPARE(item->name, name);
            QCOMPARE(item->id, 0);
            item->id = stored->id;
            item->name = stored->name;
            QCOMPARE(recordOf(*item), recordOf(*stored));
        }
    }

    // Changing any one stored field of any item makes the projects differ:
    // equality is what tells an edit from none.
    void everyFieldTakesPartInEquality()
    {
        const Bytes newest = sampleFile(v12, v12);
        Project original;
        QVERIFY(ProjectFile::parse(newest.data, original).ok());
        int accepted = 0;
        for (int offset : newest.fields) {
            QByteArray bytes = newest.data;
            bytes[offset] = char(bytes.at(offset) ^ 1);
            Project project;
            if (!ProjectFile::parse(bytes, project).ok())
                continue;
            ++accepted;
            QVERIFY2(!compareProjects(original, project).isEmpty(), qPrintable(QString::number(offset)));
        }
        QVERIFY(accepted > newest.fields.size() / 2);
    }

    void roundTrips()
    {
        // Over a longer file, which is replaced as a whole.
        const QString path = dir.filePath("game.mzprj");
        QVERIFY(writeFile(path, QByteArray(100000, 'x')));
        const Project rich = richProject();
        QVERIFY(ProjectFile::write(path, rich));
        const QByteArray bytes = readFile(path);
        Project read;
        QCOMPARE(ProjectFile::read(path, read).status, ProjectReadResult::Ok);
        QVERIFY2(compareProjects(rich, read).isEmpty(), qPrintable(compareProjects(rich, read)));
        QCOMPARE(ProjectFile::serialize(read), bytes);

        // A single-item file holds the very record a project file holds.
        for (ItemKind kind : allItemKinds) {
            for (const QSharedPointer<Dataset>& item : rich.datasets(kind)) {
                QVERIFY(ItemFile::write(path, *item));
                Project single;
                single.append(kind, item);
                Bytes framed;
                framed.version(v12);
                for (ItemKind k : allItemKinds)
                    k == kind ? framed.i32(1).raw(readFile(path)) : framed.i32(0);
                QCOMPARE(ProjectFile::serialize(single), framed.data);
                const QSharedPointer<Dataset> copy = Project().makeItem(kind);
                QCOMPARE(ItemFile::read(path, *copy), ItemFileResult::Ok);
                copy->id = item->id;
                copy->name = item->name;
                QCOMPARE(recordOf(*copy), recordOf(*item));
            }
        }
        // No temporary file is left beside it.
        QCOMPARE(QDir(dir.path()).entryList({"game*"}, QDir::Files | QDir::Hidden), QStringList {"game.mzprj"});
        // An empty project is the header and five empty sections.
        QCOMPARE(ProjectFile::serialize(Project()).toHex(), QByteArray("000000000c00000000000000").append(40, '0'));
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QByteArray>("written"); // by the project read, when given
        const Bytes newest = sampleFile(v12, v12);
        const QByteArray& data = newest.data;

        // Cut at every field, as a project file and as single-item files.
        for (const FileVersion& v : {v10, v11, v12}) {
            const QString version = QStringLiteral("0.%1.0 ").arg(v.minor);
            const Bytes file = sampleFile(v, v);
            for (int offset : file.fields)
                row(version + "file cut at " + QString::number(offset), file.data.left(offset), projectFile,
                    Status::Malformed);
            for (const Record& record : sampleRecords(v)) {
                const QString name = version + record.label;
                for (int offset : record.bytes.fields)
                    row(name + "cut at " + QString::number(offset), record.bytes.data.left(offset),
                        int(record.kind), Status::Malformed);
                // A record of another class of item does not fit; nothing may follow the record.
                for (ItemKind kind : allItemKinds) {
                    const bool fits = kind == record.kind || (isImagesetKind(kind) && isImagesetKind(record.kind));
                    row(name + "into a " + kindInfo(kind).reference, record.bytes.data, int(kind),
                        fits ? Status::Ok : Status::Malformed);
                }
                row(name + "and a zero byte", record.bytes.data + '\0', int(record.kind), Status::Malformed);
                row(name + "twice", record.bytes.data + record.bytes.data, int(record.kind), Status::Malformed);
                for (const FileVersion& unknown : {FileVersion {0, 12, 1}, FileVersion {0, 9, 9}}) {
                    QByteArray bytes = record.bytes.data;
                    putI32(bytes, 4, unknown.minor);
                    putI32(bytes, 8, unknown.patch);
                    row(name + "of record version 0." + QString::number(unknown.minor), bytes, int(record.kind),
                        Status::Malformed);
                }
            }
        }

        // Counts: zero or less is an empty collection, so a negative count
        // where entries follow leaves them to be misread; a count beyond the
        // bytes that follow is refused before anything is built.
        for (const Bytes::CountPos& pos : newest.counts) {
            const qint32 stored = intAt(data, pos.offset);
            for (qint32 value : {qint32(0x80000000u), stored ? stored + 1 : -1, qint32(data.size()), 0x7FFFFFFF})
                row(QStringLiteral("%1 at %2: %3").arg(pos.label).arg(pos.offset).arg(value),
                    changed(data, pos.offset, value), projectFile,
                    value < 0 && !stored ? Status::Ok : Status::Malformed, data);
        }

        // Fields with a range or a rule of their kind; accepted values are written back as read.
        const QList<QPair<QString, QVector<qint32>>> refused {
            {"charset slot", {-1, 65536}}, {"charset image width", {0, 16, 72}}, {"charset image height", {0, 16}},
            {"charset mode", {-1, 3}}, {"blockset mode", {2}}, {"charset type", {-1, 1, 3}},
            {"blockset type", {3}}, {"charset set width", {16}}, {"charset set byte size", {9}},
            {"spriteset set byte size", {62}}, {"charset grid width", {0, 257}}, {"charset grid height", {0, 257}},
            {"charset red", {-1, 256}}, {"charset green", {-1, 256}}, {"charset blue", {-1, 256}},
            {"charset layer", {-1, 4}}, {"tileset tile index", {-1}}, {"tileset tile width", {0, 3, 257}},
            {"tileset tile height", {0, 3}}, {"tileset set tile width", {1, 257}}, {"tileset set tile height", {0}},
            {"tileset grid x", {0, 4097}}, {"tileset grid y", {0, 4097}}, {"screen cell x", {-1, 16384}},
            {"screen cell y", {-1}}, {"screen colour x", {-1}}, {"screen colour y", {16384}},
            {"screen width", {0, 16385}}, {"screen height", {0, 16385}}};
        const QList<QPair<QString, QVector<qint32>>> accepted {
            {"charset slot", {65535}}, {"charset mode", {0}}, {"blockset type", {0}},
            {"charset grid width", {1, 256}}, {"charset grid height", {1, 256}},
            {"charset red", {0, 255}}, {"charset green", {0, 255}}, {"charset blue", {0, 255}},
            {"charset layer", {0, 3}}, {"tileset tile index", {0}}, {"tileset grid y", {1, 4096}},
            {"screen cell y", {16383}}, {"screen height", {1, 16384}}};
        for (bool ok : {false, true}) {
            for (const auto& field : ok ? accepted : refused) {
                QVERIFY2(newest.marks.contains(field.first), qPrintable(field.first));
                for (qint32 value : field.second) {
                    const QByteArray bytes = changed(data, newest.marks.value(field.first), value);
                    row(field.first + " " + QString::number(value), bytes, projectFile,
                        ok ? Status::Ok : Status::Malformed, bytes);
                }
            }
        }

        // The header's version: only 0.10.0 to 0.12.0 are read, with their sections.
        for (const FileVersion& unknown : {FileVersion {0, 12, 1}, FileVersion {0, 13, 0}, FileVersion {0, 9, 9},
                                           FileVersion {0, 10, -1}, FileVersion {1, 12, 0}, FileVersion {-1, 12, 0}}) {
            QByteArray bytes = changed(changed(data, 0, unknown.major), 4, unknown.minor);
            row(QStringLiteral("file version %1.%2.%3").arg(unknown.major).arg(unknown.minor).arg(unknown.patch),
                changed(bytes, 8, unknown.patch), projectFile, Status::UnknownVersion);
        }
        row("0.10.0 sections under 0.11.0", changed(sampleFile(v10, v10).data, 4, 11), projectFile, Status::Malformed);
        row("0.11.0 sections under 0.10.0", changed(sampleFile(v11, v11).data, 4, 10), projectFile, Status::Malformed);
        for (const QString& record : {"charset ", "spriteset ", "blockset ", "tileset ", "screen ", "empty screen "}) {
            const int offset = newest.marks.value(record + "record");
            row(record + "record 0.13.0", changed(data, offset + 4, 13), projectFile, Status::Malformed);
            row(record + "record 1.12.0", changed(data, offset, 1), projectFile, Status::Malformed);
        }
        row("a zero byte after the file", data + '\0', projectFile, Status::Malformed);
        row("an empty project after the file", data + ProjectFile::serialize(Project()), projectFile,
            Status::Malformed);

        // Tiles stored without cells: storage the file does not fill is limited.
        const auto bareTiles = [](int count) {
            Bytes b;
            b.version(v12).i32(0).i32(0).i32(0).i32(1).version(v12).i32(0).i32(0).i32(-1).u8(1).i32(count);
            for (int index = 0; index < count; ++index)
                b.i32(index).i32(256).i32(256).i32(0).i32(0);
            return b.i32(256).i32(256).f64(3.0).u8(1).u8(1).i32(1).i32(1).i32(0).data;
        };
        row("20000 tiles of 256 x 256 without cells", bareTiles(20000), projectFile, Status::Malformed);
        row("2 tiles of 256 x 256 without cells", bareTiles(2), projectFile, Status::Ok);
    }

    // A refused project file leaves the project as it was.
    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QFETCH(int, expected);
        QFETCH(QByteArray, written);
        if (kind != projectFile) {
            QVERIFY(writeFile(dir.filePath("item"), bytes));
            const QSharedPointer<Dataset> item = Project().makeItem(ItemKind(kind));
            QCOMPARE(ItemFile::read(dir.filePath("item"), *item),
                     expected == ProjectReadResult::Ok ? ItemFileResult::Ok : ItemFileResult::BadFile);
            return;
        }
        const Project before = richProject();
        Project project = before;
        const ProjectReadResult result = ProjectFile::parse(bytes, project);
        QCOMPARE(int(result.status), expected);
        if (bytes.size() >= 12)
            QCOMPARE(result.version, (FileVersion {intAt(bytes, 0), intAt(bytes, 4), intAt(bytes, 8)}));
        if (result.ok() && !written.isEmpty())
            QCOMPARE(ProjectFile::serialize(project), written);
        if (!result.ok()) {
            QVERIFY(project.charsets == before.charsets && project.screens == before.screens);
            QVERIFY(compareProjects(richProject(), project).isEmpty());
        }
    }

    void unreadablePaths()
    {
        for (const QString& path : {dir.filePath("none"), dir.path()}) {
            Project project = richProject();
            QCOMPARE(ProjectFile::read(path, project).status, ProjectReadResult::CannotOpen);
            QVERIFY(compareProjects(richProject(), project).isEmpty());
            Tileset tiles = plainTileset();
            QCOMPARE(ItemFile::read(path, tiles), ItemFileResult::CannotOpen);
            QVERIFY(tiles == plainTileset());
        }
    }

    void failedWriteKeepsPreviousFile_data()
    {
        QTest::addColumn<bool>("item");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("sprites"); // images in the written sprite set
        QTest::newRow("project into a missing directory") << false << "missing" << 3;
        QTest::newRow("item file onto a directory") << true << "directory" << 3;
        // Beyond the stream's buffer, or within it, so that only the last
        // flush fails; the limit holds for every user, root included.
        QTest::newRow("project over the file size limit") << false << "limit" << 300;
        QTest::newRow("item file over the limit within the buffer") << true << "limit" << 120;
        QTest::newRow("item file into a read-only directory") << true << "read-only" << 3;
    }

    void failedWriteKeepsPreviousFile()
    {
        QFETCH(bool, item);
        QFETCH(QString, how);
        QFETCH(int, sprites);
        QTemporaryDir local;
        Imageset set = richSpriteset();
        for (int slot = set.images.size(); slot < sprites; ++slot)
            set.images.insert(slot + 1000, image(24, 21, slot));
        Project project;
        project.spritesets.append(QSharedPointer<Imageset>::create(set));
        const auto write = [&](const QString& path) {
            return item ? ItemFile::write(path, set) : ProjectFile::write(path, project);
        };
        const QByteArray previous = recordOf(plainScreen());
        const QString path = local.filePath(how == "read-only" ? "locked/file" : "file");
        rlimit old;
        QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
        void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
        bool written = true;
        if (how == "missing") {
            written = write(local.filePath("missing/file"));
            QVERIFY(!QFileInfo::exists(local.filePath("missing")));
        } else if (how == "directory") {
            QVERIFY(QDir(local.path()).mkdir("file") && writeFile(path + "/inside", previous));
            written = write(path);
            QCOMPARE(readFile(path + "/inside"), previous);
        } else if (how == "limit") {
            QVERIFY(writeFile(path, previous));
            rlimit limited = old;
            limited.rlim_cur = 4096;
            QVERIFY(setrlimit(RLIMIT_FSIZE, &limited) == 0);
            written = write(path);
            setrlimit(RLIMIT_FSIZE, &old);
            QCOMPARE(readFile(path), previous);
        } else {
            if (geteuid() == 0)
                QSKIP("permissions do not restrict the superuser; the size-limit rows cover this");
            QVERIFY(QDir(local.path()).mkdir("locked") && writeFile(path, previous));
            QVERIFY(QFile::setPermissions(local.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner));
            written = write(path);
            QFile::setPermissions(local.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QCOMPARE(readFile(path), previous);
        }
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!written);
        QCOMPARE(QDir(local.path()).entryList(QDir::Files | QDir::Hidden).size(), how == "limit" ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "tst_projectfile.moc"
