// The BMP reader on small files written byte by byte here: what each storage
// gives, and that damaged or unsupported files give an empty picture without
// a read outside the file (each file sits in a buffer of exactly its size,
// so AddressSanitizer sees any overrun).
#include "gui/BmpPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Pixels = std::vector<std::uint32_t>;

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRunLength8 = 1;
constexpr std::uint32_t kHeadersSize = 54;
constexpr std::uint32_t kPixelsPerMetre = 2835;

// Where the fields are in the file.
constexpr std::size_t kSignatureAt = 0;
constexpr std::size_t kPixelOffsetAt = 10;
constexpr std::size_t kHeaderSizeAt = 14;
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kHeightAt = 22;
constexpr std::size_t kPlanesAt = 26;
constexpr std::size_t kBitCountAt = 28;
constexpr std::size_t kCompressionAt = 30;
constexpr std::size_t kImageSizeAt = 34;
constexpr std::size_t kColoursUsedAt = 46;

constexpr std::uint32_t kA = 0x112233;
constexpr std::uint32_t kB = 0x445566;
constexpr std::uint32_t kC = 0x778899;
constexpr std::uint32_t kD = 0xAABBCC;
constexpr std::uint32_t kBlack = 0;

struct FileSpec {
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bitCount;
    std::uint32_t compression;
    Pixels palette;
    Bytes pixelData;
};

