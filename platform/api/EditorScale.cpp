// EditorScale: the scale's sources in their order.
#include "platform/api/EditorScale.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace editor_scale {

int32_t fromFactor(float factor)
{
    if (!(factor > 0))
        return 0;
    return static_cast<int32_t>(std::lround(std::fmin(std::fmax(factor, 1.0f), kLargest)));
}

int32_t fromText(const char* text)
{
    if (text == nullptr || *text == '\0')
        return 0;
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    return *end == '\0' && n >= 1 && n <= kLargest ? static_cast<int32_t>(n) : 0;
}

int32_t fromDpi(int32_t dpi)
{
    return dpi >= 288 ? 3 : dpi >= 192 ? 2 : 1;
}

int32_t choose(int32_t asked, const char* program, const char* gdk, int32_t (*xftDpi)())
{
    if (asked >= 1 && asked <= kLargest)
        return asked;
    if (const int32_t n = fromText(program))
        return n;
    if (const int32_t n = fromText(gdk))
        return n;
    return xftDpi != nullptr ? fromDpi(xftDpi()) : 1;
}

int32_t choose(int32_t asked, int32_t (*xftDpi)())
{
    return choose(asked, std::getenv(kProgramVariable), std::getenv("GDK_SCALE"), xftDpi);
}

void handToAddOns(int32_t scale)
{
    setenv(kProgramVariable, std::to_string(scale).c_str(), 1);
}

} // namespace editor_scale
