// The base of every VST 3 interface: the plain types, the result codes, the
// 16-byte interface and class identifiers, and FUnknown (reference counting
// and interface queries). Written here from Steinberg's public API reference;
// the interfaces are C++ classes of pure virtual functions, so their tables
// are laid out the way the host's compiler lays out the same declarations.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(_WIN32)
// Every interface method is __stdcall on Windows (it matters for 32-bit
// hosts), as COM methods are.
#define ORVANE_VST3_CALL __stdcall
#else
#define ORVANE_VST3_CALL
#endif

namespace vst3 {

using int16 = std::int16_t;
using int32 = std::int32_t;
using int64 = std::int64_t;
using uint32 = std::uint32_t;
using uint64 = std::uint64_t;
using char16 = char16_t;
using TBool = std::uint8_t;
using tresult = std::int32_t;
using TUID = char[16];
using FIDString = const char*;

// The results of COM on Windows; other systems have small numbers of their own.
#if defined(_WIN32)
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002L);
constexpr tresult kResultOk = 0;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057L);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001L);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005L);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFL);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000EL);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kResultOk = 0;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif
constexpr tresult kResultTrue = kResultOk;

// An identifier written as four 32-bit words, the way the reference writes
// them, and its 16 bytes in memory. On Windows the bytes are those of a COM
// GUID (first word and the two halves of the second little-endian); elsewhere
// every word is stored with its most significant byte first.
struct Uid {
    char bytes[16];
};

constexpr char byteOf(uint32 word, int shift)
{
    return static_cast<char>((word >> shift) & 0xFF);
}

constexpr Uid makeUid(uint32 l1, uint32 l2, uint32 l3, uint32 l4)
{
#if defined(_WIN32)
    return Uid{{byteOf(l1, 0), byteOf(l1, 8), byteOf(l1, 16), byteOf(l1, 24), byteOf(l2, 16), byteOf(l2, 24),
                byteOf(l2, 0), byteOf(l2, 8), byteOf(l3, 24), byteOf(l3, 16), byteOf(l3, 8), byteOf(l3, 0),
                byteOf(l4, 24), byteOf(l4, 16), byteOf(l4, 8), byteOf(l4, 0)}};
#else
    return Uid{{byteOf(l1, 24), byteOf(l1, 16), byteOf(l1, 8), byteOf(l1, 0), byteOf(l2, 24), byteOf(l2, 16),
                byteOf(l2, 8), byteOf(l2, 0), byteOf(l3, 24), byteOf(l3, 16), byteOf(l3, 8), byteOf(l3, 0),
                byteOf(l4, 24), byteOf(l4, 16), byteOf(l4, 8), byteOf(l4, 0)}};
#endif
}

// True when the 16 bytes at `id` (as a host passes them) are `uid`'s.
inline bool sameUid(const char* id, const Uid& uid)
{
    return id && std::memcmp(id, uid.bytes, sizeof uid.bytes) == 0;
}

class FUnknown {
public:
    // Answers kResultOk with `*object` set and one reference added, or
    // kNoInterface with `*object` null.
    virtual tresult ORVANE_VST3_CALL queryInterface(const TUID iid, void** object) = 0;
    // The new count; an object starts with one reference and goes at zero.
    virtual uint32 ORVANE_VST3_CALL addRef() = 0;
    virtual uint32 ORVANE_VST3_CALL release() = 0;

    static constexpr Uid iid = makeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);

protected:
    ~FUnknown() = default;
};

} // namespace vst3
