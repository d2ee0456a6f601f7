// The host's byte stream, through which a plug-in's state is saved into and
// read back from the host's project.
#pragma once

#include "vst3/FUnknown.h"

namespace vst3 {

class IBStream : public FUnknown {
public:
    enum : std::int32_t { kIBSeekSet = 0, kIBSeekCur, kIBSeekEnd };

    // Each may do less than asked; the count done is written where given.
    virtual tresult ORVANE_VST3_CALL read(void* buffer, std::int32_t numBytes,
                                          std::int32_t* numBytesRead) = 0;
    virtual tresult ORVANE_VST3_CALL write(void* buffer, std::int32_t numBytes,
                                           std::int32_t* numBytesWritten) = 0;
    virtual tresult ORVANE_VST3_CALL seek(std::int64_t position, std::int32_t mode, std::int64_t* result) = 0;
    virtual tresult ORVANE_VST3_CALL tell(std::int64_t* position) = 0;

    static constexpr Uid iid = makeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);

protected:
    ~IBStream() = default;
};

} // namespace vst3
