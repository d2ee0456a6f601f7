#include "analyze/AudioFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
#include <regex>

namespace {

// libsndfile reports a failed open through process-wide state; files opened
// on other threads must not overwrite it before it is read.
std::mutex openLock;

constexpr const char* kStandardInput = "-";
// What writers that cannot seek back leave as the length of a WAV data
// chunk (ffmpeg and others, sox) or an AIFF sound chunk (sox).
constexpr std::uint64_t kStreamedLengths[] = {0xFFFFFFFFu, 0xFFFFFFF0u, 0x7FFFF000u, 0x7F000008u};
constexpr std::size_t kLogBytes = 4096;

bool isStreamedLength(std::uint64_t length)
{
    return std::find(std::begin(kStreamedLengths), std::end(kStreamedLengths), length) !=
           std::end(kStreamedLengths);
}

std::string hexadecimal(std::uint64_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

std::string formatPart(int format)
{
    SF_FORMAT_INFO part{};
    part.format = format;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &part, sizeof part) != 0 || !part.name)
        return "unknown";
    return part.name;
}

std::string openFailure()
{
    const int code = sf_error(nullptr);
    const std::string detail = sf_strerror(nullptr);
    if (code == SF_ERR_UNRECOGNISED_FORMAT)
        return "not audio, or in a format libsndfile does not read";
    if (code == SF_ERR_SYSTEM)
        return "unreadable: " + detail;
    return "unsupported or malformed audio: " + detail;
}

} // namespace

AudioFile::AudioFile(const std::string& path)
{
    open(path);
}

AudioFile::~AudioFile()
{
    if (file)
        sf_close(file);
    if (descriptor >= 0)
        close(descriptor);
}

// The file is opened here, not by libsndfile, so that a missing or
// unreadable file, a folder or a pipe is told apart before any decoding, and
// a pipe cannot block the open.
void AudioFile::open(const std::string& path)
{
    if (path == kStandardInput) {
        openStandardInput();
        return;
    }
    descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        reason =
            errno == ENOENT ? "missing: no such file" : std::string("unreadable: ") + std::strerror(errno);
        return;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        reason = std::string("unreadable: ") + std::strerror(errno);
        return;
    }
    if (!S_ISREG(status.st_mode)) {
        reason = "not a regular file";
        return;
    }
    fileBytes = status.st_size;
    if (fileBytes == 0) {
        reason = "empty: the file has no bytes";
        return;
    }
    openDescriptor();
}

// A file redirected to standard input is read as any file; a pipe through
// StreamInput. A terminal is refused rather than waited on.
void AudioFile::openStandardInput()
{
    descriptor = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
    struct stat status {};
    if (descriptor < 0 || fstat(descriptor, &status) != 0) {
        reason = std::string("unreadable: ") + std::strerror(errno);
        return;
    }
    if (S_ISREG(status.st_mode)) {
        fileBytes = status.st_size;
        if (fileBytes == 0)
            reason = "empty: standard input held no bytes";
        else
            openDescriptor();
        return;
    }
    if (isatty(descriptor)) {
        reason = "standard input is a terminal; pipe the audio in";
        return;
    }
    stream = std::make_unique<StreamInput>(descriptor);
    {
        const std::lock_guard<std::mutex> lock(openLock);
        file = stream->open(info);
        if (!file) {
            reason = stream->bytesRead() == 0 ? "empty: standard input held no bytes" : openFailure();
            return;
        }
    }
    checkHeader();
}

void AudioFile::openDescriptor()
{
    {
        const std::lock_guard<std::mutex> lock(openLock);
        file = sf_open_fd(descriptor, SFM_READ, &info, SF_FALSE);
        if (!file) {
            reason = openFailure();
            return;
        }
    }
    checkHeader();
}

void AudioFile::checkHeader()
{
    if (info.channels <= 0)
        reason = "zero channels";
    else if (info.samplerate <= 0)
        reason = "unsupported or malformed audio: sample rate " + std::to_string(info.samplerate);
    else if (info.frames == 0)
        reason = "empty: no audio frames";
}

std::string AudioFile::formatName() const
{
    return formatPart(info.format & SF_FORMAT_TYPEMASK) + ", " + formatPart(info.format & SF_FORMAT_SUBMASK);
}

