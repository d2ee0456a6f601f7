// The OLE drop target of a frame's window: takes plain text or a file list
// dragged from another program and hands it to the frame's dropItems, at the
// mouse position of the moment, with shell shortcuts resolved to their
// targets. OLE calls it only on the thread that registered it.
//
// Ownership: a new target has no reference. The frame hands it to
// RegisterDragDrop, which takes one; RevokeDragDrop gives it back and the
// last Release destroys the target.
#pragma once

#include "gui/Geometry.h"

#include <ole2.h>
#include <windows.h>

#include <atomic>
#include <cstdint>

class Frame;

class DropTarget : public IDropTarget {
public:
    // Every name handed to dropItems sits in a buffer of this many bytes.
    static constexpr std::int32_t kNameBufferSize = 1024;

    // The frame is not owned; without one a drop is accepted and discarded.
    explicit DropTarget(Frame* frame);
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

    // Diagnostics: targets and name buffers alive in the process now.
    static std::int32_t liveTargets() { return targetCount; }
    static std::int32_t liveNameBuffers() { return nameBufferCount; }

private:
    // Only the last Release destroys a target.
    virtual ~DropTarget();

    void receive(IDataObject* data);
    void deliverText(HGLOBAL memory);
    void deliverFiles(HGLOBAL memory);
    Point mousePosition() const;
    static char* copyName(const char (&name)[kNameBufferSize]);
    static void freeName(char* name);

    std::int32_t referenceCount = 0;
    bool accept = false;
    Frame* frame;

    static std::atomic<std::int32_t> targetCount;
    static std::atomic<std::int32_t> nameBufferCount;
};
