// mosaikon-cli run as a separate program on the projects in tests/data/cli:
// what each command prints or writes, its exit code (0, 1 for a file or item
// it cannot use, 2 for a command line it cannot follow) and its one-line
// error message. The rows and the long expected outputs are in tests/data/cli;
// the pictures there have one character per pixel: the palette colour as a
// hex digit, or '.' for a transparent pixel.

#include "model/palette.h"
#include "model/projectfile.h"
#include "model/version.h"
#include "support/core/recordbytes.h"
#include "support/core/values.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using filetest::Bytes;
using testvalues::readFile;

namespace {

struct Run { int code; QByteArray out, err; };

// Runs the program in the directory on the words of the line.
Run runCli(const QString& directory, const QString& line)
{
    QProcess process;
    process.setWorkingDirectory(directory);
    process.start(QStringLiteral(MOSAIKON_CLI), line.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    const bool finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray picture(const QString& path)
{
    const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
    const auto& palette = Palette::defaults();
    QByteArray text;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const long color = std::find(palette.begin(), palette.end(), pixel) - palette.begin();
            text += qAlpha(pixel) == 0 ? '.' : color < 16 ? "0123456789abcdef"[color] : '?';
        }
        text += '\n';
    }
    return text;
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

    QTemporaryDir temp;

    bool write(const QString& name, const QByteArray& bytes) { return testvalues::writeFile(temp.filePath(name), bytes); }

private slots:
    // p.mzprj: a multicolour character set (its characters hi-res in colours
    // 0-7) with one animation of one frame; a hi-res and a multicolour
    // sprite; a tile set of 2 x 3 characters; screens on the tile set and on
    // the character set. old.mzprj: one screen in the 0.10 layout, naming its
    // tile set by the plain identifier 2.
    void initTestCase()
    {
        QVERIFY(temp.isValid());
        for (const QString& name : {"p.mzprj", "old.mzprj"})
            QVERIFY(QFile::copy(datatable::path("cli/" + name), temp.filePath(name)));
        const QByteArray sample = readFile(temp.filePath("p.mzprj"));
        Project rich = filetest::richProject();
        rich.charsets[1]->name = QStringLiteral("a\tb\nc\rd"); // would break the line format
        QVERIFY(write(QStringLiteral("rich.mzprj"), ProjectFile::serialize(rich)));
        QVERIFY(write(QStringLiteral("cut.mzprj"), sample.left(13)));
        QVERIFY(write(QStringLiteral("v13.mzprj"), Bytes().version(0, 13, 0).data + sample.mid(12)));
        QVERIFY(write(QStringLiteral("afile"), "keep"));
        // A small file naming a huge screen, a grid of 4096 x 4096 tiles and
        // a grid of 17 tiles of 256 x 256 cells.
        Project huge;
        huge.addItem(ItemKind::Screen).staticCast<Screen>()->width = 16384;
        huge.screens.first()->height = 16384;
        huge.addItem(ItemKind::Tileset).staticCast<Tileset>()->gridSizeX = 4096;
        huge.tilesets.first()->gridSizeY = 4096;
        huge.addItem(ItemKind::Tileset, 256, 256).staticCast<Tileset>()->gridSizeX = 17;
        QVERIFY(write(QStringLiteral("huge.mzprj"), ProjectFile::serialize(huge)));
        // Pictures to import: a logo in two colours with a blue bar, a
        // colour ramp, a strip too tall for one slot, and no picture at all.
        QImage logo(32, 16, QImage::Format_RGB32);
        QImage ramp(48, 21, QImage::Format_RGB32);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 48; ++x) {
                if (y < 16 && x < 32)
                    logo.setPixel(x, y, y >= 12 ? qRgb(0x35, 0x28, 0x79) : (x / 4 + y / 4) % 2 ? qRgb(255, 255, 255) : qRgb(0x68, 0x37, 0x2b));
                ramp.setPixel(x, y, qRgb(x * 5, y * 12, 255 - x * 5));
            }
        QVERIFY(logo.save(temp.filePath(QStringLiteral("logo.png"))) && ramp.save(temp.filePath(QStringLiteral("ramp.bmp"))));
        QVERIFY(QImage(1, 4000, QImage::Format_RGB32).save(temp.filePath(QStringLiteral("tall.png"))));
        QVERIFY(write(QStringLiteral("bad.png"), "not a picture"));
        QVERIFY(QDir(temp.path()).mkpath(QStringLiteral("blocked/Title_color.bin")));
        QVERIFY(write(QStringLiteral("blocked/Title_data.bin"), "keep"));
    }

