// The control base and the value display: dirty tracking, clamping, the
// background's references, the display's text and what it puts on a surface.
#include "tests/gui/ViewTestSupport.h"

#include "gui/MomentaryButton.h"
#include "gui/ValueDisplay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>

namespace {

const Rect kDisplayRect{10, 10, 70, 30};
constexpr Color kCanvasColour{0, 0, 0, 0};
constexpr Color kFill{0, 0, 255, 0};
constexpr Color kBorder{0, 255, 0, 0};
constexpr Color kText{255, 0, 0, 0};
constexpr Color kShadow{255, 255, 0, 0};

template <typename T> struct Released {
    void operator()(T* view) const { view->release(); }
};
template <typename T> using Owned = std::unique_ptr<T, Released<T>>;

Owned<ValueDisplay> makeDisplay(std::int32_t style, Bitmap* background = nullptr)
{
    return Owned<ValueDisplay>(new ValueDisplay(kDisplayRect, background, style));
}

// A control with nothing of its own, for the base behaviour.
Owned<MomentaryButton> makeControl()
{
    return Owned<MomentaryButton>(new MomentaryButton(Rect{0, 0, 10, 10}, nullptr, 7, 0, nullptr, Point{}));
}

TEST(ControlTest, DirtyWhileTheValueDiffersFromTheDrawnOne)
{
    auto control = makeControl();
    EXPECT_TRUE(control->isDirty()) << "a new control is drawn at the first idle redraw";

    control->setDirty(false);
    EXPECT_FALSE(control->isDirty());
    EXPECT_EQ(control->getDrawnValue(), 0.0f);
    control->setValue(0.25f);
    EXPECT_TRUE(control->isDirty()) << "a changed value alone makes it dirty";
    control->setDirty(false);
    control->setDirty(true);
    EXPECT_EQ(control->getDrawnValue(), -1.0f);
    EXPECT_TRUE(control->isDirty());
}

TEST(ControlTest, DirtyMarkStillDiffersWhenTheValueIsMinusOne)
{
    auto control = makeControl();
    control->setValue(-1.0f);
    control->setDirty(true);
    EXPECT_EQ(control->getDrawnValue(), 0.0f);
    EXPECT_TRUE(control->isDirty());
}

TEST(ControlTest, NotANumberIsAlwaysDirty)
{
    auto control = makeControl();
    control->setValue(std::numeric_limits<float>::quiet_NaN());
    control->setDirty(false);
    EXPECT_TRUE(control->isDirty());
}

struct ClampCase {
    float minimum;
    float maximum;
    float value;
    float clamped;
};

TEST(ControlTest, ClampValueKeepsTheValueInRange)
{
    const ClampCase cases[] = {
        {0.0f, 1.0f, 1.5f, 1.0f},
        {0.0f, 1.0f, -0.2f, 0.0f},
        {0.0f, 1.0f, 0.3f, 0.3f},
        {-5.0f, 5.0f, -7.0f, -5.0f},
    };
    for (const ClampCase& clamp : cases) {
        auto control = makeControl();
        control->setMin(clamp.minimum);
        control->setMax(clamp.maximum);
        control->setValue(clamp.value);
        control->clampValue();
        EXPECT_EQ(control->getValue(), clamp.clamped) << clamp.value;
    }
}

TEST(ControlTest, HoldsOneReferenceToItsBackground)
{
    auto* first = new TwoColourBitmap(4, 4, 2, ColorRed, ColorBlue);
    auto* second = new TwoColourBitmap(4, 4, 2, ColorRed, ColorBlue);
    auto* control = new MomentaryButton(Rect{}, nullptr, 0, 0, first, Point{});
    EXPECT_EQ(first->getReferenceCount(), 2);
    control->setBackground(second);
    EXPECT_EQ(first->getReferenceCount(), 1);
    EXPECT_EQ(second->getReferenceCount(), 2);
    EXPECT_EQ(control->getBackground(), second);
    control->release();
    EXPECT_EQ(second->getReferenceCount(), 1);
    first->release();
    second->release();
}

std::string shown(ValueDisplay& display)
{
    char text[ValueDisplay::kValueTextSize];
    display.formatValue(text);
    return text;
}

TEST(ValueDisplayTest, PrintsTwoDecimals)
{
    const std::pair<float, const char*> cases[] = {
        {3.14159f, "3.14"}, {-0.5f, "-0.50"}, {1234.5f, "1234.50"}, {0.0f, "0.00"}, {-96.0f, "-96.00"}};
    auto display = makeDisplay(0);
    for (const auto& [value, text] : cases) {
        display->setValue(value);
        EXPECT_EQ(shown(*display), text);
    }
}

int plainCalls = 0;
int dataCalls = 0;

void plainConversion(float value, char* text)
{
    ++plainCalls;
    // The buffer starts empty: appending gives just this text.
    std::strcat(text, value > 0.0f ? "up" : "down");
}

void conversionWithData(float, char* text, void* data)
{
    ++dataCalls;
    std::strcat(text, static_cast<const char*>(data));
}

TEST(ValueDisplayTest, ConversionWithDataWinsOverThePlainOne)
{
    auto display = makeDisplay(0);
    plainCalls = dataCalls = 0;
    display->setValue(2.0f);
    display->setFormatter(plainConversion);
    EXPECT_EQ(shown(*display), "up");
    char label[] = "label";
    display->setFormatter(conversionWithData, label);
    EXPECT_EQ(shown(*display), "label");
    EXPECT_EQ(plainCalls, 1);
    EXPECT_EQ(dataCalls, 1);
}

struct SetterCase {
    const char* name;
    std::function<void(ValueDisplay&)> same;
    std::function<void(ValueDisplay&)> changed;
};

TEST(ValueDisplayTest, SettersDirtyOnlyOnARealChange)
{
    const SetterCase cases[] = {
        {"font", [](ValueDisplay& d) { d.setFont(3); }, [](ValueDisplay& d) { d.setFont(4); }},
        {"text colour",
         [](ValueDisplay& d) {
             d.setTextColor(Color{255, 255, 255, 9});
         },
         [](ValueDisplay& d) {
             d.setTextColor(Color{255, 255, 254, 0});
         }},
        {"fill colour",
         [](ValueDisplay& d) {
             d.setFillColor(Color{0, 0, 0, 1});
         },
         [](ValueDisplay& d) {
             d.setFillColor(Color{1, 0, 0, 0});
         }},
        {"border colour",
         [](ValueDisplay& d) {
             d.setBorderColor(Color{0, 0, 0, 5});
         },
         [](ValueDisplay& d) {
             d.setBorderColor(Color{0, 1, 0, 0});
         }},
        {"shadow colour",
         [](ValueDisplay& d) {
             d.setShadowColor(Color{255, 0, 0, 2});
         },
         [](ValueDisplay& d) {
             d.setShadowColor(Color{255, 0, 1, 0});
         }},
        {"alignment", [](ValueDisplay& d) { d.setAlignment(AlignCenter); },
         [](ValueDisplay& d) { d.setAlignment(AlignRight); }},
        {"style", [](ValueDisplay& d) { d.setStyle(0); }, [](ValueDisplay& d) { d.setStyle(StyleShadow); }},
        {"text style", [](ValueDisplay& d) { d.setTextStyle(0); },
         [](ValueDisplay& d) { d.setTextStyle(TextBold); }},
        {"background offset",
         [](ValueDisplay& d) {
             d.setBackgroundOffset(Point{4, 4});
         },
         [](ValueDisplay& d) {
             d.setBackgroundOffset(Point{8, 8});
         }},
        {"transparent text", [](ValueDisplay& d) { d.setTransparentText(true); },
         [](ValueDisplay& d) { d.setTransparentText(false); }},
    };
    for (const SetterCase& setter : cases) {
        auto display = makeDisplay(0);
        display->setDirty(false);
        setter.same(*display);
        EXPECT_FALSE(display->isDirty()) << setter.name << " set to the same value";
        setter.changed(*display);
        const bool marksDirty =
            std::string(setter.name) != "background offset" && std::string(setter.name) != "transparent text";
        EXPECT_EQ(display->isDirty(), marksDirty) << setter.name << " changed";
    }
    auto display = makeDisplay(0);
    display->setTextColor(Color{255, 255, 255, 77});
    EXPECT_EQ(display->getTextColor().reserved, 77) << "all four bytes are stored";
}

class ValueDisplayDrawingTest : public ::testing::Test {
protected:
    void draw(ValueDisplay& display)
    {
        Win32DrawContext context(nullptr, canvas.get(), nullptr);
        display.draw(context);
    }
    void colour(ValueDisplay& display)
    {
        display.setFillColor(kFill);
        display.setBorderColor(kBorder);
        display.setTextColor(kText);
        display.setShadowColor(kShadow);
        display.setValue(88.88f);
    }
    // Text pixels: strongly of the colour, whatever font smoothing does at the edges.
    int textPixels(const Color& colour, const Rect& area) const
    {
        auto similar = [](std::uint8_t channel, std::uint8_t wanted) {
            return std::abs(channel - wanted) < 96;
        };
        int found = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const Color pixel = canvas.pixel(x, y);
                found += similar(pixel.red, colour.red) && similar(pixel.green, colour.green) &&
                         similar(pixel.blue, colour.blue);
            }
        }
        return found;
    }
    int reddish(const Rect& area) const { return textPixels(kText, area); }

    Canvas canvas{100, 50, kCanvasColour};
};

