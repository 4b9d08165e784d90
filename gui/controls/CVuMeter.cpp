// The VU meter: clamping, the fall from the last shown level, and the split
// between the unlit and lit pictures at a whole segment.
#include "gui/controls/CVuMeter.h"

#include <algorithm>
#include <cmath>

#include "gui/CBitmap.h"
#include "gui/controls/Saturate.h"

CVuMeter::CVuMeter(const CRect& rect, CBitmap* lit, CBitmap* unlit, int32_t segments,
                   int32_t meterStyle)
    : CControl(rect, nullptr, 0, nullptr), segmentCount(segments), style(meterStyle)
{
    replacePicture(litBitmap, lit);
    replacePicture(unlitBitmap, unlit);
    const CRect normal{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                       std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
    litRect = normal;
    unlitRect = normal;
}

CVuMeter::~CVuMeter()
{
    replacePicture(litBitmap, nullptr);
    replacePicture(unlitBitmap, nullptr);
}

void CVuMeter::setDecreaseStepValue(float step)
{
    decayStep = step;
}

void CVuMeter::draw(CDrawContext* context)
{
    if (!litBitmap)
        return;
    // NaN passes neither clamp; it counts as silence.
    if (std::isnan(value))
        value = getMin();
    if (getMax() < value)
        value = getMax();
    else if (getMin() > value)
        value = getMin();

    float shown = oldValue - decayStep;
    if (shown < getMin())
        shown = getMin();
    if (shown > value)
        value = shown;
    oldValue = value;

    // Zero or fewer segments would divide by zero.
    const auto segments = static_cast<float>(std::max(segmentCount, 1));
    if (axisOf(style) == Axis::Horizontal) {
        const int32_t lit = saturatedTrunc(value * segments + 0.5f);
        const int32_t split = pixelTrunc(static_cast<float>(lit) / segments *
                                         static_cast<float>(litBitmap->getWidth()));
        unlitOrigin = CPoint{split, 0};
        litOrigin = CPoint{0, 0};
        unlitRect.left = size.left + split;
        litRect.right = size.left + split;
    } else {
        const int32_t unlit = saturatedTrunc((getMax() - value) * segments + 0.5f);
        const int32_t split = pixelTrunc(static_cast<float>(unlit) / segments *
                                         static_cast<float>(litBitmap->getHeight()));
        litOrigin = CPoint{0, split};
        unlitOrigin = CPoint{0, 0};
        unlitRect.bottom = size.top + split;
        litRect.top = size.top + split;
    }
    if (unlitBitmap)
        drawPicture(unlitBitmap, context, unlitRect, unlitOrigin);
    drawPicture(litBitmap, context, litRect, litOrigin);
}
