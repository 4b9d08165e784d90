// Reads a file's appended resource container and answers lookups.
#include "platform/api/BResources.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/api/BFile.h"
#include "platform/resources/ElfImage.h"

BResources::BResources(const BFile* file, bool clobber)
{
    SetTo(file, clobber);
}

status_t BResources::SetTo(const BFile* file, bool clobber)
{
    container_.clear();
    reader_ = ResourceReader();
    if (file == nullptr || clobber || file->InitCheck() != B_OK)
        return B_BAD_VALUE;
    const int fd = file->descriptor();
    const std::optional<uint64_t> start = ElfImage::findResourceContainer(fd);
    struct stat st {};
    if (!start || fstat(fd, &st) != 0 || static_cast<uint64_t>(st.st_size) < *start)
        return B_ERROR;

    container_.resize(static_cast<size_t>(static_cast<uint64_t>(st.st_size) - *start));
    size_t done = 0;
    while (done < container_.size()) {
        const ssize_t got = pread(fd, container_.data() + done, container_.size() - done,
                                  static_cast<off_t>(*start + done));
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    // A file that shrank while being read is treated as truncated.
    container_.resize(done);
    return reader_.parse(container_, 0) ? B_OK : B_ERROR;
}

status_t BResources::PreloadResourceType(type_code)
{
    return InitCheck();
}

bool BResources::HasResource(type_code type, int32_t id) const
{
    return reader_.find(type, id) != nullptr;
}

const void* BResources::LoadResource(type_code type, int32_t id, size_t* outSize) const
{
    const ResourceReader::Entry* e = reader_.find(type, id);
    if (e == nullptr)
        return nullptr;
    if (outSize != nullptr)
        *outSize = e->size;
    return container_.data() + e->offset;
}

bool BResources::GetResourceInfo(int32_t byIndex, type_code* typeFound, int32_t* idFound,
                                 const char** nameFound, size_t* lengthFound) const
{
    const auto& entries = reader_.entries();
    if (byIndex < 0 || static_cast<size_t>(byIndex) >= entries.size())
        return false;
    const ResourceReader::Entry& e = entries[static_cast<size_t>(byIndex)];
    if (typeFound != nullptr)
        *typeFound = e.type;
    if (idFound != nullptr)
        *idFound = e.id;
    if (nameFound != nullptr)
        *nameFound = e.name.c_str();
    if (lengthFound != nullptr)
        *lengthFound = e.size;
    return true;
}
