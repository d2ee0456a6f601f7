#include "vst3/viewState.h"

#include "analysis/Analyzer.h"

#include <cstring>

namespace viewState {

namespace {

constexpr char kTag[4] = {'O', 'r', 'V', 'w'};
constexpr std::uint8_t kVersion = 1;
constexpr std::int32_t kStateBytes = sizeof kTag + 2;
constexpr std::size_t kVersionAt = sizeof kTag;
constexpr std::size_t kOptionsAt = sizeof kTag + 1;

// The saved bit of each option, independent of how the analyzer numbers them.
struct SavedOption {
    std::uint32_t analyzerBit;
    std::uint8_t savedBit;
};
constexpr SavedOption kSavedOptions[] = {
    {Analyzer::ToggleZoomHistogram, 1 << 0},
    {Analyzer::ToggleLogFrequencyAxis, 1 << 1},
    {Analyzer::ToggleSlowLevelHistory, 1 << 2},
    {Analyzer::ToggleSlowSpectrogram, 1 << 3},
};
constexpr std::uint8_t kKnownBits = 0x0F;

// A host's stream may hand over less than asked in one call.
std::int32_t readUpTo(vst3::IBStream& stream, std::uint8_t* bytes, std::int32_t count)
{
    std::int32_t total = 0;
    while (total < count) {
        std::int32_t done = 0;
        if (stream.read(bytes + total, count - total, &done) != vst3::kResultOk || done <= 0)
            break;
        total += done;
    }
    return total;
}

} // namespace

bool write(vst3::IBStream& stream, std::uint32_t options)
{
    std::uint8_t bytes[kStateBytes] = {};
    std::memcpy(bytes, kTag, sizeof kTag);
    bytes[kVersionAt] = kVersion;
    for (const SavedOption& option : kSavedOptions)
        if (options & option.analyzerBit)
            bytes[kOptionsAt] |= option.savedBit;
    std::int32_t total = 0;
    while (total < kStateBytes) {
        std::int32_t done = 0;
        if (stream.write(bytes + total, kStateBytes - total, &done) != vst3::kResultOk || done <= 0)
            return false;
        total += done;
    }
    return true;
}

bool read(vst3::IBStream& stream, std::uint32_t& options)
{
    std::uint8_t bytes[kStateBytes] = {};
    if (readUpTo(stream, bytes, kStateBytes) != kStateBytes || std::memcmp(bytes, kTag, sizeof kTag) != 0 ||
        bytes[kVersionAt] != kVersion || (bytes[kOptionsAt] & ~kKnownBits) != 0)
        return false;
    options = 0;
    for (const SavedOption& option : kSavedOptions)
        if (bytes[kOptionsAt] & option.savedBit)
            options |= option.analyzerBit;
    return true;
}

} // namespace viewState
