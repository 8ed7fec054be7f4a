// Project files and single-item files: every layout from 0.10.0 on read into
// the project of a data file, the newest one written byte for byte, damaged,
// hostile, foreign and unknown files refused without touching the project,
// round trips of every kind, and files replaced safely.

#include "exchange/projectjson.h"
#include "model/itemfile.h"
#include "model/projectfile.h"
#include "support/core/datatable.h"
#include "support/core/recordbytes.h"
#include "support/core/values.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <sys/resource.h>

using namespace filetest;
using testvalues::readFile;
using testvalues::writeFile;

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
    b.mark("animation zoom").f64(6.5).count("animation count", t == 0);
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
    b.mark("record").version(v).i32(0);
    old ? b.count("name length", 4).raw(QByteArray("\0old", 4)) : b.str(QString());
    b.i32(0);
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
    return b.mark("zoom").f64(1.5).u8(0).u8(old ? 0x80 : 1).mark("grid x").i32(4094).mark("grid y").i32(7);
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
    return b.mark("width").i32(filled ? 16382 : 1).mark("height").i32(filled ? 300 : 1).mark("zoom").f64(0.75).u8(0).u8(1);
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
        const auto ofKind = [kind](const Record& record) { return record.kind == kind; };
        if (kind != ItemKind::Blockset || !(file < v11))
            b.count(QString(kindInfo(kind).reference) + " section", int(std::count_if(all.begin(), all.end(), ofKind)));
        for (const Record& record : all) {
            if (ofKind(record))
                b.add(record.bytes, record.label);
        }
    }
    return b;
}

QByteArray changed(QByteArray bytes, int offset, qint32 value)
{
    putI32(bytes, offset, value);
    return bytes;
}

qint32 intAt(const QByteArray& bytes, int offset) { return qFromLittleEndian<qint32>(bytes.constData() + offset); }

