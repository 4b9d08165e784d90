// Lays out header, index section, filler, data and info table.
#include "platform/resources/ResourceWriter.h"

#include <algorithm>
#include <limits>

#include "platform/resources/ResourceLayout.h"

namespace rl = resource_layout;

void ResourceWriter::add(ResourceItem item)
{
    items_.push_back(std::move(item));
}

std::optional<std::vector<uint8_t>> ResourceWriter::build() const
{
    const uint64_t entries = std::max<uint64_t>(rl::kMinIndexEntries, items_.size());
    const uint64_t indexSize = rl::kSectionHeaderSize + entries * rl::kIndexEntrySize;
    const uint64_t adminSize = rl::kHeaderSize + indexSize;
    const uint64_t dataStart = adminSize + rl::kFillerSize;

    std::vector<uint64_t> offsets;
    uint64_t cursor = dataStart;
    for (const ResourceItem& item : items_) {
        offsets.push_back(cursor);
        cursor += item.data.size();
    }
    const uint64_t infoOffset = cursor;

    std::vector<uint32_t> types;
    for (const ResourceItem& item : items_)
        if (std::find(types.begin(), types.end(), item.type) == types.end())
            types.push_back(item.type);

    std::vector<uint8_t> info;
    for (uint32_t type : types) {
        rl::appendLe32(info, type);
        for (size_t i = 0; i < items_.size(); ++i) {
            const ResourceItem& item = items_[i];
            if (item.type != type)
                continue;
            const size_t nameSize = item.name.size() + 1;
            if (nameSize > std::numeric_limits<uint16_t>::max())
                return std::nullopt;
            rl::appendLe32(info, static_cast<uint32_t>(item.id));
            rl::appendLe32(info, static_cast<uint32_t>(i + 1));
            rl::appendLe16(info, static_cast<uint16_t>(nameSize));
            info.insert(info.end(), item.name.begin(), item.name.end());
            info.push_back(0);
        }
        info.insert(info.end(), rl::kTypeEndMarkerSize, 0xFF);
    }
    rl::appendLe32(info, rl::infoChecksum(info.data(), info.size()));
    rl::appendLe32(info, 0);

    const uint64_t total = infoOffset + info.size();
    if (total > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    const auto u32 = [](uint64_t v) { return static_cast<uint32_t>(v); };

    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(total));
    rl::appendLe32(out, rl::kMagic);
    rl::appendLe32(out, u32(items_.size()));
    rl::appendLe32(out, rl::kHeaderSize);
    rl::appendLe32(out, u32(adminSize));
    for (int i = 0; i < 13; ++i)
        rl::appendLe32(out, 0);

    for (size_t word = 0; word < rl::kSectionHeaderSize / 4; ++word) {
        uint32_t value = rl::unusedWord(word);
        switch (word) {
        case rl::kSectionIndexOffsetWord: value = rl::kHeaderSize; break;
        case rl::kSectionIndexSizeWord: value = u32(indexSize); break;
        case rl::kSectionFillerOffsetWord: value = u32(adminSize); break;
        case rl::kSectionFillerSizeWord: value = rl::kFillerSize; break;
        case rl::kSectionInfoOffsetWord: value = u32(infoOffset); break;
        case rl::kSectionInfoSizeWord: value = u32(info.size()); break;
        default: break;
        }
        rl::appendLe32(out, value);
    }
    for (uint64_t e = 0; e < entries; ++e) {
        if (e < items_.size()) {
            rl::appendLe32(out, u32(offsets[e]));
            rl::appendLe32(out, u32(items_[e].data.size()));
            rl::appendLe32(out, 0);
        } else {
            for (size_t w = 0; w < 3; ++w)
                rl::appendLe32(out, rl::unusedWord(w));
        }
    }
    for (size_t w = 0; w < rl::kFillerSize / 4; ++w)
        rl::appendLe32(out, rl::unusedWord(w));
    for (const ResourceItem& item : items_)
        out.insert(out.end(), item.data.begin(), item.data.end());
    out.insert(out.end(), info.begin(), info.end());
    return out;
}
