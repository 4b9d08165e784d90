// The switches: value to strip picture, the multi-position tracking loops
// (vertical and horizontal differ only in axis, pitch and edge), and the
// rocker's halves with its closing notifications.
#include "gui/controls/CSwitch.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/MouseButtons.h"
#include "gui/controls/Saturate.h"

namespace {

constexpr int32_t kDefaultClick = kMousePrimary | kModCommand;

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
                           CBitmap* picture, const CPoint& pictureOffset)
    : CControl(rect, owner, controlTag, picture), offset(pictureOffset), imageCount(count),
      imageHeight(pictureHeight), positionCount(positionsCount)
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

void CMultiSwitch::mouse(CDrawContext* context, CPoint& where)
{
    if (!mouseEnabled)
        return;
    const int32_t state = context->getMouseButtons();
    if (!(state & kMousePrimary))
        return;
    if (state == kDefaultClick) {
        value = getDefaultValue();
        if (isDirty())
            notify(context);
        return;
    }
    const double c = pitch();
    // Any change of buttons or keys ends the drag, shift included.
    do {
        value = valueAt(where, c);
        if (isDirty())
            notify(context);
        context->getMouseLocation(where);
        doIdleStuff();
    } while (context->getMouseButtons() == state);
}

CVerticalSwitch::CVerticalSwitch(const CRect& rect, CControlListener* owner, int32_t controlTag,
                                 int32_t count, int32_t pictureHeight, int32_t positionsCount,
                                 CBitmap* picture, const CPoint& pictureOffset)
    : CMultiSwitch(rect, owner, controlTag, count, pictureHeight, positionsCount, picture,
                   pictureOffset)
{
}

double CVerticalSwitch::pitch() const
{
    return static_cast<double>(imageHeight) / positions(positionCount);
}

float CVerticalSwitch::valueAt(const CPoint& where, double c) const
{
    return positionValue(where.v - size.top, c, positionCount, false);
}

CHorizontalSwitch::CHorizontalSwitch(const CRect& rect, CControlListener* owner, int32_t controlTag,
                                     int32_t count, int32_t pictureHeight, int32_t positionsCount,
                                     CBitmap* picture, const CPoint& pictureOffset)
    : CMultiSwitch(rect, owner, controlTag, count, pictureHeight, positionsCount, picture,
                   pictureOffset)
{
}

// Without a background there is no width to divide: every column past the
// left edge is the last position.
double CHorizontalSwitch::pitch() const
{
    const int32_t width = background ? background->getWidth() : 0;
    return static_cast<double>(width) / positions(positionCount);
}

float CHorizontalSwitch::valueAt(const CPoint& where, double c) const
{
    return positionValue(where.h - size.left, c, positionCount, true);
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
    if (!mouseEnabled)
        return;
    if (!(context->getMouseButtons() & kMousePrimary))
        return;
    const float entryValue = value;
    int32_t state = context->getMouseButtons();
    if (state) {
        // Modifier bits count: the loop goes on while a key is held.
        do {
            value = valueAt(where, entryValue);
            if (isDirty())
                notify(context);
            context->getMouseLocation(where);
            doIdleStuff();
            state = context->getMouseButtons();
        } while (state);
    } else {
        // Released between the two reads: a click too short to track.
        value = valueAt(where, entryValue);
        notify(context);
    }
    value = 0.0f;
    notify(context);
}
