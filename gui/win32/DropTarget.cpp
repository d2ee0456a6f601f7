#include "gui/win32/DropTarget.h"

#include "gui/Frame.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

std::atomic<std::int32_t> DropTarget::targetCount{0};
std::atomic<std::int32_t> DropTarget::nameBufferCount{0};

namespace {

// DragQueryFileA's index that asks for the number of names instead of one.
constexpr UINT kCountNames = 0xFFFFFFFF;
constexpr const char* kShortcutExtension = ".lnk";
// Wide characters for a name converted from a full name buffer.
constexpr int kWideNameSize = 2048;
// No window may appear; give up looking for a moved target after 500 ms.
constexpr DWORD kResolveTimeoutMs = 500;
constexpr DWORD kResolveFlags = DWORD{SLR_NO_UI} | DWORD{SLR_ANY_MATCH} | (kResolveTimeoutMs << 16);

FORMATETC formatOf(CLIPFORMAT format)
{
    return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool offers(IDataObject* data, CLIPFORMAT format)
{
    FORMATETC wanted = formatOf(format);
    return data->QueryGetData(&wanted) == S_OK;
}

// True when, from `start`, two consecutive zero characters of `charSize`
// bytes lie inside the block: the end that every walk of the list stops at.
bool hasListEnd(const unsigned char* block, SIZE_T start, SIZE_T size, SIZE_T charSize)
{
    bool previousWasZero = false;
    for (SIZE_T at = start; at + charSize <= size; at += charSize) {
        const bool zero =
            std::all_of(block + at, block + at + charSize, [](unsigned char c) { return c == 0; });
        if (zero && previousWasZero) {
            return true;
        }
        previousWasZero = zero;
    }
    return false;
}

// DragQueryFileA walks the names up to their double terminator without
// knowing the block's size; a list from a careless source that lacks the
// terminator would be read past the end of the block.
bool isWellFormedFileList(HGLOBAL memory)
{
    const SIZE_T size = GlobalSize(memory);
    const auto* block = static_cast<const unsigned char*>(GlobalLock(memory));
    if (!block) {
        return false;
    }
    bool wellFormed = false;
    if (size >= sizeof(DROPFILES)) {
        const auto* header = reinterpret_cast<const DROPFILES*>(block);
        const SIZE_T charSize = header->fWide ? sizeof(WCHAR) : sizeof(char);
        wellFormed = header->pFiles <= size && hasListEnd(block, header->pFiles, size, charSize);
    }
    GlobalUnlock(memory);
    return wellFormed;
}

// Loads the shortcut and reads its target's short path into `name`; `name`
// changes only when every step succeeds and the target has a path.
void readShortcutTarget(IShellLinkA* link, IPersistFile* file, char (&name)[DropTarget::kNameBufferSize])
{
    wchar_t wideName[kWideNameSize];
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, kWideNameSize) == 0) {
        return;
    }
    if (FAILED(file->Load(wideName, STGM_READ)) || FAILED(link->Resolve(nullptr, kResolveFlags))) {
        return;
    }
    // A separate buffer: a failed read must not leave the name half overwritten.
    char target[DropTarget::kNameBufferSize] = {};
    WIN32_FIND_DATAA unused;
    if (link->GetPath(target, DropTarget::kNameBufferSize, &unused, SLGP_SHORTPATH) == S_OK &&
        target[0] != '\0') {
        target[DropTarget::kNameBufferSize - 1] = '\0';
        std::strcpy(name, target);
    }
}

// Replaces a ".lnk" shortcut's name by its target's; any other name, and a
// shortcut that cannot be resolved, stays as it is.
void resolveShortcut(char (&name)[DropTarget::kNameBufferSize])
{
    const char* dot = std::strrchr(name, '.');
    if (!dot || _stricmp(dot, kShortcutExtension) != 0) {
        return;
    }
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return;
    }
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        readShortcutTarget(link, file, name);
        file->Release();
    }
    link->Release();
}

} // namespace

