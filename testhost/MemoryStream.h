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
    std::uint32_t ORVANE_VST3_CALL addRef() override;
    std::uint32_t ORVANE_VST3_CALL release() override;
    vst3::tresult ORVANE_VST3_CALL read(void* buffer, std::int32_t numBytes,
                                        std::int32_t* numBytesRead) override;
    vst3::tresult ORVANE_VST3_CALL write(void* buffer, std::int32_t numBytes,
                                         std::int32_t* numBytesWritten) override;
    vst3::tresult ORVANE_VST3_CALL seek(std::int64_t position, std::int32_t mode,
                                        std::int64_t* result) override;
    vst3::tresult ORVANE_VST3_CALL tell(std::int64_t* position) override;

private:
    std::vector<std::uint8_t> data;
    std::size_t position = 0;
    std::uint32_t references = 1;
};
