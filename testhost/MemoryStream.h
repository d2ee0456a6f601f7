// A host's stream for a plug-in's state, in memory. Lives on the host's
// side: counted references are answered but never delete it.
#pragma once

#include "vst3/IBStream.h"

#include <cstdint>
#include <vector>

class MemoryStream final : public vst3::IBStream {
public:
    MemoryStream() = default;
    // A stream to read `bytes` from, from the start.
    explicit MemoryStream(std::vector<std::uint8_t> bytes);

    const std::vector<std::uint8_t>& bytes() const { return data; }

    vst3::tresult ORVANE_VST3_CALL queryInterface(const vst3::TUID iid, void** object) override;
    vst3::uint32 ORVANE_VST3_CALL addRef() override;
    vst3::uint32 ORVANE_VST3_CALL release() override;
    vst3::tresult ORVANE_VST3_CALL read(void* buffer, vst3::int32 numBytes,
                                        vst3::int32* numBytesRead) override;
    vst3::tresult ORVANE_VST3_CALL write(void* buffer, vst3::int32 numBytes,
                                         vst3::int32* numBytesWritten) override;
    vst3::tresult ORVANE_VST3_CALL seek(vst3::int64 position, vst3::int32 mode, vst3::int64* result) override;
    vst3::tresult ORVANE_VST3_CALL tell(vst3::int64* position) override;

private:
    std::vector<std::uint8_t> data;
    std::size_t position = 0;
    vst3::uint32 references = 1;
};
