// CFont, the font id, and the standard font tables it indexes.
//
// The family names are platform font names; the platform layer maps
// "Swis721 BT" to a sans-serif family it has. The tables are constants, so
// they are complete before any static constructor of another file can read them.
#pragma once

#include <cstdint>
#include <string_view>

using CFont = uint32_t;

inline constexpr CFont kFontIdCount = 8;

// Ids above 7 stand for 0. The comparison is unsigned, so a negative id
// passed through an int also lands on 0.
constexpr CFont validFontId(CFont id)
{
    return id < kFontIdCount ? id : 0;
}

inline constexpr const char* systemFont = "Swis721 BT";
inline constexpr const char* systemFontS = "Bold";
inline constexpr const char* standardFont = "Swis721 BT";
inline constexpr const char* standardFontS = "Roman";

inline constexpr int32_t standardFontSize[kFontIdCount] = {12, 18, 14, 12, 11, 10, 9, 12};

// Id 7 has a size but was never given a family; it takes the standard pair so
// that every valid id can be looked up in all three tables.
inline constexpr const char* standardFontName[kFontIdCount] = {
    systemFont,   standardFont, standardFont, standardFont,
    standardFont, standardFont, standardFont, standardFont,
};
inline constexpr const char* standardFontStyle[kFontIdCount] = {
    systemFontS,   standardFontS, standardFontS, standardFontS,
    standardFontS, standardFontS, standardFontS, standardFontS,
};

// Every valid id finds the one family; only id 0 is bold. The editor's value
// displays use id 3: 12 points, roman.
static_assert([] {
    constexpr int32_t sizes[kFontIdCount] = {12, 18, 14, 12, 11, 10, 9, 12};
    for (CFont id = 0; id < kFontIdCount; ++id) {
        if (standardFontSize[id] != sizes[id] ||
            std::string_view(standardFontName[id]) != "Swis721 BT" ||
            std::string_view(standardFontStyle[id]) != (id == 0 ? "Bold" : "Roman"))
            return false;
    }
    return standardFontSize[3] == 12 && std::string_view(standardFontStyle[3]) == "Roman";
}());
