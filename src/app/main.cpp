#include "app/mosaikon.h"
#include "model/imagesetinfo.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // Names the settings store that keeps the recent-file list, and the data
    // folder that keeps the copy of unsaved work.
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    ImagesetInfo::registerType();

    Mosaikon window;
    window.showMaximized();
    window.offerRecovery();
    return application.exec();
}
