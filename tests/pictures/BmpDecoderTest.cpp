// The BMP reader on small files written byte by byte here. Each file is
// decoded from a buffer of exactly its size, so AddressSanitizer sees any
// read past it.
#include "gui/BmpPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Pixels = std::vector<std::uint32_t>;

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kA = 0x112233, kB = 0x445566, kC = 0x778899, kD = 0xAABBCC;
constexpr std::uint32_t kHeadersSize = 54;
// Where the fields are in the file.
constexpr std::size_t kSignatureAt = 0, kPixelOffsetAt = 10, kHeaderSizeAt = 14, kWidthAt = 18,
                      kHeightAt = 22, kPlanesAt = 26, kBitCountAt = 28, kCompressionAt = 30,
                      kImageSizeAt = 34, kColoursUsedAt = 46;

void put(Bytes* file, std::size_t offset, std::uint32_t value, std::size_t bytes)
{
    for (std::size_t i = 0; i < bytes; ++i)
        (*file)[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Palette and data sizes stated, as the resource generator writes them; the
// file size left 0, as some writers leave it.
Bytes bmp(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t compression,
          const Pixels& palette, const Bytes& data)
{
    const auto colours = static_cast<std::uint32_t>(palette.size());
    Bytes file(kHeadersSize + 4 * colours);
    put(&file, kSignatureAt, 0x4D42, 2); // "BM"
    put(&file, kPixelOffsetAt, kHeadersSize + 4 * colours, 4);
    put(&file, kHeaderSizeAt, 40, 4);
    put(&file, kWidthAt, static_cast<std::uint32_t>(width), 4);
    put(&file, kHeightAt, static_cast<std::uint32_t>(height), 4);
    put(&file, kPlanesAt, 1, 2);
    put(&file, kBitCountAt, bits, 2);
    put(&file, kCompressionAt, compression, 4);
    put(&file, kImageSizeAt, static_cast<std::uint32_t>(data.size()), 4);
    put(&file, kColoursUsedAt, colours, 4);
    for (std::uint32_t i = 0; i < colours; ++i)
        put(&file, kHeadersSize + 4 * i, palette[i], 4); // blue, green, red, reserved
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

Bytes patched(Bytes file, std::size_t offset, std::uint32_t value, std::size_t bytes)
{
    put(&file, offset, value, bytes);
    return file;
}

Bytes runs(std::int32_t width, std::int32_t height, const Bytes& stream)
{
    return bmp(width, height, 8, kRle8, {kA, kB, kC, kD}, stream);
}

BmpPicture decode(const Bytes& file)
{
    const Bytes exact(file);
    return decodeBmp(exact.data(), exact.size());
}

// Two rows of three pixels (blue, green, red) and three bytes of padding.
const Bytes kTrueColour{1,    2,    3,    4,    5,    6,    7,    8,    9,    0, 0, 0,
                        0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0, 0, 0};
const Bytes kIndexed8 = bmp(3, 2, 8, kRgb, {kA, kB, kC}, {2, 1, 7, 0, 0, 0, 1, 0});
const Bytes kIndexed4 = bmp(3, 2, 4, kRgb, {kA, kB, kC, kD}, {0x32, 0x10, 0, 0, 0x01, 0x20, 0, 0});
const Bytes kEndOfBitmap{0, 1};

struct GoodFile {
    const char* name;
    Bytes file;
    std::int32_t width;
    std::int32_t height;
    Pixels pixels; // top row first
};

const GoodFile kGoodFiles[] = {
    {"24-bit, bottom-up",
     bmp(3, 2, 24, kRgb, {}, kTrueColour),
     3,
     2,
     {0x131211, 0x161514, 0x191817, 0x030201, 0x060504, 0x090807}},
    {"24-bit, top-down",
     bmp(3, -2, 24, kRgb, {}, kTrueColour),
     3,
     2,
     {0x030201, 0x060504, 0x090807, 0x131211, 0x161514, 0x191817}},
    {"8-bit, index 7 past the palette", kIndexed8, 3, 2, {kA, kA, kB, kC, kB, 0}},
    {"4-bit, odd width", kIndexed4, 3, 2, {kA, kB, kC, kD, kC, kB}},
    {"1-bit across a byte, palette count 0 for all",
     patched(bmp(10, 1, 1, kRgb, {kA, kB}, {0xA0, 0xC0, 0, 0}), kColoursUsedAt, 0, 4),
     10,
     1,
     {kB, kA, kB, kA, kA, kA, kA, kA, kB, kB}},
    // Row 0: two B, a step right, one C. Row 1: D C B absolute, padded. Up a row to
    // x 3: one D. End-of-line above the last row, where nothing is drawn.
    {"runs, delta, end-of-line, padded absolute run",
     runs(4, 3, {2, 1, 0, 2, 1, 0, 1, 2, 0, 0, 0, 3, 3, 2, 1, 0, 0, 2, 0, 1, 1, 3, 0, 0, 0, 1}),
     4,
     3,
     {kA, kA, kA, kD, kD, kC, kB, kA, kB, kB, kA, kC}},
    {"unpadded absolute run", runs(4, 1, {0, 4, 0, 1, 2, 3, 0, 1}), 4, 1, {kA, kB, kC, kD}},
};

TEST(BmpDecoder, DecodesEachStorage)
{
    for (const GoodFile& test : kGoodFiles) {
        SCOPED_TRACE(test.name);
        const BmpPicture picture = decode(test.file);
        EXPECT_EQ(picture.width, test.width);
        EXPECT_EQ(picture.height, test.height);
        EXPECT_EQ(picture.pixels, test.pixels);
    }
}

TEST(BmpDecoder, EveryShortenedFileIsRefused)
{
    EXPECT_TRUE(decodeBmp(nullptr, 100).empty());
    for (const GoodFile& test : kGoodFiles) {
        for (std::size_t length = 0; length < test.file.size(); ++length)
            ASSERT_TRUE(decode(Bytes(test.file.begin(), test.file.begin() + length)).empty())
                << test.name << ": " << length << " bytes";
    }
}

struct Damage {
    const char* name;
    const Bytes& file;
    std::size_t offset;
    std::uint32_t value;
    std::size_t bytes;
};

const Bytes kSeventeenColours = bmp(3, 2, 8, kRgb, Pixels(17, kA), Bytes(8, 0));
const Bytes kRunsEnding = runs(2, 1, kEndOfBitmap);

const Damage kDamage[] = {
    {"signature", kIndexed8, kSignatureAt, 0x4D43, 2},
    {"old core header", kIndexed8, kHeaderSizeAt, 12, 4},
    {"zero width", kIndexed8, kWidthAt, 0, 4},
    {"zero height", kIndexed8, kHeightAt, 0, 4},
    {"most negative height", kIndexed8, kHeightAt, 0x80000000, 4},
    {"two planes", kIndexed8, kPlanesAt, 2, 2},
    {"16 bits per pixel", kIndexed8, kBitCountAt, 16, 2},
    {"4-bit run-length encoding", kIndexed4, kCompressionAt, 2, 4},
    {"8-bit run-length encoding of 4 bits", kIndexed4, kCompressionAt, kRle8, 4},
    {"run-length encoding top-down", kRunsEnding, kHeightAt, 0xFFFFFFFF, 4},
    {"17 colours of 4 bits", kSeventeenColours, kBitCountAt, 4, 2},
    {"largest palette count", kIndexed8, kColoursUsedAt, 0xFFFFFFFF, 4},
    {"palette running into the pixels", kIndexed8, kColoursUsedAt, 4, 4},
    {"pixels inside the palette", kIndexed8, kPixelOffsetAt, 65, 4},
    {"largest pixel offset", kIndexed8, kPixelOffsetAt, 0xFFFFFFFF, 4},
    {"run-length data past the file", kRunsEnding, kImageSizeAt, 3, 4},
};

TEST(BmpDecoder, DamagedOrUnsupportedHeadersAreRefused)
{
    for (const Damage& test : kDamage) {
        SCOPED_TRACE(test.name);
        ASSERT_FALSE(decode(test.file).empty());
        EXPECT_TRUE(decode(patched(test.file, test.offset, test.value, test.bytes)).empty());
    }
}

TEST(BmpDecoder, RunsLeavingThePictureOrTheDataAreRefused)
{
    const std::pair<const char*, Bytes> streams[] = {
        {"run past the row's end", {5, 1, 0, 1}},
        {"run above the last row", {0, 0, 0, 0, 1, 1, 0, 1}},
        {"end-of-line past the last row", {0, 0, 0, 0, 0, 0, 0, 1}},
        {"delta past the right edge", {0, 2, 5, 0, 0, 1}},
        {"delta past the top", {0, 2, 0, 3, 0, 1}},
        {"delta cut short", {0, 2, 1}},
        {"absolute run past the row's end", {0, 5, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"absolute run cut short", {0, 3, 0, 1}},
        {"absolute run without its padding", {0, 3, 0, 1, 0}},
        {"no end-of-bitmap", {4, 1}},
    };
    for (const auto& [name, stream] : streams)
        EXPECT_TRUE(decode(runs(4, 2, stream)).empty()) << name;
}

// A run-length file of any size can be a few bytes long: only these limits
// stand between a header and a huge allocation.
TEST(BmpDecoder, SizesAreCapped)
{
    const struct {
        std::int32_t width, height;
        bool accepted;
    } sizes[] = {{16384, 1, true},  {1, 16384, true},  {4096, 4096, true},
                 {16385, 1, false}, {1, 16385, false}, {4097, 4096, false}};
    for (const auto& size : sizes) {
        const BmpPicture picture = decode(runs(size.width, size.height, kEndOfBitmap));
        const std::size_t expected = size.accepted ? std::size_t(size.width) * std::size_t(size.height) : 0;
        EXPECT_EQ(std::size_t(std::count(picture.pixels.begin(), picture.pixels.end(), kA)), expected)
            << size.width << " x " << size.height;
    }
}

} // namespace
