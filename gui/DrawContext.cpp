#include "gui/DrawContext.h"

#include <cstring>

namespace {

struct FontFace {
    const char* name;
    std::int32_t defaultSize;
    BYTE pitchAndFamily;
};

constexpr BYTE kVariableSwiss = VARIABLE_PITCH | FF_SWISS;
constexpr BYTE kDefaultDecorative = DEFAULT_PITCH | FF_DECORATIVE;

// Indexed by font id.
constexpr FontFace kFonts[] = {
    {"Arial", 12, kVariableSwiss}, {"Arial", 18, kVariableSwiss},      {"Arial", 14, kVariableSwiss},
    {"Arial", 12, kVariableSwiss}, {"Arial", 11, kVariableSwiss},      {"Arial", 10, kVariableSwiss},
    {"Arial", 9, kVariableSwiss},  {"Symbol", 13, kDefaultDecorative},
};
constexpr std::int32_t kFontCount = sizeof kFonts / sizeof kFonts[0];
// Id 0 is the bold label font whatever style is asked for.
constexpr std::int32_t kAlwaysBoldFontId = 0;

constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
// Left-aligned text keeps one pixel clear of the rectangle's left edge.
constexpr LONG kLeftTextInset = 1;

struct MouseKey {
    std::int32_t bit;
    int virtualKey;
};

constexpr MouseKey kMouseKeys[] = {
    {ButtonLeft, VK_LBUTTON},  {ButtonMiddle, VK_MBUTTON},    {ButtonRight, VK_RBUTTON},
    {ModifierShift, VK_SHIFT}, {ModifierControl, VK_CONTROL}, {ModifierAlt, VK_MENU},
};
constexpr SHORT kKeyDown = SHORT(0x8000);

// Selects `created` in place of the owned `current` and deletes that one. A
// failed creation keeps `current` selected and owned: giving it up would leave
// the device context drawing with a deleted object, never freed.
template <typename Handle> void replaceObject(HDC deviceContext, Handle& current, Handle created)
{
    if (!created) {
        return;
    }
    SelectObject(deviceContext, created);
    if (current) {
        DeleteObject(current);
    }
    current = created;
}

void reselect(HDC deviceContext, HGDIOBJ saved)
{
    if (saved) {
        SelectObject(deviceContext, saved);
    }
}

void deleteOwned(HGDIOBJ owned)
{
    if (owned) {
        DeleteObject(owned);
    }
}

} // namespace

DrawContext::DrawContext(Frame* frame, HDC deviceContext, HWND window)
    : deviceContext(deviceContext), window(window), frame(frame)
{
    if (deviceContext) {
        savedBrush = GetCurrentObject(deviceContext, OBJ_BRUSH);
        savedPen = GetCurrentObject(deviceContext, OBJ_PEN);
        savedFont = GetCurrentObject(deviceContext, OBJ_FONT);
        SetBkMode(deviceContext, TRANSPARENT);
    }
    RECT windowRect;
    if (window && GetWindowRect(window, &windowRect)) {
        windowPosition = {windowRect.left, windowRect.top};
    }
    if (deviceContext) {
        setLineColor(lineColor);
        setLineStyle(lineStyle);
        setFillColor(fillColor);
        setTextColor(textColor);
    }
}

DrawContext::~DrawContext()
{
    if (!deviceContext) {
        return;
    }
    reselect(deviceContext, savedBrush);
    reselect(deviceContext, savedPen);
    reselect(deviceContext, savedFont);
    deleteOwned(brush);
    deleteOwned(pen);
    deleteOwned(font);
}

void DrawContext::moveTo(const Point& point)
{
    if (!deviceContext) {
        return;
    }
    MoveToEx(deviceContext, point.x, point.y, nullptr);
}

void DrawContext::lineTo(const Point& point)
{
    if (!deviceContext) {
        return;
    }
    LineTo(deviceContext, point.x, point.y);
}

