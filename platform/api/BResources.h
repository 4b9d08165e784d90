// The resources of a file: the container appended to it, read once into
// memory and looked up by type and id. A file whose container is missing or
// malformed has no resources; every lookup then fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/api/SupportDefs.h"
#include "platform/resources/ResourceReader.h"

class BFile;

class BResources {
public:
    BResources() = default;
    // The container is copied in whole, so the file may be closed afterwards.
    // Resources are never written back, hence `clobber` must be false.
    explicit BResources(const BFile* file, bool clobber = false);
    BResources(const BResources&) = delete;
    BResources& operator=(const BResources&) = delete;

    status_t SetTo(const BFile* file, bool clobber = false);
    status_t InitCheck() const { return reader_.valid() ? B_OK : B_NO_INIT; }

    // Everything is in memory from SetTo on; kept for callers that ask.
    status_t PreloadResourceType(type_code type = 0);
    bool HasResource(type_code type, int32_t id) const;
    // Data owned by this object, valid for its lifetime; null when absent.
    const void* LoadResource(type_code type, int32_t id, size_t* outSize) const;
    // The byIndex-th resource (from 0), in container order; false past the end.
    // The name stays owned by this object.
    bool GetResourceInfo(int32_t byIndex, type_code* typeFound, int32_t* idFound,
                         const char** nameFound, size_t* lengthFound) const;

private:
    std::vector<uint8_t> container_;
    ResourceReader reader_;
};
