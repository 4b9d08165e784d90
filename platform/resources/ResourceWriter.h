// Builds the bytes of a resource container from a list of resources.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/resources/ResourceItem.h"

class ResourceWriter {
public:
    void add(ResourceItem item);
    // Index entries follow the order of add(); the info table groups the
    // resources by type in order of each type's first appearance. Empty when
    // the container would not fit its 32-bit offsets or a name its 16-bit size.
    std::optional<std::vector<uint8_t>> build() const;

private:
    std::vector<ResourceItem> items_;
};
