// The images (executable and shared objects) loaded into a team, walked one
// by one: how the add-on finds the file it was loaded from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/api/SupportDefs.h"

using team_id = int32_t;
using image_id = int32_t;

inline constexpr int32_t B_APP_IMAGE = 1;
inline constexpr int32_t B_LIBRARY_IMAGE = 2;
inline constexpr int32_t B_ADD_ON_IMAGE = 3;

struct image_info {
    image_id id;     // position in the walk, 1 for the program itself
    int32_t type;    // B_APP_IMAGE for the program, B_LIBRARY_IMAGE otherwise
    char name[1024]; // the image's path; truncated if longer
    void* text;      // start of the executable segment, null when there is none
    void* data;      // start of the first writable segment, null when there is none
    int32_t text_size;
    int32_t data_size;
};

// Team 0 is the calling process, the only team that can be walked. Start
// with *cookie = 0; each B_OK answer fills `info` and advances the cookie.
// Past the last image the answer is B_BAD_VALUE, as for a cookie that never
// came from this walk; a `size` below sizeof(image_info), a null pointer
// or another team also answer B_BAD_VALUE.
// Any thread; the loader's list may change between calls, so a walk that
// races dlopen/dlclose can skip or repeat an image.
status_t _get_next_image_info(team_id team, int32_t* cookie, image_info* info, size_t size);

// The path of the first image whose executable segment holds `address`
// (start <= address <= start + size, so the end counts too). False when
// no image does; `path` is then unchanged.
bool findImageContaining(const void* address, std::string* path);
