// A picture the renderer writes: made from a resource picture like any
// bitmap, then given a picture of the renderer's size and format in its
// place (24 bits, blue-green-red, rows bottom-up).
#pragma once

#include "gui/Bitmap.h"

#include <cstdint>

class ImageBitmap : public Bitmap {
public:
    // Until the first refresh the picture shows the resource picture scaled
    // to the picture size.
    explicit ImageBitmap(std::int32_t resourceId);

    // Where the renderer writes, once drawing queued on the picture is done;
    // null when the picture could not be made.
    std::uint8_t* getPixels() const;
};
