// mosaikon-cli run as a separate program on the projects in tests/data/cli:
// what each command prints or writes, its exit code (0, 1 for a file or item
// it cannot use, 2 for a command line it cannot follow) and its one-line
// error message. Long expected outputs are in tests/data/cli; the pictures
// there have one character per pixel: the palette colour as a hex digit, or
// '.' for a transparent pixel.

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

    bool write(const QString& name, const QByteArray& bytes)
    {
        QFile file(temp.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

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
        QVERIFY(QDir(temp.path()).mkpath(QStringLiteral("blocked/Title_color.bin")));
        QVERIFY(write(QStringLiteral("blocked/Title_data.bin"), "keep"));
    }

    // A command that works: what it prints (only the beginning where the
    // expected text ends in "..."), and the files it writes into out/, as
    // name=bytes in hex, or for a picture name=its text.
    void commands_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QStringList>("files");

        const auto row = [](const QString& line, const QByteArray& out, const QStringList& files = {}) {
            QTest::newRow(qPrintable(line)) << line << out << files;
        };
        const auto data = [](const char* name) { return readFile(datatable::path(QStringLiteral("cli/") + name)); };
        const QString png = QStringLiteral("png p.mzprj ");
        row("--version", "mosaikon-cli " MOSAIKON_VERSION "\n");
        row("--help", "Usage: mosaikon-cli COMMAND [ARGUMENTS]\n...");
        row("list rich.mzprj", data("list.txt"));
        row("dump old.mzprj", data("dump-old.json"));
        row("dump p.mzprj", data("dump-p.json"));
        row("export p.mzprj screen:1 --select 1:0,0:1,0:0 --base dec --per-line 2", data("export-title.asm"));
        row("binary p.mzprj screen:1 --out-dir out --select 1:0,0:1,0:0 --base dec", "",
            {"Title_color.bin=0affff", "Title_data.bin=0102ff", "Title_dataset_id.bin=0100", "Title_height.bin=0200",
             "Title_num_cells.bin=0300", "Title_width.bin=0200"});
        row("upgrade old.mzprj out/new.mzprj", "", {"new.mzprj=" + data("old-upgraded.mzprj").toHex()});
        row(png + "spriteset:3 --out out/s.png", "", {"s.png=" + data("sprites.txt")});
        row(png + "spriteset:3 --out out/s.png --columns 3", "", {"s.png=" + data("sprites-3.txt")});
        row(png + "tileset:0 --out out/t.png", "", {"t.png=" + data("tiles.txt")});
        row(png + "screen:0 --out out/m.png", "", {"m.png=" + data("map.txt")});
        row(png + "screen:1 --out out/t.png", "", {"t.png=" + data("title.txt")});
    }

    void commands()
    {
        QFETCH(QString, line);
        QFETCH(QByteArray, out);
        QFETCH(QStringList, files);
        QDir dir(temp.filePath(QStringLiteral("out")));
        QVERIFY(dir.removeRecursively() && dir.mkpath(QStringLiteral(".")));
        const Run run = runCli(temp.path(), line);
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

    // A command that fails: its exit code, its message, and the output it
    // must not have made. The binary files go all or none: where one cannot
    // be written (in blocked/ a directory has its name), none is written.
    void errors_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("absent");

        const auto row = [](const QString& line, int code, const QString& message, const QString& absent = {}) {
            QTest::newRow(qPrintable(line)) << line << code << message << absent;
        };
        row("list missing.mzprj", 1, "missing.mzprj: cannot open the file");
        row("dump cut.mzprj", 1, "cut.mzprj: not a readable project file (damaged or truncated)");
        row("upgrade v13.mzprj new", 1, "v13.mzprj: unknown version 0.13.0", "new");
        row("export p.mzprj charset:9", 1, "no item charset:9 in the project");
        row("export p.mzprj charset:1/anim:1", 1, "charset:1/anim:1: the set has 1 animation(s)");
        row("binary p.mzprj charset:1/anim:0/frame:1 --out-dir new", 1,
            "charset:1/anim:0/frame:1: the animation has 1 frame(s)", "new");
        row("png p.mzprj font:1 --out new", 2, "'font:1' does not name an item (see mosaikon-cli --help)", "new");
        row("export p.mzprj tileset:0/anim:0", 2, "'tileset:0/anim:0' does not name an item (see mosaikon-cli --help)");
        row("png p.mzprj charset:1/anim:0 --out new", 2, "png draws image sets, tile sets and screens, not animations");
        row("export p.mzprj charset:1 --colour", 2, "unknown option --colour");
        row("binary p.mzprj screen:1 --out-dir new --select 1", 2, "--select: '1' is not a cell x:y", "new");
        row("png p.mzprj charset:1 --out new/x.png", 1, "new/x.png: cannot write the file", "new");
        row("upgrade p.mzprj new/x.mzprj", 1, "new/x.mzprj: cannot write the file", "new");
        row("binary p.mzprj screen:1 --out-dir afile", 1, "afile: cannot create the directory");
        row("binary p.mzprj screen:1 --out-dir blocked", 1, "blocked/Title_color.bin: cannot write the file");
    }

    void errors()
    {
        QFETCH(QString, line);
        QFETCH(int, code);
        QFETCH(QString, message);
        QFETCH(QString, absent);
        const Run run = runCli(temp.path(), line);
        QCOMPARE(QString::fromUtf8(run.err), QStringLiteral("mosaikon-cli: %1\n").arg(message));
        QCOMPARE(run.code, code);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(absent.isEmpty() || !QFileInfo::exists(temp.filePath(absent)), qPrintable(absent));
        QCOMPARE(QDir(temp.filePath(QStringLiteral("blocked"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"Title_color.bin", "Title_data.bin"}));
        QCOMPARE(readFile(temp.filePath(QStringLiteral("blocked/Title_data.bin"))), QByteArray("keep"));
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
