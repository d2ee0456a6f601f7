// Finds the analyzer's editor among the windows on the display (a window of
// the editor's size, whoever's client made it, as when a host such as jalv
// embeds it), saves what it shows as a PNG file, and checks that it shows the
// editor: the panel's label column must be the frame background picture's.
// usage: editorShot SCALE OUT.png   (exit 0 when the editor is on screen)
#include "gui/BmpPicture.h"
#include "resources/embeddedPictures.h"
#include "testhost/screenshotPng.h"
#include "testhost/x11/windowCapture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Look {
    int width;
    int height;
    int backgroundId;
    // The panel's labels, left of the displays.
    int labelColumns;
};
constexpr Look kLooks[] = {{516, 204, 101, 40}, {1028, 408, 122, 80}};
constexpr std::uint32_t kTransparentYellow = 0xFFFF00;

// Depth first: the deepest window of that size is the editor's own.
Window findWindow(Display* display, Window parent, int width, int height)
{
    Window root, parentOfParent, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, parent, &root, &parentOfParent, &children, &count))
        return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        found = findWindow(display, children[i], width, height);
        XWindowAttributes attributes;
        if (!found && XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable && attributes.width == width && attributes.height == height)
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

int differingLabelPixels(const Screenshot& shot, const Look& look)
{
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    findEmbeddedPicture(look.backgroundId, &data, &size);
    const BmpPicture panel = decodeBmp(data, size);
    int differing = 0;
    for (int y = 0; y < panel.height && y < shot.height; ++y) {
        for (int x = 0; x < look.labelColumns; ++x) {
            const std::uint32_t expected = panel.pixels[static_cast<std::size_t>(y) * panel.width + x];
            if (expected == kTransparentYellow)
                continue;
            const std::uint8_t* shown = shot.at(x, y);
            differing += (std::uint32_t{shown[2]} << 16 | std::uint32_t{shown[1]} << 8 | shown[0]) != expected;
        }
    }
    return differing;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "1") != 0 && std::strcmp(argv[1], "2") != 0)) {
        std::fprintf(stderr, "usage: editorShot 1|2 OUT.png\n");
        return 2;
    }
    const Look& look = kLooks[std::atoi(argv[1]) - 1];
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "editorShot: no X display\n");
        return 1;
    }
    const Window editor = findWindow(display, DefaultRootWindow(display), look.width, look.height);
    const Screenshot shot = captureWindow(display, editor);
    XCloseDisplay(display);
    if (shot.width == 0) {
        std::fprintf(stderr, "editorShot: no window of %d x %d on the display\n", look.width, look.height);
        return 1;
    }
    if (!writeScreenshotPng(shot, argv[2])) {
        std::fprintf(stderr, "editorShot: could not write %s\n", argv[2]);
        return 1;
    }
    const int differing = differingLabelPixels(shot, look);
    std::printf("editor window 0x%lx, %d x %d, saved as %s; label column: %d pixels differ from the panel picture\n",
                editor, shot.width, shot.height, argv[2], differing);
    return differing == 0 ? 0 : 1;
}
