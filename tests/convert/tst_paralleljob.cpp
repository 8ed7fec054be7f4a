// A parallel job: its work runs off the calling thread, reports progress
// kept to 0-100, and stops when asked or when the job goes away.

#include "convert/paralleljob.h"

#include <QtTest>

class ParallelJobTest : public QObject {
    Q_OBJECT

private slots:
    void progressAndCancel()
    {
        std::atomic<bool> stopped {false};
        ParallelJob job([&stopped](ParallelJob::Control& control) {
            control.report(150);
            while (!control.isCancelled())
                QThread::msleep(1);
            stopped = true;
        });
        QTRY_COMPARE(job.progress(), 100);
        QVERIFY(!job.isFinished());
        job.cancel();
        int polls = 0;
        job.wait([&polls] { ++polls; });
        QVERIFY(stopped && job.isFinished() && polls >= 1);

        std::atomic<bool> left {false};
        {
            ParallelJob running([&left](ParallelJob::Control& control) {
                while (!control.isCancelled())
                    QThread::msleep(1);
                left = true;
            });
        }
        QVERIFY(left);
    }
};

QTEST_GUILESS_MAIN(ParallelJobTest)
#include "tst_paralleljob.moc"
