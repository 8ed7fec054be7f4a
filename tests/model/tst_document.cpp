// An editor's document: edits as undo steps that its observers hear of,
// edits that change nothing recording nothing, view settings that belong to
// every state, and names that undo never takes back.

#include "model/document.h"
#include "model/tileset.h"

#include <QSignalSpy>
#include <QtTest>

class DocumentTest : public QObject {
    Q_OBJECT

private slots:
    void editsUndoAndSignals()
    {
        Tileset start;
        start.id = 3;
        start.name = QStringLiteral("Walls");
        ItemDocument<Tileset> document(start);
        QSignalSpy changed(&document, &Document::changed);
        QSignalSpy status(&document, &Document::statusChanged);

        // A change that leaves the item as it was is no step and no signal.
        QVERIFY(!document.edit([](Tileset& tiles) { tiles.gridSizeX = 1; }));
        QVERIFY(!document.canUndo());
        QCOMPARE(changed.count() + status.count(), 0);

        QVERIFY(document.edit([](Tileset& tiles) { tiles.tileAt(5).colors[0] = 7; }));
        QVERIFY(document.isModified());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(status.count(), 1);
        QCOMPARE(static_cast<const Tileset&>(document.dataset()).tiles.value(5).colors.value(0), 7);

        // A view setting reaches every state, so undo keeps it; it is no step.
        document.changeSetting([](Tileset& tiles) { tiles.zoom = 6.0; });
        QCOMPARE(changed.count(), 2);
        QCOMPARE(status.count(), 1);
        document.setName(QStringLiteral("Floors"));
        QCOMPARE(status.count(), 2);

        document.undo();
        QCOMPARE(changed.count(), 3);
        QVERIFY(!document.isModified());
        QVERIFY(document.current().tiles.isEmpty());
        QCOMPARE(document.current().zoom, 6.0);
        QCOMPARE(document.current().name, QStringLiteral("Floors"));
        // Undo at the oldest entry changes nothing and says nothing.
        document.undo();
        QCOMPARE(changed.count(), 3);

        document.redo();
        QVERIFY(document.isModified());
        document.markSaved();
        QVERIFY(!document.isModified());
        const QSharedPointer<Dataset> copy = document.copy();
        QVERIFY(*copy.staticCast<Tileset>() == document.current());
        QVERIFY(copy.data() != &document.dataset());
    }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "tst_document.moc"
