// Exported text through the real assemblers ACME ("!byte", hex) and 64tass
// (".byte", decimal, indented): every exporter's text, comments and coded
// sections included, assembles to exactly the bytes of its sections.

#include "exchange/animationexport.h"
#include "exchange/imagesetexchange.h"
#include "exchange/screenexport.h"
#include "exchange/tilesetexchange.h"
#include "support/core/recordbytes.h"
#include "support/core/values.h"

#include <QtTest>

namespace {
// Assembles the text at $1000 into bare bytes without load address; false
// with the message in out when that fails (a missing assembler too).
bool assemble(const QString& assembler, const QString& text, QByteArray& out)
{
    QTemporaryDir directory;
    QFile input(directory.filePath("in.asm"));
    out = "cannot write " + input.fileName().toUtf8();
    if (!input.open(QIODevice::WriteOnly) || input.write("*=$1000\n" + text.toUtf8()) < 0)
        return false;
    input.close();
    QProcess process;
    process.setWorkingDirectory(directory.path());
    QStringList arguments = assembler == "acme" ? QStringList {"-f", "plain"} : QStringList {"--nostart", "-q"};
    process.start(assembler, arguments << "-o" << "out.bin" << "in.asm");
    process.waitForFinished(60000);
    QFile output(directory.filePath("out.bin"));
    const bool ran = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (ran && output.open(QIODevice::ReadOnly)) {
        out = output.readAll();
        return true;
    }
    out = assembler.toUtf8() + " failed: " + process.errorString().toUtf8() + process.readAllStandardError();
    return false;
}
} // namespace

class AssemblersTest : public QObject {
    Q_OBJECT

private slots:
    void exports_data()
    {
        QTest::addColumn<QString>("assembler");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");

        QList<Imageset> imagesets {filetest::richCharset(), filetest::plainCharset(), filetest::richCharset(),
                                   filetest::richSpriteset(), filetest::richBlockset(), filetest::richBlockset()};
        imagesets[0].mode = imagesets[4].mode = Imageset::SCM;
        Tileset narrowTiles = filetest::richTileset();
        narrowTiles.tiles[0].indexes = {0, 1, 255, 7, 8, 2};
        narrowTiles.tiles[9].indexes.fill(200);
        const QList<int> tiles = testvalues::range(0, 12);
        const Animation animation = filetest::richSpriteset().animations.animations.first();

        for (const QString assembler : {"acme", "64tass"}) {
            ExportDataOptions options = assembler == "acme" ? ExportDataOptions()
                                                            : testvalues::dialect("", ".byte", 4, 13);
            options.includeColors = options.includeSelection = options.includeComments = true;
            const auto add = [&](const QString& what, const QList<ExportSection>& sections, const QString& text) {
                QByteArray bytes;
                for (const ExportSection& s : sections)
                    bytes += s.bytes;
                QTest::addRow("%s: %s", qPrintable(assembler), qPrintable(what)) << assembler << text << bytes;
            };
            for (const bool rle : {false, true}) {
                options.compressRLE = rle;
                const QString coded = rle ? QStringLiteral(", coded") : QString();
                for (const Imageset& set : imagesets) {
                    const QList<int> slotList = ImagesetExchange::allSlots(set);
                    add(QStringLiteral("image set of type %1, mode %2%3").arg(set.type).arg(set.mode).arg(coded),
                        ImagesetExchange::sections(set, slotList, options),
                        ImagesetExchange::text(set, slotList, options));
                }
                // Indexes up to 254 beside empty cells take a byte, up to 300 a word.
                for (const qint32 source : {SourceRef::charsetBit, SourceRef::blocksetBit, SourceRef::tilesetBit}) {
                    for (const int largest : {254, 300}) {
                        Screen screen = filetest::plainScreen();
                        screen.sourceRef = source;
                        for (int x = 0; x < 40; ++x)
                            screen.cellIndexes.insert(CellPos {x, x % 25}, x < 20 ? 7 : largest);
                        const QList<CellPos> cells = ScreenExport::allCells(screen);
                        add(QStringLiteral("screen on %1 up to %2%3").arg(source, 0, 16).arg(largest).arg(coded),
                            ScreenExport::sections(screen, cells, options), ScreenExport::text(screen, cells, options));
                    }
                }
            }
            for (const Tileset& set : {narrowTiles, filetest::richTileset()}) {
                add(set == narrowTiles ? "tile set of bytes" : "tile set of words",
                    TilesetExchange::sections(set, tiles, options), TilesetExchange::text(set, tiles, options));
            }
            add("animation", AnimationExport::sections("Figuren", animation, 0, -1, QSize(24, 21)),
                AnimationExport::text("Figuren", animation, 0, -1, QSize(24, 21), options));
        }
    }

    void exports()
    {
        QFETCH(QString, assembler);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);

        QByteArray output;
        QVERIFY2(assemble(assembler, text, output), output.constData());
        QCOMPARE(output.toHex(' '), bytes.toHex(' '));
    }
};

QTEST_GUILESS_MAIN(AssemblersTest)
#include "tst_assemblers.moc"
