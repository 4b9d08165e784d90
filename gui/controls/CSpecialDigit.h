// CSpecialDigit: an integer shown as a row of digit pictures, each cut from
// a strip of the ten digits 0 ... 9 one below the other. The value is the
// integer itself, from 0 to 10^digits - 1. Display only.
#pragma once

#include <array>
#include <cstdint>

#include "gui/controls/CControl.h"

inline constexpr int32_t kSpecialDigitPositions = 7;

class CSpecialDigit : public CControl {
public:
    using Digits = std::array<int32_t, kSpecialDigitPositions>;

    // Each digit's picture goes at (xPositions[i], yPositions[i]) in frame
    // coordinates, most significant first. At most 7 digits are shown; the
    // arrays hold at least that many entries of the count given.
    CSpecialDigit(const CRect& size, CControlListener* listener, int32_t tag, int32_t initialValue,
                  int32_t digitCount, const int32_t* xPositions, const int32_t* yPositions,
                  int32_t digitWidth, int32_t digitHeight, CBitmap* background);
    ~CSpecialDigit() override = default;

    // Clamps the shown number into the range and draws its digits.
    void draw(CDrawContext* context) override;
    // The value as a fraction of the maximum, 0 ... 1.
    virtual float getNormValue();

    // The digits the current value shows, most significant first; entries
    // past getShownDigitCount() are 0.
    Digits getDigits() const;
    // The count given to the constructor, and the count actually shown.
    int32_t getDigitCount() const { return digitCount; }
    int32_t getShownDigitCount() const;

protected:
    int32_t digitCount;
    int32_t digitX[kSpecialDigitPositions] = {};
    int32_t digitY[kSpecialDigitPositions] = {};
    int32_t digitWidth;
    int32_t digitHeight;
};
