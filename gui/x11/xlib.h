// Xlib for the toolkit's X11 layer. X.h names a line style LineSolid, as the
// toolkit does; the toolkit never uses X's line styles, so the macro goes.
#pragma once

#include <X11/Xlib.h>

#undef LineSolid

// A connection to the X server named by DISPLAY, or null. A busy server
// turns new connections away for a moment (its queue of them is full), so
// this tries again for a short while before giving up.
Display* connectToXServer();