    void commands_data() { datatable::addRows("cli/commands.txt"); }

    void commands()
    {
        QFETCH(QStringList, fields);
        const auto expected = [](const QString& text) {
            return text.startsWith('@') ? readFile(datatable::path("cli/" + text.mid(1)))
                                        : text.toUtf8().replace("\\n", "\n").replace("{version}", MOSAIKON_VERSION);
        };
        const QByteArray out = expected(fields[0]);
        QStringList files;
        for (const QString& file : fields[1].split(' ', Qt::SkipEmptyParts)) {
            const QString value = file.section('=', 1);
            files << file.section('=', 0, 0) + '='
                    + (value.startsWith('@') && !file.contains(".png") ? expected(value).toHex() : expected(value));
        }
        QDir dir(temp.filePath(QStringLiteral("out")));
        QVERIFY(dir.removeRecursively() && dir.mkpath(QStringLiteral(".")));
        const Run run = runCli(temp.path(), QTest::currentDataTag());
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.code, 0);
        QCOMPARE(out.endsWith("...") ? run.out.left(out.size() - 3) + "..." : run.out, out);
        QStringList written;
        for (const QString& name : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name)) {
            const QString path = dir.filePath(name);
            written << name + '=' + (name.endsWith(".png") ? picture(path) : readFile(path).toHex());
        }
        QCOMPARE(written, files);
    }

    // A picture imported into a set: the line printed, and the set written
    // as its export shows it.
    void imports_data() { datatable::addRows("cli/imports.txt"); }

    void imports()
    {
        QFETCH(QStringList, fields);
        QVERIFY(QFile::copy(temp.filePath(QStringLiteral("p.mzprj")), temp.filePath(QStringLiteral("in.mzprj"))));
        const Run run = runCli(temp.path(), QTest::currentDataTag());
        const Run exported = runCli(temp.path(), fields[1]);
        QVERIFY(QFile::remove(temp.filePath(QStringLiteral("in.mzprj"))));
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, fields[0].toUtf8() + '\n');
        QCOMPARE(exported.code, 0);
        QCOMPARE(exported.out, readFile(datatable::path("cli/" + fields[2])));
    }

    void errors_data() { datatable::addRows("cli/errors.txt"); }

    void errors()
    {
        QFETCH(QStringList, fields);
        const QString absent = fields.value(2);
        const Run run = runCli(temp.path(), QTest::currentDataTag());
        QCOMPARE(QString::fromUtf8(run.err), QStringLiteral("mosaikon-cli: %1\n").arg(fields[1]));
        QCOMPARE(run.code, fields[0].toInt());
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(absent.isEmpty() || !QFileInfo::exists(temp.filePath(absent)), qPrintable(absent));
        QCOMPARE(QDir(temp.filePath(QStringLiteral("blocked"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"Title_color.bin", "Title_data.bin"}));
        QCOMPARE(readFile(temp.filePath(QStringLiteral("blocked/Title_data.bin"))), QByteArray("keep"));
    }

    // Output that cannot be written fails the command.
    void fullOutput()
    {
        QProcess process;
        process.setWorkingDirectory(temp.path());
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(QStringLiteral(MOSAIKON_CLI), {QStringLiteral("dump"), QStringLiteral("p.mzprj")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.readAllStandardError(), QByteArray("mosaikon-cli: cannot write the output\n"));
        QCOMPARE(process.exitCode(), 1);
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
