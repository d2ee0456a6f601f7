// A view that takes every drop for the tests: copies what each drop hands it
// while the items are still alive.
#pragma once

#include "gui/View.h"

#include <cstdint>
#include <string>
#include <vector>

struct Delivery {
    // Text: the whole block of `count` bytes; files: each name up to its end.
    std::vector<std::string> items;
    std::int32_t count = 0;
    std::int32_t kind = -1;
    Point where;
    // Name buffers alive while the view held the items.
    std::int32_t liveNameBuffers = 0;
    // Every file name ended inside its buffer.
    bool namesTerminated = true;
};

class RecordingView : public View {
public:
    explicit RecordingView(const Rect& size);

    bool dropItems(char** items, std::int32_t count, std::int32_t kind, Point where) override;

    const std::vector<Delivery>& deliveries() const { return received; }

private:
    std::vector<Delivery> received;
};
