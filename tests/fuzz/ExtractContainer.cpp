// extract-container FILE OUTPUT: copies the resource container appended to
// FILE into OUTPUT, the reader fuzzer's seed of a real, valid container.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/resources/ElfImage.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: extract-container FILE OUTPUT\n");
        return 2;
    }
    const int fd = open(argv[1], O_RDONLY | O_CLOEXEC);
    const std::optional<uint64_t> start =
        fd < 0 ? std::nullopt : ElfImage::findResourceContainer(fd);
    if (!start) {
        std::fprintf(stderr, "extract-container: no resource container: %s\n", argv[1]);
        return 1;
    }
    std::vector<char> bytes(
        static_cast<size_t>(lseek(fd, 0, SEEK_END) - static_cast<off_t>(*start)));
    const bool read = pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(*start)) ==
                      static_cast<ssize_t>(bytes.size());
    close(fd);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!read || !out) {
        std::fprintf(stderr, "extract-container: cannot copy: %s\n", argv[1]);
        return 1;
    }
    return 0;
}
