// ELF header walk for the end of the image, and the container magic test.
#include "platform/resources/ElfImage.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <vector>

#include "platform/resources/ResourceLayout.h"

namespace {

bool readAt(int fd, uint64_t offset, void* buffer, size_t size)
{
    auto* out = static_cast<uint8_t*>(buffer);
    while (size > 0) {
        const ssize_t got = pread(fd, out, size, static_cast<off_t>(offset));
        if (got <= 0)
            return false;
        out += got;
        offset += static_cast<uint64_t>(got);
        size -= static_cast<size_t>(got);
    }
    return true;
}

uint64_t readLe(const uint8_t* p, size_t bytes)
{
    uint64_t v = 0;
    for (size_t i = bytes; i-- > 0;)
        v = v << 8 | p[i];
    return v;
}

// Field positions that differ between the two ELF classes.
struct ElfClass {
    size_t headerSize, word;
    size_t phoff, shoff, phentsize, phnum, shentsize, shnum;
    size_t phOffset, phFilesz;       // within a program header
    size_t shType, shOffset, shSize; // within a section header
};
constexpr ElfClass kElf32{52, 4, 28, 32, 42, 44, 46, 48, 4, 16, 4, 16, 20};
constexpr ElfClass kElf64{64, 8, 32, 40, 54, 56, 58, 60, 8, 32, 4, 24, 32};
constexpr uint32_t kSectionNoBits = 8;

bool tableEnd(int fd, uint64_t fileSize, uint64_t offset, uint64_t count, uint64_t entrySize,
              size_t minEntry, uint64_t& end, std::vector<uint8_t>& table)
{
    if (count == 0)
        return true;
    if (entrySize < minEntry || offset > fileSize || count > (fileSize - offset) / entrySize)
        return false;
    const uint64_t size = count * entrySize;
    end = std::max(end, offset + size);
    table.resize(static_cast<size_t>(size));
    return readAt(fd, offset, table.data(), table.size());
}

} // namespace

std::optional<uint64_t> ElfImage::imageEnd(int fd)
{
    struct stat st {};
    if (fstat(fd, &st) != 0 || st.st_size < 0)
        return std::nullopt;
    const auto fileSize = static_cast<uint64_t>(st.st_size);

    std::array<uint8_t, 64> h{};
    if (fileSize < 52 || !readAt(fd, 0, h.data(), std::min<size_t>(h.size(), fileSize)))
        return std::nullopt;
    if (h[0] != 0x7F || h[1] != 'E' || h[2] != 'L' || h[3] != 'F' || h[5] != 1)
        return std::nullopt;
    const ElfClass* k = h[4] == 1 ? &kElf32 : h[4] == 2 ? &kElf64 : nullptr;
    if (k == nullptr || fileSize < k->headerSize)
        return std::nullopt;

    uint64_t end = k->headerSize;
    std::vector<uint8_t> table;
    const uint64_t phentsize = readLe(&h[k->phentsize], 2);
    if (!tableEnd(fd, fileSize, readLe(&h[k->phoff], k->word), readLe(&h[k->phnum], 2), phentsize,
                  k->phFilesz + k->word, end, table))
        return std::nullopt;
    for (size_t at = 0; at < table.size(); at += phentsize) {
        const uint64_t off = readLe(&table[at + k->phOffset], k->word);
        const uint64_t size = readLe(&table[at + k->phFilesz], k->word);
        if (off > fileSize || size > fileSize - off)
            return std::nullopt;
        end = std::max(end, off + size);
    }

    const uint64_t shentsize = readLe(&h[k->shentsize], 2);
    table.clear();
    if (!tableEnd(fd, fileSize, readLe(&h[k->shoff], k->word), readLe(&h[k->shnum], 2), shentsize,
                  k->shSize + k->word, end, table))
        return std::nullopt;
    for (size_t at = 0; at < table.size(); at += shentsize) {
        if (readLe(&table[at + k->shType], 4) == kSectionNoBits)
            continue;
        const uint64_t off = readLe(&table[at + k->shOffset], k->word);
        const uint64_t size = readLe(&table[at + k->shSize], k->word);
        if (off > fileSize || size > fileSize - off)
            return std::nullopt;
        end = std::max(end, off + size);
    }
    return end;
}

std::optional<uint64_t> ElfImage::findResourceContainer(int fd)
{
    uint64_t start = 0;
    if (const std::optional<uint64_t> end = imageEnd(fd))
        start = *end;
    std::array<uint8_t, 4> magic{};
    if (!readAt(fd, start, magic.data(), magic.size()))
        return std::nullopt;
    if (resource_layout::readLe32(magic.data()) != resource_layout::kMagic)
        return std::nullopt;
    return start;
}
