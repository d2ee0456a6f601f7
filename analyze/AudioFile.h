// An audio file read with libsndfile in its own sample rate, as interleaved
// floats (integer formats scaled to -1 ... 1). Every failure becomes a reason
// a user can act on: missing, unreadable, not a regular file, empty, not
// audio, unsupported or malformed, zero channels, truncated.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

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

    // Up to `frames` interleaved frames; 0 at the end or on a read error.
    std::int64_t read(float* interleaved, std::int64_t frames);
    std::int64_t framesRead() const { return delivered; }
    // Share of the file's bytes read so far, 0 ... 1.
    double progress() const;
    // After the last read: sets error() when reading failed, nothing came, or
    // less came than the file's header promises.
    void checkComplete();

private:
    void open(const std::string& path);
    std::string truncation() const;

    int descriptor = -1;
    std::int64_t fileBytes = 0;
    SF_INFO info{};
    SNDFILE* file = nullptr;
    std::int64_t delivered = 0;
    std::string reason;
};
