// Writes the demo signal as a stereo 32-bit float WAV file, for hosts that
// play files (lv2file in the demo).
// usage: demoWav OUT.wav
#include "testhost/DemoSignal.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint16_t kFloatFormat = 3;
constexpr std::uint16_t kChannels = 2;
constexpr std::uint16_t kBitsPerSample = 32;
constexpr std::uint32_t kFormatChunkSize = 16;

void put16(std::FILE* file, std::uint16_t value)
{
    const unsigned char bytes[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
    std::fwrite(bytes, 1, sizeof bytes, file);
}

void put32(std::FILE* file, std::uint32_t value)
{
    put16(file, static_cast<std::uint16_t>(value));
    put16(file, static_cast<std::uint16_t>(value >> 16));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: demoWav OUT.wav\n");
        return 2;
    }
    const DemoSignal signal = DemoSignal::make(DemoSignal::kDemoSeconds);
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const auto rate = static_cast<std::uint32_t>(DemoSignal::kSampleRate);
    const std::uint32_t frameBytes = kChannels * kBitsPerSample / 8;
    const auto dataBytes = static_cast<std::uint32_t>(signal.left.size() * frameBytes);
    std::fwrite("RIFF", 1, 4, file);
    put32(file, 4 + 8 + kFormatChunkSize + 8 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, file);
    put32(file, kFormatChunkSize);
    put16(file, kFloatFormat);
    put16(file, kChannels);
    put32(file, rate);
    put32(file, rate * frameBytes);
    put16(file, static_cast<std::uint16_t>(frameBytes));
    put16(file, kBitsPerSample);
    std::fwrite("data", 1, 4, file);
    put32(file, dataBytes);
    // Little-endian floats, as on the machines this runs on.
    for (std::size_t i = 0; i < signal.left.size(); ++i) {
        std::fwrite(&signal.left[i], sizeof(float), 1, file);
        std::fwrite(&signal.right[i], sizeof(float), 1, file);
    }
    const bool written = std::fclose(file) == 0;
    return written ? 0 : 1;
}
