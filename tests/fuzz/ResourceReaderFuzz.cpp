// Fuzz target: arbitrary bytes as a resource container, read directly and
// as a file (ELF or plain) through BFile/BResources. Every entry the reader
// accepts must lie inside the bytes; the sanitizers catch any read outside.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "platform/api/BFile.h"
#include "platform/api/BResources.h"
#include "platform/resources/ElfImage.h"
#include "platform/resources/ResourceReader.h"

namespace {

// Reading every byte makes the address sanitizer check each entry's range.
unsigned touch(const uint8_t* p, size_t n)
{
    unsigned sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += p[i];
    return sum;
}

void readDirectly(std::span<const uint8_t> bytes)
{
    ResourceReader reader;
    if (!reader.parse(bytes, 0)) {
        if (!reader.entries().empty())
            std::abort(); // a refused container has no entries
        return;
    }
    for (const ResourceReader::Entry& e : reader.entries()) {
        if (e.offset > bytes.size() || e.size > bytes.size() - e.offset)
            std::abort();
        touch(bytes.data() + e.offset, e.size);
        if (reader.find(e.type, e.id) != &e)
            std::abort(); // (type, id) is unique
    }
}

void readAsFile(std::span<const uint8_t> bytes)
{
    const int fd = memfd_create("resources", MFD_CLOEXEC);
    if (fd < 0)
        return;
    if (write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())) {
        ElfImage::imageEnd(fd);
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        BFile file(path.c_str(), B_READ_ONLY);
        BResources resources(&file);
        ResourceReader probe; // the same entries, to know which ids to ask for
        const std::optional<uint64_t> start = ElfImage::findResourceContainer(fd);
        if (resources.InitCheck() == B_OK && start &&
            probe.parse(bytes, static_cast<size_t>(*start))) {
            for (const ResourceReader::Entry& e : probe.entries()) {
                size_t size = 0;
                const void* data = resources.LoadResource(e.type, e.id, &size);
                if (data == nullptr || size != e.size)
                    std::abort();
                touch(static_cast<const uint8_t*>(data), size);
            }
        }
    }
    close(fd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    readDirectly(bytes);
    readAsFile(bytes);
    return 0;
}
