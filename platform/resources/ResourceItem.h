// One resource as the writer takes it: type code, id, name and bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ResourceItem {
    uint32_t type = 0;
    int32_t id = 0;
    std::string name;
    std::vector<uint8_t> data;
};
