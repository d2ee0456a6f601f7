#include "gui/Bitmap.h"

#include "gui/BitmapImage.h"

namespace {
constexpr std::int32_t kResourceIdMask = 0xFFFF;
}

Bitmap::Bitmap(std::int32_t resourceId) : resourceId(resourceId), image(loadBitmapImage(resourceId & kResourceIdMask))
{
    if (image) {
        width = image->width();
        height = image->height();
    }
}

Bitmap::~Bitmap()
{
    delete image;
}

void Bitmap::retain()
{
    ++referenceCount;
}

void Bitmap::release()
{
    if (referenceCount <= 0)
        return;
    if (--referenceCount == 0)
        delete this;
}

void Bitmap::setTransparentColor(const Color& color)
{
    transparentColor = color;
}

void Bitmap::replaceImage(BitmapImage* newImage)
{
    if (image != newImage)
        delete image;
    image = newImage;
}

void Bitmap::draw(DrawContext& context, const Rect& destination, const Point& source)
{
    if (image)
        image->draw(context, destination, source);
}

void Bitmap::drawTransparent(DrawContext& context, const Rect& destination, const Point& source)
{
    if (image)
        image->drawTransparent(context, destination, source, transparentColor);
}