// Where a file is cut short: at the start of every field and a byte before.
QList<int> cutsOf(const Bytes& bytes)
{
    QSet<int> cuts;
    for (int offset : bytes.fields)
        cuts << offset << qMax(0, offset - 1);
    QList<int> sorted = cuts.values();
    std::sort(sorted.begin(), sorted.end());
    return sorted;
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
        QTest::addColumn<int>("fileMinor"); // of the header's version 0.x.0
        QTest::addColumn<int>("recordsMinor");
        for (int minor : {10, 11, 12})
            QTest::newRow(qPrintable(QStringLiteral("0.%1.0").arg(minor))) << minor << minor;
        QTest::newRow("0.12.0 file of 0.10.0 records") << 12 << 10;
        QTest::newRow("0.11.0 file of 0.12.0 records") << 11 << 12;
    }

    // Each layout reads into the project of the data file of its records'
    // version; the newest is the one written.
    void layouts()
    {
        QFETCH(int, fileMinor);
        QFETCH(int, recordsMinor);
        const FileVersion file {0, fileMinor, 0}, records {0, recordsMinor, 0};
        const Bytes bytes = sampleFile(file, records);
        Project project;
        const ProjectReadResult result = ProjectFile::parse(bytes.data, project);
        QCOMPARE(result.status, ProjectReadResult::Ok);
        QCOMPARE(result.version, file);
        QFile json(datatable::path(QStringLiteral("projectfile/0.%1.0.json").arg(recordsMinor)));
        QVERIFY(json.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(ProjectJson::dump(project, records)).split('\n'),
                 QString::fromUtf8(json.readAll()).split('\n'));
        if (records == v12)
            QCOMPARE(ProjectFile::serialize(project).mid(12), bytes.data.mid(12));
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
            for (char bit : {1, 2}) { // the first change that leaves the file valid
                QByteArray bytes = newest.data;
                bytes[offset] = char(bytes.at(offset) ^ bit);
                Project project;
                if (ProjectFile::parse(bytes, project).ok()) {
                    ++accepted;
                    QVERIFY2(!compareProjects(original, project).isEmpty(), qPrintable(QString::number(offset)));
                    break;
                }
            }
        }
        QVERIFY(accepted > newest.fields.size() / 2);
    }

    // The rich project through a file, over a longer one, byte for byte as
    // read; each of its items
    // through a single-item file, which holds the very record a project file
    // holds, into an item that keeps its own identifier and name.
    void roundTrips()
    {
        const QString path = dir.filePath("game.mzprj");
        QVERIFY(writeFile(path, QByteArray(100000, 'x')));
        const Project rich = richProject();
        QVERIFY(ProjectFile::write(path, rich));
        const QByteArray bytes = readFile(path);
        Project read;
        QCOMPARE(ProjectFile::read(path, read).status, ProjectReadResult::Ok);
        QVERIFY2(compareProjects(rich, read).isEmpty(), qPrintable(compareProjects(rich, read)));
        QCOMPARE(bytes, readFile(datatable::path("project/rich.mzprj")));
        for (ItemKind kind : allItemKinds) {
            for (const QSharedPointer<Dataset>& item : rich.datasets(kind)) {
                QVERIFY(ItemFile::write(path, *item));
                const QByteArray record = readFile(path);
                QVERIFY(bytes.contains(record));
                const QSharedPointer<Dataset> copy = Project().makeItem(kind);
                const QString name = copy->name;
                QCOMPARE(ItemFile::read(path, *copy), ItemFileResult::Ok);
                QCOMPARE(copy->name + QString::number(copy->id), name + "0");
                copy->id = item->id;
                copy->name = item->name;
                QVERIFY(ItemFile::write(path, *copy));
                QCOMPARE(readFile(path), record);
            }
        }
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
        // Cut at every field and a byte short of it, of every layout, as a
        // project file and as single-item files; a record of another class
        // of item does not fit, nothing may follow it and its version must
        // be one known.
        for (const FileVersion& v : {v10, v11, v12}) {
            const Bytes file = sampleFile(v, v);
            for (int cut : cutsOf(file))
                row(QStringLiteral("0.%1 file cut at %2").arg(v.minor).arg(cut), file.data.left(cut), projectFile,
                    Status::Malformed);
            for (const Record& record : sampleRecords(v)) {
                const QString name = QStringLiteral("0.%1 ").arg(v.minor) + record.label;
                const QByteArray& bytes = record.bytes.data;
                const int kind = int(record.kind);
                for (int cut : cutsOf(record.bytes))
                    row(name + "cut at " + QString::number(cut), bytes.left(cut), kind, Status::Malformed);
                for (ItemKind target : allItemKinds) {
                    const bool fits = target == record.kind || (isImagesetKind(target) && isImagesetKind(record.kind));
                    row(name + "into a " + kindInfo(target).reference, bytes, int(target),
                        fits ? Status::Ok : Status::Malformed);
                }
                row(name + "and a zero byte", bytes + '\0', kind, Status::Malformed);
                row(name + "twice", bytes + bytes, kind, Status::Malformed);
                row(name + "of version 0.12.1", changed(changed(bytes, 4, 12), 8, 1), kind, Status::Malformed);
                row(name + "of version 0.9.0", changed(bytes, 4, 9), kind, Status::Malformed);
            }
        }

        // Counts: zero or less is an empty collection, so a negative count
        // where entries follow leaves them to be misread; a count beyond the
        // bytes that follow is refused before anything is built.
        const Bytes newest = sampleFile(v12, v12);
        const QByteArray& data = newest.data;
        for (const Bytes::CountPos& pos : newest.counts) {
            const qint32 stored = intAt(data, pos.offset);
            for (qint32 value : {qint32(0x80000000u), stored ? stored + 1 : -1, qint32(data.size()), 0x7FFFFFFF})
                row(QStringLiteral("%1 at %2: %3").arg(pos.label).arg(pos.offset).arg(value),
                    changed(data, pos.offset, value), projectFile, value < 0 && !stored ? Status::Ok : Status::Malformed,
                    data);
        }

        // Fields with a range or a rule of their kind, refused and accepted values.
        for (const QStringList& line : datatable::rows("projectfile/fields.txt")) {
            const QString& field = line.at(0);
            QVERIFY2(newest.marks.contains(field), qPrintable(field));
            const QStringList accepted = line.value(2).split(' ', Qt::SkipEmptyParts);
            for (const QString& value : line.at(1).split(' ') + accepted) {
                const QByteArray bytes = changed(data, newest.marks.value(field), value.toInt());
                row(field + " " + value, bytes, projectFile, accepted.contains(value) ? Status::Ok : Status::Malformed, bytes);
            }
        }

        // Versions: the header's from 0.10.0 to 0.12.0, with their sections; every record's.
        for (const FileVersion& unknown : {FileVersion {0, 12, 1}, FileVersion {0, 13, 0}, FileVersion {0, 9, 9},
                                           FileVersion {0, 10, -1}, FileVersion {1, 12, 0}, FileVersion {-1, 12, 0}})
            row(QStringLiteral("file version %1.%2.%3").arg(unknown.major).arg(unknown.minor).arg(unknown.patch),
                changed(changed(changed(data, 0, unknown.major), 4, unknown.minor), 8, unknown.patch), projectFile,
                Status::UnknownVersion);
        row("0.10 sections under 0.11.0", changed(sampleFile(v10, v10).data, 4, 11), projectFile, Status::Malformed);
        row("0.11 sections under 0.10.0", changed(sampleFile(v11, v11).data, 4, 10), projectFile, Status::Malformed);
        for (const QString& record : {"charset ", "spriteset ", "blockset ", "tileset ", "screen ", "empty screen "}) {
            const int offset = newest.marks.value(record + "record");
            row(record + "record 0.13.0", changed(data, offset + 4, 13), projectFile, Status::Malformed);
            row(record + "record 1.12.0", changed(data, offset, 1), projectFile, Status::Malformed);
        }
        row("a zero byte after the file", data + '\0', projectFile, Status::Malformed);
        row("a project after the file", data + ProjectFile::serialize(Project()), projectFile, Status::Malformed);

        // Tiles stored without cells: the storage a file does not fill is limited.
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

    // A zoom that is no finite number reads as the view's default.
    void nonFiniteZooms()
    {
        const Bytes newest = sampleFile(v12, v12);
        for (const double stored : {std::nan(""), HUGE_VAL}) {
            QByteArray bytes = newest.data;
            for (const char* field : {"charset animation zoom", "tileset zoom", "screen zoom"})
                std::memcpy(bytes.data() + newest.marks.value(field), &stored, sizeof stored);
            Project project;
            QVERIFY(ProjectFile::parse(bytes, project).ok());
            QCOMPARE(project.charsets.first()->animations.zoom, 4.0);
            QCOMPARE(project.tilesets.first()->zoom, 3.0);
            QCOMPARE(project.screens.first()->zoom, 3.0);
        }
    }

    // A pipe (or a device) is written as it is, never replaced by a file.
    void writesIntoAPipe()
    {
        const QString path = dir.filePath("pipe");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        const int reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        const Project project = richProject();
        QVERIFY(ProjectFile::write(path, project));
        QByteArray read(100000, '\0');
        const ssize_t count = ::read(reader, read.data(), size_t(read.size()));
        ::close(reader);
        QCOMPARE(read.left(int(count)), ProjectFile::serialize(project));
        QVERIFY(!QFileInfo(path).isFile());
        Project none;
        QCOMPARE(ProjectFile::read(path, none).status, ProjectReadResult::CannotOpen); // no regular file
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

    void failedWrite_data()
    {
        QTest::addColumn<bool>("item");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("sprites"); // images of the sprite set written
        QTest::newRow("project into a missing directory") << false << "missing/file" << 3;
        QTest::newRow("item file onto a directory") << true << "." << 3;
        // The file size limit holds for every user; a write within the
        // stream's buffer fails only when flushed.
        QTest::newRow("project beyond the file size limit") << false << "file" << 300;
        QTest::newRow("item file beyond the limit, within the buffer") << true << "file" << 120;
    }

    // A failed write leaves the previous file as it was and nothing beside it.
    void failedWrite()
    {
        QFETCH(bool, item);
        QFETCH(QString, target);
        QFETCH(int, sprites);
        Imageset set = richSpriteset();
        for (int slot = 3; slot < sprites; ++slot)
            set.images.insert(slot + 1000, image(24, 21, slot));
        Project project;
        project.spritesets = {QSharedPointer<Imageset>::create(set)};
        QTemporaryDir local;
        QVERIFY(writeFile(local.filePath("file"), "old"));
        rlimit old;
        QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
        rlimit limited {4096, old.rlim_max};
        void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limited) == 0);
        const QString path = local.filePath(target);
        const bool written = item ? ItemFile::write(path, set) : ProjectFile::write(path, project);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!written);
        QCOMPARE(QDir(local.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList {"file"});
        QCOMPARE(readFile(local.filePath("file")), QByteArray("old"));
    }
};

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "tst_projectfile.moc"
