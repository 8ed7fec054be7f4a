#include "model/imagesetinfo.h"

void ImagesetInfo::registerType()
{
    qRegisterMetaType<ImagesetInfo>();
    QMetaType::registerComparators<ImagesetInfo>();
}
