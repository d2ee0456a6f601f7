#include "testhost/MemoryStream.h"

#include "vst3/Counted.h"

#include <algorithm>
#include <cstring>
#include <utility>

using namespace vst3;

MemoryStream::MemoryStream(std::vector<std::uint8_t> bytes) : data(std::move(bytes)) {}

tresult MemoryStream::queryInterface(const TUID iid, void** object)
{
    if (sameUid(iid, FUnknown::iid) || sameUid(iid, IBStream::iid))
        return answerInterface(static_cast<IBStream*>(this), object);
    return noInterface(object);
}

uint32 MemoryStream::addRef()
{
    return ++references;
}

uint32 MemoryStream::release()
{
    return --references;
}

tresult MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead)
{
    if (!buffer || numBytes < 0)
        return kInvalidArgument;
    const std::size_t count = std::min(static_cast<std::size_t>(numBytes), data.size() - position);
    if (count > 0)
        std::memcpy(buffer, data.data() + position, count);
    position += count;
    if (numBytesRead)
        *numBytesRead = static_cast<int32>(count);
    return kResultOk;
}

tresult MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten)
{
    if (!buffer || numBytes < 0)
        return kInvalidArgument;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    data.resize(std::max(data.size(), position + static_cast<std::size_t>(numBytes)));
    std::copy(bytes, bytes + numBytes, data.begin() + static_cast<std::ptrdiff_t>(position));
    position += static_cast<std::size_t>(numBytes);
    if (numBytesWritten)
        *numBytesWritten = numBytes;
    return kResultOk;
}

tresult MemoryStream::seek(int64 offset, int32 mode, int64* result)
{
    const int64 base = mode == kIBSeekSet   ? 0
                       : mode == kIBSeekCur ? static_cast<int64>(position)
                                            : static_cast<int64>(data.size());
    const int64 target = base + offset;
    if ((mode != kIBSeekSet && mode != kIBSeekCur && mode != kIBSeekEnd) || target < 0 ||
        target > static_cast<int64>(data.size()))
        return kInvalidArgument;
    position = static_cast<std::size_t>(target);
    if (result)
        *result = target;
    return kResultOk;
}

tresult MemoryStream::tell(int64* where)
{
    if (!where)
        return kInvalidArgument;
    *where = static_cast<int64>(position);
    return kResultOk;
}
