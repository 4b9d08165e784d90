// Run-length encoder and BMP file writer for 8-bit palette images.
#include "tools/Rle8Bmp.h"

#include <algorithm>
#include <cstddef>

namespace rle8 {
namespace {

constexpr int kMaxRun = 255;
constexpr int kMinAbsolute = 3; // absolute counts 0..2 are the escape codes
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kPixelsPerMetre = 2834; // 72 dots per inch
constexpr uint32_t kCompressionRle8 = 1;

int runLength(const uint8_t* row, int at, int width)
{
    int n = 1;
    while (at + n < width && n < kMaxRun && row[at + n] == row[at])
        ++n;
    return n;
}

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFFu);
    put16(out, v >> 16);
}

} // namespace

void encodeRow(const uint8_t* row, int width, std::vector<uint8_t>& out)
{
    int at = 0;
    while (at < width) {
        const int run = runLength(row, at, width);
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(run));
            out.push_back(row[at]);
            at += run;
            continue;
        }
        // Gather single pixels until a pair begins: a pair costs as much as an
        // encoded run, so breaking the absolute run there never loses.
        int end = at + 1;
        while (end < width && end - at < kMaxRun && runLength(row, end, width) < 2)
            ++end;
        const int count = end - at;
        if (count < kMinAbsolute) {
            for (int i = at; i < end; ++i) {
                out.push_back(1);
                out.push_back(row[i]);
            }
        } else {
            out.push_back(0);
            out.push_back(static_cast<uint8_t>(count));
            out.insert(out.end(), row + at, row + end);
            if (count % 2 != 0)
                out.push_back(0); // runs keep 16-bit alignment
        }
        at = end;
    }
}

std::vector<uint8_t> encode(const IndexedImage& image)
{
    std::vector<uint8_t> out;
    for (int y = image.height - 1; y >= 0; --y) {
        encodeRow(image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width),
                  image.width, out);
        out.push_back(0);
        out.push_back(y == 0 ? 1 : 0);
    }
    if (image.height == 0) {
        out.push_back(0);
        out.push_back(1);
    }
    return out;
}

std::vector<uint8_t> writeBmp(const IndexedImage& image, const BmpOptions& options)
{
    const std::vector<uint8_t> data = encode(image);
    const auto entries = static_cast<uint32_t>(std::min<size_t>(image.palette.size(), 256));
    const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * entries;
    const auto imageSize = static_cast<uint32_t>(data.size());

    std::vector<uint8_t> out;
    out.reserve(pixelOffset + imageSize + options.trailingZeros);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + imageSize + options.trailingZeros); // the file holds the trailer too
    put32(out, 0);                                               // two reserved 16-bit words
    put32(out, pixelOffset);

    put32(out, kInfoHeaderSize);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height)); // positive: bottom-up rows
    put16(out, 1);                                   // planes
    put16(out, 8);                                   // bits per pixel
    put32(out, kCompressionRle8);
    put32(out, imageSize);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, options.coloursUsed);
    put32(out, 0); // all colours important

    for (uint32_t i = 0; i < entries; ++i) {
        const uint32_t rgb = image.palette[i];
        out.push_back(static_cast<uint8_t>(rgb));
        out.push_back(static_cast<uint8_t>(rgb >> 8));
        out.push_back(static_cast<uint8_t>(rgb >> 16));
        out.push_back(0);
    }
    out.insert(out.end(), data.begin(), data.end());
    out.insert(out.end(), options.trailingZeros, 0);
    return out;
}

} // namespace rle8
