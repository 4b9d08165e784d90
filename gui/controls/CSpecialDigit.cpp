// The special digit display: the range its digit count gives, the split of
// the clamped number into decimal digits, and one picture per digit.
#include "gui/controls/CSpecialDigit.h"

#include <algorithm>
#include <cmath>

#include "gui/CBitmap.h"
#include "gui/controls/Saturate.h"

CSpecialDigit::CSpecialDigit(const CRect& rect, CControlListener* owner, int32_t controlTag,
                             int32_t initialValue, int32_t count, const int32_t* xPositions,
                             const int32_t* yPositions, int32_t width, int32_t height,
                             CBitmap* picture)
    : CControl(rect, owner, controlTag, picture), digitCount(count), digitWidth(width),
      digitHeight(height)
{
    value = static_cast<float>(initialValue);
    const int32_t shown = getShownDigitCount();
    for (int32_t i = 0; i < shown; i++) {
        digitX[i] = xPositions ? xPositions[i] : 0;
        digitY[i] = yPositions ? yPositions[i] : 0;
    }
    minValue = 0.0f;
    maxValue = static_cast<float>(std::pow(10.0, std::min(count, kSpecialDigitPositions))) - 1.0f;
}

int32_t CSpecialDigit::getShownDigitCount() const
{
    return std::clamp(digitCount, 0, kSpecialDigitPositions);
}

CSpecialDigit::Digits CSpecialDigit::getDigits() const
{
    Digits digits{};
    // A NaN or far-off value saturates before it becomes an integer.
    int32_t v = saturatedTrunc(value);
    if (maxValue <= static_cast<float>(v))
        v = saturatedTrunc(maxValue);
    else if (minValue > static_cast<float>(v))
        v = saturatedTrunc(minValue);
    // The divisors come from the maximum; a maximum the owner changed to
    // below 9 gives a divisor of 0, which counts as 1 (the rest of the
    // number goes into that digit).
    int64_t divisor = (static_cast<int64_t>(saturatedTrunc(maxValue)) + 1) / 10;
    int64_t rest = v;
    for (int32_t i = 0; i < getShownDigitCount(); i++) {
        const int64_t d = divisor > 0 ? divisor : 1;
        const int64_t digit = rest / d;
        rest -= digit * d;
        digits[i] = static_cast<int32_t>(std::clamp<int64_t>(digit, INT32_MIN, INT32_MAX));
        divisor /= 10;
    }
    return digits;
}

void CSpecialDigit::draw(CDrawContext* context)
{
    const Digits digits = getDigits();
    for (int32_t i = 0; i < getShownDigitCount(); i++) {
        // A digit is one of the ten pictures, whatever the range made of it.
        const int32_t d = std::clamp(digits[i], 0, 9);
        CRect place{digitX[i], digitY[i], digitX[i] + digitWidth, digitY[i] + digitHeight};
        drawPicture(background, context, place,
                    CPoint{0, pixelTrunc(static_cast<double>(d) * digitHeight)});
    }
    setDirty(false);
}

float CSpecialDigit::getNormValue()
{
    const float norm = value / getMax();
    // A zero maximum or a NaN value gives no fraction: 0.
    if (std::isnan(norm))
        return 0.0f;
    return std::clamp(norm, 0.0f, 1.0f);
}
