// The 256-byte text buffers of the text edit and the option menu: at most
// 255 bytes and a terminating zero.
#pragma once

#include <cstring>

#include "gui/controls/CParamDisplay.h"
#include "platform/api/Utf8.h"

// Copies at most 255 bytes of `from` into the 256-byte buffer `to`. A longer
// text is cut before the UTF-8 character that would not fit whole.
inline void copyText255(char* to, const char* from)
{
    size_t n = std::strlen(from);
    if (n >= kParamTextSize) {
        n = kParamTextSize - 1;
        // Back off to the start of that character.
        while (n > 0 && utf8::isContinuation(from[n]))
            n--;
    }
    std::memcpy(to, from, n);
    to[n] = '\0';
}
