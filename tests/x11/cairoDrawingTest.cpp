// The X11 layer's pixels follow the toolkit's coverage rules exactly: read
// back from the picture in memory that the frame's window shows.
// gtest first: Xlib defines macros (None, Bool) that gtest uses as names.
#include <gtest/gtest.h>

#include "gui/Bitmap.h"
#include "gui/BmpPicture.h"
#include "gui/x11/CairoDrawContext.h"
#include "resources/embeddedPictures.h"


#include <cairo/cairo.h>

#include <functional>
#include <set>
#include <utility>

namespace {

constexpr int kSide = 40;
constexpr std::uint32_t kScreen = 0x102030;
constexpr std::uint32_t kRed = 0xFF0000;

class Canvas {
public:
    Canvas() : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSide, kSide)), cairo(cairo_create(surface))
    {
        cairo_set_source_rgb(cairo, 0x10 / 255.0, 0x20 / 255.0, 0x30 / 255.0);
        cairo_paint(cairo);
    }
    ~Canvas()
    {
        cairo_destroy(cairo);
        cairo_surface_destroy(surface);
    }
    void draw(const std::function<void(DrawContext&)>& work)
    {
        CairoDrawContext context(nullptr, cairo, nullptr, 0);
        work(context);
    }
    std::uint32_t pixel(int x, int y)
    {
        cairo_surface_flush(surface);
        const auto* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
    }
    // The pixels that are no longer the screen's colour.
    std::set<std::pair<int, int>> drawn()
    {
        std::set<std::pair<int, int>> changed;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                if (pixel(x, y) != kScreen)
                    changed.insert({x, y});
        return changed;
    }

private:
    cairo_surface_t* surface;
    cairo_t* cairo;
};

std::set<std::pair<int, int>> block(int left, int top, int right, int bottom)
{
    std::set<std::pair<int, int>> pixels;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            pixels.insert({x, y});
    return pixels;
}

TEST(CairoDrawing, OutlinesFillsAndLinesCoverWhatTheWindowsPenCovers)
{
    struct Case {
        const char* name;
        std::function<void(DrawContext&)> draw;
        std::set<std::pair<int, int>> covered;
    };
    std::set<std::pair<int, int>> outline = block(10, 10, 20, 10);
    for (const auto& side : {block(10, 20, 20, 20), block(10, 10, 10, 20), block(20, 10, 20, 20)})
        outline.insert(side.begin(), side.end());
    const Case cases[] = {
        {"fill", [](DrawContext& c) { c.setFillColor(ColorRed), c.fillRect(Rect{10, 10, 20, 20}); },
         block(11, 11, 19, 19)},
        {"one pixel wide fill", [](DrawContext& c) { c.setFillColor(ColorRed), c.fillRect(Rect{5, 5, 6, 9}); }, {}},
        {"outline", [](DrawContext& c) { c.setLineColor(ColorRed), c.outlineRect(Rect{10, 10, 20, 20}); }, outline},
        {"line, end left out",
         [](DrawContext& c) {
             c.setLineColor(ColorRed);
             c.moveTo(Point{3, 7});
             c.lineTo(Point{9, 7});
         },
         block(3, 7, 8, 7)},
        {"line upwards",
         [](DrawContext& c) {
             c.setLineColor(ColorRed);
             c.moveTo(Point{30, 12});
             c.lineTo(Point{30, 4});
         },
         block(30, 5, 30, 12)},
    };
    for (const Case& drawn : cases) {
        Canvas canvas;
        canvas.draw(drawn.draw);
        EXPECT_EQ(canvas.drawn(), drawn.covered) << drawn.name;
        for (const auto& [x, y] : drawn.covered)
            EXPECT_EQ(canvas.pixel(x, y), kRed) << drawn.name << " at " << x << "," << y;
    }
}

// The display field (102) copied with a source offset, and the reset key
// (103) with its white left out, land exactly where the Windows copy puts them.
TEST(CairoDrawing, BitmapsLandPixelForPixelWithTheirSourceOffset)
{
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(findEmbeddedPicture(103, &data, &size));
    const BmpPicture key = decodeBmp(data, size);
    ASSERT_FALSE(key.empty());
    auto* bitmap = new Bitmap(103);
    const Rect place{5, 6, 25, 16};
    const Point source{4, 16};
    for (const bool transparent : {false, true}) {
        Canvas canvas;
        canvas.draw([&](DrawContext& context) {
            if (transparent)
                bitmap->drawTransparent(context, place, source);
            else
                bitmap->draw(context, place, source);
        });
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                const bool inside = x >= place.left && x < place.right && y >= place.top && y < place.bottom;
                std::uint32_t expected = kScreen;
                if (inside) {
                    const std::uint32_t image =
                        key.pixels[(y - place.top + source.y) * key.width + (x - place.left + source.x)];
                    expected = transparent && image == 0xFFFFFF ? kScreen : image;
                }
                ASSERT_EQ(canvas.pixel(x, y), expected) << (transparent ? "transparent " : "") << x << "," << y;
            }
        }
    }
    bitmap->release();
}

} // namespace
