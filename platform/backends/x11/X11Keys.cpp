// X11Keys: reading the table both ways; characters through the platform's
// UTF-8 codec, as the X protocol numbers them (Latin-1 as itself, the rest
// of Unicode from 0x01000000 up).
#include "platform/backends/x11/X11Keys.h"

#include <string_view>

#include "platform/api/Utf8.h"

namespace x11keys {

namespace {
constexpr xcb_keysym_t kUnicode = 0x01000000;

constexpr bool isLatin1Printable(char32_t point)
{
    return (point >= 0x20 && point < 0x7F) || (point >= 0xA0 && point <= 0xFF);
}
} // namespace

uint32_t modifiersOf(uint16_t state)
{
    uint32_t bits = 0;
    for (const Modifier& m : kModifiers)
        if ((state & m.mask) != 0)
            bits |= m.bit;
    return bits;
}

uint32_t buttonsOf(uint16_t state)
{
    uint32_t bits = 0;
    for (const Button& b : kButtons)
        if ((state & b.mask) != 0)
            bits |= b.bit;
    return bits;
}

uint32_t buttonOf(uint8_t detail)
{
    for (const Button& b : kButtons)
        if (b.button == detail)
            return b.bit;
    return 0;
}

int32_t bytesOf(xcb_keysym_t key, char* out)
{
    for (const Key& k : kKeys)
        if (k.key == key) {
            out[0] = k.code;
            return 1;
        }
    if (isLatin1Printable(key))
        return utf8::encode(key, out);
    if (key >= kUnicode + 0x100 && key <= kUnicode + 0x10FFFF)
        return utf8::encode(key - kUnicode, out);
    return 0;
}

xcb_keysym_t keyOf(const char* bytes, int32_t length)
{
    if (length == 1)
        for (const Key& k : kKeys)
            if (bytes[0] == k.code)
                return k.key;
    const std::string_view text(bytes, static_cast<size_t>(length));
    const utf8::Character c = utf8::decode(text);
    if (c.point == utf8::kBad || c.length != length || c.point < 0x20)
        return 0;
    return isLatin1Printable(c.point) ? c.point : kUnicode | c.point;
}

} // namespace x11keys
