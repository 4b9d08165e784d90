// Reading image headers, and walking BMP run-length codes without decoding a pixel.
#include "platform/pixels/ImageCheck.h"

#include <cstring>

namespace image_check {
namespace {

uint32_t u16(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}
uint32_t u32(const uint8_t* p)
{
    return u16(p) | u16(p + 2) << 16;
}
uint32_t be32(const uint8_t* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

bool sizeAllowed(int64_t width, int64_t height)
{
    return width >= 1 && height >= 1 && width <= kLargestSide && height <= kLargestSide &&
           width * height <= kMostPixels;
}

// Codes come in byte pairs: (n > 0, colour) is a run; (0, 0) ends a row,
// (0, 1) the bitmap, (0, 2, dx, dy) moves; (0, n >= 3) is followed by n
// literal pixels, padded to an even number of bytes.
bool runLengthComplete(const uint8_t* data, size_t size, size_t at, bool fourBit)
{
    while (at + 2 <= size) {
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count != 0)
            continue;
        if (value == 1)
            return true;
        if (value == 0)
            continue;
        if (value == 2) {
            at += 2;
            continue;
        }
        size_t bytes = fourBit ? (value + 1u) / 2u : value;
        bytes += bytes & 1u;
        at += bytes;
    }
    return false;
}

bool bmpAcceptable(const uint8_t* data, size_t size)
{
    if (size < 18)
        return false;
    const uint32_t offset = u32(data + 10);
    const uint32_t infoSize = u32(data + 14);
    if (infoSize < 12 || size < 14 + static_cast<size_t>(infoSize))
        return false;

    int64_t width = 0;
    int64_t height = 0;
    uint32_t bits = 0;
    uint32_t compression = kRgb;
    uint32_t colours = 0;
    uint32_t entryBytes = 3;
    if (infoSize == 12) {
        width = u16(data + 18);
        height = static_cast<int16_t>(u16(data + 20));
        bits = u16(data + 24);
    } else {
        if (infoSize < 40)
            return false;
        width = static_cast<int32_t>(u32(data + 18));
        height = static_cast<int32_t>(u32(data + 22));
        bits = u16(data + 28);
        compression = u32(data + 30);
        colours = u32(data + 46);
        entryBytes = 4;
    }
    const int64_t rows = height < 0 ? -height : height;
    if (!sizeAllowed(width, rows) || offset > size)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    // The decoder sizes its header buffer by the palette the header declares.
    if (colours == 0 && bits <= 8)
        colours = 1u << bits;
    if (colours > 256 ||
        14 + static_cast<uint64_t>(infoSize) + uint64_t{colours} * entryBytes > size) {
        return false;
    }

    switch (compression) {
    case kRgb:
    case kBitFields: {
        const int64_t rowBytes = (width * bits + 31) / 32 * 4;
        return offset + rowBytes * rows <= static_cast<int64_t>(size);
    }
    case kRle8: return runLengthComplete(data, size, offset, false);
    case kRle4: return runLengthComplete(data, size, offset, true);
    default: return true; // the decoder judges the rest
    }
}

// The first chunk must be IHDR: length 13, then width and height, big-endian.
bool pngAcceptable(const uint8_t* data, size_t size)
{
    if (size < 24 || be32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    return sizeAllowed(be32(data + 16), be32(data + 20));
}

} // namespace

Format format(const uint8_t* data, size_t size)
{
    if (data == nullptr)
        return Format::Unknown;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return Format::Bmp;
    if (size >= 8 && std::memcmp(data, kPngSignature, 8) == 0)
        return Format::Png;
    return Format::Unknown;
}

bool acceptable(const uint8_t* data, size_t size)
{
    switch (format(data, size)) {
    case Format::Bmp: return bmpAcceptable(data, size);
    case Format::Png: return pngAcceptable(data, size);
    default: return false;
    }
}

} // namespace image_check
