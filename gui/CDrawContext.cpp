// CDrawContext: state setters store, each operation pushes colour, mode and pen
// to the view and issues one platform call. The pixel rules (which end pixel
// a segment leaves out, the one-pixel fill inset, the angle arithmetic) live
// here; the platform strokes and fills exactly what it is given.
#include "gui/CDrawContext.h"

#include <cmath>
#include <memory>
#include <new>

#include "gui/CFrame.h"
#include "gui/MouseButtons.h"
#include "platform/api/GraphicsDefs.h"
#include "platform/api/Rect.h"
#include "platform/api/Region.h"
#include "platform/api/View.h"

namespace {

constexpr int32_t kFullTurn = 23040;   // 360 degrees in 1/64 degree
constexpr int32_t kPolygonPoints = 30; // converted without allocating
constexpr CRect kNoFrameClip{0, 0, 1000, 1000};

pattern patternFor(CLineStyle style)
{
    if (!isDashed(style))
        return B_SOLID_HIGH;
    pattern dashed;
    for (int i = 0; i < 8; i++)
        dashed.data[i] = dashPattern[i];
    return dashed;
}

BPoint toPlatform(const CPoint& p)
{
    return BPoint(static_cast<float>(p.h), static_cast<float>(p.v));
}

} // namespace

CDrawContext::CDrawContext(CFrame* frame, void* systemContext, void* window)
    : systemContext(systemContext), windowHandle(window), frame(frame)
{
    clipRect = defaultClipRect();
    platformView = static_cast<BView*>(systemContext);
    if (platformView) {
        locked = platformView->LockLooper();
        setFrameColor(frameColor);
        setLineStyle(lineStyle);
        setFillColor(fillColor);
        setFontColor(fontColor);
    }
}

CDrawContext::~CDrawContext()
{
    if (!platformView)
        return;
    platformView->Flush();
    if (locked)
        platformView->UnlockLooper();
}

CRect CDrawContext::defaultClipRect() const
{
    return frame ? frame->size : kNoFrameClip;
}

void CDrawContext::applyShapeState(CColor color)
{
    platformView->SetHighColor(platformColor<rgb_color>(color));
    // The stored mode is kept in 0 ... 2 by its writers; anything else would
    // index past the table, so it falls back to copy.
    const auto mode = static_cast<uint32_t>(drawMode) < 3u ? drawMode : kCopyMode;
    platformView->SetDrawingMode(static_cast<drawing_mode>(modeToPlatform[mode]));
}

void CDrawContext::applyShapeState(CColor color, int32_t penWidth)
{
    applyShapeState(color);
    platformView->SetPenSize(static_cast<float>(penWidth));
}

// ---- Font and text ----------------------------------------------------------

void CDrawContext::setFont(CFont fontID, int size)
{
    fontID = validFontId(fontID);
    fontSize = size != 0 ? size : standardFontSize[fontID];
    font.SetFamilyAndStyle(standardFontName[fontID], standardFontStyle[fontID]);
    font.SetSize(static_cast<float>(fontSize));
    if (platformView)
        platformView->SetFont(&font, B_FONT_FAMILY_AND_STYLE | B_FONT_SIZE);
}

int32_t CDrawContext::getStringWidth(const char* string)
{
    if (!platformView || !string)
        return 0;
    return static_cast<int32_t>(std::ceil(platformView->StringWidth(string)));
}

