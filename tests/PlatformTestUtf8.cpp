// The one UTF-8 codec: every kind of bad sequence in one table, read as the
// units a reader steps through (the maximal-subpart rule), and the encoder
// at each length's edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/api/Utf8.h"

namespace {

constexpr char32_t B = utf8::kBad;

struct Unit {
    char32_t point;
    int32_t length;
    bool operator==(const Unit&) const = default;
};

std::vector<Unit> units(std::string_view text)
{
    std::vector<Unit> out;
    while (!text.empty()) {
        const utf8::Character c = utf8::decode(text);
        out.push_back({c.point, c.length});
        text.remove_prefix(static_cast<size_t>(c.length));
    }
    return out;
}

struct Case {
    const char* what;
    std::string bytes;
    std::vector<Unit> units;
};

TEST(Utf8, DecodesGoodCharactersAndStepsOverBadUnits)
{
    const Case cases[] = {
        {"ascii and NUL", std::string("a\0", 2), {{'a', 1}, {0, 1}}},
        {"each length",
         "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB8",
         {{0xE9, 2}, {0x20AC, 3}, {0x1F3B8, 4}}},
        {"smallest of each length",
         "\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80",
         {{0x80, 2}, {0x800, 3}, {0x10000, 4}}},
        {"largest", "\xF4\x8F\xBF\xBF\xEF\xBF\xBF", {{0x10FFFF, 4}, {0xFFFF, 3}}},
        {"around the surrogates", "\xED\x9F\xBF\xEE\x80\x80", {{0xD7FF, 3}, {0xE000, 3}}},
        {"stray continuation",
         "\x80\xBF"
         "a",
         {{B, 1}, {B, 1}, {'a', 1}}},
        {"overlong two bytes", "\xC0\xAF\xC1\xBF", {{B, 1}, {B, 1}, {B, 1}, {B, 1}}},
        {"overlong three bytes", "\xE0\x80\xAF", {{B, 1}, {B, 1}, {B, 1}}},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", {{B, 1}, {B, 1}, {B, 1}, {B, 1}}},
        {"surrogate", "\xED\xA0\x80", {{B, 1}, {B, 1}, {B, 1}}},
        {"above U+10FFFF", "\xF4\x90\x80\x80", {{B, 1}, {B, 1}, {B, 1}, {B, 1}}},
        {"bytes that never start one", "\xF5\xFF", {{B, 1}, {B, 1}}},
        {"bad continuation",
         "\xE2\x82"
         "a\xC3(",
         {{B, 2}, {'a', 1}, {B, 1}, {'(', 1}}},
        {"cut short", "\xF0\x9F\x8E", {{B, 3}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(units(c.bytes), c.units) << c.what;
        bool good = true;
        for (const Unit& u : c.units)
            good = good && u.point != B;
        EXPECT_EQ(utf8::valid(c.bytes), good) << c.what;
    }
    EXPECT_EQ(utf8::replaceBad("a\xE2\x82"
                               "b\xED\xA0\x80",
                               "?"),
              "a?b???");
}

TEST(Utf8, EncodesWhatItDecodesAndRefusesWhatIsNoCharacter)
{
    for (const char32_t point :
         {0x0u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        char bytes[4] = {};
        const int32_t length = utf8::encode(point, bytes);
        const utf8::Character back = utf8::decode({bytes, static_cast<size_t>(length)});
        EXPECT_EQ(back.point, point);
        EXPECT_EQ(back.length, length);
    }
    char bytes[4] = {};
    EXPECT_EQ(utf8::encode(0xD800, bytes), 0);
    EXPECT_EQ(utf8::encode(0xDFFF, bytes), 0);
    EXPECT_EQ(utf8::encode(0x110000, bytes), 0);
}

} // namespace