void DrawContext::outlineRect(const Rect& rect)
{
    moveTo({rect.left, rect.top});
    lineTo({rect.right, rect.top});
    lineTo({rect.right, rect.bottom});
    lineTo({rect.left, rect.bottom});
    lineTo({rect.left, rect.top});
}

void DrawContext::fillRect(const Rect& rect)
{
    if (!deviceContext) {
        return;
    }
    const RECT inside{rect.left + 1, rect.top + 1, rect.right, rect.bottom};
    HGDIOBJ previousPen = SelectObject(deviceContext, GetStockObject(NULL_PEN));
    FillRect(deviceContext, &inside, brush);
    SelectObject(deviceContext, previousPen);
}

void DrawContext::setLineStyle(std::int32_t style)
{
    lineStyle = style;
    penStyle = style == LineDotted ? PS_DOT : PS_SOLID;
    rebuildPen();
}

void DrawContext::setLineColor(const Color& color)
{
    lineColor = color;
    rebuildPen();
}

void DrawContext::rebuildPen()
{
    if (!deviceContext) {
        return;
    }
    LOGPEN description{penStyle, {lineWidth, lineWidth}, lineColor.toPlatform()};
    replaceObject(deviceContext, pen, CreatePenIndirect(&description));
}

void DrawContext::setFillColor(const Color& color)
{
    fillColor = color;
    if (!deviceContext) {
        return;
    }
    SetBkColor(deviceContext, color.toPlatform());
    LOGBRUSH description{BS_SOLID, color.toPlatform(), 0};
    replaceObject(deviceContext, brush, CreateBrushIndirect(&description));
}

void DrawContext::setTextColor(const Color& color)
{
    textColor = color;
    if (deviceContext) {
        SetTextColor(deviceContext, color.toPlatform());
    }
}

void DrawContext::setFont(std::int32_t id, std::int32_t size, std::int32_t style)
{
    fontId = id >= 0 && id < kFontCount ? id : 0;
    const FontFace& face = kFonts[fontId];
    fontSize = size != 0 ? size : face.defaultSize;
    if (!deviceContext) {
        return;
    }
    LOGFONTA description{};
    // Negative: the character height, not the cell height.
    description.lfHeight = -fontSize;
    description.lfWeight = (style & TextBold) || fontId == kAlwaysBoldFontId ? FW_BOLD : FW_NORMAL;
    description.lfItalic = (style & TextItalic) != 0;
    description.lfUnderline = (style & TextUnderline) != 0;
    description.lfCharSet = ANSI_CHARSET;
    description.lfOutPrecision = OUT_STRING_PRECIS;
    description.lfClipPrecision = CLIP_STROKE_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = face.pitchAndFamily;
    std::strncpy(description.lfFaceName, face.name, LF_FACESIZE - 1);
    replaceObject(deviceContext, font, CreateFontIndirectA(&description));
}

void DrawContext::drawText(const char* text, const Rect& rect, std::int16_t opaque, std::int32_t alignment)
{
    if (!deviceContext || !text) {
        return;
    }
    SetBkMode(deviceContext, opaque != 0 ? OPAQUE : TRANSPARENT);
    RECT area{rect.left, rect.top, rect.right, rect.bottom};
    UINT format = kTextFormat;
    if (alignment == AlignCenter) {
        format |= DT_CENTER;
    } else if (alignment == AlignRight) {
        format |= DT_RIGHT;
    } else {
        format |= DT_LEFT;
        area.left += kLeftTextInset;
    }
    DrawTextA(deviceContext, text, static_cast<int>(std::strlen(text)), &area, format);
    SetBkMode(deviceContext, TRANSPARENT);
}

std::int32_t DrawContext::mouseState() const
{
    std::int32_t state = 0;
    for (const MouseKey& key : kMouseKeys) {
        if (GetAsyncKeyState(key.virtualKey) & kKeyDown) {
            state |= key.bit;
        }
    }
    return state;
}

void DrawContext::cursorPosition(Point& where) const
{
    POINT cursor{};
    GetCursorPos(&cursor);
    where = {cursor.x - windowPosition.x, cursor.y - windowPosition.y};
}
