// BPositionIO's sequential calls and BMemoryIO.
#include "platform/api/DataIO.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

ssize_t BPositionIO::Read(void* buffer, size_t size)
{
    const ssize_t got = ReadAt(Position(), buffer, size);
    if (got > 0)
        Seek(got, SEEK_CUR);
    return got;
}

ssize_t BPositionIO::Write(const void* buffer, size_t size)
{
    const ssize_t put = WriteAt(Position(), buffer, size);
    if (put > 0)
        Seek(put, SEEK_CUR);
    return put;
}

BMemoryIO::BMemoryIO(const void* data, size_t size)
    : data_(static_cast<const uint8_t*>(data)), writable_(nullptr), size_(data ? size : 0)
{
}

BMemoryIO::BMemoryIO(void* data, size_t size)
    : data_(static_cast<const uint8_t*>(data)), writable_(static_cast<uint8_t*>(data)),
      size_(data ? size : 0)
{
}

ssize_t BMemoryIO::ReadAt(off_t position, void* buffer, size_t size)
{
    if (buffer == nullptr || position < 0)
        return B_BAD_VALUE;
    if (static_cast<uint64_t>(position) >= size_)
        return 0;
    const size_t n = std::min(size, size_ - static_cast<size_t>(position));
    std::memcpy(buffer, data_ + position, n);
    return static_cast<ssize_t>(n);
}

ssize_t BMemoryIO::WriteAt(off_t position, const void* buffer, size_t size)
{
    if (writable_ == nullptr)
        return B_NOT_ALLOWED;
    if (buffer == nullptr || position < 0)
        return B_BAD_VALUE;
    if (static_cast<uint64_t>(position) >= size_)
        return 0;
    const size_t n = std::min(size, size_ - static_cast<size_t>(position));
    std::memcpy(writable_ + position, buffer, n);
    return static_cast<ssize_t>(n);
}

off_t BMemoryIO::Seek(off_t position, uint32_t mode)
{
    off_t base = 0;
    switch (mode) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = position_; break;
    case SEEK_END: base = static_cast<off_t>(size_); break;
    default: return B_BAD_VALUE;
    }
    // Past the end is allowed (reads there find nothing); before the start is not.
    if (position < -base)
        return B_BAD_VALUE;
    position_ = base + position;
    return position_;
}
