// Status codes and integer types shared by the platform classes.
#pragma once

#include <cstdint>

using status_t = int32_t;
using type_code = uint32_t;

inline constexpr status_t B_OK = 0;
inline constexpr status_t B_ERROR = -1;
inline constexpr status_t B_BAD_VALUE = -2;
inline constexpr status_t B_ENTRY_NOT_FOUND = -3;
inline constexpr status_t B_NO_INIT = -4;

// Added with the drawing and window layer.
inline constexpr status_t B_TIMED_OUT = -5;
inline constexpr status_t B_NOT_ALLOWED = -6;
inline constexpr status_t B_NO_MEMORY = -7;
inline constexpr status_t B_NAME_NOT_FOUND = -8;
