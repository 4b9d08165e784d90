// AudioEffect's value-to-text conversions: fixed-width texts of at most eight
// visible characters for parameter displays.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "AudioEffect.h"
#include "HostText.h"

namespace {
constexpr const char* kHuge = " Huge!  ";
constexpr int kWidth = 8; // visible characters, sign and point included

char digitOf(double v)
{
    return static_cast<char>('0' + saturateToInt32(std::fmod(v, 10.0)));
}
} // namespace

// Truncates, never rounds. An integer part that does not fit the eight
// positions shows " Huge!  " rather than losing its leading digits.
void AudioEffect::float2string(float value, char* text)
{
    double v = value;
    if (std::isnan(v)) {
        std::strcpy(text, "  nan   ");
        return;
    }
    int count = 0;
    bool negative = false;
    if (v < 0) {
        negative = true;
        v = -v;
        count = 1;
    }
    // Room for the integer part: 8 positions less the point and the sign.
    if (v >= (negative ? 1000000.0 : 10000000.0)) {
        std::strcpy(text, kHuge);
        return;
    }

    char scratch[32];
    int pos = sizeof scratch - 1;
    scratch[pos] = '\0';
    scratch[--pos] = '.';
    count++;
    double integ = std::floor(v);
    scratch[--pos] = digitOf(integ);
    integ /= 10.0;
    count++;
    while (integ >= 1.0 && count < kWidth) {
        scratch[--pos] = digitOf(integ);
        integ /= 10.0;
        count++;
    }
    if (negative)
        scratch[--pos] = '-';
    std::strcpy(text, scratch + pos);
    if (count >= kWidth)
        return;

    int fractionDigits = kWidth - count;
    double m = std::fmod(v, 1.0) * std::pow(10.0, fractionDigits);
    char fraction[kWidth + 1];
    fraction[fractionDigits] = '\0';
    for (int i = fractionDigits - 1; i >= 0; i--) {
        if (m <= 0) {
            fraction[i] = '0';
        } else {
            fraction[i] = digitOf(m);
            m /= 10.0;
        }
    }
    std::strcat(text, fraction);
}

void AudioEffect::dB2string(float value, char* text)
{
    if (value <= 0) {
        std::strcpy(text, "  -oo   ");
        return;
    }
    float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text);
}

void AudioEffect::Hz2string(float samples, char* text)
{
    float rate = getSampleRate();
    if (samples == 0)
        float2string(0.0f, text);
    else
        float2string(rate / samples, text);
}

void AudioEffect::ms2string(float samples, char* text)
{
    float2string(static_cast<float>(samples * 1000.0 / getSampleRate()), text);
}

void AudioEffect::long2string(int32_t value, char* text)
{
    if (value > 99999999) {
        std::strcpy(text, kHuge);
        return;
    }
    char scratch[32];
    std::snprintf(scratch, sizeof scratch, "%7d", value);
    scratch[kWidth] = '\0';
    std::strcpy(text, scratch);
}
