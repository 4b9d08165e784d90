// Picture: an opaque picture as 0xRRGGBB words, read from and written to PNG
// files, for tests that look at what a program or an editor showed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb; // 0xRRGGBB, row by row
    uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y * width + x)]; }
};

// An empty picture (width 0) when the file is missing or not a PNG.
Picture readPng(const std::filesystem::path& path);
bool writePng(const std::filesystem::path& path, const Picture& picture);
// From rows of blue, green, red and a fourth byte, 4 x width bytes each.
Picture pictureOfBgra(const std::vector<uint8_t>& pixels, int width, int height);
