// The analyzer's window content: nine numeric displays, the reset button,
// the four pictures that switch their view mode when clicked, and the help
// overlay. Refreshed from the analysis at most every 50 ms by the paced
// update that the analysis runs after every block.
//
// Threads: open, close and the controls run on the user-interface thread;
// the paced update runs on the host's audio thread. The window gate keeps
// the two apart: the refresh skips itself while the user interface builds,
// tears down, paints or tracks the mouse, and never waits for it.
#pragma once

#include "editor/EditorBase.h"
#include "gui/ControlListener.h"

#include <cstdint>

class Analyzer;
class Bitmap;
class ImageBitmap;
class MomentaryButton;
class OverlayButton;
class ValueDisplay;

class AnalyzerEditor : public EditorBase, public ControlListener {
public:
    static constexpr int kDisplayCount = 9;
    static constexpr int kPictureCount = 4;

    // Binds itself to the analyzer as its editor and makes the four pictures,
    // which live as long as the editor.
    explicit AnalyzerEditor(Analyzer& analyzer);
    ~AnalyzerEditor() override;

    // User-interface thread. Builds the frame and every control, then
    // refreshes once if the pacing allows. Always 1.
    std::int32_t open(void* parentWindow) override;
    // User-interface thread. Waits for a refresh in progress, then destroys
    // the frame and the bitmaps made by open.
    void close() override;
    // The host's idle calls do nothing: the analysis drives the refresh.
    void idle() override;
    // Sets the displays, renders the pictures and draws them now; only while open.
    void updateDisplay() override;
    // Audio thread, after every block, with the analysis held. Runs
    // updateDisplay when more than 50 ms passed since the last run of any
    // editor in the process, and skips it while the user interface has the window.
    void pacedUpdate();
    // User-interface thread: reset and the picture options, posted to the
    // analysis; the overlay's state.
    void valueChanged(DrawContext* context, Control* control) override;

    bool isOpen() const { return opened; }
    bool isOverlayShown() const { return overlayShown; }
    // What display k shows (its value), and picture i; for the test host.
    float displayedValue(int k) const;
    ImageBitmap* picture(int i) const { return imageBitmaps[i]; }

private:
    void makeBitmaps();
    void makeControls();
    // Hands a new view to the frame; null when it could not be made or added.
    template <typename SomeView> SomeView* adopt(SomeView* view);
    void releaseBitmaps();
    void refreshContent();
    void drawPictures();
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
    bool opened = false;
    bool overlayShown = false;
};
