#include "tests/drop/TestDataObject.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

TestDataObject::~TestDataObject()
{
    std::for_each(keptHandles.begin(), keptHandles.end(), GlobalFree);
}

void TestDataObject::offerText(const std::string& text, std::size_t blockSize)
{
    std::vector<unsigned char> block(std::max(blockSize, text.size() + 1), 0);
    std::copy(text.begin(), text.end(), block.begin());
    offer(CF_TEXT, block);
}

void TestDataObject::offerTextBlock(const std::vector<unsigned char>& block)
{
    offer(CF_TEXT, block);
}

void TestDataObject::offerFiles(const std::vector<std::string>& names)
{
    offer(CF_HDROP, fileListBlock(names));
}

void TestDataObject::offerFileBlock(const std::vector<unsigned char>& block)
{
    offer(CF_HDROP, block);
}

void TestDataObject::setFault(CLIPFORMAT format, Fault fault)
{
    FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    find(&wanted)->fault = fault;
}

void TestDataObject::releaseThrough(IUnknown* object)
{
    releaser = object;
}

std::vector<unsigned char> TestDataObject::fileListBlock(const std::vector<std::string>& names)
{
    DROPFILES header{};
    header.pFiles = sizeof header;
    std::vector<unsigned char> block(sizeof header);
    std::memcpy(block.data(), &header, sizeof header);
    for (const std::string& name : names) {
        block.insert(block.end(), name.begin(), name.end());
        block.push_back(0);
    }
    block.push_back(0);
    return block;
}

HRESULT STDMETHODCALLTYPE TestDataObject::QueryInterface(REFIID interfaceId, void** object)
{
    if (!IsEqualIID(interfaceId, IID_IDataObject) && !IsEqualIID(interfaceId, IID_IUnknown)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE TestDataObject::AddRef()
{
    return ++referenceCount;
}

ULONG STDMETHODCALLTYPE TestDataObject::Release()
{
    return --referenceCount;
}

HRESULT STDMETHODCALLTYPE TestDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    requestedFormats.push_back(format->cfFormat);
    const Offer* offered = find(format);
    if (!offered) {
        return DV_E_FORMATETC;
    }
    if (offered->fault == Fault::GetDataFails) {
        return E_FAIL;
    }
    HGLOBAL memory = nullptr;
    if (offered->fault != Fault::EmptyHandle) {
        memory = GlobalAlloc(GMEM_MOVEABLE, offered->block.size());
        if (void* bytes = GlobalLock(memory)) {
            std::copy(offered->block.begin(), offered->block.end(), static_cast<unsigned char*>(bytes));
            GlobalUnlock(memory);
        }
    }
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = releaser;
    if (releaser) {
        releaser->AddRef();
        keptHandles.push_back(memory);
    }
    handedOut = memory;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TestDataObject::GetDataHere(FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TestDataObject::QueryGetData(FORMATETC* format)
{
    queriedFormats.push_back(format->cfFormat);
    return find(format) ? S_OK : DV_E_FORMATETC;
}

HRESULT STDMETHODCALLTYPE TestDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* canonical)
{
    canonical->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TestDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TestDataObject::EnumFormatEtc(DWORD, IEnumFORMATETC** formats)
{
    *formats = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TestDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE TestDataObject::DUnadvise(DWORD)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE TestDataObject::EnumDAdvise(IEnumSTATDATA**)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

// Only global memory is offered, and only the whole content.
TestDataObject::Offer* TestDataObject::find(const FORMATETC* format)
{
    if (!(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT) {
        return nullptr;
    }
    auto match = std::find_if(offers.begin(), offers.end(),
                              [format](const Offer& o) { return o.format == format->cfFormat; });
    return match == offers.end() ? nullptr : &*match;
}

void TestDataObject::offer(CLIPFORMAT format, const std::vector<unsigned char>& block)
{
    offers.push_back({format, block, Fault::None});
}
