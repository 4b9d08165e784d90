// Windows BMP files with 8-bit run-length compressed pixels: the encoder of
// the skin pictures. Pure byte work, so the tests can round-trip it.
#pragma once

#include <cstdint>
#include <vector>

// An 8-bit palette image, rows stored top-down as they are drawn.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;   // width * height palette indices
    std::vector<uint32_t> palette; // 0xRRGGBB, at most 256 entries
};

struct BmpOptions {
    // Zero means "all palette entries"; some readers want the count spelled out.
    uint32_t coloursUsed = 0;
    // Bytes after the end-of-bitmap code, counted in the file size but not in
    // the image size; decoders stop at the code and never read them.
    uint32_t trailingZeros = 0;
};

namespace rle8 {

// One row's runs without its end code. Runs of two or more equal pixels
// become encoded runs; anything else becomes absolute runs of three or more
// pixels, padded to an even length; shorter leftovers become runs of one.
void encodeRow(const uint8_t* row, int width, std::vector<uint8_t>& out);

// All rows bottom-up, an end-of-line code after each row but the last and
// the end-of-bitmap code after the last.
std::vector<uint8_t> encode(const IndexedImage& image);

// The complete file: file header, information header, palette, pixels.
std::vector<uint8_t> writeBmp(const IndexedImage& image, const BmpOptions& options = {});

} // namespace rle8
