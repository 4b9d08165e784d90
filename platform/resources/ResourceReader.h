// Parses a resource container inside a file's bytes and finds resources
// by type and id. A container that is malformed in any way yields no
// resources at all: a half-trusted table is worse than none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class ResourceReader {
public:
    struct Entry {
        uint32_t type;
        int32_t id;
        std::string name;
        size_t offset; // from the start of the file bytes given to parse()
        size_t size;
    };

    // The bytes must outlive the reader; entries point into them.
    bool parse(std::span<const uint8_t> file, size_t containerOffset);

    bool valid() const { return valid_; }
    const std::vector<Entry>& entries() const { return entries_; }
    const Entry* find(uint32_t type, int32_t id) const;

private:
    bool parseInfoTable(std::span<const uint8_t> container, size_t containerOffset,
                        size_t indexOffset, size_t indexEntries, size_t infoOffset,
                        size_t infoSize);

    bool valid_ = false;
    std::vector<Entry> entries_;
};