// libsndfile tells a WAVE_FORMAT_EXTENSIBLE file in ambisonic B-format apart
// from its channel map: its channels are the first-order components.
std::vector<int> AudioFile::channelMap() const
{
    if (sf_command(file, SFC_WAVEX_GET_AMBISONIC, nullptr, 0) == SF_AMBISONIC_B_FORMAT) {
        std::vector<int> components = {SF_CHANNEL_MAP_AMBISONIC_B_W, SF_CHANNEL_MAP_AMBISONIC_B_X,
                                       SF_CHANNEL_MAP_AMBISONIC_B_Y, SF_CHANNEL_MAP_AMBISONIC_B_Z};
        components.resize(static_cast<std::size_t>(info.channels), SF_CHANNEL_MAP_AMBISONIC_B_W);
        return components;
    }
    std::vector<int> map(static_cast<std::size_t>(info.channels));
    if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, map.data(), static_cast<int>(map.size() * sizeof(int))) !=
        SF_TRUE)
        map.clear();
    return map;
}

// libsndfile converts 16-bit PCM to float one sample at a time, half of the
// reading thread's time. Taken as stored and converted here on lanes, each
// sample is the same float: a whole number times 2^-15 is exact. Other
// encodings (FLAC's 16 bits included) keep libsndfile's path.
bool AudioFile::holdsPlain16BitPcm() const
{
    const int container = info.format & SF_FORMAT_TYPEMASK;
    const bool plainContainer = container == SF_FORMAT_WAV || container == SF_FORMAT_WAVEX ||
                                container == SF_FORMAT_RF64 || container == SF_FORMAT_W64 ||
                                container == SF_FORMAT_AIFF || container == SF_FORMAT_CAF;
    return plainContainer && (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16;
}

sf_count_t AudioFile::readPlain16BitPcm(float* interleaved, std::int64_t frames)
{
    constexpr float kFullScale = 32768.0f;
    pcm16.resize(static_cast<std::size_t>(frames) * static_cast<std::size_t>(info.channels));
    const sf_count_t got = sf_readf_short(file, pcm16.data(), frames);
    const std::size_t samples =
        got > 0 ? static_cast<std::size_t>(got) * static_cast<std::size_t>(info.channels) : 0;
    for (std::size_t i = 0; i < samples; ++i)
        interleaved[i] = static_cast<float>(pcm16[i]) * (1.0f / kFullScale);
    return got;
}

std::int64_t AudioFile::read(float* interleaved, std::int64_t frames)
{
    if (failed())
        return 0;
    const sf_count_t got = holdsPlain16BitPcm() ? readPlain16BitPcm(interleaved, frames)
                                                : sf_readf_float(file, interleaved, frames);
    if (got <= 0)
        return 0;
    delivered += got;
    return got;
}

double AudioFile::progress() const
{
    if (descriptor < 0 || fileBytes <= 0)
        return 0.0;
    const off_t position = lseek(descriptor, 0, SEEK_CUR);
    return position <= 0 ? 0.0
                         : std::min(1.0, static_cast<double>(position) / static_cast<double>(fileBytes));
}

void AudioFile::checkComplete()
{
    if (failed())
        return;
    const std::string readError = sf_error(file) != SF_ERR_NO_ERROR ? sf_strerror(file) : "";
    if (const std::string cut = truncation(); !cut.empty())
        reason = readError.empty() ? cut : cut + " (" + readError + ")";
    else if (!readError.empty())
        reason = "read error: " + readError;
    else if (delivered == 0)
        reason = "empty: no audio frames";
}

// Two signs of a file cut short: a WAV or AIFF sound chunk that claims more
// bytes than the file holds, which libsndfile notes in its header log while
// it reads on, or fewer frames than the header declares (MPEG's count is
// only an estimate, so it is not held to it). A claim that is a streaming
// writer's placeholder is no sign: the audio simply runs to the end.
std::string AudioFile::truncation()
{
    char log[kLogBytes] = {};
    sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
    static const std::regex soundChunk(R"((data|SSND) : (\d+)( \(should be (\d+)\))?)");
    const std::string text(log);
    for (std::sregex_iterator it(text.begin(), text.end(), soundChunk), end; it != end; ++it) {
        const std::uint64_t claimed = std::strtoull((*it)[2].str().c_str(), nullptr, 10);
        if (isStreamedLength(claimed)) {
            remark = "the header leaves the audio's length open (" + hexadecimal(claimed) +
                     ", as streaming writers do); read to the end";
            return {};
        }
        const std::uint64_t present = std::strtoull((*it)[4].str().c_str(), nullptr, 10);
        if ((*it)[4].matched && claimed > present)
            return "truncated: its header declares " + std::to_string(claimed) +
                   " bytes of audio, the file holds " + std::to_string(present);
    }
    const bool countIsExact =
        info.frames != SF_COUNT_MAX && (info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_MPEG;
    if (countIsExact && delivered < info.frames)
        return "truncated: " + std::to_string(delivered) + " of the " + std::to_string(info.frames) +
               " frames its header declares could be read";
    return {};
}
