// Standard input as libsndfile reads a file, when it is a pipe: libsndfile's
// own pipe reading loses FLAC, so it reads through these callbacks instead.
// While it opens the stream it looks back at the header and ahead past it;
// the first megabyte is kept for that, reads ahead within it are served by
// reading on, and everything else is refused as a pipe would. The stream
// claims to be endless; libsndfile reads until nothing comes.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <vector>

class StreamInput {
public:
    explicit StreamInput(int descriptor);
    StreamInput(const StreamInput&) = delete;
    StreamInput& operator=(const StreamInput&) = delete;

    // Null when libsndfile cannot open the stream (sf_error(nullptr) says why).
    SNDFILE* open(SF_INFO& info);
    sf_count_t bytesRead() const { return taken; }

private:
    static sf_count_t length(void* stream);
    static sf_count_t seek(sf_count_t offset, int whence, void* stream);
    static sf_count_t read(void* into, sf_count_t count, void* stream);
    static sf_count_t tell(void* stream);

    sf_count_t readBytes(char* into, sf_count_t count);
    sf_count_t seekTo(sf_count_t target);

    const int descriptor;
    SF_VIRTUAL_IO callbacks;
    // The stream's first bytes, up to kKeptBytes.
    std::vector<char> kept;
    sf_count_t position = 0;
    // Bytes taken from the descriptor so far.
    sf_count_t taken = 0;
};
