#include "app/recentfiles.h"

#include <QSettings>

namespace {
const QString arrayName = QStringLiteral("recentFileList");
const QString fileKey = QStringLiteral("file");

void store(const QStringList& files)
{
    QSettings settings;
    settings.beginWriteArray(arrayName);
    for (int i = 0; i < files.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(fileKey, files.at(i));
    }
    settings.endArray();
}
}

QStringList RecentFiles::load()
{
    QSettings settings;
    QStringList files;
    const int count = settings.beginReadArray(arrayName);
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        files.append(settings.value(fileKey).toString());
    }
    settings.endArray();
    return files;
}

void RecentFiles::add(const QString& path)
{
    const QStringList before = load();
    QStringList files = before;
    files.removeAll(path);
    files.prepend(path);
    if (files != before)
        store(files);
}

void RecentFiles::remove(const QString& path)
{
    QStringList files = load();
    if (files.removeAll(path) > 0)
        store(files);
}
