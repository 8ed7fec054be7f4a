#pragma once

#include <QString>
#include <QTemporaryDir>

// Runs a test in a fresh temporary directory, which becomes the current
// directory (where the program keeps its side files) and holds the settings
// store, so tests never touch the user's own files or settings.
// Create it in initTestCase(), before anything reads the settings.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    QString path(const QString& fileName) const { return directory.filePath(fileName); }
    QString root() const { return directory.path(); }

private:
    QTemporaryDir directory;
    QString previousCurrent;
};
