// A file opened read-only by path: as much of the platform's file class as
// the resource reader needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/api/SupportDefs.h"

inline constexpr uint32_t B_READ_ONLY = 0;

class BFile {
public:
    BFile() = default;
    // Only B_READ_ONLY is supported; nothing in the program writes files.
    BFile(const char* path, uint32_t openMode);
    ~BFile();
    BFile(const BFile&) = delete;
    BFile& operator=(const BFile&) = delete;

    status_t SetTo(const char* path, uint32_t openMode);
    void Unset();
    status_t InitCheck() const { return fd_ >= 0 ? B_OK : B_NO_INIT; }
    int descriptor() const { return fd_; }

private:
    int fd_ = -1;
};
