// A picture the renderer writes: made from a resource picture like any
// bitmap, then given a 24-bit bottom-up section of the picture size in its
// place, whose pixels are the renderer's picture format.
#pragma once

#include "gui/Bitmap.h"

#include <cstdint>

class ImageBitmap : public Bitmap {
public:
    // Until the first refresh the section shows the resource picture scaled
    // to the picture size.
    explicit ImageBitmap(std::int32_t resourceId);

    // Null when the section could not be made.
    std::uint8_t* getPixels() const;
};
