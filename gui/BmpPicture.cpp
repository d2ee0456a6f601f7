#include "gui/BmpPicture.h"

#include <algorithm>
#include <array>
#include <new>

namespace {

// BITMAPFILEHEADER: the signature and, at byte 10, where the pixels start.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint16_t kSignature = 0x4D42; // "BM" read little-endian
constexpr std::size_t kPixelOffsetAt = 10;
// BITMAPINFOHEADER, right after it; the palette follows.
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kWidthAt = 4;
constexpr std::size_t kHeightAt = 8;
constexpr std::size_t kPlanesAt = 12;
constexpr std::size_t kBitCountAt = 14;
constexpr std::size_t kCompressionAt = 16;
constexpr std::size_t kImageSizeAt = 20;
constexpr std::size_t kColoursUsedAt = 32;
constexpr std::size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;

constexpr std::uint32_t kUncompressed = 0; // BI_RGB
constexpr std::uint32_t kRunLength8 = 1;   // BI_RLE8
constexpr std::uint16_t kTrueColourBits = 24;
constexpr std::size_t kBitsPerByte = 8;
constexpr std::size_t kPaletteEntrySize = 4;
constexpr std::size_t kMaxPaletteSize = 256;
// Rows are padded to whole 32-bit words.
constexpr std::int64_t kRowAlignmentBits = 32;
constexpr std::int64_t kRowAlignmentBytes = 4;

// Far beyond any editor picture, small enough that a header cannot make us
// allocate more than 64 MiB.
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 4096 * 4096;

// A run-length pair whose first byte is kEscape is a command named by its
// second byte; 3 and more start an absolute run of that many indices.
constexpr std::uint8_t kEscape = 0;
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

// Entries the file does not fill stay black, so every stored index can be looked up.
using Palette = std::array<std::uint32_t, kMaxPaletteSize>;

// Where the pixels are and how they are stored, already checked against the
// length of the file.
struct Layout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool topDown = false;
    std::uint16_t bitCount = 0;
    bool runLengthEncoded = false;
    std::size_t paletteSize = 0;
    std::size_t pixelStart = 0;
    std::size_t pixelEnd = 0;
};

std::uint16_t read16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t read32(const std::uint8_t* at)
{
    return at[0] | at[1] << 8 | at[2] << 16 | std::uint32_t{at[3]} << 24;
}

std::int64_t readSigned32(const std::uint8_t* at)
{
    return static_cast<std::int32_t>(read32(at));
}

std::uint32_t rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue;
}

bool readDimensions(const std::uint8_t* info, Layout* layout)
{
    const std::int64_t width = readSigned32(info + kWidthAt);
    const std::int64_t storedHeight = readSigned32(info + kHeightAt);
    // A negative height means the rows are stored top row first.
    const std::int64_t height = storedHeight < 0 ? -storedHeight : storedHeight;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        return false;
    layout->width = static_cast<std::int32_t>(width);
    layout->height = static_cast<std::int32_t>(height);
    layout->topDown = storedHeight < 0;
    return true;
}

bool formatSupported(std::uint16_t bitCount, std::uint32_t compression, bool topDown)
{
    // Run-length-encoded files are bottom-up by definition.
    if (compression == kRunLength8)
        return bitCount == 8 && !topDown;
    return compression == kUncompressed &&
           (bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24);
}

bool readFormat(const std::uint8_t* info, Layout* layout)
{
    const std::uint16_t bitCount = read16(info + kBitCountAt);
    const std::uint32_t compression = read32(info + kCompressionAt);
    if (read16(info + kPlanesAt) != 1 || !formatSupported(bitCount, compression, layout->topDown))
        return false;
    layout->bitCount = bitCount;
    layout->runLengthEncoded = compression == kRunLength8;
    // A true-colour file's optional palette is not needed: the pixel offset skips it.
    if (bitCount == kTrueColourBits)
        return true;
    const std::size_t fullPalette = std::size_t{1} << bitCount;
    const std::uint32_t coloursUsed = read32(info + kColoursUsedAt);
    layout->paletteSize = coloursUsed == 0 ? fullPalette : coloursUsed;
    return coloursUsed <= fullPalette;
}

