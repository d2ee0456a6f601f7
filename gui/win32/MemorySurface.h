// An offscreen surface for the length of one draw: a memory device context
// compatible with the one drawn on, holding one bitmap. The bitmap is put
// back out and the device context deleted when the surface goes.
#pragma once

#include <windows.h>

class MemorySurface {
public:
    enum Ownership { Borrowed, Owned };

    // An owned bitmap is deleted with the surface, a borrowed one is not.
    MemorySurface(HDC reference, HBITMAP bitmap, Ownership ownership);
    ~MemorySurface();
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;

    // False when the bitmap is missing or could not be selected: a bitmap can
    // be selected into only one device context at a time, so this happens
    // while another thread draws the same bitmap. Draw nothing then.
    bool ready() const { return previousBitmap != nullptr; }
    HDC get() const { return deviceContext; }

private:
    HDC deviceContext;
    HBITMAP bitmap;
    Ownership ownership;
    HGDIOBJ previousBitmap = nullptr;
};
