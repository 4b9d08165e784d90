// Read-only file by path over a POSIX descriptor.
#include "platform/api/BFile.h"

#include <fcntl.h>
#include <unistd.h>

BFile::BFile(const char* path, uint32_t openMode)
{
    SetTo(path, openMode);
}

BFile::~BFile()
{
    Unset();
}

status_t BFile::SetTo(const char* path, uint32_t openMode)
{
    Unset();
    if (path == nullptr || openMode != B_READ_ONLY)
        return B_BAD_VALUE;
    fd_ = open(path, O_RDONLY | O_CLOEXEC);
    return fd_ >= 0 ? B_OK : B_ENTRY_NOT_FOUND;
}

void BFile::Unset()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}
