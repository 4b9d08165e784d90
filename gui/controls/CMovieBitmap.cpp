// The strip controls: the movie bitmap's rounding from value to picture, the
// movie button's toggle while tracking, and the auto animation's frame steps
// and show/hide clicks.
#include "gui/controls/CMovieBitmap.h"

#include <algorithm>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/controls/Saturate.h"

CMovieBitmap::CMovieBitmap(const CRect& rect, CControlListener* owner, int32_t controlTag,
                           int32_t count, int32_t pictureHeight, CBitmap* picture,
                           const CPoint& pictureOffset)
    : CControl(rect, owner, controlTag, picture), offset(pictureOffset), imageCount(count),
      imageHeight(pictureHeight)
{
}

int32_t CMovieBitmap::getImageIndex() const
{
    // A strip of one picture (or none) has nothing to choose from; NaN
    // fails the test and shows the first picture.
    if (!(value > 0.0f) || imageCount <= 1)
        return 0;
    const int32_t last = imageCount - 1;
    // Rounded to the nearest picture, in double as the steps are.
    const double v = std::min(static_cast<double>(value), 1.0);
    return saturatedTrunc(v * last + 0.5, 0, last);
}

void CMovieBitmap::draw(CDrawContext* context)
{
    if (value > 1.0f)
        value = 1.0f;
    CPoint p = offset;
    p.v = pixelTrunc(static_cast<double>(p.v) + static_cast<double>(getImageIndex()) * imageHeight);
    drawPicture(background, context, size, p);
    setDirty(false);
}

CMovieButton::CMovieButton(const CRect& rect, CControlListener* owner, int32_t controlTag,
                           int32_t pictureHeight, CBitmap* picture, const CPoint& pictureOffset)
    : CControl(rect, owner, controlTag, picture), offset(pictureOffset), imageHeight(pictureHeight)
{
}

int32_t CMovieButton::getPictureRow() const
{
    return value != 0.0f && !std::isnan(value) ? imageHeight : 0;
}

void CMovieButton::draw(CDrawContext* context)
{
    // NaN counts as off.
    if (value > 1.0f)
        value = 1.0f;
    else if (value < 0.0f || std::isnan(value))
        value = 0.0f;
    drawPicture(background, context, size, CPoint{0, getPictureRow()});
    setDirty(false);
}

void CMovieButton::mouse(CDrawContext* context, CPoint& where)
{
    const int32_t click = press(context);
    if (!click)
        return;
    const float entryValue = value;
    const float toggled = entryValue == 0.0f ? 1.0f : 0.0f;
    // Any change of buttons or keys ends the drag, shift included.
    if (const int32_t first = context->getMouseButtons()) {
        track(
            context, where, DragRules{DragEnd::Change, DragLimits::None, click},
            [&](const CPoint& at, int32_t) { return size.pointInside(at) ? toggled : entryValue; },
            first);
    } else {
        // Released between the two reads: a click too short to track.
        value = toggled;
        notify(context);
    }
}

CAutoAnimation::CAutoAnimation(const CRect& rect, CControlListener* owner, int32_t controlTag,
                               int32_t count, int32_t pictureHeight, CBitmap* picture,
                               const CPoint& pictureOffset)
    : CControl(rect, owner, controlTag, picture), offset(pictureOffset), imageCount(count),
      imageHeight(pictureHeight),
      totalHeight(saturatedTrunc(static_cast<double>(count) * pictureHeight))
{
}

void CAutoAnimation::openWindow()
{
    windowOpened = true;
}

void CAutoAnimation::closeWindow()
{
    windowOpened = false;
}

void CAutoAnimation::nextPixmap()
{
    value += static_cast<float>(imageHeight);
    // The wrap comes one picture early: the last picture is never reached
    // going forward.
    if (value >= static_cast<float>(totalHeight) - static_cast<float>(imageHeight))
        value = 0.0f;
}

void CAutoAnimation::previousPixmap()
{
    value -= static_cast<float>(imageHeight);
    // One row above the last picture's top; a strip of one picture or none
    // would put that above the strip, so it stops at the first row.
    if (value < 0.0f) {
        const double row = static_cast<double>(totalHeight) - imageHeight - 1.0;
        value = static_cast<float>(std::max(row, 0.0));
    }
}

void CAutoAnimation::draw(CDrawContext* context)
{
    if (!windowOpened)
        return;
    CPoint p = offset;
    p.v = pixelTrunc(static_cast<double>(p.v) + static_cast<double>(pixelTrunc(value)));
    drawPicture(background, context, size, p);
    setDirty(false);
}

void CAutoAnimation::mouse(CDrawContext* context, CPoint& /*where*/)
{
    if (!press(context))
        return;
    value = 0.0f;
    if (!windowOpened) {
        // The owner steps the frames from here, for instance from its idle.
        openWindow();
        setDirty(true);
        notify(context);
    } else {
        draw(context);
        closeWindow();
    }
}
