// The Windows handles behind the toolkit's portable objects, for tests that
// check them with the platform's own calls.
#pragma once

#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "gui/win32/Win32BitmapImage.h"

#include <windows.h>

inline HWND windowOf(const Frame& frame)
{
    return static_cast<HWND>(frame.getWindow());
}

inline HBITMAP imageOf(const Bitmap& bitmap)
{
    auto* image = static_cast<Win32BitmapImage*>(bitmap.getImage());
    return image ? image->handle() : nullptr;
}