TEST_F(ValueDisplayDrawingTest, PlainStyleFillsBordersAndWritesTheValue)
{
    auto display = makeDisplay(0);
    display->setTransparentDraw(false);
    colour(*display);
    draw(*display);
    EXPECT_FALSE(display->isDirty());
    EXPECT_TRUE(canvas.pixel(10, 20).sameRgb(kBorder));
    EXPECT_TRUE(canvas.pixel(40, 10).sameRgb(kBorder));
    EXPECT_TRUE(canvas.pixel(70, 20).sameRgb(kBorder));
    EXPECT_TRUE(canvas.pixel(40, 30).sameRgb(kBorder));
    EXPECT_TRUE(canvas.pixel(12, 12).sameRgb(kFill));
    EXPECT_GT(reddish(Rect{11, 11, 70, 30}), 10);
    EXPECT_EQ(reddish(Rect{0, 31, 100, 50}), 0) << "the text stays in its rectangle";
}

struct EdgeCase {
    std::int32_t style;
    Color topLeft;
    Color bottomRight;
};

TEST_F(ValueDisplayDrawingTest, ThreeDimensionalEdgesReplaceTheBorder)
{
    const EdgeCase cases[] = {{StyleSunken, kFill, kBorder}, {StyleRaised, kBorder, kFill}};
    for (const EdgeCase& edges : cases) {
        auto display = makeDisplay(edges.style | StyleHideText);
        colour(*display);
        draw(*display);
        EXPECT_TRUE(canvas.pixel(10, 20).sameRgb(edges.topLeft)) << edges.style << " left";
        EXPECT_TRUE(canvas.pixel(40, 10).sameRgb(edges.topLeft)) << edges.style << " top";
        EXPECT_TRUE(canvas.pixel(70, 10).sameRgb(edges.topLeft)) << edges.style << " top right end";
        EXPECT_TRUE(canvas.pixel(70, 20).sameRgb(edges.bottomRight)) << edges.style << " right";
        EXPECT_TRUE(canvas.pixel(40, 30).sameRgb(edges.bottomRight)) << edges.style << " bottom";
        EXPECT_TRUE(canvas.pixel(40, 20).sameRgb(kFill)) << edges.style << " inside";
    }
}

