// The 256-byte text buffers of the text edit and the option menu: at most
// 255 bytes and a terminating zero.
#pragma once

#include <cstring>

#include "gui/controls/CParamDisplay.h"

// Copies at most 255 bytes of `from` into the 256-byte buffer `to`. A longer
// text is cut before the UTF-8 character that would not fit whole.
inline void copyText255(char* to, const char* from)
{
    size_t n = std::strlen(from);
    if (n >= kParamTextSize) {
        n = kParamTextSize - 1;
        // Continuation bytes are 10xxxxxx; back off to the start of that character.
        while (n > 0 && (static_cast<unsigned char>(from[n]) & 0xC0) == 0x80)
            n--;
    }
    std::memcpy(to, from, n);
    to[n] = '\0';
}
