#pragma once

#include <QMetaType>

// Names the character set or block set a tile set is built from, where such a
// reference travels in a QVariant (combo-box data, drag-and-drop checks).
struct ImagesetInfo {
    qint32 id = -1;
    bool isCharset = true;

    bool operator==(const ImagesetInfo& other) const
    {
        return id == other.id && isCharset == other.isCharset;
    }
    bool operator<(const ImagesetInfo& other) const
    {
        return isCharset != other.isCharset ? isCharset < other.isCharset : id < other.id;
    }

    // Registers the type with its comparisons, so that variants holding it
    // compare by value.
    static void registerType();
};
Q_DECLARE_METATYPE(ImagesetInfo)
