// The tool box of an editing pane: events reach the active tool only, and
// choosing a tool ends the operation of the one before.

#include "editing/tool.h"

#include <QtTest>

namespace {
struct RecordingTool : Tool {
    RecordingTool(const QString& name, QStringList& log, Qt::CursorShape shape) : name(name), log(log), shape(shape) {}
    void activate() override { log << name + " on"; }
    void deactivate() override { log << name + " off"; }
    void press(const ToolEvent& event) override { log << QStringLiteral("%1 press %2").arg(name).arg(event.pixel.x()); }
    void move(const ToolEvent& event) override { log << QStringLiteral("%1 move %2").arg(name).arg(event.pixel.x()); }
    void release(const ToolEvent& event) override { log << QStringLiteral("%1 release %2").arg(name).arg(event.pixel.x()); }
    bool key(int key, Qt::KeyboardModifiers) override
    {
        log << QStringLiteral("%1 key %2").arg(name).arg(key);
        return key == Qt::Key_Escape;
    }
    QCursor cursor(const ToolEvent&) const override { return QCursor(shape); }

    QString name;
    QStringList& log;
    Qt::CursorShape shape;
};
}

class ToolTest : public QObject {
    Q_OBJECT

private slots:
    void eventsReachTheActiveToolOnly()
    {
        QStringList log;
        ToolBox box;
        QCOMPARE(box.cursor({}).shape(), Qt::ArrowCursor);
        box.press({}); // no tool yet: nothing happens
        box.add(0, std::make_unique<RecordingTool>("draw", log, Qt::CrossCursor));
        box.add(1, std::make_unique<RecordingTool>("line", log, Qt::SizeAllCursor));
        QCOMPARE(box.activeId(), 0);
        ToolEvent event;
        event.pixel = QPoint(3, 4);
        box.press(event);
        box.choose(1);
        box.move(event);
        box.release(event);
        QVERIFY(box.key(Qt::Key_Escape, Qt::NoModifier));
        QVERIFY(!box.key(Qt::Key_Control, Qt::ControlModifier));
        QCOMPARE(box.cursor(event).shape(), Qt::SizeAllCursor);
        box.choose(7); // no such tool
        QCOMPARE(box.activeId(), 1);
        QCOMPARE(log.join(", "), QStringLiteral("draw on, draw press 3, draw off, line on, line move 3, line release 3, "
                                                "line key %1, line key %2").arg(Qt::Key_Escape).arg(Qt::Key_Control));
    }
};

QTEST_GUILESS_MAIN(ToolTest)
#include "tst_tool.moc"
