// BFont: names, size and the measurements of the face behind them.
#include "platform/api/Font.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/pixels/FontFace.h"

namespace {

bool knownFamily(const char* family)
{
    for (const char* name : {"Swis721 BT", "Liberation Sans", "DejaVu Sans"}) {
        if (strcasecmp(family, name) == 0)
            return true;
    }
    return false;
}

// 1 regular, 2 bold, 0 unknown.
int styleWeight(const char* style)
{
    for (const char* name : {"Roman", "Regular", "Book", "Normal"}) {
        if (strcasecmp(style, name) == 0)
            return 1;
    }
    return strcasecmp(style, "Bold") == 0 ? 2 : 0;
}

font_face::Weight weightOf(bool bold)
{
    return bold ? font_face::Weight::Bold : font_face::Weight::Regular;
}

} // namespace

BFont::BFont()
{
    std::snprintf(family_, sizeof family_, "%s", "Swis721 BT");
    std::snprintf(style_, sizeof style_, "%s", "Roman");
}

status_t BFont::SetFamilyAndStyle(const char* family, const char* style)
{
    if (family != nullptr && !knownFamily(family))
        return B_NAME_NOT_FOUND;
    const int weight = style != nullptr ? styleWeight(style) : (bold_ ? 2 : 1);
    if (weight == 0)
        return B_NAME_NOT_FOUND;
    if (family != nullptr)
        std::snprintf(family_, sizeof family_, "%s", family);
    if (style != nullptr)
        std::snprintf(style_, sizeof style_, "%s", style);
    bold_ = weight == 2;
    return B_OK;
}

void BFont::GetFamilyAndStyle(font_family* family, font_style* style) const
{
    if (family != nullptr)
        std::memcpy(*family, family_, sizeof family_);
    if (style != nullptr)
        std::memcpy(*style, style_, sizeof style_);
}

void BFont::SetSize(float size)
{
    if (size == size)
        size_ = std::clamp(size, 1.0f, 10000.0f);
}

void BFont::GetHeight(font_height* height) const
{
    if (height == nullptr)
        return;
    const font_face::Metrics m = font_face::metrics(weightOf(bold_), size_);
    *height = {m.ascent, m.descent, m.leading};
}

float BFont::StringWidth(const char* string) const
{
    return font_face::width(weightOf(bold_), size_, string);
}

bool BFont::operator==(const BFont& other) const
{
    return bold_ == other.bold_ && size_ == other.size_ &&
           std::strcmp(family_, other.family_) == 0 && std::strcmp(style_, other.style_) == 0;
}
