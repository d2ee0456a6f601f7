// The records that cross between host and plug-in have the hosts' layout in
// both widths: every field's offset and every record's size, and the bytes
// of an identifier, which Windows orders as a COM GUID.
#include "vst3/IAudioProcessor.h"
#include "vst3/IComponent.h"
#include "vst3/IPlugView.h"
#include "vst3/IPluginFactory.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>

using namespace vst3;

namespace {

struct Layout {
    const char* field;
    std::size_t actual;
    std::size_t in32Bits;
    std::size_t in64Bits;
};

constexpr bool k64Bits = sizeof(void*) == 8;

#define ORVANE_FIELD(record, member, at32, at64)                                                             \
    {                                                                                                        \
#record "." #member, offsetof(record, member), at32, at64                                            \
    }
#define ORVANE_SIZE(record, of32, of64)                                                                      \
    {                                                                                                        \
        "sizeof " #record, sizeof(record), of32, of64                                                        \
    }

const Layout kLayouts[] = {
    ORVANE_FIELD(PFactoryInfo, url, 64, 64),
    ORVANE_FIELD(PFactoryInfo, email, 320, 320),
    ORVANE_FIELD(PFactoryInfo, flags, 448, 448),
    ORVANE_SIZE(PFactoryInfo, 452, 452),
    ORVANE_FIELD(PClassInfo, cardinality, 16, 16),
    ORVANE_FIELD(PClassInfo, category, 20, 20),
    ORVANE_FIELD(PClassInfo, name, 52, 52),
    ORVANE_SIZE(PClassInfo, 116, 116),
    ORVANE_FIELD(PClassInfo2, classFlags, 116, 116),
    ORVANE_FIELD(PClassInfo2, subCategories, 120, 120),
    ORVANE_FIELD(PClassInfo2, vendor, 248, 248),
    ORVANE_FIELD(PClassInfo2, version, 312, 312),
    ORVANE_FIELD(PClassInfo2, sdkVersion, 376, 376),
    ORVANE_SIZE(PClassInfo2, 440, 440),
    ORVANE_FIELD(BusInfo, channelCount, 8, 8),
    ORVANE_FIELD(BusInfo, name, 12, 12),
    ORVANE_FIELD(BusInfo, busType, 268, 268),
    ORVANE_FIELD(BusInfo, flags, 272, 272),
    ORVANE_SIZE(BusInfo, 276, 276),
    ORVANE_SIZE(RoutingInfo, 12, 12),
    ORVANE_FIELD(ProcessSetup, maxSamplesPerBlock, 8, 8),
    ORVANE_FIELD(ProcessSetup, sampleRate, 16, 16),
    ORVANE_SIZE(ProcessSetup, 24, 24),
    ORVANE_FIELD(AudioBusBuffers, silenceFlags, 8, 8),
    ORVANE_FIELD(AudioBusBuffers, channelBuffers32, 16, 16),
    ORVANE_SIZE(AudioBusBuffers, 24, 24),
    ORVANE_FIELD(ProcessData, numOutputs, 16, 16),
    ORVANE_FIELD(ProcessData, inputs, 20, 24),
    ORVANE_FIELD(ProcessData, outputs, 24, 32),
    ORVANE_FIELD(ProcessData, inputParameterChanges, 28, 40),
    ORVANE_FIELD(ProcessData, inputEvents, 36, 56),
    ORVANE_FIELD(ProcessData, processContext, 44, 72),
    ORVANE_SIZE(ProcessData, 48, 80),
    ORVANE_FIELD(ViewRect, bottom, 12, 12),
    ORVANE_SIZE(ViewRect, 16, 16),
    ORVANE_SIZE(Uid, 16, 16),
};

std::string hex(const Uid& uid)
{
    std::string text;
    char digits[3];
    for (char byte : uid.bytes) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(byte));
        text += digits;
    }
    return text;
}

} // namespace

TEST(Vst3Layout, RecordsHaveTheHostsOffsetsAndSizes)
{
    for (const Layout& layout : kLayouts)
        EXPECT_EQ(layout.actual, k64Bits ? layout.in64Bits : layout.in32Bits) << layout.field;
}

TEST(Vst3Layout, IdentifierBytesFollowTheSystemsOrder)
{
#if defined(_WIN32)
    EXPECT_EQ(hex(IComponent::iid), "31FF31E8D5F20143928EBBEE25697802");
#else
    EXPECT_EQ(hex(IComponent::iid), "E831FF31F2D54301928EBBEE25697802");
#endif
    EXPECT_EQ(hex(FUnknown::iid), "0000000000000000C000000000000046") << "the same on every system";
}
