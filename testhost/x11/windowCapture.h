// What an X11 window shows now, read back from the server.
#pragma once

#include "testhost/Screenshot.h"

#include <X11/Xlib.h>

#undef LineSolid

// Empty when the window cannot be read.
Screenshot captureWindow(Display* display, Window window);
