// The work of a killed program is offered at the next start: a child program
// holding an unsaved edit is killed, and the window started after it takes
// up its recovery copy (unsaved, saved then to the file it came from) or
// declines it, which drops the copy.

#include "app/recoverycopy.h"
#include "app/windowtest.h"
#include "model/projectfile.h"
#include "support/core/recordbytes.h"

#include <QProcess>

namespace {
// The question as it reads for any time from first to last.
QStringList questionsBetween(const QDateTime& first, const QDateTime& last)
{
    QStringList texts;
    for (QDateTime time = first; time <= last.addSecs(1); time = time.addSecs(1))
        texts << QStringLiteral("Recover unsaved work from %1?").arg(QLocale().toString(time, QLocale::ShortFormat));
    return texts;
}
}

class RecoveryTest : public QObject {
    Q_OBJECT

private:
    TestEnvironment environment;

private slots:
    // A row that failed may have left its copy.
    void init() { QFile::remove(RecoveryCopy::projectFile()); }

    // The child edits b.mzprj, or a new untitled project; its copy may be
    // damaged after the kill. Save afterwards writes the file named.
    void recoversAfterKill_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QString>("prompts");
        QTest::addColumn<QString>("saved");
        QTest::newRow("titled, recovered") << "b.mzprj" << false << "Yes" << "Q" << "b.mzprj";
        QTest::newRow("untitled, recovered") << "" << false << "Yes|@new.mzprj" << "QS" << "new.mzprj";
        QTest::newRow("declined") << "b.mzprj" << false << "No" << "Q" << "";
        QTest::newRow("damaged copy") << "b.mzprj" << true << "Yes" << "QE" << "";
    }

    void recoversAfterKill()
    {
        QFETCH(QString, original);
        QFETCH(bool, damaged);
        QFETCH(QString, answers);
        QFETCH(QString, prompts);
        QFETCH(QString, saved);
        QVERIFY(ProjectFile::write(environment.path("b.mzprj"), filetest::richProject()));
        QFile::remove(environment.path("new.mzprj"));
        Project edited = original.isEmpty() ? Project() : filetest::richProject();
        if (original.isEmpty())
            edited.addItem(ItemKind::Charset);
        edited.charsets.at(0)->colors[1] = 9;

        const QDateTime started = QDateTime::currentDateTime();
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        const QStringList project = original.isEmpty() ? QStringList() : QStringList {environment.path(original)};
        child.start(QStringLiteral(RECOVERY_CHILD), QStringList {QCoreApplication::applicationName()} + project);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(RecoveryCopy::projectFile()), 60000);
        // The running child owns the copy: another program neither offers nor writes it.
        QVERIFY(!openWindow()->recoveryCopy()->left());
        child.kill();
        QVERIFY(child.waitForFinished());
        const QDateTime killed = QDateTime::currentDateTime();
        QVERIFY(!damaged || Files::writeSafely(RecoveryCopy::projectFile(), QByteArray("damaged")));

        PromptScript script;
        queueAnswers(script, answers, environment);
        auto window = openWindow();
        window->offerRecovery();
        QVERIFY2(questionsBetween(started, killed).contains(script.shown.value(0).text),
                 qPrintable(script.shown.value(0).text));
        const bool recovered = !saved.isEmpty();
        QCOMPARE(window->isUnsaved(), recovered);
        QCOMPARE(window->projectPath(), recovered && !original.isEmpty() ? environment.path(original) : QString());
        QCOMPARE(filetest::compareProjects(recovered ? edited : Project(), window->currentProject()), QString());
        // Taken up, the copy stays until the work is saved.
        QCOMPARE(QFile::exists(RecoveryCopy::projectFile()), recovered);
        if (recovered)
            QVERIFY(window->save());
        QCOMPARE(promptKinds(script), prompts);
        QVERIFY(!QFile::exists(RecoveryCopy::projectFile()));
        Project written;
        QVERIFY(ProjectFile::read(environment.path(recovered ? saved : "b.mzprj"), written).ok());
        QCOMPARE(filetest::compareProjects(recovered ? edited : filetest::richProject(), written), QString());
    }
};

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