void CDrawContext::drawString(const char* string, CRect& rect, short opaque, CHoriTxtAlign hAlign)
{
    if (!platformView || !string)
        return;
    BRegion region;
    region.Set(platformRect<BRect>(rect));
    platformView->ConstrainClippingRegion(&region);
    platformView->SetFontSize(static_cast<float>(fontSize));

    bool measured = false;
    int32_t width = 0;
    if (opaque) {
        width = getStringWidth(string);
        measured = true;
        CRect background{rect.left, rect.top, rect.left + width, rect.bottom};
        fillRect(background);
    }

    platformView->SetHighColor(platformColor<rgb_color>(fontColor));
    platformView->SetDrawingMode(drawMode == kInvertMode ? B_OP_INVERT : B_OP_OVER);

    font_height metrics{};
    platformView->GetFontHeight(&metrics);
    const float height = static_cast<float>(rect.height());
    const float lastRow = static_cast<float>(rect.bottom - 1);
    const float y = height >= metrics.ascent ? lastRow - (height - metrics.ascent) * 0.5f
                                             : lastRow - metrics.descent;

    float x = static_cast<float>(rect.left + 1);
    if (hAlign == kCenterText || hAlign == kRightText) {
        if (!measured)
            width = getStringWidth(string);
        x = hAlign == kCenterText
                ? static_cast<float>(rect.left) + static_cast<float>(rect.width() - width) * 0.5f
                : static_cast<float>(rect.right - width - 1);
    }
    platformView->DrawString(string, BPoint(x, y));
    // The view is left unclipped; clipRect keeps what was set last.
    platformView->ConstrainClippingRegion(nullptr);
}

// ---- Lines ------------------------------------------------------------------

// The platform strokes both end pixels; one is left out so a segment covers
// the same pixels whichever way it is drawn.
void CDrawContext::lineFromTo(CPoint& start, CPoint& end)
{
    CPoint a = start;
    CPoint b = end;
    if (a.h == b.h) {
        if (a.v < b.v)
            b.v--;
        else if (a.v > b.v)
            a.v--;
    } else if (a.v == b.v) {
        if (a.h < b.h)
            b.h--;
        else
            a.h--;
    } else {
        if (b.h < a.h) {
            const CPoint t = a;
            a = b;
            b = t;
        }
        b.h--;
        if (b.v > a.v)
            b.v--;
        else
            b.v++;
    }
    platformView->MovePenTo(toPlatform(a));
    platformView->StrokeLine(toPlatform(b), patternFor(lineStyle));
}

void CDrawContext::lineTo(CPoint& point)
{
    if (!platformView)
        return;
    applyShapeState(frameColor, lineWidth);
    lineFromTo(penPosition, point);
    penPosition = point;
}

void CDrawContext::polyLine(CPoint* points, int count)
{
    if (!platformView || !points || count < 2)
        return;
    applyShapeState(frameColor, lineWidth);
    for (int i = 0; i < count - 1; i++)
        lineFromTo(points[i], points[i + 1]);
}

void CDrawContext::drawPoint(CPoint& point, CColor color)
{
    if (!platformView)
        return;
    const int32_t savedWidth = lineWidth;
    const CColor savedColor = frameColor;
    lineWidth = 1;
    frameColor = color;
    penPosition = point;
    applyShapeState(frameColor, 1);
    lineFromTo(point, point);
    penPosition = point;
    frameColor = savedColor;
    lineWidth = savedWidth;
}

// ---- Rectangles and polygons -------------------------------------------------

void CDrawContext::drawRect(CRect& rect)
{
    if (!platformView)
        return;
    applyShapeState(frameColor, lineWidth);
    platformView->StrokeRect(platformRectUnchanged<BRect>(rect), B_SOLID_HIGH);
}

void CDrawContext::fillRect(CRect& rect)
{
    if (!platformView)
        return;
    applyShapeState(fillColor);
    // The first column and row are left for an outline.
    const BRect inside(static_cast<float>(rect.left + 1), static_cast<float>(rect.top + 1),
                       static_cast<float>(rect.right - 1), static_cast<float>(rect.bottom - 1));
    if (inside.IsValid())
        platformView->FillRect(inside, B_SOLID_HIGH);
}

void CDrawContext::fillPolygon(CPoint* points, int count)
{
    if (!platformView || !points || count <= 0)
        return;
    applyShapeState(fillColor);
    BPoint local[kPolygonPoints];
    std::unique_ptr<BPoint[]> large;
    BPoint* converted = local;
    if (count > kPolygonPoints) {
        large.reset(new (std::nothrow) BPoint[static_cast<size_t>(count)]);
        if (!large)
            return;
        converted = large.get();
    }
    for (int i = 0; i < count; i++)
        converted[i] = toPlatform(points[i]);
    platformView->FillPolygon(converted, count, B_SOLID_HIGH);
}

