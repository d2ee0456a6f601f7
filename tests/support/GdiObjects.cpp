#include "tests/support/GdiObjects.h"

#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstring>

namespace {

// Windows and Wine both publish the GDI handle table through the process
// environment block; its address sits at a fixed offset there.
#ifdef _WIN64
constexpr std::size_t kHandleTableOffset = 0xF8;
#else
constexpr std::size_t kHandleTableOffset = 0x94;
#endif
constexpr std::size_t kHandleTableEntries = 0x10000;
constexpr std::uint32_t kOwnerProcessIdMask = 0xFFFF;

// The entry of 64-bit Windows, of 32-bit programs under WOW64, and of Wine in
// every program (its table keeps 64-bit fields for 32-bit programs too).
struct WideEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(WideEntry) == 24, "64-bit GDI handle table entry");

// The entry of 32-bit Windows.
struct NarrowEntry {
    std::uint32_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint32_t userPointer;
};
static_assert(sizeof(NarrowEntry) == 16, "32-bit GDI handle table entry");

bool underWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool wideEntries()
{
#ifdef _WIN64
    return true;
#else
    BOOL wow64 = FALSE;
    return underWine() || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
#endif
}

const void* handleTable()
{
    PROCESS_BASIC_INFORMATION process{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process,
                                  nullptr) != 0) {
        return nullptr;
    }
    const void* table = nullptr;
    std::memcpy(&table, reinterpret_cast<const unsigned char*>(process.PebBaseAddress) + kHandleTableOffset,
                sizeof table);
    return table;
}

// A live entry has a non-zero type; Wine clears only the type when an object
// goes. Wine's table belongs to this process alone and leaves every owner 0,
// while Windows shares one table between processes and marks each owner.
template <typename Entry> std::int64_t countLiveEntries(const void* table, bool everyOwner)
{
    const auto* entries = static_cast<const Entry*>(table);
    const std::uint32_t ownProcessId = GetCurrentProcessId() & kOwnerProcessIdMask;
    std::int64_t count = 0;
    for (std::size_t index = 0; index < kHandleTableEntries; ++index) {
        const Entry& entry = entries[index];
        if (entry.type != 0 && (everyOwner || (entry.owner & kOwnerProcessIdMask) == ownProcessId)) {
            ++count;
        }
    }
    return count;
}

} // namespace

std::int64_t liveGdiObjects()
{
    // Windows counts for us; Wine always answers 0 here.
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) {
        return counted;
    }
    const void* table = handleTable();
    if (!table) {
        return 0;
    }
    const bool everyOwner = underWine();
    return wideEntries() ? countLiveEntries<WideEntry>(table, everyOwner)
                         : countLiveEntries<NarrowEntry>(table, everyOwner);
}
