// Finds where an ELF file's own image ends and a resource container
// appended after it begins, reading the file through a POSIX descriptor.
#pragma once

#include <cstdint>
#include <optional>

class ElfImage {
public:
    // The end of the image is the furthest byte any header describes: the
    // ELF header, the program and section header tables, every segment's bytes
    // in the file and every section that occupies file space. Tools that append
    // data (ours included) write after all of them; `strip` rebuilds a file
    // from these headers alone, which is why it drops the resources.
    // Empty for anything but a little-endian ELF32/ELF64 file whose headers
    // lie inside the file.
    static std::optional<uint64_t> imageEnd(int fd);

    // Offset of the resource container: right after the ELF image, or at 0
    // for a plain resource file. Empty when there is none.
    static std::optional<uint64_t> findResourceContainer(int fd);
};