DropTarget::DropTarget(Frame* frame) : frame(frame)
{
    ++targetCount;
}

DropTarget::~DropTarget()
{
    --targetCount;
}

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID interfaceId, void** object)
{
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(interfaceId, IID_IDropTarget) || IsEqualIID(interfaceId, IID_IUnknown)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::AddRef()
{
    return ++referenceCount;
}

ULONG STDMETHODCALLTYPE DropTarget::Release()
{
    const std::int32_t count = --referenceCount;
    if (count <= 0) {
        delete this;
    }
    return std::max(count, 0);
}

HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                                DWORD* effect)
{
    // Text is asked first, so a drag that offers both is treated as text.
    accept = data && (offers(data, CF_TEXT) || offers(data, CF_HDROP));
    return DragOver(keyState, point, effect);
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD keyState, POINTL, DWORD* effect)
{
    if (effect) {
        if (!accept) {
            *effect = DROPEFFECT_NONE;
        } else {
            *effect = (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
        }
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave()
{
    return S_OK;
}

// Whatever the data turns out to be, the drop is answered as handled.
HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD*)
{
    if (frame && data) {
        receive(data);
    }
    DragLeave();
    return S_OK;
}

void DropTarget::receive(IDataObject* data)
{
    STGMEDIUM medium{};
    FORMATETC format = formatOf(CF_TEXT);
    const bool isText = SUCCEEDED(data->GetData(&format, &medium));
    if (!isText) {
        format = formatOf(CF_HDROP);
        if (FAILED(data->GetData(&format, &medium))) {
            return;
        }
    }
    // The medium's handle is only a memory handle when the source says so.
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        if (isText) {
            deliverText(medium.hGlobal);
        } else {
            deliverFiles(medium.hGlobal);
        }
    }
    // Also after a delivery that did not happen: the medium is ours to release.
    ReleaseStgMedium(&medium);
}

void DropTarget::deliverText(HGLOBAL memory)
{
    char* text = static_cast<char*>(GlobalLock(memory));
    if (!text) {
        return;
    }
    const SIZE_T size = GlobalSize(memory);
    if (size > 0) {
        char* items[] = {text};
        const auto count =
            static_cast<std::int32_t>(std::min<SIZE_T>(size, std::numeric_limits<std::int32_t>::max()));
        frame->dropItems(items, count, DropKindText, mousePosition());
    }
    GlobalUnlock(memory);
}

void DropTarget::deliverFiles(HGLOBAL memory)
{
    if (!isWellFormedFileList(memory)) {
        return;
    }
    const auto drop = static_cast<HDROP>(memory);
    const UINT total = DragQueryFileA(drop, kCountNames, nullptr, 0);
    if (total == 0) {
        return;
    }
    char** names = new (std::nothrow) char*[total];
    if (!names) {
        return;
    }
    std::int32_t gathered = 0;
    char name[kNameBufferSize];
    for (UINT index = 0; index < total; ++index) {
        if (DragQueryFileA(drop, index, name, kNameBufferSize) == 0) {
            continue;
        }
        name[kNameBufferSize - 1] = '\0';
        resolveShortcut(name);
        if (char* copy = copyName(name)) {
            names[gathered++] = copy;
        }
    }
    frame->dropItems(names, gathered, DropKindFiles, mousePosition());
    std::for_each(names, names + gathered, freeName);
    delete[] names;
}

Point DropTarget::mousePosition() const
{
    Point where;
    frame->mousePosition(where);
    return where;
}

char* DropTarget::copyName(const char (&name)[kNameBufferSize])
{
    char* copy = new (std::nothrow) char[kNameBufferSize];
    if (copy) {
        std::strcpy(copy, name);
        ++nameBufferCount;
    }
    return copy;
}

void DropTarget::freeName(char* name)
{
    delete[] name;
    --nameBufferCount;
}
