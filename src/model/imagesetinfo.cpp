#include "model/imagesetinfo.h"

void registerImagesetInfo()
{
    qRegisterMetaType<ImagesetInfo>();
    QMetaType::registerComparators<ImagesetInfo>();
}
