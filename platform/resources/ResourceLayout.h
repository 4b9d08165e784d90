// The byte layout of the resource container appended to an add-on file:
// fixed sizes, the unused-word pattern, byte order helpers and the info
// table checksum. Shared by the reader and the writer so they cannot drift.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace resource_layout {

inline constexpr uint32_t kMagic = 0x444F1000;
inline constexpr uint32_t kHeaderSize = 68;
inline constexpr uint32_t kSectionHeaderSize = 33 * 4;
inline constexpr uint32_t kIndexEntrySize = 12;
// The platform's own files always carry at least this many index slots.
inline constexpr uint32_t kMinIndexEntries = 117;
inline constexpr uint32_t kFillerSize = 360;
inline constexpr uint32_t kTypeEndMarkerSize = 8;
// Checksum and zero terminator close the info table.
inline constexpr uint32_t kInfoTrailerSize = 8;

// Word positions inside the index section header.
inline constexpr size_t kSectionIndexOffsetWord = 0;
inline constexpr size_t kSectionIndexSizeWord = 1;
inline constexpr size_t kSectionFillerOffsetWord = 3;
inline constexpr size_t kSectionFillerSizeWord = 4;
inline constexpr size_t kSectionInfoOffsetWord = 30;
inline constexpr size_t kSectionInfoSizeWord = 31;

inline constexpr uint32_t kUnusedTriple[3] = {0, 0xFFFFFFFFu, 1001};

// Unused words repeat the triple counted from the index section's start,
// so any word's filler value follows from its position alone.
constexpr uint32_t unusedWord(size_t wordIndex)
{
    return kUnusedTriple[wordIndex % 3];
}

uint32_t readLe32(const uint8_t* p);
uint16_t readLe16(const uint8_t* p);
void appendLe32(std::vector<uint8_t>& out, uint32_t value);
void appendLe16(std::vector<uint8_t>& out, uint16_t value);
void writeLe32(uint8_t* p, uint32_t value);

// Sum of big-endian 32-bit words, the last short group read as a
// big-endian number of its own bytes.
uint32_t infoChecksum(const uint8_t* bytes, size_t size);

} // namespace resource_layout
