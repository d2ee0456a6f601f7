#include "gui/win32/Win32DrawContext.h"

#include <cstring>

namespace {

constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

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

Win32DrawContext::Win32DrawContext(Frame* frame, HDC deviceContext, HWND window)
    : DrawContext(frame), deviceContext(deviceContext), window(window)
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
        applyDefaults();
    }
}

Win32DrawContext::~Win32DrawContext()
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

void Win32DrawContext::movePen(const Point& point)
{
    if (!deviceContext) {
        return;
    }
    MoveToEx(deviceContext, point.x, point.y, nullptr);
}

void Win32DrawContext::drawLineTo(const Point& point)
{
    if (!deviceContext) {
        return;
    }
    LineTo(deviceContext, point.x, point.y);
}

void Win32DrawContext::fillInside(const Rect& inside)
{
    if (!deviceContext) {
        return;
    }
    const RECT area{inside.left, inside.top, inside.right, inside.bottom};
    HGDIOBJ previousPen = SelectObject(deviceContext, GetStockObject(NULL_PEN));
    FillRect(deviceContext, &area, brush);
    SelectObject(deviceContext, previousPen);
}

void Win32DrawContext::applyPen()
{
    if (!deviceContext) {
        return;
    }
    const UINT penStyle = lineStyle == LineDotted ? PS_DOT : PS_SOLID;
    LOGPEN description{penStyle, {lineWidth, lineWidth}, lineColor.toPlatform()};
    replaceObject(deviceContext, pen, CreatePenIndirect(&description));
}

void Win32DrawContext::applyFillColor()
{
    if (!deviceContext) {
        return;
    }
    SetBkColor(deviceContext, fillColor.toPlatform());
    LOGBRUSH description{BS_SOLID, fillColor.toPlatform(), 0};
    replaceObject(deviceContext, brush, CreateBrushIndirect(&description));
}

void Win32DrawContext::applyTextColor()
{
    if (deviceContext) {
        SetTextColor(deviceContext, textColor.toPlatform());
    }
}

void Win32DrawContext::applyFont(const FontChoice& choice)
{
    if (!deviceContext) {
        return;
    }
    LOGFONTA description{};
    // Negative: the character height, not the cell height.
    description.lfHeight = -choice.size;
    description.lfWeight = choice.bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = choice.italic;
    description.lfUnderline = choice.underline;
    description.lfCharSet = ANSI_CHARSET;
    description.lfOutPrecision = OUT_STRING_PRECIS;
    description.lfClipPrecision = CLIP_STROKE_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = choice.pitchAndFamily;
    std::strncpy(description.lfFaceName, choice.face, LF_FACESIZE - 1);
    replaceObject(deviceContext, font, CreateFontIndirectA(&description));
}

void Win32DrawContext::drawTextLine(const char* text, const Rect& area, bool opaque, std::int32_t alignment)
{
    if (!deviceContext) {
        return;
    }
    SetBkMode(deviceContext, opaque ? OPAQUE : TRANSPARENT);
    RECT bounds{area.left, area.top, area.right, area.bottom};
    UINT format = kTextFormat;
    if (alignment == AlignCenter) {
        format |= DT_CENTER;
    } else if (alignment == AlignRight) {
        format |= DT_RIGHT;
    } else {
        format |= DT_LEFT;
    }
    DrawTextA(deviceContext, text, static_cast<int>(std::strlen(text)), &bounds, format);
    SetBkMode(deviceContext, TRANSPARENT);
}

std::int32_t Win32DrawContext::mouseState() const
{
    std::int32_t state = 0;
    for (const MouseKey& key : kMouseKeys) {
        if (GetAsyncKeyState(key.virtualKey) & kKeyDown) {
            state |= key.bit;
        }
    }
    return state;
}

void Win32DrawContext::cursorPosition(Point& where) const
{
    POINT cursor{};
    GetCursorPos(&cursor);
    where = {cursor.x - windowPosition.x, cursor.y - windowPosition.y};
}
