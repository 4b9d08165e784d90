// The switches: value to strip picture, the multi-position mouse rules
// (vertical and horizontal differ only in axis, pitch and edge), and the
// rocker's halves with its closing notifications.
#include "gui/controls/CSwitch.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/controls/Saturate.h"

namespace {

// A switch needs at least one position; fewer would divide by zero.
int32_t positions(int32_t count)
{
    return count > 0 ? count : 1;
}

// The first picture whose step lies above the value; the steps are doubles
// so that a value of exactly k / (N - 1) lands on picture k. NaN shows the
// first picture.
int32_t stripIndex(float value, int32_t count)
{
    const int32_t n = positions(count);
    if (n == 1)
        return 0;
    const double step = 1.0 / static_cast<double>(n - 1);
    const auto v = static_cast<double>(saneValue(value));
    for (int32_t k = 1; k < n; k++)
        if (v < step * k)
            return k - 1;
    return n - 1;
}

// The value of a coordinate along the switch, pitch pixels per position.
// The vertical switch counts a boundary row to the next position, the
// horizontal one a boundary column to the position before it.
float positionValue(int32_t coordinate, double pitch, int32_t count, bool boundaryBelongsBefore)
{
    const int32_t n = positions(count);
    for (int32_t k = 1; k < n; k++) {
        const int32_t t = saturatedTrunc(pitch * k);
        if (boundaryBelongsBefore ? coordinate <= t : coordinate < t)
            return static_cast<float>(k - 1) / static_cast<float>(n - 1);
    }
    return 1.0f;
}

// Rows are clamped so a huge picture height cannot overflow the source point.
CPoint stripOrigin(int32_t index, int32_t imageHeight)
{
    return CPoint{0, pixelTrunc(static_cast<double>(index) * imageHeight)};
}

} // namespace

CMultiSwitch::CMultiSwitch(const CRect& rect, CControlListener* owner, int32_t controlTag,
                           int32_t count, int32_t pictureHeight, int32_t positionsCount,
                           CBitmap* picture, const CPoint& pictureOffset, Axis direction)
    : CControl(rect, owner, controlTag, picture), offset(pictureOffset), imageCount(count),
      imageHeight(pictureHeight), positionCount(positionsCount), axis(direction)
{
    defaultValue = 0.0f;
}

int32_t CMultiSwitch::getImageIndex() const
{
    return stripIndex(value, positionCount);
}

void CMultiSwitch::draw(CDrawContext* context)
{
    drawPicture(background, context, size, stripOrigin(getImageIndex(), imageHeight));
    setDirty(false);
}

// A vertical switch divides its pictures' height. A horizontal one divides
// its background's width; without a background there is no width to divide,
// and every column past the left edge is the last position.
double CMultiSwitch::pitch() const
{
    int32_t length = imageHeight;
    if (axis == Axis::Horizontal)
        length = background ? background->getWidth() : 0;
    return static_cast<double>(length) / positions(positionCount);
}

float CMultiSwitch::valueAt(const CPoint& where, double c) const
{
    const int32_t coordinate = along(where, axis) - along(CPoint{size.left, size.top}, axis);
    return positionValue(coordinate, c, positionCount, axis == Axis::Horizontal);
}

void CMultiSwitch::mouse(CDrawContext* context, CPoint& where)
{
    const int32_t click = press(context);
    if (!click || restoreDefault(context, click))
        return;
    const double c = pitch();
    // Any change of buttons or keys ends the drag, shift included.
    track(
        context, where, DragRules{DragEnd::Change, DragLimits::None, click},
        [&](const CPoint& at, int32_t) { return valueAt(at, c); }, click);
}

CVerticalSwitch::CVerticalSwitch(const CRect& rect, CControlListener* owner, int32_t controlTag,
                                 int32_t count, int32_t pictureHeight, int32_t positionsCount,
                                 CBitmap* picture, const CPoint& pictureOffset)
    : CMultiSwitch(rect, owner, controlTag, count, pictureHeight, positionsCount, picture,
                   pictureOffset, Axis::Vertical)
{
}

CHorizontalSwitch::CHorizontalSwitch(const CRect& rect, CControlListener* owner, int32_t controlTag,
                                     int32_t count, int32_t pictureHeight, int32_t positionsCount,
                                     CBitmap* picture, const CPoint& pictureOffset)
    : CMultiSwitch(rect, owner, controlTag, count, pictureHeight, positionsCount, picture,
                   pictureOffset, Axis::Horizontal)
{
}

CRockerSwitch::CRockerSwitch(const CRect& rect, CControlListener* owner, int32_t controlTag,
                             int32_t pictureHeight, CBitmap* picture, const CPoint& pictureOffset)
    : CControl(rect, owner, controlTag, picture), offset(pictureOffset), imageHeight(pictureHeight)
{
}

CPoint CRockerSwitch::getPictureOrigin() const
{
    CPoint p = offset;
    // Only exact rest and exact +1 move down; anything else shows -1.
    if (value == 1.0f)
        p.v = pixelTrunc(static_cast<double>(p.v) + 2.0 * imageHeight);
    else if (value == 0.0f)
        p.v = pixelTrunc(static_cast<double>(p.v) + imageHeight);
    return p;
}

void CRockerSwitch::draw(CDrawContext* context)
{
    drawPicture(background, context, size, getPictureOrigin());
    setDirty(false);
}

// The middle column belongs to the left half.
float CRockerSwitch::valueAt(const CPoint& where, float outside) const
{
    const int32_t half = (size.right - size.left) / 2;
    const bool within = size.top <= where.v && where.v <= size.bottom;
    if (within && size.left <= where.h && where.h <= size.left + half)
        return -1.0f;
    if (within && size.left + half <= where.h && where.h <= size.right)
        return 1.0f;
    return outside;
}

void CRockerSwitch::mouse(CDrawContext* context, CPoint& where)
{
    if (!press(context))
        return;
    const float entryValue = value;
    // Modifier bits count: the drag goes on while a key is held.
    if (const int32_t first = context->getMouseButtons()) {
        track(
            context, where, DragRules{DragEnd::AllUp},
            [&](const CPoint& at, int32_t) { return valueAt(at, entryValue); }, first);
    } else {
        // Released between the two reads: a click too short to track.
        value = valueAt(where, entryValue);
        notify(context);
    }
    value = 0.0f;
    notify(context);
}
