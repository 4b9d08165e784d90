// The knobs' angle and value mapping, their drawing, and the shared mouse
// tracking in circular and linear (control key) modes.
#include "gui/controls/CKnob.h"

#include <cmath>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/MouseButtons.h"
#include "gui/controls/Saturate.h"

namespace {

// The sweep (3/2 pi) and the angle of the minimum (5/4 pi), clockwise from
// twelve o'clock, as single-precision constants.
constexpr float kSweep = 4.712389f;
constexpr float kMinAngle = 3.9269907f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
// Pixels of vertical travel for the whole range in linear mode.
constexpr float kLinearTravel = 100.0f;
constexpr float kFineLinearTravel = 300.0f;

float linearTravel(int32_t state)
{
    return (state & kModFine) ? kFineLinearTravel : kLinearTravel;
}

} // namespace

CKnob::CKnob(const CRect& rect, CControlListener* owner, int32_t controlTag, CBitmap* picture,
             CBitmap* handleBitmap, const CPoint& pictureOffset)
    : CControl(rect, owner, controlTag, picture), inset(5), offset(pictureOffset)
{
    replacePicture(handle, handleBitmap);
    if (handle)
        inset = handle->getWidth() / 2;
}

CKnob::~CKnob()
{
    replacePicture(handle, nullptr);
}

void CKnob::setInsetValue(int newInset)
{
    inset = newInset;
}

void CKnob::valueToPoint(CPoint& point)
{
    const float v = saneValue(value);
    const float angle = kSweep / (maxValue - minValue) * (v - minValue) + kMinAngle;
    const float r = static_cast<float>(size.right - size.left) * 0.5f - static_cast<float>(inset);
    const auto in = static_cast<float>(inset);
    // Adding 0.5 and truncating rounds the non-negative coordinates; an
    // empty range (NaN or infinite angle) saturates instead of converting
    // undefined.
    point.h = pixelTrunc(r + r * std::sin(angle) + in + 0.5f);
    point.v = pixelTrunc(r - r * std::cos(angle) + in + 0.5f);
}

float CKnob::valueFromPoint(CPoint& where)
{
    const float r = static_cast<float>(size.right - size.left) * 0.5f - static_cast<float>(inset);
    const float dx = static_cast<float>(where.h - inset) - r;
    const float dy = r - static_cast<float>(where.v - inset); // positive above the centre
    float a = 0.0f;
    if (dy != 0.0f)
        a = static_cast<float>(-std::atan(static_cast<double>(dx / dy)));
    else
        a = dx > 0.0f ? -kHalfPi : kHalfPi;
    a += kHalfPi;
    if (dy < 0.0f)
        a += kPi;
    // Fraction of a turn counter-clockwise from three o'clock.
    const float c = a / kTwoPi;

    const float span = maxValue - minValue;
    float result = 0.0f;
    if (c > 0.625f && c < 0.875f) {
        // The dead sector at the bottom goes to the nearer end.
        result = c < 0.75f ? minValue : maxValue;
    } else {
        const float turned = c >= 0.875f ? c - 0.875f : c + 0.125f;
        const float t = turned * 1.3333334f;
        result = span - span * t + minValue;
    }
    if (result > maxValue)
        result = maxValue;
    else if (result < minValue)
        result = minValue;
    return result;
}

void CKnob::draw(CDrawContext* context)
{
    drawPicture(background, context, size, offset);
    CPoint p;
    valueToPoint(p);
    p.offset(size.left - inset, size.top - inset);
    if (handle) {
        CRect place{p.h, p.v, p.h + handle->getWidth(), p.v + handle->getHeight()};
        handle->drawTransparent(context, place, CPoint{0, 0});
    }
    setDirty(false);
}

void CKnob::mouse(CDrawContext* context, CPoint& where)
{
    const int32_t click = press(context);
    if (!click || restoreDefault(context, click))
        return;
    if (click & kModControl)
        trackLinear(context, where, click);
    else
        trackCircular(context, where);
}

// Up and down: 100 pixels cover the range, 300 with the fine key. A change of
// keys moves the entry value so the value itself does not jump.
void CKnob::trackLinear(CDrawContext* context, CPoint& where, int32_t click)
{
    const CPoint first = where;
    float entry = saneValue(value);
    int32_t remembered = click;
    float coef = (maxValue - minValue) / linearTravel(click);
    auto upAndDown = [&](const CPoint& at, int32_t state) {
        const int32_t d = first.v - at.v; // positive when the mouse went up
        if (state != remembered) {
            const float newCoef = (maxValue - minValue) / linearTravel(state);
            entry = entry + (coef - newCoef) * static_cast<float>(d);
            coef = newCoef;
            remembered = state;
        }
        return entry + static_cast<float>(d) * coef;
    };
    track(context, where, DragRules{DragEnd::Release, DragLimits::Range}, upAndDown);
}

// Around the centre. Crossing the dead sector holds the value at the end it
// left from until the pointer comes back within half the range.
void CKnob::trackCircular(CDrawContext* context, CPoint& where)
{
    CPoint start = where;
    start.offset(-size.left, -size.top);
    float old = valueFromPoint(start);
    const float middle = (maxValue - minValue) * 0.5f;
    auto around = [&](const CPoint& at, int32_t) {
        CPoint p = at;
        p.offset(-size.left, -size.top);
        const float turned = valueFromPoint(p);
        if (old - turned > middle)
            return maxValue;
        if (turned - old > middle)
            return minValue;
        old = turned;
        return turned;
    };
    // valueFromPoint keeps the value in range.
    track(context, where, DragRules{DragEnd::Release}, around);
}

CAnimKnob::CAnimKnob(const CRect& rect, CControlListener* owner, int32_t controlTag, int count,
                     int height, CBitmap* strip, const CPoint& pictureOffset)
    : CKnob(rect, owner, controlTag, nullptr, strip, pictureOffset), imageCount(count),
      imageHeight(height)
{
    inset = 0;
}

int32_t CAnimKnob::getSourceRow() const
{
    const float v = saneValue(value);
    if (v <= 0.0f || imageHeight <= 0 || imageCount <= 0)
        return 0;
    const int64_t wide = static_cast<int64_t>(imageCount - 1) * imageHeight;
    const auto range = static_cast<int32_t>(wide < INT32_MAX ? wide : INT32_MAX);
    // A value above 1 shows the last picture rather than rows past the strip.
    const int32_t t = saturatedTrunc(static_cast<double>(v * static_cast<float>(range)), 0, range);
    // The last multiple of the picture height not past t; at the end of the
    // strip, t itself.
    return t >= range ? t : t / imageHeight * imageHeight;
}

void CAnimKnob::draw(CDrawContext* context)
{
    const bool loaded = handle && handle->getWidth() > 0 && handle->getHeight() > 0;
    if (loaded && imageHeight > 0 && imageCount > 0)
        drawPicture(handle, context, size, CPoint{0, getSourceRow()});
    setDirty(false);
}