void put(Bytes* out, std::uint32_t value, std::size_t bytes)
{
    for (std::size_t i = 0; i < bytes; ++i)
        out->push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A file as the resource generator writes one: palette size and data size stated.
Bytes bmpFile(const FileSpec& spec)
{
    const auto paletteBytes = static_cast<std::uint32_t>(4 * spec.palette.size());
    const auto dataBytes = static_cast<std::uint32_t>(spec.pixelData.size());
    Bytes file{'B', 'M'};
    put(&file, kHeadersSize + paletteBytes + dataBytes, 4);
    put(&file, 0, 4);
    put(&file, kHeadersSize + paletteBytes, 4);
    for (std::uint32_t field :
         {40u, static_cast<std::uint32_t>(spec.width), static_cast<std::uint32_t>(spec.height)})
        put(&file, field, 4);
    put(&file, 1, 2);
    put(&file, spec.bitCount, 2);
    for (std::uint32_t field : {spec.compression, dataBytes, kPixelsPerMetre, kPixelsPerMetre})
        put(&file, field, 4);
    put(&file, static_cast<std::uint32_t>(spec.palette.size()), 4);
    put(&file, static_cast<std::uint32_t>(spec.palette.size()), 4);
    for (std::uint32_t colour : spec.palette)
        put(&file, colour, 4); // blue, green, red, reserved
    file.insert(file.end(), spec.pixelData.begin(), spec.pixelData.end());
    return file;
}

void patch(Bytes* file, std::size_t offset, std::uint32_t value, std::size_t bytes)
{
    Bytes field;
    put(&field, value, bytes);
    std::copy(field.begin(), field.end(), file->begin() + static_cast<std::ptrdiff_t>(offset));
}

BmpPicture decode(const Bytes& file)
{
    // A copy of exactly the file's size, so that a read past it is an overrun.
    const Bytes exact(file.begin(), file.end());
    return decodeBmp(exact.data(), exact.size());
}

// Two rows of three pixels (blue, green, red) and three bytes of padding.
const Bytes kTrueColourRows{1,    2,    3,    4,    5,    6,    7,    8,    9,    0, 0, 0,
                            0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0, 0, 0};

// A negative height stores the rows top row first.
FileSpec trueColour(std::int32_t height)
{
    return {3, height, 24, kUncompressed, {}, kTrueColourRows};
}

FileSpec indexed8()
{
    return {3, 2, 8, kUncompressed, {kA, kB, kC}, {2, 1, 0, 0, 0, 0, 1, 0}};
}

FileSpec indexed4()
{
    return {3, 2, 4, kUncompressed, {kA, kB, kC, kD}, {0x32, 0x10, 0, 0, 0x01, 0x20, 0, 0}};
}

FileSpec oneBit()
{
    return {10, 1, 1, kUncompressed, {kA, kB}, {0xA0, 0xC0, 0, 0}};
}

FileSpec runs(std::int32_t width, std::int32_t height, const Bytes& stream)
{
    return {width, height, 8, kRunLength8, {kA, kB, kC, kD}, stream};
}

const Bytes kEndOfBitmap{0, 1};
const Pixels kOneBitPixels{kB, kA, kB, kA, kA, kA, kA, kA, kB, kB};

struct GoodCase {
    const char* name;
    FileSpec file;
    std::int32_t width;
    std::int32_t height;
    Pixels pixels; // top row first
};

const GoodCase kGoodCases[] = {
    {"24-bit, bottom-up, padded rows",
     trueColour(2),
     3,
     2,
     {0x131211, 0x161514, 0x191817, 0x030201, 0x060504, 0x090807}},
    {"24-bit, top-down", trueColour(-2), 3, 2, {0x030201, 0x060504, 0x090807, 0x131211, 0x161514, 0x191817}},
    {"24-bit, with a palette to skip", {1, 1, 24, kUncompressed, {kA, kB}, {1, 2, 3, 0}}, 1, 1, {0x030201}},
    {"8-bit, padded rows", indexed8(), 3, 2, {kA, kA, kB, kC, kB, kA}},
    {"8-bit, indices past the palette",
     {3, 1, 8, kUncompressed, {kA, kB}, {1, 255, 0, 0}},
     3,
     1,
     {kB, kBlack, kA}},
    {"4-bit, odd width", indexed4(), 3, 2, {kA, kB, kC, kD, kC, kB}},
    {"1-bit, across a byte", oneBit(), 10, 1, kOneBitPixels},
    // Two B, a step right, one C; next row: D C B absolute (padded); up a row to x 3: one D.
    {"run-length: runs, delta, end-of-line, padded absolute run",
     runs(4, 3, {2, 1, 0, 2, 1, 0, 1, 2, 0, 0, 0, 3, 3, 2, 1, 0, 0, 2, 0, 1, 1, 3, 0, 1}),
     4,
     3,
     {kA, kA, kA, kD, kD, kC, kB, kA, kB, kB, kA, kC}},
    {"run-length: unpadded absolute run", runs(4, 1, {0, 4, 0, 1, 2, 3, 0, 1}), 4, 1, {kA, kB, kC, kD}},
    {"run-length: end-of-line after the last row", runs(4, 1, {4, 1, 0, 0, 0, 1}), 4, 1, {kB, kB, kB, kB}},
    {"run-length: delta from the row's end", runs(2, 2, {2, 1, 0, 2, 0, 1, 0, 1}), 2, 2, {kA, kA, kB, kB}},
};

TEST(BmpDecoder, DecodesEachStorage)
{
    for (const GoodCase& test : kGoodCases) {
        SCOPED_TRACE(test.name);
        const BmpPicture picture = decode(bmpFile(test.file));
        EXPECT_EQ(picture.width, test.width);
        EXPECT_EQ(picture.height, test.height);
        EXPECT_EQ(picture.pixels, test.pixels);
    }
}

TEST(BmpDecoder, PaletteCountZeroMeansAFullPalette)
{
    Bytes file = bmpFile(oneBit());
    patch(&file, kColoursUsedAt, 0, 4);
    EXPECT_EQ(decode(file).pixels, kOneBitPixels);
}

TEST(BmpDecoder, EveryShortenedFileIsRefused)
{
    EXPECT_TRUE(decodeBmp(nullptr, 100).empty());
    for (const GoodCase& test : kGoodCases) {
        SCOPED_TRACE(test.name);
        const Bytes file = bmpFile(test.file);
        for (std::size_t length = 0; length < file.size(); ++length)
            ASSERT_TRUE(
                decode(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length))).empty())
                << length << " of " << file.size() << " bytes";
    }
}

struct HeaderDamage {
    const char* name;
    FileSpec file;
    std::size_t offset;
    std::uint32_t value;
    std::size_t bytes;
};

