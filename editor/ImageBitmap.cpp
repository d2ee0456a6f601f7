#include "editor/ImageBitmap.h"

#include "analysis/displayScale.h"
#include "gui/BitmapImage.h"

ImageBitmap::ImageBitmap(std::int32_t resourceId) : Bitmap(resourceId)
{
    // The loaded picture is not needed once the picture replaces it.
    replaceImage(makePictureImage(getImage(), kPictureWidth, kPictureHeight));
}

std::uint8_t* ImageBitmap::getPixels() const
{
    return getImage() ? getImage()->writablePixels() : nullptr;
}