std::int64_t rowStride(const Layout& layout)
{
    return (layout.width * std::int64_t{layout.bitCount} + kRowAlignmentBits - 1) / kRowAlignmentBits *
           kRowAlignmentBytes;
}

// The pixels lie after the palette and inside the file, all of them.
bool locatePixels(const std::uint8_t* data, std::size_t size, Layout* layout)
{
    const std::uint64_t start = read32(data + kPixelOffsetAt);
    if (start < kHeadersSize + layout->paletteSize * kPaletteEntrySize || start > size)
        return false;
    const std::uint64_t imageSize = read32(data + kFileHeaderSize + kImageSizeAt);
    std::uint64_t end = size;
    if (!layout->runLengthEncoded)
        end = start +
              static_cast<std::uint64_t>(rowStride(*layout)) * static_cast<std::uint64_t>(layout->height);
    else if (imageSize != 0)
        end = start + imageSize;
    if (end > size)
        return false;
    layout->pixelStart = static_cast<std::size_t>(start);
    layout->pixelEnd = static_cast<std::size_t>(end);
    return true;
}

bool readLayout(const std::uint8_t* data, std::size_t size, Layout* layout)
{
    if (size < kHeadersSize || read16(data) != kSignature)
        return false;
    const std::uint8_t* info = data + kFileHeaderSize;
    return read32(info) == kInfoHeaderSize && readDimensions(info, layout) && readFormat(info, layout) &&
           locatePixels(data, size, layout);
}

Palette readPalette(const std::uint8_t* data, const Layout& layout)
{
    Palette palette{};
    for (std::size_t i = 0; i < layout.paletteSize; ++i) {
        const std::uint8_t* entry = data + kHeadersSize + i * kPaletteEntrySize;
        palette[i] = rgb(entry[2], entry[1], entry[0]);
    }
    return palette;
}

