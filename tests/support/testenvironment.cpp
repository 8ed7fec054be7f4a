#include "support/testenvironment.h"

#include "app/lutstartup.h"
#include "model/imagesetinfo.h"
#include "support/promptscript.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

TestEnvironment::TestEnvironment()
    : previousCurrent(QDir::currentPath())
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, directory.filePath("settings"));
    QDir::setCurrent(directory.path());
    // Windows start with the shared tables; where they are missing they are
    // built once and shared from then on.
    QFile::copy(QStringLiteral(MOSAIKON_SHARED_LUT), directory.filePath(QStringLiteral("dither.lut")));
    LutStartup::setBuilder([](DitherLut& tables, const Palette::Colors& palette) {
        if (tables.load(QStringLiteral(MOSAIKON_SHARED_LUT), palette))
            return;
        tables.build(palette);
        tables.save(QStringLiteral(MOSAIKON_SHARED_LUT));
    });
    answerUnplannedPrompts();
    static const bool registered = (ImagesetInfo::registerType(), true);
    Q_UNUSED(registered);
}

TestEnvironment::~TestEnvironment()
{
    QDir::setCurrent(previousCurrent);
}
