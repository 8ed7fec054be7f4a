// The clipboards: slots copied or cut from an image list and pasted into a
// set (rows continuing in the list, a cut moving its images once, the
// refusals), and pixels copied from the editing pane and pasted as a move.

#include "editing/clipboards.h"

#include <QtTest>

namespace {
// Slots 0-3 and 16-17 of a set hold images of the bytes 1-4 and 17-18.
Imageset filled(Imageset::Type type, Imageset::Mode mode = Imageset::SCM)
{
    const bool sprites = type == Imageset::Spriteset;
    Imageset set(type == Imageset::Blockset ? 9 : 4, QStringLiteral("s"), sprites ? 24 : 8, sprites ? 21 : 8, type);
    set.mode = mode;
    for (int slot : {0, 1, 2, 3, 16, 17}) {
        ImageData image(set.imageWidth, set.imageHeight);
        image.bytes.fill(char(slot + 1));
        set.images.insert(slot, image);
    }
    return set;
}

// The first byte of every image by slot.
QString state(const Imageset& set)
{
    QStringList parts;
    for (auto it = set.images.cbegin(); it != set.images.cend(); ++it)
        parts << QStringLiteral("%1=%2").arg(it.key()).arg(int(it->bytes.at(0)));
    return parts.join(' ');
}
}

class ClipboardsTest : public QObject {
    Q_OBJECT

private slots:
    void slotCopies_data()
    {
        QTest::addColumn<QString>("source"); // kind of the set copied from
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QString>("target"); // "same" or a kind
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("expected"); // the images after, or the refusal

        const QList<int> three {0, 1, 2};
        QTest::newRow("cut moves onto itself") << "sprites" << three << QRect() << true << "same" << 1 << "1=1 2=2 3=3 16=17 17=18";
        QTest::newRow("copy keeps the sources") << "sprites" << three << QRect() << false << "same" << 1
                                                << "0=1 1=1 2=2 3=3 16=17 17=18";
        QTest::newRow("cut into another set") << "sprites" << three << QRect() << true << "chars" << 0
                                              << "Cannot cut & paste from a different set!";
        QTest::newRow("copy into another sprite set") << "sprites" << three << QRect() << false << "sprites" << 5
                                                      << "0=1 1=2 2=3 3=4 5=1 6=2 7=3 16=17 17=18";
        QTest::newRow("images of another size") << "sprites" << three << QRect() << false << "chars" << 0
                                                << "Incompatible image size!";
        // A 2 x 2 rectangle of list cells (slots 0, 1, 16, 17 of a 16-wide list).
        const QList<int> square {0, 1, 16, 17};
        QTest::newRow("a rectangle at the last column runs on") << "sprites" << square << QRect(0, 0, 2, 2) << false
                                                                << "same" << 15 << "0=1 1=2 2=3 3=4 15=1 16=2 17=18 31=17 32=18";
        QTest::newRow("at the last slot only the first") << "sprites" << square << QRect(0, 0, 2, 2) << false
                                                         << "same" << 255 << "0=1 1=2 2=3 3=4 16=17 17=18 255=1";
        QTest::newRow("extended background colours paste into patterns")
            << "ecm" << QList<int> {65} << QRect() << true << "same" << 130 << "0=1 2=2 3=4 16=17 17=18";
    }

    void slotCopies()
    {
        QFETCH(QString, source);
        QFETCH(QList<int>, selected);
        QFETCH(QRect, rect);
        QFETCH(bool, cut);
        QFETCH(QString, target);
        QFETCH(int, slot);
        QFETCH(QString, expected);
        const auto make = [](const QString& kind) {
            return kind == "chars" ? filled(Imageset::Charset)
                 : kind == "ecm"   ? filled(Imageset::Charset, Imageset::ECM)
                                   : filled(Imageset::Spriteset);
        };
        Imageset from = make(source);
        ImageClipboard clipboard;
        clipboard.take(from, SlotSelection {selected, rect}, cut);
        Imageset into = target == "same" ? from : make(target);
        if (target != "same")
            into.id = 5;
        const QString refusal = clipboard.pasteRefusal(into);
        if (!refusal.isEmpty()) {
            QCOMPARE(refusal, expected);
            return;
        }
        clipboard.pasteInto(into, slot);
        QCOMPARE(state(into), expected);
        QCOMPARE(clipboard.isEmpty(), cut); // a cut pastes once
        if (target != "same")
            QCOMPARE(state(from), QStringLiteral("0=1 1=2 2=3 3=4 16=17 17=18"));
    }

    // Pixels copied from a selection and pasted at the top left corner as a
    // move that leaves the picture below when dragged on.
    void pixels()
    {
        Imageset set(0, QStringLiteral("c"), 8, 8, Imageset::Charset);
        EditingGrid grid;
        grid.resize(2, 1);
        grid.fill(0, {0, 1});
        const LayerCanvas canvas(grid, 0, 8, 8);
        for (int x : {9, 10, 12})
            canvas.write(set, x, 1, 1);
        BitmapClipboard clipboard;
        clipboard.copy(set, canvas, QRegion(18, 2, 8, 2), false); // pixels 9-12 of row 1
        QCOMPARE(clipboard.pastedRegion(), QRegion(0, 0, 8, 2));
        const MoveBuffers pasted = clipboard.pasteBuffers(set, canvas);
        Drawing::moveLifted(set, canvas, pasted, QPoint(), QPoint());
        QCOMPARE(canvas.code(set, 0, 0) + canvas.code(set, 1, 0) + canvas.code(set, 2, 0) + canvas.code(set, 3, 0), 3);
        QCOMPARE(canvas.code(set, 1, 0), 1);
        Drawing::moveLifted(set, canvas, pasted, QPoint(), QPoint(0, 2));
        QCOMPARE(canvas.code(set, 1, 0) + canvas.code(set, 1, 2) + canvas.code(set, 3, 2), 2);
    }
};

QTEST_GUILESS_MAIN(ClipboardsTest)
#include "tst_clipboards.moc"
