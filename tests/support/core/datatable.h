#pragma once

// Test rows kept as text tables under tests/data: one row a line, its fields
// parted by '|' and trimmed; empty lines and lines starting with '#' are
// skipped. Files are named by their path below tests/data, which the tests'
// CMake passes as MOSAIKON_TEST_DATA.

#include <QFile>
#include <QStringList>
#include <QtTest>

namespace datatable {

inline QString path(const QString& name)
{
    return QStringLiteral(MOSAIKON_TEST_DATA "/") + name;
}

inline QList<QStringList> rows(const QString& name)
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read the test data %s", qPrintable(path(name)));
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        QStringList fields = line.split('|');
        for (QString& field : fields)
            field = field.trimmed();
        rows << fields;
    }
    return rows;
}

// In a _data function: one test row per table row, named by its first field,
// with the other fields in the column "fields".
inline void addRows(const QString& name)
{
    QTest::addColumn<QStringList>("fields");
    for (const QStringList& row : rows(name))
        QTest::newRow(qPrintable(row.first())) << QStringList(row.mid(1));
}

} // namespace datatable
