// Reduces a true-colour picture to a palette of at most 256 entries by
// median cut, deterministically: the same pixels give the same palette and
// indices on every machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/Rle8Bmp.h"

struct QuantiseOptions {
    // Entry 0 is always black and entry 1 always white; unused entries are black.
    size_t entries = 256;
    // Colours that get an exact entry of their own (after 0 and 1), so that two
    // pictures meant to meet seamlessly agree on them.
    std::vector<uint32_t> keep;
    // When false no pixel maps to white (entry 1) and no other entry is white,
    // for pictures drawn with white as the see-through colour.
    bool allowWhite = true;
};

// `rgb` holds width * height pixels 0xRRGGBB, rows top-down.
IndexedImage quantise(const std::vector<uint32_t>& rgb, int width, int height,
                      const QuantiseOptions& options);
