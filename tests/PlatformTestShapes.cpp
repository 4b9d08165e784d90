// Pixel rules of the shapes: line ends, pens, patterns, rectangles,
// polygons, arcs, drawing modes and clipping.
#include <gtest/gtest.h>

#include "platform/api/Region.h"
#include "tests/support/Canvas.h"

namespace {

Pixels strokeLine(int x0, int y0, int x1, int y1)
{
    Canvas c(20, 20);
    c.view->MovePenTo(BPoint(x0, y0));
    c.view->StrokeLine(BPoint(x1, y1));
    return c.painted();
}

bool allIn(const Pixels& p, bool (*keep)(int, int))
{
    for (const auto& [x, y] : p) {
        if (!keep(x, y))
            return false;
    }
    return true;
}

} // namespace

TEST(PlatformLines, CoverBothEndsInEveryDirection)
{
    EXPECT_EQ(strokeLine(2, 3, 7, 3), rectPixels(2, 3, 7, 3));
    EXPECT_EQ(strokeLine(7, 3, 2, 3), rectPixels(2, 3, 7, 3));
    EXPECT_EQ(strokeLine(4, 1, 4, 6), rectPixels(4, 1, 4, 6));
    EXPECT_EQ(strokeLine(4, 6, 4, 1), rectPixels(4, 1, 4, 6));
    EXPECT_EQ(strokeLine(5, 5, 5, 5), rectPixels(5, 5, 5, 5));

    const Pixels diagonal{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};
    EXPECT_EQ(strokeLine(1, 1, 5, 5), diagonal);
    EXPECT_EQ(strokeLine(5, 5, 1, 1), diagonal);
    EXPECT_EQ(strokeLine(1, 5, 5, 1), (Pixels{{1, 5}, {2, 4}, {3, 3}, {4, 2}, {5, 1}}));

    // Wider than tall: one pixel per column, both ends, the same either way round.
    const Pixels shallow = strokeLine(0, 0, 8, 3);
    EXPECT_EQ(shallow.size(), 9u);
    EXPECT_TRUE(shallow.count({0, 0}) && shallow.count({8, 3}));
    for (int x = 0; x <= 8; ++x) {
        int inColumn = 0;
        for (const auto& p : shallow)
            inColumn += p.first == x;
        EXPECT_EQ(inColumn, 1) << "column " << x;
    }
    EXPECT_EQ(strokeLine(8, 3, 0, 0), shallow);
    const Pixels steep = strokeLine(2, 1, 5, 12);
    EXPECT_EQ(steep.size(), 12u);
    EXPECT_EQ(strokeLine(5, 12, 2, 1), steep);
}

TEST(PlatformLines, PenMovesAndTwoPointForm)
{
    Canvas c(20, 20);
    c.view->MovePenTo(BPoint(1, 1));
    c.view->StrokeLine(BPoint(6, 1));
    EXPECT_EQ(c.view->PenLocation(), BPoint(6, 1));
    c.view->StrokeLine(BPoint(6, 4));
    c.view->StrokeLine(BPoint(10, 10), BPoint(12, 10));
    EXPECT_EQ(c.view->PenLocation(), BPoint(12, 10));
    Pixels want = rectPixels(1, 1, 6, 1);
    want.merge(rectPixels(6, 1, 6, 4));
    want.merge(rectPixels(10, 10, 12, 10));
    EXPECT_EQ(c.painted(), want);
}

TEST(PlatformLines, PenSizeStampsCentredSquares)
{
    Canvas c(20, 20);
    c.view->SetPenSize(3);
    c.view->StrokeLine(BPoint(5, 5), BPoint(10, 5));
    EXPECT_EQ(c.painted(), rectPixels(4, 4, 11, 6));

    c.clear();
    c.view->SetPenSize(2); // the extra pixel goes right and down
    c.view->StrokeLine(BPoint(5, 5), BPoint(5, 9));
    EXPECT_EQ(c.painted(), rectPixels(5, 5, 6, 10));

    c.clear();
    c.view->SetPenSize(0); // never thinner than one pixel
    c.view->StrokeLine(BPoint(2, 2), BPoint(4, 2));
    EXPECT_EQ(c.painted(), rectPixels(2, 2, 4, 2));
}

