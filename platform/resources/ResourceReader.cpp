// Validating parser of the resource container; every read is bounds
// checked against the container, which runs to the end of the file.
#include "platform/resources/ResourceReader.h"

#include <utility>

#include "platform/resources/ResourceLayout.h"

namespace rl = resource_layout;

namespace {

// True when [offset, offset + size) lies inside a buffer of `limit` bytes,
// written so that no sum can wrap.
bool fits(uint64_t offset, uint64_t size, uint64_t limit)
{
    return offset <= limit && size <= limit - offset;
}

} // namespace

bool ResourceReader::parse(std::span<const uint8_t> file, size_t containerOffset)
{
    valid_ = false;
    entries_.clear();
    if (!fits(containerOffset, rl::kHeaderSize, file.size()))
        return false;
    const std::span<const uint8_t> c = file.subspan(containerOffset);
    const uint8_t* p = c.data();
    if (rl::readLe32(p) != rl::kMagic)
        return false;
    const uint32_t count = rl::readLe32(p + 4);
    const uint32_t indexOffset = rl::readLe32(p + 8);
    if (!fits(indexOffset, rl::kSectionHeaderSize, c.size()))
        return false;

    const uint8_t* section = p + indexOffset;
    const auto word = [section](size_t i) { return rl::readLe32(section + 4 * i); };
    const uint32_t indexSize = word(rl::kSectionIndexSizeWord);
    const uint32_t infoOffset = word(rl::kSectionInfoOffsetWord);
    const uint32_t infoSize = word(rl::kSectionInfoSizeWord);
    if (indexSize < rl::kSectionHeaderSize || !fits(indexOffset, indexSize, c.size()))
        return false;
    if (infoSize < rl::kInfoTrailerSize || !fits(infoOffset, infoSize, c.size()))
        return false;
    const size_t indexEntries = (indexSize - rl::kSectionHeaderSize) / rl::kIndexEntrySize;

    if (!parseInfoTable(c, containerOffset, indexOffset, indexEntries, infoOffset, infoSize) ||
        entries_.size() != count) {
        entries_.clear();
        return false;
    }
    valid_ = true;
    return true;
}

bool ResourceReader::parseInfoTable(std::span<const uint8_t> c, size_t containerOffset,
                                    size_t indexOffset, size_t indexEntries, size_t infoOffset,
                                    size_t infoSize)
{
    const uint8_t* info = c.data() + infoOffset;
    const size_t end = infoSize - rl::kInfoTrailerSize;
    if (rl::readLe32(info + end) != rl::infoChecksum(info, end))
        return false;
    if (rl::readLe32(info + end + 4) != 0)
        return false;

    const auto isTypeEnd = [info](size_t at) {
        for (size_t i = 0; i < rl::kTypeEndMarkerSize; ++i)
            if (info[at + i] != 0xFF)
                return false;
        return true;
    };
    size_t at = 0;
    while (at < end) {
        if (!fits(at, 4, end))
            return false;
        const uint32_t type = rl::readLe32(info + at);
        at += 4;
        for (;;) {
            if (!fits(at, rl::kTypeEndMarkerSize, end))
                return false;
            if (isTypeEnd(at)) {
                at += rl::kTypeEndMarkerSize;
                break;
            }
            if (!fits(at, 10, end))
                return false;
            const auto id = static_cast<int32_t>(rl::readLe32(info + at));
            const auto index = static_cast<int32_t>(rl::readLe32(info + at + 4));
            const uint16_t nameSize = rl::readLe16(info + at + 8);
            at += 10;
            if (nameSize == 0 || !fits(at, nameSize, end) || info[at + nameSize - 1] != 0)
                return false;
            std::string name(reinterpret_cast<const char*>(info + at), nameSize - 1u);
            at += nameSize;

            if (index < 1 || static_cast<size_t>(index) > indexEntries)
                return false;
            const uint8_t* entry = c.data() + indexOffset + rl::kSectionHeaderSize +
                                   (static_cast<size_t>(index) - 1) * rl::kIndexEntrySize;
            const uint32_t dataOffset = rl::readLe32(entry);
            const uint32_t dataSize = rl::readLe32(entry + 4);
            if (!fits(dataOffset, dataSize, c.size()))
                return false;
            if (find(type, id) != nullptr)
                return false;
            entries_.push_back({type, id, std::move(name), containerOffset + dataOffset, dataSize});
        }
    }
    return true;
}

const ResourceReader::Entry* ResourceReader::find(uint32_t type, int32_t id) const
{
    for (const Entry& e : entries_)
        if (e.type == type && e.id == id)
            return &e;
    return nullptr;
}
