// The analyzer's window content: nine numeric displays, the reset button,
// the four pictures that switch their view mode when clicked, and the help
// overlay. Refreshed from the analysis at most every 50 ms by the paced
// update that the analysis runs after every block.
//
// Threads: the paced update runs on the host's audio thread and touches no
// window: when a refresh is due it hands a snapshot of the analysis over to
// the user-interface thread, which renders and draws it from the window's
// refresh timer or the host's idle call. One snapshot is in flight at a
// time; until it is drawn, the analysis keeps gathering for the next one.
#pragma once

#include "analysis/Analyzer.h"
#include "editor/EditorBase.h"
#include "editor/panelMeasures.h"
#include "gui/ControlListener.h"

#include <atomic>
#include <cstdint>

class Bitmap;
class ImageBitmap;
class MomentaryButton;
class OverlayButton;
class ValueDisplay;

class AnalyzerEditor : public EditorBase, public ControlListener {
public:
    static constexpr int kDisplayCount = kPanelMeasureCount;
    static constexpr int kPictureCount = 4;

    // Binds itself to the analyzer as its editor and makes the four pictures,
    // which live as long as the editor.
    explicit AnalyzerEditor(Analyzer& analyzer);
    ~AnalyzerEditor() override;

    // User-interface thread. Builds the frame and every control, then shows
    // a refresh still waiting, or refreshes once if the pacing allows. Always 1.
    std::int32_t open(void* parentWindow) override;
    // User-interface thread. Destroys the frame and the bitmaps made by open;
    // a refresh handed over meanwhile waits for the next open.
    void close() override;
    // User-interface thread: the host's idle call and the window's refresh
    // timer show a refresh that the analysis handed over.
    void idle() override;
    // User-interface thread: sets the displays from the refresh handed over,
    // renders its pictures and, unless the help covers them, draws them now.
    void updateDisplay() override;
    // Audio thread, after every block, with the analysis held; no window call,
    // no allocation, no wait. When more than 50 ms passed since the last
    // refresh of any editor in the process and the editor is open, hands a
    // snapshot over, unless the previous one has not been drawn yet: then it
    // tries again after the next block.
    void pacedUpdate();
    // User-interface thread: reset and the picture options, posted to the
    // analysis; the overlay's state.
    void valueChanged(DrawContext* context, Control* control) override;

    bool isOpen() const { return opened; }
    bool isOverlayShown() const { return overlayShown; }
    // What display k shows (its value), and picture i; for the test host.
    float displayedValue(int k) const;
    ImageBitmap* picture(int i) const { return imageBitmaps[i]; }

protected:
    // The window's timer: shows a refresh that the analysis handed over.
    void onRefreshTimer() override;

private:
    void makeBitmaps();
    void makeControls();
    // Hands a new view to the frame; null when it could not be made or added.
    template <typename SomeView> SomeView* adopt(SomeView* view);
    void releaseBitmaps();
    Analyzer::PictureChanges renderPictures(AnalysisSnapshot& snapshot);
    void drawPictures(Analyzer::PictureChanges changed);
    void showOverlay(bool shown);

    ValueDisplay* displays[kDisplayCount] = {};
    MomentaryButton* resetButton = nullptr;
    MomentaryButton* imageViews[kPictureCount] = {};
    OverlayButton* overlayButton = nullptr;
    Bitmap* displayBitmap = nullptr;
    Bitmap* resetBitmap = nullptr;
    Bitmap* backgroundBitmap = nullptr;
    Bitmap* overlayBitmap = nullptr;
    ImageBitmap* imageBitmaps[kPictureCount] = {};
    Analyzer* analyzer;
    // Written on the user-interface thread, read by the paced update.
    std::atomic<bool> opened{false};
    bool overlayShown = false;
    // Filled by whoever holds the analysis while `refreshPending` is false;
    // read and released by the user-interface thread once it is true.
    AnalysisSnapshot pendingRefresh{};
    std::atomic<bool> refreshPending{false};
};
