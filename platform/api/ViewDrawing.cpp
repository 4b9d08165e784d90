// BView's primitives: each builds its coverage in host pixels and hands it
// to the compositor with the view's clipping, colours, mode and pattern.
#include <algorithm>
#include <vector>

#include "platform/api/Bitmap.h"
#include "platform/api/View.h"
#include "platform/api/ViewHost.h"
#include "platform/pixels/Compositor.h"
#include "platform/pixels/FontFace.h"
#include "platform/pixels/PixelRect.h"
#include "platform/pixels/Shapes.h"

namespace pr = pixel_rect;

bool BView::paintTarget(bool withConstraint, PaintTarget* target) const
{
    if (host_ == nullptr)
        return false;
    target->pixels = host_->hostPixels();
    if (!target->pixels.valid())
        return false;
    originInHost(&target->originX, &target->originY);

    // A view draws only inside itself and inside each of its ancestors.
    clipping_rect visible = target->pixels.bounds();
    int32_t ox = target->originX;
    int32_t oy = target->originY;
    for (const BView* v = this; v != nullptr; v = v->parent_) {
        const clipping_rect own = pr::fromRect(v->Bounds());
        visible = pr::intersect(visible, pr::offset(own, ox, oy));
        if (v->parent_ != nullptr) {
            ox -= pr::pixel(v->frame_.left);
            oy -= pr::pixel(v->frame_.top);
        }
    }
    target->clip.clear();
    if (pr::isEmpty(visible))
        return false;
    if (withConstraint && constraint_ != nullptr) {
        for (const clipping_rect& r : constraint_->rects()) {
            const clipping_rect c =
                pr::intersect(visible, pr::offset(r, target->originX, target->originY));
            if (!pr::isEmpty(c))
                target->clip.push_back(c);
        }
    } else {
        target->clip.push_back(visible);
    }
    return !target->clip.empty();
}

bool BView::beginDrawing(PaintTarget* target)
{
    if (!paintTarget(true, target))
        return false;
    host_->hostWillDraw(target->frame());
    return true;
}

PaintStyle BView::style(const pattern& p) const
{
    return {high_, low_, mode_, p};
}

int32_t BView::penPixels() const
{
    return std::max(1, pr::pixel(penSize_));
}

void BView::StrokeLine(BPoint to, pattern p)
{
    PaintTarget t;
    const BPoint from = pen_;
    pen_ = to;
    if (!beginDrawing(&t))
        return;
    compositor::paint(t, style(p),
                      shapes::line(pr::pixel(from.x) + t.originX, pr::pixel(from.y) + t.originY,
                                   pr::pixel(to.x) + t.originX, pr::pixel(to.y) + t.originY,
                                   penPixels(), t.frame()));
}

void BView::StrokeLine(BPoint from, BPoint to, pattern p)
{
    pen_ = from;
    StrokeLine(to, p);
}

void BView::StrokeRect(BRect rect, pattern p)
{
    PaintTarget t;
    if (!beginDrawing(&t))
        return;
    compositor::paint(t, style(p),
                      shapes::rectOutline(pr::offset(pr::fromRect(rect), t.originX, t.originY),
                                          penPixels(), t.frame()));
}

void BView::FillRect(BRect rect, pattern p)
{
    PaintTarget t;
    if (!beginDrawing(&t))
        return;
    const clipping_rect r =
        pr::intersect(pr::offset(pr::fromRect(rect), t.originX, t.originY), t.frame());
    const PaintStyle s = style(p);
    if (compositor::fillSolid(t, s, r))
        return;
    compositor::paint(t, s, shapes::filledRect(r, t.frame()));
}

void BView::FillPolygon(const BPoint* points, int32_t count, pattern p)
{
    PaintTarget t;
    if (points == nullptr || count <= 0 || !beginDrawing(&t))
        return;
    std::vector<shapes::Vertex> corners;
    corners.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        corners.push_back({static_cast<double>(points[i].x) + t.originX,
                           static_cast<double>(points[i].y) + t.originY});
    }
    compositor::paint(t, style(p), shapes::polygon(corners, t.frame()));
}

