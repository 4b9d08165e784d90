// BFont: a family, a style and a size; the measurements come from the real
// face that stands in for the family (see FontFace.h for the substitution).
#pragma once

#include <cstdint>

#include "platform/api/SupportDefs.h"

typedef char font_family[64];
typedef char font_style[64];

struct font_height {
    float ascent;
    float descent;
    float leading;
};

inline constexpr uint32_t B_FONT_FAMILY_AND_STYLE = 0x1;
inline constexpr uint32_t B_FONT_SIZE = 0x2;

class BFont {
public:
    // The platform's default: "Swis721 BT" "Roman" at 12.
    BFont();

    // The platform has one sans-serif family, known as "Swis721 BT",
    // "Liberation Sans" or "DejaVu Sans"; styles "Roman", "Regular", "Book",
    // "Normal" and "Bold". A null family keeps the family. Anything else
    // answers B_NAME_NOT_FOUND and changes nothing.
    status_t SetFamilyAndStyle(const char* family, const char* style);
    void GetFamilyAndStyle(font_family* family, font_style* style) const;
    // Pixels per em, kept within 1 ... 10000; NaN changes nothing.
    void SetSize(float size);
    float Size() const { return size_; }
    bool IsBold() const { return bold_; }

    void GetHeight(font_height* height) const;
    float StringWidth(const char* string) const;

    bool operator==(const BFont& other) const;

private:
    font_family family_;
    font_style style_;
    bool bold_ = false;
    float size_ = 12;
};
