// The data of a drag as another program would offer it: plain text and/or a
// file list in global memory, or one of the faults a careless source makes.
// It records what it was asked for. Lives on the test's stack; references are
// counted only so that a test can see none is left behind.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

class TestDataObject : public IDataObject {
public:
    // What GetData does with a format it offers.
    enum class Fault { None, GetDataFails, EmptyHandle };

    TestDataObject() = default;
    TestDataObject(const TestDataObject&) = delete;
    TestDataObject& operator=(const TestDataObject&) = delete;
    virtual ~TestDataObject();

    // The text's bytes, zero-terminated, in a zero-filled block of
    // `blockSize` bytes (at least the text and its terminator).
    void offerText(const std::string& text, std::size_t blockSize);
    // A block of exactly `block.size()` bytes, which may be empty.
    void offerTextBlock(const std::vector<unsigned char>& block);
    // A file list in the platform's layout: header, names, double terminator.
    void offerFiles(const std::vector<std::string>& names);
    void offerFileBlock(const std::vector<unsigned char>& block);
    void setFault(CLIPFORMAT format, Fault fault);
    // Media then carry this release object and the memory stays ours;
    // without one the receiver owns and frees the memory.
    void releaseThrough(IUnknown* releaser);

    static std::vector<unsigned char> fileListBlock(const std::vector<std::string>& names);

    const std::vector<CLIPFORMAT>& queried() const { return queriedFormats; }
    const std::vector<CLIPFORMAT>& requested() const { return requestedFormats; }
    // The memory handed out by the last successful GetData.
    HGLOBAL lastHandle() const { return handedOut; }
    long references() const { return referenceCount; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* format, FORMATETC* canonical) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                      DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** advises) override;

private:
    struct Offer {
        CLIPFORMAT format;
        std::vector<unsigned char> block;
        Fault fault;
    };

    Offer* find(const FORMATETC* format);
    void offer(CLIPFORMAT format, const std::vector<unsigned char>& block);

    std::vector<Offer> offers;
    std::vector<CLIPFORMAT> queriedFormats;
    std::vector<CLIPFORMAT> requestedFormats;
    IUnknown* releaser = nullptr;
    // Memory handed out with a release object, freed by us at the end.
    std::vector<HGLOBAL> keptHandles;
    HGLOBAL handedOut = nullptr;
    long referenceCount = 0;
};
