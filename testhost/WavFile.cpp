#include "testhost/WavFile.h"

#include <cstdint>
#include <fstream>
#include <iterator>

namespace {

constexpr std::uint16_t kPcm = 1;
constexpr int kBits = 16;
constexpr float kScale = 1.0f / 32768.0f;
constexpr std::size_t kChunkHeader = 8;
constexpr std::size_t kRiffHeader = 12;

std::uint32_t little(const std::vector<char>& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

bool hasTag(const std::vector<char>& bytes, std::size_t at, const char* tag)
{
    return bytes.size() >= at + 4 &&
           std::equal(tag, tag + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

void takeSamples(const std::vector<char>& bytes, std::size_t at, std::size_t size, WavFile& wav)
{
    const std::size_t frames = size / (2 * static_cast<std::size_t>(wav.channels));
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < wav.channels; ++c) {
            const auto sample = static_cast<std::int16_t>(little(bytes, at, 2));
            (c == 0 ? wav.left : wav.right).push_back(static_cast<float>(sample) * kScale);
            at += 2;
        }
}

} // namespace

std::string WavFile::read(const std::string& path, WavFile& wav)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!hasTag(bytes, 0, "RIFF") || !hasTag(bytes, 8, "WAVE"))
        return "not a WAV file";
    bool formatSeen = false;
    for (std::size_t at = kRiffHeader; at + kChunkHeader <= bytes.size();) {
        const std::size_t size =
            std::min<std::size_t>(little(bytes, at + 4, 4), bytes.size() - at - kChunkHeader);
        const std::size_t body = at + kChunkHeader;
        if (hasTag(bytes, at, "fmt ") && size >= 16) {
            wav.channels = static_cast<int>(little(bytes, body + 2, 2));
            wav.sampleRate = static_cast<float>(little(bytes, body + 4, 4));
            if (little(bytes, body, 2) != kPcm || little(bytes, body + 14, 2) != kBits || wav.channels < 1 ||
                wav.channels > 2)
                return "not 16-bit PCM with one or two channels";
            formatSeen = true;
        } else if (hasTag(bytes, at, "data") && formatSeen) {
            takeSamples(bytes, body, size, wav);
            return {};
        }
        at = body + size + (size & 1);
    }
    return "no audio data";
}
