// The display converters. The displays hand a buffer of at least 24 bytes,
// and no text is longer: the integer saturates, and a level that is not a
// number or infinite prints as "nan" or "-inf", as the host's displays do.
#include "editor/ParamStringConvert.h"

#include <cmath>
#include <cstdio>

#include "plugin/HostText.h"

namespace {
constexpr int kTextSize = 24;
} // namespace

void ParamStringConvert(float value, char* text)
{
    if (!text)
        return;
    // The product is taken wider than a float: 0.29f x 100 is 28.99999917,
    // which reads 28; rounded to a float first it would be 29.
    std::snprintf(text, kTextSize, "%d", saturateToInt32(static_cast<double>(value) * 100.0));
}

void ParamStringConvertCompress(float value, char* text)
{
    if (!text)
        return;
    const auto decibels = static_cast<float>(20.0 * std::log10(1.0 - static_cast<double>(value)));
    std::snprintf(text, kTextSize, "%2.0f", static_cast<double>(decibels));
}
