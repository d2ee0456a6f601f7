#include "analyze/StreamInput.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr sf_count_t kKeptBytes = 1 << 20;
constexpr sf_count_t kEndless = SF_COUNT_MAX;
constexpr sf_count_t kRefused = -1;
constexpr sf_count_t kSkipBytes = 4096;

StreamInput& of(void* stream)
{
    return *static_cast<StreamInput*>(stream);
}

} // namespace

StreamInput::StreamInput(int fd) : descriptor(fd), callbacks{length, seek, read, nullptr, tell} {}

SNDFILE* StreamInput::open(SF_INFO& info)
{
    return sf_open_virtual(&callbacks, SFM_READ, &info, this);
}

sf_count_t StreamInput::length(void*)
{
    return kEndless;
}

sf_count_t StreamInput::tell(void* stream)
{
    return of(stream).position;
}

sf_count_t StreamInput::read(void* into, sf_count_t count, void* stream)
{
    return of(stream).readBytes(static_cast<char*>(into), count);
}

sf_count_t StreamInput::seek(sf_count_t offset, int whence, void* stream)
{
    StreamInput& input = of(stream);
    if (whence == SEEK_SET)
        return input.seekTo(offset);
    if (whence == SEEK_CUR)
        return input.seekTo(input.position + offset);
    return kRefused;
}

sf_count_t StreamInput::readBytes(char* into, sf_count_t count)
{
    sf_count_t done = 0;
    if (position < taken) {
        // Seeks back stay within the kept bytes; past them, a pipe cannot give the rest again.
        done = std::min(count, static_cast<sf_count_t>(kept.size()) - position);
        std::memcpy(into, kept.data() + position, static_cast<std::size_t>(done));
        position += done;
        if (position < taken)
            return done;
    }
    while (done < count) {
        const ssize_t got = ::read(descriptor, into + done, static_cast<std::size_t>(count - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        const sf_count_t keep = std::clamp<sf_count_t>(kKeptBytes - taken, 0, got);
        kept.insert(kept.end(), into + done, into + done + keep);
        done += got;
        position += got;
        taken += got;
    }
    return done;
}

// Back to any kept byte; ahead by reading on, within the kept bytes.
sf_count_t StreamInput::seekTo(sf_count_t target)
{
    if (target < 0 || target > kKeptBytes)
        return kRefused;
    if (target <= taken) {
        position = target;
        return position;
    }
    position = taken;
    char skipped[kSkipBytes];
    while (position < target)
        if (readBytes(skipped, std::min(kSkipBytes, target - position)) == 0)
            return kRefused;
    return position;
}
