// Byte streams: BDataIO, the seekable BPositionIO, and BMemoryIO over a
// caller's buffer.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

#include "platform/api/SupportDefs.h"

class BDataIO {
public:
    virtual ~BDataIO() = default;
    // Bytes moved, 0 at the end, or a negative status.
    virtual ssize_t Read(void* buffer, size_t size) = 0;
    virtual ssize_t Write(const void* buffer, size_t size) = 0;
};

class BPositionIO : public BDataIO {
public:
    // Read and Write go through ReadAt and WriteAt at Position(), then move it.
    ssize_t Read(void* buffer, size_t size) override;
    ssize_t Write(const void* buffer, size_t size) override;
    virtual ssize_t ReadAt(off_t position, void* buffer, size_t size) = 0;
    virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size) = 0;
    // `mode` is SEEK_SET, SEEK_CUR or SEEK_END; answers the new position or a negative status.
    virtual off_t Seek(off_t position, uint32_t mode) = 0;
    virtual off_t Position() const = 0;
};

class BMemoryIO : public BPositionIO {
public:
    // Read-only over `size` bytes the caller keeps alive; writes answer B_NOT_ALLOWED.
    BMemoryIO(const void* data, size_t size);
    // Read-write within the `size` bytes; never grows.
    BMemoryIO(void* data, size_t size);

    ssize_t ReadAt(off_t position, void* buffer, size_t size) override;
    ssize_t WriteAt(off_t position, const void* buffer, size_t size) override;
    off_t Seek(off_t position, uint32_t mode) override;
    off_t Position() const override { return position_; }

private:
    const uint8_t* data_;
    uint8_t* writable_;
    size_t size_;
    off_t position_ = 0;
};
