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

// The names the interfaces' signatures use: a boolean byte, a call's
// result, a 16-byte identifier as passed, a C string.
using TBool = std::uint8_t;
using tresult = std::int32_t;
using TUID = char[16];
using FIDString = const char*;

// The answers this plug-in gives. Windows hosts expect COM's HRESULT values
// for the failures; elsewhere the interface numbers them small.
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
#if defined(_WIN32)
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002L);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057L);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000EL);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kOutOfMemory = 6;
#endif

// An identifier written as four 32-bit words, the way the reference writes
// them, and its 16 bytes in memory. On Windows the bytes are those of a COM
// GUID (first word and the two halves of the second little-endian); elsewhere
// every word is stored with its most significant byte first.
struct Uid {
    char bytes[16];
};

constexpr char byteOf(std::uint32_t word, int shift)
{
    return static_cast<char>((word >> shift) & 0xFF);
}

constexpr Uid makeUid(std::uint32_t l1, std::uint32_t l2, std::uint32_t l3, std::uint32_t l4)
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
    virtual std::uint32_t ORVANE_VST3_CALL addRef() = 0;
    virtual std::uint32_t ORVANE_VST3_CALL release() = 0;

    static constexpr Uid iid = makeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);

protected:
    ~FUnknown() = default;
};

} // namespace vst3
