#pragma once

#include "model/document.h"
#include "model/imageset.h"

// The character, sprite or block set an image-set editor works on.
class ImagesetDocument : public ItemDocument<Imageset> {
public:
    using ItemDocument::ItemDocument;
};
