// Inside the platform layer only: what an image file must be before the
// decoder sees it. gdk-pixbuf allocates the picture a header declares before
// reading any pixel, and fills data a file lacks with transparent black while
// reporting success, so both the size and the completeness are judged here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace image_check {

enum class Format { Unknown, Bmp, Png };

// Pictures larger than this are refused: far above the skin's, far below memory trouble.
inline constexpr int64_t kLargestSide = 16384;
inline constexpr int64_t kMostPixels = int64_t{1} << 22;

// The format from the file's signature ("BM", or the PNG signature).
Format format(const uint8_t* data, size_t size);

// True for a BMP or PNG file whose declared size is within the limits and,
// for BMP, whose header is whole and sensible (1, 4, 8, 16, 24 or 32 bits a
// pixel, at most 256 palette colours, all inside the file), whose uncompressed rows all
// lie inside the data, and whose run-length codes (8- or 4-bit) reach their
// end-of-bitmap code inside the data.
bool acceptable(const uint8_t* data, size_t size);

} // namespace image_check
