#include "tests/drop/RecordingView.h"

#include "gui/win32/DropTarget.h"

#include <cstring>

RecordingView::RecordingView(const Rect& size) : View(size) {}

bool RecordingView::dropItems(char** items, std::int32_t count, std::int32_t kind, Point where)
{
    Delivery delivery;
    delivery.count = count;
    delivery.kind = kind;
    delivery.where = where;
    delivery.liveNameBuffers = DropTarget::liveNameBuffers();
    if (kind == DropKindText) {
        delivery.items.emplace_back(items[0], items[0] + count);
    } else {
        for (std::int32_t i = 0; i < count; ++i) {
            const auto* end =
                static_cast<const char*>(std::memchr(items[i], '\0', DropTarget::kNameBufferSize));
            delivery.namesTerminated = delivery.namesTerminated && end != nullptr;
            delivery.items.emplace_back(items[i], end ? end - items[i] : 0);
        }
    }
    received.push_back(delivery);
    return true;
}
