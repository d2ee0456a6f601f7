// A view that records what reaches it, for the toolkit's tests on every platform.
#pragma once

#include "gui/DrawContext.h"
#include "gui/View.h"

#include <string>
#include <utility>
#include <vector>

// Appends "name:event" for everything the container or the window hands it.
class RecordingView : public View {
public:
    RecordingView(const Rect& size, std::string name, std::vector<std::string>& log)
        : View(size), name(std::move(name)), log(log)
    {
    }

    void draw(DrawContext&) override { record("draw"); }
    void drawArea(DrawContext&, const Rect& area) override
    {
        areas.push_back(area);
        record("drawArea");
    }
    void mouseDown(DrawContext&, Point where) override
    {
        presses.push_back(where);
        record("press");
    }
    std::int32_t onKeyDown(VstKeyCode&) override
    {
        record("keyDown");
        return keyAnswer;
    }
    std::int32_t onKeyUp(VstKeyCode&) override
    {
        record("keyUp");
        return keyAnswer;
    }
    bool dropItems(char**, std::int32_t, std::int32_t, Point) override
    {
        record("drop");
        return takesDrops;
    }
    bool onWheel(DrawContext* context, const Point& where, float distance) override
    {
        wheelContextGiven = context != nullptr;
        wheelPoint = where;
        wheelDistance = distance;
        record("wheel");
        return true;
    }
    void focusLost(DrawContext*) override { record("focusLost"); }
    bool attachedTo(ViewContainer*) override
    {
        record("attached");
        return true;
    }
    bool detachedFrom(ViewContainer*) override
    {
        record("detached");
        return true;
    }

    std::int32_t keyAnswer = -1;
    bool takesDrops = false;
    std::vector<Point> presses;
    std::vector<Rect> areas;
    bool wheelContextGiven = false;
    Point wheelPoint;
    float wheelDistance = 0.0f;

protected:
    ~RecordingView() override { record("destroyed"); }

private:
    void record(const char* event) { log.push_back(name + ":" + event); }

    std::string name;
    std::vector<std::string>& log;
};