TEST(PlatformLines, DashPatternIsTiledFromTheViewOrigin)
{
    const pattern dash{{0xC3, 0xC3, 0xC3, 0xC3, 0xC3, 0xC3, 0xC3, 0xC3}};
    Canvas c(24, 8);
    c.view->StrokeLine(BPoint(0, 2), BPoint(15, 2), dash);
    Pixels want;
    for (int x : {0, 1, 6, 7, 8, 9, 14, 15})
        want.insert({x, 2});
    EXPECT_EQ(c.painted(), want);

    c.clear();
    auto* child = new BView(BRect(3, 0, 23, 7), "child", B_FOLLOW_NONE, 0);
    c.view->AddChild(child);
    child->SetHighColor(kBlack);
    child->StrokeLine(BPoint(0, 2), BPoint(15, 2), dash);
    Pixels shifted;
    for (const auto& [x, y] : want)
        shifted.insert({x + 3, y});
    EXPECT_EQ(c.painted(), shifted);
}

TEST(PlatformRects, FillAndOutlineAreInclusive)
{
    Canvas c(20, 20);
    c.view->FillRect(BRect(2, 3, 6, 8));
    EXPECT_EQ(c.painted(), rectPixels(2, 3, 6, 8));

    c.clear();
    c.view->StrokeRect(BRect(1, 1, 9, 9));
    Pixels outline = rectPixels(1, 1, 9, 9);
    for (const auto& p : rectPixels(2, 2, 8, 8))
        outline.erase(p);
    EXPECT_EQ(c.painted(), outline);

    c.clear();
    c.view->FillRect(BRect(3, 1, 3, 6));
    EXPECT_EQ(c.painted(), rectPixels(3, 1, 3, 6));

    c.clear();
    c.view->FillRect(BRect(5, 5, 4, 4));
    c.view->StrokeRect(BRect(5, 5, 4, 9));
    EXPECT_TRUE(c.painted().empty());

    c.view->SetPenSize(3);
    c.view->StrokeRect(BRect(5, 5, 15, 15));
    const Pixels thick = c.painted();
    EXPECT_TRUE(thick.count({4, 4}) && thick.count({16, 16}) && thick.count({6, 6}));
    EXPECT_FALSE(thick.count({7, 7}) || thick.count({3, 3}));
}

TEST(PlatformPolygons, CoverTheInsideAndTheEdges)
{
    Canvas c(20, 20);
    const BPoint square[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}};
    c.view->FillPolygon(square, 4);
    EXPECT_EQ(c.painted(), rectPixels(2, 2, 8, 8));

    c.clear();
    const BPoint triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    c.view->FillPolygon(triangle, 3);
    const Pixels t = c.painted();
    for (const auto& corner : {std::pair{0, 0}, std::pair{10, 0}, std::pair{0, 10}}) {
        EXPECT_TRUE(t.count(corner)) << c.picture();
    }
    EXPECT_TRUE(t.count({5, 5}) && t.count({3, 3}));
    EXPECT_FALSE(t.count({6, 6}) || t.count({11, 0}));
    for (const auto& [x, y] : t)
        EXPECT_LE(x + y, 10) << x << "," << y;

    c.clear();
    const BPoint two[] = {{1, 1}, {5, 1}};
    c.view->FillPolygon(two, 2);
    EXPECT_EQ(c.painted(), rectPixels(1, 1, 5, 1));
    c.view->FillPolygon(two, 0);
    c.view->FillPolygon(nullptr, 3);
    EXPECT_EQ(c.painted(), rectPixels(1, 1, 5, 1));
}