bool allocate(const Layout& layout, BmpPicture* picture)
{
    try {
        picture->pixels.resize(static_cast<std::size_t>(layout.width) *
                               static_cast<std::size_t>(layout.height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    picture->width = layout.width;
    picture->height = layout.height;
    return true;
}

// Pixel `x` of an uncompressed row.
std::uint32_t storedPixel(const std::uint8_t* row, std::int32_t x, std::uint16_t bitCount,
                          const Palette& palette)
{
    if (bitCount == kTrueColourBits) {
        const std::uint8_t* bgr = row + 3 * static_cast<std::size_t>(x);
        return rgb(bgr[2], bgr[1], bgr[0]);
    }
    // Indices fill each byte from its high bits: the leftmost pixel is the most significant.
    const std::size_t bit = static_cast<std::size_t>(x) * bitCount;
    const std::size_t shift = kBitsPerByte - bitCount - bit % kBitsPerByte;
    return palette[(row[bit / kBitsPerByte] >> shift) & ((1u << bitCount) - 1)];
}

std::size_t outputRow(const Layout& layout, std::int32_t storedRow)
{
    return static_cast<std::size_t>(layout.topDown ? storedRow : layout.height - 1 - storedRow);
}

void decodeRows(const std::uint8_t* data, const Layout& layout, const Palette& palette, BmpPicture* picture)
{
    const std::size_t stride = static_cast<std::size_t>(rowStride(layout));
    const std::size_t width = static_cast<std::size_t>(layout.width);
    for (std::int32_t y = 0; y < layout.height; ++y) {
        const std::uint8_t* row = data + layout.pixelStart + static_cast<std::size_t>(y) * stride;
        std::uint32_t* out = &picture->pixels[outputRow(layout, y) * width];
        for (std::int32_t x = 0; x < layout.width; ++x)
            out[x] = storedPixel(row, x, layout.bitCount, palette);
    }
}

// A run-length stream being read, and the position its next pixel goes to.
struct RunCursor {
    const std::uint8_t* next;
    const std::uint8_t* end;
    std::int32_t x = 0;
    std::int32_t y = 0; // rows from the bottom
};

// The next `count` bytes of the stream, or null when it ends first.
const std::uint8_t* take(RunCursor* cursor, std::size_t count)
{
    if (static_cast<std::size_t>(cursor->end - cursor->next) < count)
        return nullptr;
    const std::uint8_t* bytes = cursor->next;
    cursor->next += count;
    return bytes;
}

// Where `count` pixels from the cursor on go, or null when they would leave
// the row or the picture; moves the cursor past them.
std::uint32_t* claimRun(RunCursor* cursor, std::size_t count, BmpPicture* picture)
{
    if (cursor->y >= picture->height || count > static_cast<std::size_t>(picture->width - cursor->x))
        return nullptr;
    const std::size_t row = static_cast<std::size_t>(picture->height - 1 - cursor->y);
    std::uint32_t* pixels = &picture->pixels[row * static_cast<std::size_t>(picture->width) + cursor->x];
    cursor->x += static_cast<std::int32_t>(count);
    return pixels;
}

// Just past the last column or row is a place to stand, not to draw.
bool moveTo(RunCursor* cursor, std::int32_t x, std::int32_t y, const BmpPicture& picture)
{
    if (x > picture.width || y > picture.height)
        return false;
    cursor->x = x;
    cursor->y = y;
    return true;
}

// Absolute mode: `count` indices as they are, padded to a whole 16-bit word.
bool copyIndices(RunCursor* cursor, std::size_t count, const Palette& palette, BmpPicture* picture)
{
    const std::uint8_t* indices = take(cursor, count + count % 2);
    std::uint32_t* pixels = indices ? claimRun(cursor, count, picture) : nullptr;
    if (!pixels)
        return false;
    std::transform(indices, indices + count, pixels, [&](std::uint8_t index) { return palette[index]; });
    return true;
}

// The escapes other than end-of-bitmap.
bool followEscape(RunCursor* cursor, std::uint8_t code, const Palette& palette, BmpPicture* picture)
{
    if (code == kEndOfLine)
        return moveTo(cursor, 0, cursor->y + 1, *picture);
    if (code != kDelta)
        return copyIndices(cursor, code, palette, picture);
    const std::uint8_t* offset = take(cursor, 2);
    return offset && moveTo(cursor, cursor->x + offset[0], cursor->y + offset[1], *picture);
}

// Every run must stay inside its row, and the stream must reach its end-of-bitmap mark.
bool decodeRuns(const std::uint8_t* data, const Layout& layout, const Palette& palette, BmpPicture* picture)
{
    std::fill(picture->pixels.begin(), picture->pixels.end(), palette[0]);
    RunCursor cursor{data + layout.pixelStart, data + layout.pixelEnd};
    while (const std::uint8_t* pair = take(&cursor, 2)) {
        if (pair[0] != kEscape) {
            std::uint32_t* pixels = claimRun(&cursor, pair[0], picture);
            if (!pixels)
                return false;
            std::fill_n(pixels, pair[0], palette[pair[1]]);
        } else if (pair[1] == kEndOfBitmap) {
            return true;
        } else if (!followEscape(&cursor, pair[1], palette, picture)) {
            return false;
        }
    }
    return false;
}

} // namespace

BmpPicture decodeBmp(const std::uint8_t* data, std::size_t size)
{
    Layout layout;
    BmpPicture picture;
    if (!data || !readLayout(data, size, &layout) || !allocate(layout, &picture))
        return {};
    const Palette palette = readPalette(data, layout);
    if (!layout.runLengthEncoded)
        decodeRows(data, layout, palette, &picture);
    else if (!decodeRuns(data, layout, palette, &picture))
        return {};
    return picture;
}
