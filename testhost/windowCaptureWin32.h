// What a Windows window shows now, read back through GDI.
#pragma once

#include "testhost/Screenshot.h"

#include <windows.h>

// Empty when the window cannot be read.
Screenshot captureWindow(HWND window);
