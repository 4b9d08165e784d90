// Utf8: the one UTF-8 decoder and encoder of the tree. A bad sequence is
// handled one way everywhere: it is one bad unit as long as its longest
// start that could still have become a character (Unicode's "maximal
// subpart"), at least one byte, so a reader resumes at the first byte that
// may start a character. Overlong forms, surrogates, points above U+10FFFF,
// the bytes C0, C1 and F5..FF, stray continuation bytes and sequences cut
// short are all bad.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace utf8 {

inline constexpr char32_t kBad = 0xFFFFFFFF;

struct Character {
    char32_t point = kBad; // kBad for a bad unit
    int32_t length = 0;    // bytes taken, at least 1 (0 only for empty input)
};

constexpr bool isContinuation(char byte)
{
    return (static_cast<uint8_t>(byte) & 0xC0) == 0x80;
}

// The character (or bad unit) at the start of text.
constexpr Character decode(std::string_view text)
{
    if (text.empty())
        return {kBad, 0};
    const auto lead = static_cast<uint8_t>(text[0]);
    if (lead < 0x80)
        return {lead, 1};
    // The length a lead byte announces, and the range its second byte must
    // lie in, which rules out overlongs, surrogates and points past U+10FFFF.
    int32_t length = 0;
    uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    else
        return {kBad, 1};
    char32_t point = lead & (0x7F >> length);
    for (int32_t i = 1; i < length; ++i) {
        if (static_cast<size_t>(i) >= text.size())
            return {kBad, i};
        const auto byte = static_cast<uint8_t>(text[static_cast<size_t>(i)]);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF))
            return {kBad, i};
        point = point << 6 | (byte & 0x3Fu);
    }
    return {point, length};
}

// The bytes of one code point into out[0 .. 3]: their count, or 0 for a
// surrogate or a point above U+10FFFF (nothing written).
constexpr int32_t encode(char32_t point, char* out)
{
    if (point < 0x80) {
        out[0] = static_cast<char>(point);
        return 1;
    }
    if (point < 0x800) {
        out[0] = static_cast<char>(0xC0 | point >> 6);
        out[1] = static_cast<char>(0x80 | (point & 0x3F));
        return 2;
    }
    if ((point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF)
        return 0;
    if (point < 0x10000) {
        out[0] = static_cast<char>(0xE0 | point >> 12);
        out[1] = static_cast<char>(0x80 | (point >> 6 & 0x3F));
        out[2] = static_cast<char>(0x80 | (point & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | point >> 18);
    out[1] = static_cast<char>(0x80 | (point >> 12 & 0x3F));
    out[2] = static_cast<char>(0x80 | (point >> 6 & 0x3F));
    out[3] = static_cast<char>(0x80 | (point & 0x3F));
    return 4;
}

// True when every byte of text belongs to a well-formed character.
constexpr bool valid(std::string_view text)
{
    while (!text.empty()) {
        const Character c = decode(text);
        if (c.point == kBad)
            return false;
        text.remove_prefix(static_cast<size_t>(c.length));
    }
    return true;
}

// text with each bad unit replaced by `stand`.
inline std::string replaceBad(std::string_view text, std::string_view stand)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Character c = decode(text);
        if (c.point == kBad)
            out += stand;
        else
            out += text.substr(0, static_cast<size_t>(c.length));
        text.remove_prefix(static_cast<size_t>(c.length));
    }
    return out;
}

} // namespace utf8
