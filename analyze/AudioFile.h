// An audio file read with libsndfile in its own sample rate, as interleaved
// floats (integer formats scaled to -1 ... 1); "-" is standard input. Every
// failure becomes a reason a user can act on: missing, unreadable, not a
// regular file, empty, not audio, unsupported or malformed, zero channels,
// truncated.
#pragma once

#include "analyze/StreamInput.h"

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AudioFile {
public:
    // Opens `path`; when that fails, error() says why and nothing can be read.
    explicit AudioFile(const std::string& path);
    ~AudioFile();
    AudioFile(const AudioFile&) = delete;
    AudioFile& operator=(const AudioFile&) = delete;

    bool failed() const { return !reason.empty(); }
    const std::string& error() const { return reason; }

    int sampleRate() const { return info.samplerate; }
    int channels() const { return info.channels; }
    // Container and encoding as libsndfile names them.
    std::string formatName() const;
    // libsndfile's SF_CHANNEL_MAP_* position of each channel; empty when the
    // file names none.
    std::vector<int> channelMap() const;

    // Up to `frames` interleaved frames; 0 at the end or on a read error.
    std::int64_t read(float* interleaved, std::int64_t frames);
    std::int64_t framesRead() const { return delivered; }
    // Share of the file's bytes read so far, 0 ... 1.
    double progress() const;
    // After the last read: sets error() when reading failed, nothing came, or
    // less came than the file's header promises; sets note() when the header
    // overstated the audio the way streaming writers leave it.
    void checkComplete();
    // Empty, or what a reader should know about how the file was read.
    const std::string& note() const { return remark; }

private:
    void open(const std::string& path);
    void openStandardInput();
    void openDescriptor();
    void checkHeader();
    std::string truncation();
    bool holdsPlain16BitPcm() const;
    sf_count_t readPlain16BitPcm(float* interleaved, std::int64_t frames);

    int descriptor = -1;
    // Set when standard input is a pipe rather than a file.
    std::unique_ptr<StreamInput> stream;
    std::int64_t fileBytes = 0;
    SF_INFO info{};
    SNDFILE* file = nullptr;
    std::vector<short> pcm16;
    std::int64_t delivered = 0;
    std::string reason;
    std::string remark;
};