void BView::StrokeArc(BRect rect, float startDegrees, float extentDegrees, pattern p)
{
    PaintTarget t;
    if (!beginDrawing(&t))
        return;
    compositor::paint(t, style(p),
                      shapes::arc(pr::offset(pr::fromRect(rect), t.originX, t.originY),
                                  startDegrees, extentDegrees, false, penPixels(), t.frame()));
}

void BView::FillArc(BRect rect, float startDegrees, float extentDegrees, pattern p)
{
    PaintTarget t;
    if (!beginDrawing(&t))
        return;
    compositor::paint(t, style(p),
                      shapes::arc(pr::offset(pr::fromRect(rect), t.originX, t.originY),
                                  startDegrees, extentDegrees, true, 1, t.frame()));
}

void BView::StrokeEllipse(BRect rect, pattern p)
{
    StrokeArc(rect, 0, 360, p);
}
void BView::FillEllipse(BRect rect, pattern p)
{
    FillArc(rect, 0, 360, p);
}

void BView::ConstrainClippingRegion(BRegion* region)
{
    if (region == nullptr) {
        constraint_.reset();
    } else {
        constraint_ = std::make_unique<BRegion>(*region);
    }
}

void BView::SetFont(const BFont* font, uint32_t mask)
{
    if (font == nullptr)
        return;
    if (mask & B_FONT_FAMILY_AND_STYLE) {
        font_family family;
        font_style fontStyle;
        font->GetFamilyAndStyle(&family, &fontStyle);
        font_.SetFamilyAndStyle(family, fontStyle);
    }
    if (mask & B_FONT_SIZE)
        font_.SetSize(font->Size());
}

void BView::GetFont(BFont* font) const
{
    if (font != nullptr)
        *font = font_;
}

void BView::DrawString(const char* string, BPoint baselineOrigin)
{
    if (string == nullptr)
        return;
    pen_ = {baselineOrigin.x + font_.StringWidth(string), baselineOrigin.y};
    PaintTarget t;
    if (!beginDrawing(&t))
        return;
    const font_face::Weight weight =
        font_.IsBold() ? font_face::Weight::Bold : font_face::Weight::Regular;
    compositor::paint(t, style(B_SOLID_HIGH),
                      font_face::coverage(weight, font_.Size(), string,
                                          static_cast<double>(baselineOrigin.x) + t.originX,
                                          static_cast<double>(baselineOrigin.y) + t.originY,
                                          t.frame()));
}

void BView::DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination)
{
    PaintTarget t;
    if (bitmap == nullptr || bitmap->InitCheck() != B_OK || !beginDrawing(&t))
        return;
    // Source rectangles are in the bitmap's own coordinates, whose first pixel is
    // Bounds().LeftTop().
    const BRect b = bitmap->Bounds();
    const clipping_rect from =
        pr::offset(pr::fromRect(source), -pr::pixel(b.left), -pr::pixel(b.top));
    compositor::blit(t, mode_, bitmap->pixels(), from,
                     pr::offset(pr::fromRect(destination), t.originX, t.originY));
}

void BView::DrawBitmap(const BBitmap* bitmap, BPoint where)
{
    if (bitmap == nullptr)
        return;
    BRect to = bitmap->Bounds();
    to.OffsetTo(where);
    DrawBitmap(bitmap, bitmap->Bounds(), to);
}

void BView::drawTree()
{
    PaintTarget t;
    if (viewColor_ != B_TRANSPARENT_COLOR && paintTarget(false, &t)) {
        host_->hostWillDraw(t.frame());
        const rgb_color c{viewColor_.red, viewColor_.green, viewColor_.blue, 255};
        compositor::paint(t, {c, c, B_OP_COPY, B_SOLID_HIGH},
                          shapes::filledRect(t.clip.front(), t.frame()));
    }
    if (flags_ & B_WILL_DRAW)
        Draw(Bounds());
    // A child's Draw may remove views; walk a copy.
    const std::vector<BView*> children = children_;
    for (BView* child : children) {
        if (child->parent_ == this)
            child->drawTree();
    }
}
