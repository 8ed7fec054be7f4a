// Single-item files: one dataset record, nothing before or after it. An
// imported item keeps its own identifier and name; everything else comes
// from the file. Damaged, foreign or newer files are refused.

#include "model/itemfile.h"
#include "model/projectfile.h"
#include "support/core/recordbytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace filetest;

Q_DECLARE_METATYPE(ItemKind)

namespace {

QSharedPointer<Dataset> original(ItemKind kind)
{
    switch (kind) {
    case ItemKind::Charset: {
        auto set = QSharedPointer<Imageset>::create(richCharset());
        set->id = 2;
        return set;
    }
    case ItemKind::Spriteset:
        return QSharedPointer<Imageset>::create(richSpriteset());
    case ItemKind::Blockset:
        return QSharedPointer<Imageset>::create(richBlockset());
    case ItemKind::Tileset:
        return QSharedPointer<Tileset>::create(richTileset());
    case ItemKind::Screen:
        return QSharedPointer<Screen>::create(richScreen());
    }
    return {};
}

// A fresh dataset of the class that holds the kind, with its own identity.
QSharedPointer<Dataset> fresh(ItemKind kind, qint32 id, const QString& name)
{
    QSharedPointer<Dataset> item;
    switch (kind) {
    case ItemKind::Charset:
        item = QSharedPointer<Imageset>::create(0, QString(), 8, 8, Imageset::Charset);
        break;
    case ItemKind::Spriteset:
        item = QSharedPointer<Imageset>::create(0, QString(), 24, 21, Imageset::Spriteset);
        break;
    case ItemKind::Blockset:
        item = QSharedPointer<Imageset>::create(0, QString(), 8, 8, Imageset::Blockset);
        break;
    case ItemKind::Tileset:
        item = QSharedPointer<Tileset>::create();
        break;
    case ItemKind::Screen:
        item = QSharedPointer<Screen>::create();
        break;
    }
    item->id = id;
    item->name = name;
    return item;
}

bool isImageset(ItemKind kind)
{
    return kind == ItemKind::Charset || kind == ItemKind::Spriteset || kind == ItemKind::Blockset;
}

// Field-by-field equality of two datasets of the same class.
bool sameDataset(ItemKind kind, const Dataset& a, const Dataset& b)
{
    if (isImageset(kind))
        return static_cast<const Imageset&>(a) == static_cast<const Imageset&>(b);
    if (kind == ItemKind::Tileset)
        return static_cast<const Tileset&>(a) == static_cast<const Tileset&>(b);
    return static_cast<const Screen&>(a) == static_cast<const Screen&>(b);
}

// A copy of the dataset in a fresh object of its class.
QSharedPointer<Dataset> copyOf(ItemKind kind, const Dataset& dataset)
{
    if (isImageset(kind))
        return QSharedPointer<Imageset>::create(static_cast<const Imageset&>(dataset));
    if (kind == ItemKind::Tileset)
        return QSharedPointer<Tileset>::create(static_cast<const Tileset&>(dataset));
    return QSharedPointer<Screen>::create(static_cast<const Screen&>(dataset));
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
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot open>");
    return file.readAll();
}

bool writeRawFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void addKindRows()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::newRow("charset") << ItemKind::Charset;
    QTest::newRow("spriteset") << ItemKind::Spriteset;
    QTest::newRow("blockset") << ItemKind::Blockset;
    QTest::newRow("tileset") << ItemKind::Tileset;
    QTest::newRow("screen") << ItemKind::Screen;
}

} // namespace

class ItemFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString writeRecordFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        if (!writeRawFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void exportAndImport_data() { addKindRows(); }

    void exportAndImport()
    {
        QFETCH(ItemKind, kind);
        const QSharedPointer<Dataset> item = original(kind);
        const QString path = dir.filePath(QStringLiteral("export-%1").arg(kindInfo(kind).extension));
        QVERIFY(ItemFile::write(path, *item));

        // The file is exactly the item's record: the version triple 0, 12, 0
        // first, then the identifier and name, nothing before or after ...
        const QByteArray bytes = readFile(path);
        QCOMPARE(bytes, recordOf(*item));
        Bytes head;
        head.version(0, 12, 0).i32(item->id).str(item->name);
        QCOMPARE(bytes.left(head.size()), head.data);
        // ... which is the very record a project file holds for it: the
        // project of this one item is the header, the sections before it as
        // zero counts, the count 1, this record and zero counts after it.
        Project single;
        single.append(kind, item);
        Bytes framed;
        framed.version(0, 12, 0);
        for (ItemKind k : allItemKinds) {
            if (k == kind)
                framed.i32(1).raw(bytes);
            else
                framed.i32(0);
        }
        QCOMPARE(ProjectFile::serialize(single), framed.data);

        // Imported into a project holding items 0 to 4 of the kind, the item
        // becomes number 5 with the default name; every other field comes
        // from the file.
        Project project;
        for (int i = 0; i < 5; ++i)
            project.addItem(kind, 2, 3);
        const QSharedPointer<Dataset> imported = project.addItem(kind, 2, 3);
        QCOMPARE(imported->id, 5);
        const QString defaultName = Project::defaultName(kind, 5);
        QCOMPARE(imported->name, defaultName);
        QVERIFY(imported->id != item->id);
        QVERIFY(imported->name != item->name);

        QCOMPARE(ItemFile::read(path, *imported), ItemFileResult::Ok);
        QCOMPARE(imported->id, 5);
        QCOMPARE(imported->name, defaultName);
        const QSharedPointer<Dataset> expected = copyOf(kind, *item);
        expected->id = 5;
        expected->name = defaultName;
        QVERIFY(sameDataset(kind, *expected, *imported));
        // The item was not equal to the file's content before the import.
        QVERIFY(!sameDataset(kind, *expected, *fresh(kind, 5, defaultName)));
    }

    void importKeepsOwnIdentityWhateverTheFileHolds()
    {
        // Identifier and name of the file are not used, also when they are
        // empty or negative.
        Screen screen = plainScreen();
        screen.id = -1;
        screen.name.clear();
        const QString path = dir.filePath("anonymous.mzscreen");
        QVERIFY(ItemFile::write(path, screen));
        Screen target;
        target.id = 12;
        target.name = QStringLiteral("Bildschirm ä");
        QCOMPARE(ItemFile::read(path, target), ItemFileResult::Ok);
        QCOMPARE(target.id, 12);
        QCOMPARE(target.name, QStringLiteral("Bildschirm ä"));
        QCOMPARE(target.sourceRef, screen.sourceRef);
        QCOMPARE(target.cellIndexes, screen.cellIndexes);
        QCOMPARE(target.cellColors, screen.cellColors);
        QCOMPARE(target.width, 40);
    }

    void imagesetTypeComesFromFile()
    {
        // The file does not say which kind it holds; an image set takes its
        // type from the record, whatever list it is imported into.
        const QString path = dir.filePath("chars.mzchar");
        QVERIFY(ItemFile::write(path, richCharset()));
        Imageset sprites(9, QStringLiteral("Spriteset 09"), 24, 21, Imageset::Spriteset);
        QCOMPARE(ItemFile::read(path, sprites), ItemFileResult::Ok);
        QCOMPARE(sprites.type, Imageset::Charset);
        QCOMPARE(sprites.imageWidth, 8);
        QCOMPARE(sprites.selectorGridWidth, 32);
        QCOMPARE(sprites.id, 9);
    }

    void readsOlderRecord()
    {
        // A 0.10.0 tile-set record: bytes for cells, colour byte 255 is an
        // empty cell, an obsolete value after the tile size, no charset flag.
        Bytes b;
        b.version(0, 10, 0).i32(6).str("alt");
        b.i32(2).i32(1).i32(4).i32(1).i32(2).i32(2).u8(9).u8(255).i32(2).u8(255).u8(254);
        b.i32(1).i32(2).i32(0).f64(2.0).u8(1).u8(0).i32(3).i32(4);
        const QString path = writeRecordFile("old.mztiles", b.data);
        Tileset target;
        target.id = 1;
        target.imagesetIsCharset = false;
        QCOMPARE(ItemFile::read(path, target), ItemFileResult::Ok);
        QCOMPARE(target.id, 1);
        QCOMPARE(target.imagesetId, 2);
        QVERIFY(target.imagesetIsCharset);
        QCOMPARE(target.tiles.value(4).indexes, (QVector<int> {9, 255}));
        QCOMPARE(target.tiles.value(4).colors, (QVector<int> {-1, 254}));
        QCOMPARE(target.gridSizeX, 3);
        QCOMPARE(target.gridSizeY, 4);
    }

    void rejectsUnknownRecordVersion_data()
    {
        QTest::addColumn<ItemKind>("kind");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("patch");
        const QList<QPair<const char*, ItemKind>> kinds {{"charset", ItemKind::Charset},
                                                         {"spriteset", ItemKind::Spriteset},
                                                         {"blockset", ItemKind::Blockset},
                                                         {"tileset", ItemKind::Tileset},
                                                         {"screen", ItemKind::Screen}};
        for (const auto& k : kinds) {
            QTest::newRow(qPrintable(QString("%1 0.13.0").arg(k.first))) << k.second << 0 << 13 << 0;
            QTest::newRow(qPrintable(QString("%1 0.12.1").arg(k.first))) << k.second << 0 << 12 << 1;
            QTest::newRow(qPrintable(QString("%1 1.0.0").arg(k.first))) << k.second << 1 << 0 << 0;
            QTest::newRow(qPrintable(QString("%1 0.9.9").arg(k.first))) << k.second << 0 << 9 << 9;
        }
    }

    void rejectsUnknownRecordVersion()
    {
        QFETCH(ItemKind, kind);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, patch);
        QByteArray bytes = recordOf(*original(kind));
        // An otherwise valid record, as a newer program might write it.
        putI32(bytes, 0, major);
        putI32(bytes, 4, minor);
        putI32(bytes, 8, patch);
        const QString path = writeRecordFile("newer", bytes);
        QCOMPARE(ItemFile::read(path, *fresh(kind, 5, "x")), ItemFileResult::BadFile);
        // The unchanged record is read.
        putI32(bytes, 0, 0);
        putI32(bytes, 4, 12);
        putI32(bytes, 8, 0);
        writeRecordFile("newer", bytes);
        QCOMPARE(ItemFile::read(path, *fresh(kind, 5, "x")), ItemFileResult::Ok);
    }

    void rejectsEveryTruncation_data() { addKindRows(); }

    void rejectsEveryTruncation()
    {
        QFETCH(ItemKind, kind);
        const QByteArray bytes = recordOf(*original(kind));
        const QString path = dir.filePath("truncated");
        for (int length = 0; length < bytes.size(); ++length) {
            QVERIFY(writeRawFile(path, bytes.left(length)));
            const ItemFileResult result = ItemFile::read(path, *fresh(kind, 5, "x"));
            if (result != ItemFileResult::BadFile)
                QFAIL(qPrintable(QStringLiteral("prefix of %1 of %2 bytes gave %3")
                                     .arg(length)
                                     .arg(bytes.size())
                                     .arg(int(result))));
        }
        QVERIFY(writeRawFile(path, bytes));
        QCOMPARE(ItemFile::read(path, *fresh(kind, 5, "x")), ItemFileResult::Ok);
    }

    void rejectsTrailingBytes_data()
    {
        QTest::addColumn<ItemKind>("kind");
        QTest::addColumn<QByteArray>("tail");
        const QList<QPair<const char*, ItemKind>> kinds {{"charset", ItemKind::Charset},
                                                         {"spriteset", ItemKind::Spriteset},
                                                         {"blockset", ItemKind::Blockset},
                                                         {"tileset", ItemKind::Tileset},
                                                         {"screen", ItemKind::Screen}};
        for (const auto& k : kinds) {
            QTest::newRow(qPrintable(QString("%1 + zero byte").arg(k.first))) << k.second << QByteArray(1, '\0');
            QTest::newRow(qPrintable(QString("%1 + i32").arg(k.first))) << k.second << QByteArray(4, '\x01');
            // Two records in one file are not a single-item file.
            QTest::newRow(qPrintable(QString("%1 + its record again").arg(k.first)))
                << k.second << recordOf(*original(k.second));
        }
    }

    void rejectsTrailingBytes()
    {
        QFETCH(ItemKind, kind);
        QFETCH(QByteArray, tail);
        const QString path = writeRecordFile("trailing", recordOf(*original(kind)) + tail);
        QCOMPARE(ItemFile::read(path, *fresh(kind, 5, "x")), ItemFileResult::BadFile);
    }

    void rejectsWrongKind_data()
    {
        QTest::addColumn<ItemKind>("fileKind");
        QTest::addColumn<ItemKind>("targetKind");
        QTest::addColumn<bool>("plain");
        const QList<QPair<const char*, ItemKind>> kinds {{"charset", ItemKind::Charset},
                                                         {"spriteset", ItemKind::Spriteset},
                                                         {"blockset", ItemKind::Blockset},
                                                         {"tileset", ItemKind::Tileset},
                                                         {"screen", ItemKind::Screen}};
        for (const auto& from : kinds) {
            for (const auto& to : kinds) {
                const bool sameClass = (isImageset(from.second) && isImageset(to.second))
                    || from.second == to.second;
                if (sameClass)
                    continue;
                for (bool plain : {false, true})
                    QTest::newRow(qPrintable(QString("%1%2 file into %3")
                                                 .arg(plain ? "plain " : "")
                                                 .arg(from.first)
                                                 .arg(to.first)))
                        << from.second << to.second << plain;
            }
        }
    }

    void rejectsWrongKind()
    {
        QFETCH(ItemKind, fileKind);
        QFETCH(ItemKind, targetKind);
        QFETCH(bool, plain);
        QSharedPointer<Dataset> item = original(fileKind);
        if (plain) {
            if (fileKind == ItemKind::Tileset)
                item = QSharedPointer<Tileset>::create(plainTileset());
            else if (fileKind == ItemKind::Screen)
                item = QSharedPointer<Screen>::create(plainScreen());
            else
                item = QSharedPointer<Imageset>::create(plainCharset());
        }
        const QString path = dir.filePath("foreign");
        QVERIFY(ItemFile::write(path, *item));
        QCOMPARE(ItemFile::read(path, *fresh(targetKind, 5, "x")), ItemFileResult::BadFile);
    }

    void rejectsHostileCounts_data()
    {
        QTest::addColumn<ItemKind>("kind");
        QTest::addColumn<int>("offset");
        QTest::addColumn<qint32>("value");
        // The name count follows the version and the identifier; the first
        // collection count follows the name ("Figuren", 7 bytes) for the
        // sprite set, the screen's source reference for the screen.
        const int imageCount = 20 + richSpriteset().name.toUtf8().size();
        const int cellCount = 20 + richScreen().name.toUtf8().size() + 4;
        QTest::newRow("name count 0x7FFFFFFF") << ItemKind::Spriteset << 16 << qint32(0x7FFFFFFF);
        QTest::newRow("image count 0x7FFFFFFF") << ItemKind::Spriteset << imageCount << qint32(0x7FFFFFFF);
        QTest::newRow("image count 0x80000000") << ItemKind::Spriteset << imageCount << qint32(0x80000000u);
        QTest::newRow("cell count 0x7FFFFFFF") << ItemKind::Screen << cellCount << qint32(0x7FFFFFFF);
        QTest::newRow("cell count 0x80000000") << ItemKind::Screen << cellCount << qint32(0x80000000u);
    }

    void rejectsHostileCounts()
    {
        QFETCH(ItemKind, kind);
        QFETCH(int, offset);
        QFETCH(qint32, value);
        QByteArray bytes = recordOf(*original(kind));
        // Make sure the offset is the count meant: the name's 7 bytes, 3
        // images, 4 cells.
        const qint32 stored = qFromLittleEndian<qint32>(bytes.constData() + offset);
        QVERIFY2(stored == 7 || stored == 3 || stored == 4, qPrintable(QString::number(stored)));
        putI32(bytes, offset, value);
        const QString path = writeRecordFile("hostile", bytes);
        QCOMPARE(ItemFile::read(path, *fresh(kind, 5, "x")), ItemFileResult::BadFile);
    }

    void missingFileCannotBeOpened()
    {
        Tileset target = plainTileset();
        const Tileset before = target;
        QCOMPARE(ItemFile::read(dir.filePath("no such file.mztiles"), target), ItemFileResult::CannotOpen);
        // Nothing was read, so nothing changed.
        QVERIFY(target == before);
        QCOMPARE(ItemFile::read(dir.path(), target), ItemFileResult::CannotOpen);
        QVERIFY(target == before);
    }

    void exportReplacesExistingFile()
    {
        const QString path = dir.filePath("replace.mzscreen");
        QVERIFY(writeRawFile(path, QByteArray(50000, 'z')));
        const Screen screen = plainScreen();
        QVERIFY(ItemFile::write(path, screen));
        QCOMPARE(readFile(path), recordOf(screen));
    }

    void failedExportLeavesPreviousFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("missing directory") << "missing";
        QTest::newRow("target is a directory") << "directory";
        QTest::newRow("file size limit reached") << "size limit";
        QTest::newRow("read-only directory") << "read-only";
    }

    void failedExportLeavesPreviousFile()
    {
        QFETCH(QString, how);
        QTemporaryDir local;
        QVERIFY(local.isValid());
        const QByteArray previous = recordOf(plainScreen());
        // A sprite set with enough data to exceed every limit used below.
        Imageset big = richSpriteset();
        for (int slot = 2; slot < 300; ++slot)
            big.images.insert(slot, image(24, 21, slot));
        const QByteArray bigBytes = recordOf(big);
        QVERIFY(bigBytes.size() > 16 * 1024);
        bool written = true;

        if (how == "missing") {
            const QString path = local.filePath("absent/sprites.mzsprites");
            written = ItemFile::write(path, big);
            QVERIFY(!QFileInfo::exists(local.filePath("absent")));
        } else if (how == "directory") {
            const QString path = local.filePath("sprites.mzsprites");
            QVERIFY(QDir(local.path()).mkdir("sprites.mzsprites"));
            QVERIFY(writeRawFile(path + "/inside", previous));
            written = ItemFile::write(path, big);
            QVERIFY(QFileInfo(path).isDir());
            QCOMPARE(readFile(path + "/inside"), previous);
        } else if (how == "size limit") {
            // No file may grow beyond 4096 bytes, as on a full disk; this
            // holds for every user, root included.
            const QString path = local.filePath("sprites.mzsprites");
            QVERIFY(writeRawFile(path, previous));
            QVERIFY(previous.size() < 4096);
            rlimit old;
            QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
            rlimit limited = old;
            limited.rlim_cur = 4096;
            void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
            // Both a write larger than the stream's buffer and one that only
            // fills it must fail.
            const bool largeWritten = ItemFile::write(path, big);
            Imageset medium = richSpriteset();
            for (int slot = 2; slot < 120; ++slot)
                medium.images.insert(slot, image(24, 21, slot));
            const int mediumSize = recordOf(medium).size();
            const bool mediumWritten = ItemFile::write(path, medium);
            setrlimit(RLIMIT_FSIZE, &old);
            std::signal(SIGXFSZ, oldHandler);
            QVERIFY2(mediumSize > 4096 && mediumSize < 16 * 1024, qPrintable(QString::number(mediumSize)));
            QVERIFY(!largeWritten);
            written = mediumWritten;
            QCOMPARE(readFile(path), previous);
        } else {
            if (geteuid() == 0)
                QSKIP("permissions do not restrict the superuser; the size-limit row covers this");
            const QString sub = local.filePath("locked");
            QVERIFY(QDir(local.path()).mkdir("locked"));
            const QString path = sub + "/sprites.mzsprites";
            QVERIFY(writeRawFile(path, previous));
            QVERIFY(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
            written = ItemFile::write(path, big);
            QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QCOMPARE(readFile(path), previous);
        }
        QVERIFY(!written);
        QStringList left = QDir(local.path()).entryList(QDir::Files | QDir::Hidden);
        left.removeAll("sprites.mzsprites");
        QVERIFY2(left.isEmpty(), qPrintable(left.join(", ")));
    }
};

QTEST_GUILESS_MAIN(ItemFileTest)
#include "tst_itemfile.moc"
