// The JSON dump of a project, compared with files under tests/data: the rich
// sample project's readable description among them.

#include "exchange/projectjson.h"
#include "model/project.h"
#include "support/core/recordbytes.h"
#include "support/core/values.h"

#include <QtTest>

Q_DECLARE_METATYPE(Project)
Q_DECLARE_METATYPE(FileVersion)

namespace {
// A character set and a screen whose names need escapes.
Project escapedNames()
{
    Project project;
    project.addItem(ItemKind::Charset)->name = QString::fromUtf8("Font \"A\" \\ \xC3\xA4\t");
    project.addItem(ItemKind::Screen)->name = QStringLiteral("line\nbreak\r\x01");
    return project;
}
} // namespace

class ProjectJsonTest : public QObject {
    Q_OBJECT

private slots:
    void dump_data()
    {
        QTest::addColumn<Project>("project");
        QTest::addColumn<FileVersion>("version");
        QTest::addColumn<QString>("file");

        QTest::newRow("empty project") << Project() << FileVersion {0, 12, 0} << "projectjson/empty.json";
        QTest::newRow("escaped names") << escapedNames() << FileVersion {0, 11, 0} << "projectjson/names.json";
        QTest::newRow("every kind of item") << filetest::richProject() << FileVersion {0, 12, 0} << "project/rich.json";
    }

    void dump()
    {
        QFETCH(Project, project);
        QFETCH(FileVersion, version);
        QFETCH(QString, file);

        // Line by line, so that a difference names its item.
        const QStringList lines = QString::fromUtf8(ProjectJson::dump(project, version)).split(QLatin1Char('\n'));
        QCOMPARE(lines, testvalues::dataFile(file).split(QLatin1Char('\n')));
    }
};

QTEST_GUILESS_MAIN(ProjectJsonTest)
#include "tst_projectjson.moc"
