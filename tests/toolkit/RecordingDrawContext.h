// A drawing context that draws nothing and records what the toolkit's
// portable rules hand to the platform: pen moves, lines, fills, fonts and
// text lines. No mouse button is ever held.
#pragma once

#include "gui/DrawContext.h"

#include <string>
#include <vector>

class RecordingDrawContext : public DrawContext {
public:
    struct TextLine {
        std::string text;
        Rect area;
        bool opaque;
        std::int32_t alignment;
    };

    RecordingDrawContext() : DrawContext(nullptr) {}

    std::int32_t mouseState() const override { return 0; }
    void cursorPosition(Point& where) const override { where = Point{}; }

    std::vector<Point> lineEnds;
    std::vector<Rect> fills;
    std::vector<FontChoice> fonts;
    std::vector<TextLine> texts;
    Point pen;

protected:
    void movePen(const Point& point) override { pen = point; }
    void drawLineTo(const Point& point) override
    {
        lineEnds.push_back(point);
        pen = point;
    }
    void fillInside(const Rect& inside) override { fills.push_back(inside); }
    void applyPen() override {}
    void applyFillColor() override {}
    void applyTextColor() override {}
    void applyFont(const FontChoice& font) override { fonts.push_back(font); }
    void drawTextLine(const char* text, const Rect& area, bool opaque, std::int32_t alignment) override
    {
        texts.push_back(TextLine{text, area, opaque, alignment});
    }
};