TEST(PlatformArcs, QuarterArcsLandInTheirQuadrant)
{
    // Centre (10, 10); the quadrants share the axis pixels.
    struct Case {
        float start, extent;
        bool (*keep)(int, int);
        std::pair<int, int> end1, end2;
    };
    const Case cases[] = {
        {0, 90, [](int x, int y) { return x >= 10 && y <= 10; }, {20, 10}, {10, 0}},
        {90, 90, [](int x, int y) { return x <= 10 && y <= 10; }, {10, 0}, {0, 10}},
        {180, 90, [](int x, int y) { return x <= 10 && y >= 10; }, {0, 10}, {10, 20}},
        {270, 90, [](int x, int y) { return x >= 10 && y >= 10; }, {10, 20}, {20, 10}},
        {0, -90, [](int x, int y) { return x >= 10 && y >= 10; }, {20, 10}, {10, 20}},
        {450, 90, [](int x, int y) { return x <= 10 && y <= 10; }, {10, 0}, {0, 10}},
    };
    for (const Case& k : cases) {
        Canvas c(21, 21);
        c.view->StrokeArc(BRect(0, 0, 20, 20), k.start, k.extent);
        const Pixels p = c.painted();
        EXPECT_GT(p.size(), 10u);
        EXPECT_TRUE(allIn(p, k.keep)) << k.start << " " << k.extent << c.picture();
        EXPECT_TRUE(p.count(k.end1) && p.count(k.end2)) << k.start << c.picture();
    }
}

TEST(PlatformArcs, WholeEllipseOutlineAndFill)
{
    Canvas outline(21, 15);
    outline.view->StrokeEllipse(BRect(0, 0, 20, 14));
    const Pixels o = outline.painted();
    Canvas filled(21, 15);
    filled.view->FillArc(BRect(0, 0, 20, 14), 0, 360);
    const Pixels f = filled.painted();
    for (const auto& [x, y] : o) {
        EXPECT_TRUE(o.count({20 - x, y}) && o.count({x, 14 - y})) << outline.picture();
        EXPECT_TRUE(f.count({x, y}));
    }
    for (const auto& [x, y] : f)
        EXPECT_TRUE(f.count({20 - x, y}) && f.count({x, 14 - y}));
    // It touches the middle of each side, never a corner, and the outline is hollow.
    for (const auto& p : {std::pair{0, 7}, std::pair{20, 7}, std::pair{10, 0}, std::pair{10, 14}}) {
        EXPECT_TRUE(o.count(p) && f.count(p));
    }
    EXPECT_FALSE(f.count({0, 0}) || f.count({20, 14}));
    EXPECT_FALSE(o.count({10, 7}));
    EXPECT_TRUE(f.count({10, 7}));

    Canvas slice(21, 21);
    slice.view->FillArc(BRect(0, 0, 20, 20), 0, 90);
    const Pixels s = slice.painted();
    EXPECT_TRUE(s.count({15, 5}) && s.count({10, 10}));
    EXPECT_TRUE(allIn(s, [](int x, int y) { return x >= 10 && y <= 10; })) << slice.picture();

    Canvas thin(11, 11);
    thin.view->FillEllipse(BRect(5, 0, 5, 10));
    EXPECT_EQ(thin.painted(), rectPixels(5, 0, 5, 10));
}

TEST(PlatformModes, CopyOverEraseAndInvert)
{
    Canvas c(20, 20);
    c.clear({200, 0, 0, 255});
    c.view->SetHighColor({10, 20, 30, 0});
    c.view->SetDrawingMode(B_OP_OVER);
    c.view->FillRect(BRect(0, 0, 4, 4));
    EXPECT_EQ(c.at(2, 2), (rgb_color{10, 20, 30, 255})); // drawn opaque whatever the alpha
    c.view->SetDrawingMode(B_OP_COPY);
    c.view->FillRect(BRect(5, 0, 9, 4));
    EXPECT_EQ(c.at(7, 2), (rgb_color{10, 20, 30, 255}));
    c.view->SetLowColor({1, 2, 3, 255});
    c.view->SetDrawingMode(B_OP_ERASE);
    c.view->FillRect(BRect(10, 0, 14, 4));
    EXPECT_EQ(c.at(12, 2), (rgb_color{1, 2, 3, 255}));

    c.view->SetDrawingMode(B_OP_INVERT);
    c.view->FillRect(BRect(0, 10, 9, 19));
    EXPECT_EQ(c.at(5, 15), (rgb_color{55, 255, 255, 255}));
    c.view->FillRect(BRect(0, 10, 9, 19));
    EXPECT_EQ(c.at(5, 15), (rgb_color{200, 0, 0, 255}));
}

