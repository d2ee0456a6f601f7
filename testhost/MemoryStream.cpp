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

std::uint32_t MemoryStream::addRef()
{
    return ++references;
}

std::uint32_t MemoryStream::release()
{
    return --references;
}

tresult MemoryStream::read(void* buffer, std::int32_t numBytes, std::int32_t* numBytesRead)
{
    if (!buffer || numBytes < 0)
        return kInvalidArgument;
    const std::size_t count = std::min(static_cast<std::size_t>(numBytes), data.size() - position);
    if (count > 0)
        std::memcpy(buffer, data.data() + position, count);
    position += count;
    if (numBytesRead)
        *numBytesRead = static_cast<std::int32_t>(count);
    return kResultOk;
}

tresult MemoryStream::write(void* buffer, std::int32_t numBytes, std::int32_t* numBytesWritten)
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

tresult MemoryStream::seek(std::int64_t offset, std::int32_t mode, std::int64_t* result)
{
    const std::int64_t base = mode == kIBSeekSet   ? 0
                              : mode == kIBSeekCur ? static_cast<std::int64_t>(position)
                                                   : static_cast<std::int64_t>(data.size());
    const std::int64_t target = base + offset;
    if ((mode != kIBSeekSet && mode != kIBSeekCur && mode != kIBSeekEnd) || target < 0 ||
        target > static_cast<std::int64_t>(data.size()))
        return kInvalidArgument;
    position = static_cast<std::size_t>(target);
    if (result)
        *result = target;
    return kResultOk;
}

tresult MemoryStream::tell(std::int64_t* where)
{
    if (!where)
        return kInvalidArgument;
    *where = static_cast<std::int64_t>(position);
    return kResultOk;
}
