#include "support/testenvironment.h"

#include "model/imagesetinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

TestEnvironment::TestEnvironment()
    : previousCurrent(QDir::currentPath())
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, directory.filePath("settings"));
    QDir::setCurrent(directory.path());
    static const bool registered = (registerImagesetInfo(), true);
    Q_UNUSED(registered);
}

TestEnvironment::~TestEnvironment()
{
    QDir::setCurrent(previousCurrent);
}
