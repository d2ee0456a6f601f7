// The analyzer's editor as a VST 3 view: opened at its fixed size inside the
// host's window (an HWND on Windows, an X11 window on Linux) and closed with
// it. Where the host's frame offers a run loop (Linux), the loop delivers the
// editor's window events and its refresh timer, the part effEditIdle plays
// for a VST 2.x host, and the editor's own timer thread stops; without one
// the editor keeps its own timer.
//
// Threads: everything here runs on the host's user-interface thread, while
// audio may run; the editor takes its refreshes from the analysis as it does
// in the other forms.
#pragma once

#include "vst3/Counted.h"
#include "vst3/IPlugView.h"

class AnalyzerComponent;
class Frame;
class RunLoopHandler;

class AnalyzerView final : public vst3::Counted<AnalyzerView, vst3::IPlugView> {
public:
    // Holds a reference to the component for its whole life.
    explicit AnalyzerView(AnalyzerComponent& component);
    AnalyzerView(const AnalyzerView&) = delete;
    AnalyzerView& operator=(const AnalyzerView&) = delete;

    vst3::tresult ORVANE_VST3_CALL queryInterface(const vst3::TUID iid, void** object) override;

    vst3::tresult ORVANE_VST3_CALL isPlatformTypeSupported(vst3::FIDString type) override;
    vst3::tresult ORVANE_VST3_CALL attached(void* parent, vst3::FIDString type) override;
    vst3::tresult ORVANE_VST3_CALL removed() override;
    // Keys and the wheel are left to the host: the editor has no use for them.
    vst3::tresult ORVANE_VST3_CALL onWheel(float distance) override;
    vst3::tresult ORVANE_VST3_CALL onKeyDown(char16_t key, std::int16_t keyCode,
                                             std::int16_t modifiers) override;
    vst3::tresult ORVANE_VST3_CALL onKeyUp(char16_t key, std::int16_t keyCode,
                                           std::int16_t modifiers) override;
    vst3::tresult ORVANE_VST3_CALL getSize(vst3::ViewRect* size) override;
    // Only the editor's own size is taken.
    vst3::tresult ORVANE_VST3_CALL onSize(vst3::ViewRect* newSize) override;
    vst3::tresult ORVANE_VST3_CALL onFocus(vst3::TBool state) override;
    vst3::tresult ORVANE_VST3_CALL setFrame(vst3::IPlugFrame* frame) override;
    vst3::tresult ORVANE_VST3_CALL canResize() override;
    vst3::tresult ORVANE_VST3_CALL checkSizeConstraint(vst3::ViewRect* rect) override;

private:
    ~AnalyzerView();
    friend CountedBase;

    bool editorRect(vst3::ViewRect& rect);
    Frame* editorFrame() const;
    // Lets the host's run loop drive the editor, when its frame has one.
    void joinHostRunLoop();
    void leaveHostRunLoop();
    void idleEditor();

    AnalyzerComponent& component;
    vst3::IPlugFrame* hostFrame = nullptr;
    RunLoopHandler* runLoopHandler = nullptr;
    bool isAttached = false;
};