// ---- Arcs -------------------------------------------------------------------

int32_t CDrawContext::convertPoint2Angle(CPoint& m, CPoint& p)
{
    if (p.h == m.h)
        return p.v < m.v ? 5760 : 17280;
    if (p.v == m.v)
        return p.h < m.h ? 11520 : 0;
    const double t = std::atan(static_cast<double>(m.v - p.v) / static_cast<double>(p.h - m.h));
    auto angle = static_cast<int32_t>(t * 3666.9298);
    if (p.h < m.h)
        angle += 11520;
    else if (p.v > m.v)
        angle += kFullTurn;
    return angle;
}

void CDrawContext::arcAngles(CRect& rect, CPoint& point1, CPoint& point2, int32_t& start,
                             int32_t& extent)
{
    if (point1 == point2) {
        start = 0;
        extent = kFullTurn;
        return;
    }
    CPoint centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    start = convertPoint2Angle(centre, point1);
    extent = convertPoint2Angle(centre, point2) - start;
    if (extent < 0)
        extent += kFullTurn;
}

void CDrawContext::drawArc(CRect& rect, CPoint& point1, CPoint& point2)
{
    if (!platformView)
        return;
    int32_t start = 0;
    int32_t extent = 0;
    arcAngles(rect, point1, point2, start, extent);
    applyShapeState(frameColor, lineWidth);
    platformView->StrokeArc(platformRectUnchanged<BRect>(rect), static_cast<float>(start / 64),
                            static_cast<float>(extent / 64), B_SOLID_HIGH);
}

void CDrawContext::fillArc(CRect& rect, CPoint& point1, CPoint& point2)
{
    if (!platformView)
        return;
    int32_t start = 0;
    int32_t extent = 0;
    arcAngles(rect, point1, point2, start, extent);
    applyShapeState(fillColor);
    const BRect inside(static_cast<float>(rect.left + 1), static_cast<float>(rect.top + 1),
                       static_cast<float>(rect.right - 1), static_cast<float>(rect.bottom - 1));
    platformView->FillArc(inside, static_cast<float>(start / 64), static_cast<float>(extent / 64),
                          B_SOLID_HIGH);
}

void CDrawContext::drawEllipse(CRect& rect)
{
    CPoint top{rect.left + (rect.right - rect.left) / 2, rect.top};
    drawArc(rect, top, top);
}

void CDrawContext::fillEllipse(CRect& rect)
{
    CPoint top{rect.left + (rect.right - rect.left) / 2, rect.top};
    fillArc(rect, top, top);
}

// ---- Clipping -----------------------------------------------------------------

void CDrawContext::setClipRect(const CRect& rect)
{
    if (rect == clipRect)
        return;
    clipRect = rect;
    if (!platformView)
        return;
    BRegion region;
    region.Set(clipping_rect{rect.left, rect.top, rect.right - 1, rect.bottom - 1});
    platformView->ConstrainClippingRegion(&region);
}

void CDrawContext::resetClipRect()
{
    clipRect = defaultClipRect();
    if (platformView)
        platformView->ConstrainClippingRegion(nullptr);
}

// ---- Mouse --------------------------------------------------------------------

void CDrawContext::getMouseLocation(CPoint& point)
{
    if (!platformView)
        return;
    if (locationRead) {
        locationRead = false;
        point = readLocation;
        return;
    }
    BPoint where;
    uint32_t buttons = 0;
    platformView->GetMouse(&where, &buttons, true);
    point.h = static_cast<int32_t>(where.x);
    point.v = static_cast<int32_t>(where.y);
}

int32_t CDrawContext::getMouseButtons()
{
    if (!platformView)
        return 0;
    BPoint where;
    uint32_t buttons = 0;
    uint32_t keys = 0;
    platformView->GetMouse(&where, &buttons, true, &keys);
    readLocation = {static_cast<int32_t>(where.x), static_cast<int32_t>(where.y)};
    locationRead = true;
    return mouseButtonsFromPlatform(buttons, keys);
}