TEST_F(ValueDisplayDrawingTest, HiddenDisplayIsCleanAndDrawsNothing)
{
    auto display = makeDisplay(StyleHidden);
    EXPECT_FALSE(display->isDirty());
    colour(*display);
    display->setValue(5.0f);
    EXPECT_TRUE(display->isDirty());
    draw(*display);
    EXPECT_FALSE(display->isDirty());
    EXPECT_EQ(countIn(canvas, kCanvasColour, Rect{0, 0, 100, 50}), 100 * 50);
}

TEST_F(ValueDisplayDrawingTest, HiddenTextLeavesOnlyTheBackground)
{
    auto display = makeDisplay(StyleHideText);
    colour(*display);
    draw(*display);
    EXPECT_EQ(reddish(Rect{0, 0, 100, 50}), 0);
    EXPECT_EQ(countIn(canvas, kFill, Rect{11, 11, 70, 30}), 59 * 19);
}

TEST_F(ValueDisplayDrawingTest, ShadowTextComesInTheShadowColour)
{
    auto display = makeDisplay(StyleShadow);
    colour(*display);
    draw(*display);
    EXPECT_GT(textPixels(kShadow, Rect{11, 11, 71, 31}), 0);
    EXPECT_GT(reddish(Rect{11, 11, 70, 30}), 0);
}

TEST_F(ValueDisplayDrawingTest, TransparentDisplayWithoutBitmapDrawsNoBackground)
{
    auto display = makeDisplay(StyleHideText);
    colour(*display);
    display->setTransparentDraw(true);
    draw(*display);
    EXPECT_EQ(countIn(canvas, kCanvasColour, Rect{0, 0, 100, 50}), 100 * 50);
}

TEST_F(ValueDisplayDrawingTest, BackgroundBitmapIsDrawnFromTheOffset)
{
    auto* background = new TwoColourBitmap(60, 40, 10, ColorMagenta, ColorCyan);
    auto display = makeDisplay(StyleHideText, background);
    background->release();
    colour(*display);
    draw(*display);
    EXPECT_TRUE(canvas.pixel(10, 10).sameRgb(ColorMagenta));
    EXPECT_TRUE(canvas.pixel(69, 19).sameRgb(ColorMagenta));
    EXPECT_TRUE(canvas.pixel(69, 20).sameRgb(ColorCyan));
    EXPECT_TRUE(canvas.pixel(70, 20).sameRgb(kCanvasColour)) << "nothing right of the display";

    display->setBackgroundOffset(Point{0, 10});
    draw(*display);
    EXPECT_EQ(countIn(canvas, ColorCyan, kDisplayRect), 60 * 20);
}

} // namespace
