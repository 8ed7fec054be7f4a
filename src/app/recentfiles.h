#pragma once

#include <QStringList>

// The recently used project files, newest first, kept in the settings store
// as the array "recentFileList" of entries with the key "file". The list is
// never truncated; the menu shows only its first entries.
namespace RecentFiles {
constexpr int shownCount = 10;

QStringList load();
// Moves the path to the front.
void add(const QString& path);
void remove(const QString& path);
}