TEST(PlatformModes, InvertTouchesEachPixelOncePerPrimitive)
{
    const rgb_color grey{100, 100, 100, 255};
    const rgb_color flipped{155, 155, 155, 255};
    Canvas c(40, 30);
    c.clear(grey);
    c.view->SetDrawingMode(B_OP_INVERT);
    // The pen's squares overlap along the line, a polygon's edges lie on its inside.
    c.view->SetPenSize(5);
    c.view->StrokeLine(BPoint(3, 3), BPoint(20, 9));
    const BPoint triangle[] = {{2, 15}, {25, 15}, {2, 28}};
    c.view->FillPolygon(triangle, 3);
    c.view->StrokeArc(BRect(27, 16, 39, 29), 0, 360);
    int changed = 0;
    for (const auto& [x, y] : c.painted(grey)) {
        EXPECT_EQ(c.at(x, y), flipped) << x << "," << y;
        ++changed;
    }
    EXPECT_GT(changed, 200);
}

TEST(PlatformClipping, RegionLimitsDrawingUntilRemoved)
{
    Canvas c(12, 12);
    BRegion region(BRect(2, 2, 5, 5));
    c.view->ConstrainClippingRegion(&region);
    c.view->FillRect(BRect(0, 0, 11, 11));
    EXPECT_EQ(c.painted(), rectPixels(2, 2, 5, 5));

    // Overlapping rectangles: still one inversion per pixel.
    c.clear();
    region.Set(BRect(0, 0, 6, 6));
    region.Include(BRect(3, 3, 9, 9));
    c.view->ConstrainClippingRegion(&region);
    c.view->SetDrawingMode(B_OP_INVERT);
    c.view->FillRect(BRect(0, 0, 11, 11));
    Pixels want = rectPixels(0, 0, 6, 6);
    want.merge(rectPixels(3, 3, 9, 9));
    EXPECT_EQ(c.painted(), want);
    for (const auto& [x, y] : want)
        ASSERT_EQ(c.at(x, y), kBlack);

    c.view->ConstrainClippingRegion(nullptr);
    c.view->SetDrawingMode(B_OP_COPY);
    c.view->FillRect(BRect(0, 0, 11, 11));
    EXPECT_EQ(c.painted().size(), 144u);
}

TEST(PlatformClipping, ChildViewsDrawOnlyInsideThemselves)
{
    Canvas c(12, 12);
    auto* child = new BView(BRect(2, 3, 6, 8), "child", B_FOLLOW_NONE, 0);
    c.view->AddChild(child);
    auto* grandchild = new BView(BRect(1, 1, 20, 20), "grandchild", B_FOLLOW_NONE, 0);
    child->AddChild(grandchild);
    grandchild->FillRect(BRect(-50, -50, 50, 50));
    EXPECT_EQ(c.painted(), rectPixels(3, 4, 6, 8));

    // A clipping region is in the view's own coordinates.
    c.clear();
    BRegion corner(BRect(0, 0, 1, 1));
    child->ConstrainClippingRegion(&corner);
    child->FillRect(BRect(0, 0, 100, 100));
    EXPECT_EQ(c.painted(), rectPixels(2, 3, 3, 4));

    // Detached views draw nothing.
    ASSERT_TRUE(child->RemoveSelf());
    c.clear();
    grandchild->FillRect(BRect(0, 0, 100, 100));
    EXPECT_TRUE(c.painted().empty());
    delete child;
}
