// A release object for storage media: counts the references given back to it,
// so a test sees whether the receiver of a medium released it.
#pragma once

#include <ole2.h>
#include <windows.h>

class ReleaseProbe : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override
    {
        if (!IsEqualIID(interfaceId, IID_IUnknown)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++added; }
    ULONG STDMETHODCALLTYPE Release() override { return ++released; }

    // References handed out that have not come back.
    long outstanding() const { return static_cast<long>(added) - static_cast<long>(released); }
    ULONG releases() const { return released; }

private:
    ULONG added = 0;
    ULONG released = 0;
};
