// Xlib for the toolkit's X11 layer. X.h names a line style LineSolid, as the
// toolkit does; the toolkit never uses X's line styles, so the macro goes.
#pragma once

#include <X11/Xlib.h>

#undef LineSolid
