// A real frame in a real parent window, with one recording view over all of
// it, a drop target delivering to that frame and the cursor inside the frame.
// The drop target is called directly, as OLE calls it on the window's thread.
#pragma once

#include "gui/win32/DropTarget.h"
#include "gui/Frame.h"
#include "tests/drop/RecordingView.h"
#include "tests/drop/TestDataObject.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

class DropFixture : public ::testing::Test {
protected:
    static constexpr Rect kFrameSize{0, 0, 400, 300};

    void SetUp() override;
    void TearDown() override;

    // A top-level window for frames; destroyed in TearDown.
    HWND makeParentWindow();
    // Moves the cursor to `where` in the frame's window.
    void moveCursorTo(Point where);
    // A drag that enters and drops, as OLE runs it; Drop's answer.
    HRESULT dragAndDrop(TestDataObject& data);
    const std::vector<Delivery>& deliveries() const { return view->deliveries(); }

    std::int32_t targetsBefore = 0;
    HWND parent = nullptr;
    Frame* frame = nullptr;
    RecordingView* view = nullptr;
    DropTarget* target = nullptr;
};