const HeaderDamage kHeaderDamage[] = {
    {"signature", indexed8(), kSignatureAt, 0x4D43, 2},
    {"header size of the old core header", indexed8(), kHeaderSizeAt, 12, 4},
    {"header size of a later version", indexed8(), kHeaderSizeAt, 124, 4},
    {"zero width", indexed8(), kWidthAt, 0, 4},
    {"negative width", indexed8(), kWidthAt, static_cast<std::uint32_t>(-3), 4},
    {"zero height", indexed8(), kHeightAt, 0, 4},
    {"most negative height", indexed8(), kHeightAt, 0x80000000, 4},
    {"width past the data", indexed8(), kWidthAt, 5, 4},
    {"height past the data", indexed8(), kHeightAt, 3, 4},
    {"two planes", indexed8(), kPlanesAt, 2, 2},
    {"2 bits per pixel", indexed8(), kBitCountAt, 2, 2},
    {"16 bits per pixel", indexed8(), kBitCountAt, 16, 2},
    {"32 bits per pixel", indexed8(), kBitCountAt, 32, 2},
    {"4-bit run-length encoding", indexed4(), kCompressionAt, 2, 4},
    {"bit fields", indexed8(), kCompressionAt, 3, 4},
    {"8-bit run-length encoding of a 4-bit file", indexed4(), kCompressionAt, kRunLength8, 4},
    {"run-length encoding stored top-down", runs(2, 1, kEndOfBitmap), kHeightAt,
     static_cast<std::uint32_t>(-1), 4},
    {"257 colours of 8 bits", indexed8(), kColoursUsedAt, 257, 4},
    {"17 colours of 4 bits",
     {3, 2, 8, kUncompressed, Pixels(17, kA), {0, 0, 0, 0, 0, 0, 0, 0}},
     kBitCountAt,
     4,
     2},
    {"largest palette count", indexed8(), kColoursUsedAt, 0xFFFFFFFF, 4},
    {"palette running into the pixels", indexed8(), kColoursUsedAt, 4, 4},
    {"pixels starting inside the palette", indexed8(), kPixelOffsetAt, kHeadersSize + 11, 4},
    {"pixels starting past the file", indexed8(), kPixelOffsetAt, 200, 4},
    {"largest pixel offset", indexed8(), kPixelOffsetAt, 0xFFFFFFFF, 4},
    {"run-length data size past the file", runs(2, 1, kEndOfBitmap), kImageSizeAt, 3, 4},
    {"largest run-length data size", runs(2, 1, kEndOfBitmap), kImageSizeAt, 0xFFFFFFFF, 4},
};

TEST(BmpDecoder, DamagedOrUnsupportedHeadersAreRefused)
{
    for (const HeaderDamage& test : kHeaderDamage) {
        SCOPED_TRACE(test.name);
        Bytes file = bmpFile(test.file);
        ASSERT_FALSE(decode(file).empty());
        patch(&file, test.offset, test.value, test.bytes);
        EXPECT_TRUE(decode(file).empty());
    }
}

struct BadRuns {
    const char* name;
    Bytes stream; // of a 4 x 2 picture
};

const BadRuns kBadRuns[] = {
    {"run past the row's end", {5, 1, 0, 1}},
    {"run after the last row", {0, 0, 0, 0, 1, 1, 0, 1}},
    {"end-of-line past the last row", {0, 0, 0, 0, 0, 0, 0, 1}},
    {"delta past the right edge", {0, 2, 5, 0, 0, 1}},
    {"delta past the top", {0, 2, 0, 3, 0, 1}},
    {"delta cut short", {0, 2, 1}},
    {"absolute run past the row's end", {0, 5, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"absolute run cut short", {0, 3, 0, 1}},
    {"absolute run without its padding", {0, 3, 0, 1, 0}},
    {"no end-of-bitmap", {4, 1}},
    {"half a pair at the end", {4, 1, 0}},
    {"no data", {}},
};

TEST(BmpDecoder, RunsLeavingThePictureOrTheDataAreRefused)
{
    for (const BadRuns& test : kBadRuns) {
        SCOPED_TRACE(test.name);
        EXPECT_TRUE(decode(bmpFile(runs(4, 2, test.stream))).empty());
    }
}

struct Dimensions {
    std::int32_t width;
    std::int32_t height;
    bool accepted;
};

// 16384 pixels a side and 4096 x 4096 in all; a run-length file of any size
// can be a few bytes long, so only these limits stand between a header and
// a huge allocation.
const Dimensions kDimensions[] = {
    {16384, 1, true},  {1, 16384, true},    {4096, 4096, true},  {16385, 1, false},
    {1, 16385, false}, {4097, 4096, false}, {4096, 4097, false}, {65536, 65536, false},
};

TEST(BmpDecoder, SizesAreCapped)
{
    for (const Dimensions& test : kDimensions) {
        SCOPED_TRACE(::testing::Message() << test.width << " x " << test.height);
        const BmpPicture picture = decode(bmpFile(runs(test.width, test.height, kEndOfBitmap)));
        if (!test.accepted) {
            EXPECT_TRUE(picture.empty());
            continue;
        }
        ASSERT_EQ(picture.pixels.size(),
                  static_cast<std::size_t>(test.width) * static_cast<std::size_t>(test.height));
        EXPECT_TRUE(std::all_of(picture.pixels.begin(), picture.pixels.end(),
                                [](std::uint32_t p) { return p == kA; }));
    }
}

} // namespace
