// Pixel rules of the draw context on a memory picture: which pixels each
// operation covers, how state reaches the view, and what text and clipping do.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/MouseButtons.h"
#include "platform/api/InterfaceDefs.h"
#include "platform/api/Window.h"
#include "platform/backends/WindowBackend.h"
#include "tests/support/ToolkitColours.h"

namespace {

const CColor kInk{200, 30, 40, 0};
const CColor kPaper{0, 0, 0, 0};

class DrawContextTest : public ::testing::Test {
protected:
    Canvas canvas{60, 40, kBlack};
    CDrawContext context{nullptr, canvas.view, nullptr};

    Pixels ink() const { return canvas.pixelsOf(kInk); }

    Pixels segment(CPoint a, CPoint b)
    {
        canvas.clear(kPaper);
        context.setFrameColor(kInk);
        context.moveTo(a);
        context.lineTo(b);
        return ink();
    }
};

TEST_F(DrawContextTest, ASegmentLeavesOutOneEndAndCoversTheSamePixelsBothWays)
{
    EXPECT_EQ(segment({10, 5}, {10, 9}), rectPixels(10, 5, 10, 8));
    EXPECT_EQ(segment({10, 9}, {10, 5}), rectPixels(10, 5, 10, 8));
    EXPECT_EQ(segment({3, 7}, {9, 7}), rectPixels(3, 7, 8, 7));
    EXPECT_EQ(segment({9, 7}, {3, 7}), rectPixels(3, 7, 8, 7));
    EXPECT_EQ(segment({4, 4}, {4, 4}), rectPixels(4, 4, 4, 4));

    // A diagonal is ordered by h first, so both directions give one set.
    const Pixels down = segment({2, 2}, {8, 8});
    EXPECT_EQ(down, segment({8, 8}, {2, 2}));
    EXPECT_EQ(down.size(), 6u);
    EXPECT_TRUE(down.count({2, 2}) && down.count({7, 7}) && !down.count({8, 8}));
    const Pixels up = segment({2, 8}, {8, 2});
    EXPECT_EQ(up, segment({8, 2}, {2, 8}));
    EXPECT_TRUE(up.count({2, 8}) && up.count({7, 3}) && !up.count({8, 2}));
}

TEST_F(DrawContextTest, PenPositionFollowsLineToButNotPolyLine)
{
    CPoint start{1, 1}, end{20, 1};
    context.moveTo(start);
    context.lineTo(end);
    EXPECT_EQ(context.getPenPosition(), end);

    canvas.clear(kPaper);
    context.setFrameColor(kInk);
    CPoint one[] = {{5, 5}};
    context.polyLine(one, 1);
    EXPECT_TRUE(ink().empty());
    CPoint zigzag[] = {{5, 5}, {15, 5}, {15, 15}};
    context.polyLine(zigzag, 3);
    Pixels expected = rectPixels(5, 5, 14, 5);
    expected.merge(rectPixels(15, 5, 15, 14));
    EXPECT_EQ(ink(), expected);
    EXPECT_EQ(context.getPenPosition(), end);
}

TEST_F(DrawContextTest, DrawPointPaintsOnePixelAndRestoresTheFrameColour)
{
    context.setFrameColor(kInk);
    context.setLineWidth(5);
    CPoint p{30, 20};
    context.drawPoint(p, CColor{1, 2, 3, 0});
    EXPECT_EQ(canvas.pixelsOf(CColor{1, 2, 3, 0}), rectPixels(30, 20, 30, 20));
    // Frame colour and width are back: the next line is kInk and 5 wide.
    CPoint a{2, 30}, b{12, 30};
    context.moveTo(a);
    context.lineTo(b);
    EXPECT_GT(ink().size(), 10u * 2);
}

TEST_F(DrawContextTest, RectanglesOutlineThroughTheEdgesAndFillInsideThem)
{
    CRect r{0, 0, 10, 10};
    context.setFillColor(kInk);
    context.fillRect(r);
    EXPECT_EQ(ink(), rectPixels(1, 1, 9, 9));

    canvas.clear(kPaper);
    context.setFrameColor(kInk);
    context.drawRect(r);
    Pixels outline = rectPixels(0, 0, 10, 10);
    for (const Pixel& p : rectPixels(1, 1, 9, 9))
        outline.erase(p);
    EXPECT_EQ(ink(), outline);

    canvas.clear(kPaper);
    CRect thin{20, 5, 21, 30};
    context.fillRect(thin);
    EXPECT_TRUE(ink().empty());
}

TEST_F(DrawContextTest, DrawModesReachTheView)
{
    canvas.clear(CColor{10, 20, 30, 0});
    CRect r{0, 0, 6, 6};
    context.setFillColor(kInk);
    context.setDrawMode(kInvertMode);
    context.fillRect(r);
    EXPECT_EQ(canvas.pixelsOf(CColor{245, 235, 225, 0}), rectPixels(1, 1, 5, 5));
    context.setDrawMode(kCopyMode);
    context.fillRect(r);
    EXPECT_EQ(ink(), rectPixels(1, 1, 5, 5));
}

TEST_F(DrawContextTest, FillPolygonFillsSmallAndLargePointLists)
{
    context.setFillColor(kInk);
    CPoint triangle[] = {{10, 10}, {30, 10}, {10, 30}};
    context.fillPolygon(triangle, 3);
    const Pixels small = ink();
    EXPECT_TRUE(small.count({12, 12}));
    EXPECT_FALSE(small.count({28, 28}));

    // 40 points on the same square: the allocated path fills the same way.
    canvas.clear(kPaper);
    CPoint many[40];
    for (int i = 0; i < 40; i++) {
        const int side = i / 10, t = (i % 10) * 2;
        const int x[] = {5 + t, 25, 25 - t, 5};
        const int y[] = {5, 5 + t, 25, 25 - t};
        many[i] = {x[side], y[side]};
    }
    context.fillPolygon(many, 40);
    EXPECT_TRUE(ink().count({15, 15}));
    EXPECT_FALSE(ink().count({30, 15}));
}

TEST(DrawContextAngles, PointsAroundACentreGiveSixtyFourthsOfADegree)
{
    CPoint m{50, 50};
    CPoint right{60, 50}, up{50, 40}, left{40, 50}, down{50, 60}, same{50, 50};
    EXPECT_EQ(CDrawContext::convertPoint2Angle(m, right), 0);
    EXPECT_EQ(CDrawContext::convertPoint2Angle(m, up), 5760);
    EXPECT_EQ(CDrawContext::convertPoint2Angle(m, left), 11520);
    EXPECT_EQ(CDrawContext::convertPoint2Angle(m, down), 17280);
    EXPECT_EQ(CDrawContext::convertPoint2Angle(m, same), 17280);
    // 45 degrees is 2880 exactly, but atan times 3666.9298 lands just below.
    CPoint upRight{60, 40}, upLeft{40, 40}, downLeft{40, 60}, downRight{60, 60};
    EXPECT_EQ(CDrawContext::convertPoint2Angle(m, upRight), 2879);
    EXPECT_EQ(CDrawContext::convertPoint2Angle(m, upLeft), 11520 - 2879);
    EXPECT_EQ(CDrawContext::convertPoint2Angle(m, downLeft), 11520 + 2879);
    EXPECT_EQ(CDrawContext::convertPoint2Angle(m, downRight), 23040 - 2879);
}

TEST_F(DrawContextTest, ArcsRunCounterClockwiseFromTheFirstPoint)
{
    CRect r{10, 0, 50, 40}; // centre (30, 20)
    CPoint east{50, 20}, north{30, 0};
    context.setFrameColor(kInk);
    context.drawArc(r, east, north); // 0 over 90 degrees: upper right only
    for (const Pixel& p : ink()) {
        EXPECT_GE(p.first, 29);
        EXPECT_LE(p.second, 21);
    }
    EXPECT_TRUE(ink().size() > 20);

    canvas.clear(kPaper);
    context.drawArc(r, north, east); // 90 over 270 degrees: never inside the upper right
    bool upperRight = false, lowerLeft = false;
    for (const Pixel& p : ink()) {
        upperRight |= p.first > 33 && p.second < 17;
        lowerLeft |= p.first < 27 && p.second > 23;
    }
    EXPECT_FALSE(upperRight);
    EXPECT_TRUE(lowerLeft);

    // Equal points: the whole ellipse, outlined within the rectangle's edges.
    canvas.clear(kPaper);
    context.drawEllipse(r);
    const Pixels ring = ink();
    EXPECT_TRUE(ring.count({10, 20}) || ring.count({11, 20}));
    EXPECT_TRUE(ring.count({50, 20}) || ring.count({49, 20}));
    for (const Pixel& p : ring)
        EXPECT_TRUE(p.first >= 10 && p.first <= 50 && p.second >= 0 && p.second <= 40);

    canvas.clear(kPaper);
    context.setFillColor(kInk);
    context.fillEllipse(r);
    const Pixels disc = ink();
    EXPECT_TRUE(disc.count({30, 20}));
    for (const Pixel& p : disc)
        EXPECT_TRUE(p.first >= 11 && p.first <= 49 && p.second >= 1 && p.second <= 39);
}

TEST_F(DrawContextTest, ClipRectangleLimitsDrawingUntilReset)
{
    CRect all{0, 0, 60, 40};
    context.setFillColor(kInk);
    context.setClipRect(CRect{5, 5, 15, 15});
    context.fillRect(all);
    EXPECT_EQ(ink(), rectPixels(5, 5, 14, 14));
    EXPECT_EQ(context.getClipRect(), (CRect{5, 5, 15, 15}));

    context.resetClipRect();
    EXPECT_EQ(context.getClipRect(), (CRect{0, 0, 1000, 1000}));
    context.fillRect(all);
    EXPECT_EQ(ink(), rectPixels(1, 1, 59, 39));
}

TEST(DrawContextFrame, ClipStartsAsTheFrameSize)
{
    Canvas canvas(20, 20, kBlack);
    CRect editorRect{0, 0, 340, 262};
    CFrame frame(editorRect, nullptr, nullptr);
    CDrawContext context(&frame, canvas.view, nullptr);
    EXPECT_EQ(context.getClipRect(), (CRect{0, 0, 340, 262}));
    context.setClipRect(CRect{1, 1, 2, 2});
    context.resetClipRect();
    EXPECT_EQ(context.getClipRect(), (CRect{0, 0, 340, 262}));
}

TEST_F(DrawContextTest, SetFontChoosesTheTableEntryAndSize)
{
    context.setFont(9, 0); // out of range: font 0 at its size
    EXPECT_EQ(context.getFontSize(), 12);
    EXPECT_FLOAT_EQ(context.getFont().Size(), 12.0f);
    context.setFont(3, 20);
    EXPECT_EQ(context.getFontSize(), 20);
    EXPECT_FLOAT_EQ(context.getFont().Size(), 20.0f);
    EXPECT_GT(context.getStringWidth("-40"), 0);
    EXPECT_GT(context.getStringWidth("-40-40"), context.getStringWidth("-40"));
}

TEST_F(DrawContextTest, DrawStringAlignsInsideItsRectangleAndUnclipsAfter)
{
    context.setFont(0, 12);
    context.setFontColor(kInk);
    const char* text = "88";
    const int w = context.getStringWidth(text);
    CRect box{0, 0, 60, 20};

    context.drawString(text, box, false, kRightText);
    Pixels glyphs = ink();
    ASSERT_FALSE(glyphs.empty());
    for (const Pixel& p : glyphs)
        EXPECT_GE(p.first, 60 - w - 1 - 1) << "starts at right - width - 1";
    EXPECT_GE(glyphs.rbegin()->first, 60 - 6);

    canvas.clear(kPaper);
    context.drawString(text, box, false, kLeftText);
    glyphs = ink();
    ASSERT_FALSE(glyphs.empty());
    for (const Pixel& p : glyphs)
        EXPECT_LE(p.first, 1 + w + 1);

    // Glyphs never leave the rectangle, and the view is unclipped afterwards.
    canvas.clear(kPaper);
    CRect narrow{10, 0, 16, 20};
    context.drawString("8888", narrow, false, kLeftText);
    for (const Pixel& p : ink())
        EXPECT_TRUE(p.first >= 10 && p.first <= 15) << p.first;
    CRect all{0, 0, 60, 40};
    context.setFillColor(kInk);
    context.fillRect(all);
    EXPECT_EQ(ink(), rectPixels(1, 1, 59, 39));
}

TEST_F(DrawContextTest, OpaqueTextPaintsTheBackgroundFirst)
{
    context.setFont(0, 12);
    context.setFontColor(CColor{255, 255, 255, 0});
    context.setFillColor(kInk);
    const int w = context.getStringWidth("-40");
    CRect box{4, 2, 50, 18};
    context.drawString("-40", box, true, kLeftText);
    const Pixels background = ink();
    EXPECT_FALSE(background.empty());
    for (const Pixel& p : background)
        EXPECT_TRUE(p.first >= 5 && p.first <= 4 + w - 1 && p.second >= 3 && p.second <= 17)
            << p.first << ',' << p.second << " w=" << w;
}

// A window whose pointer is a fixed state, counting how often it is read:
// each reading is a round trip to an X server.
class CountingBackend final : public WindowBackend {
public:
    PixelBuffer surface() override { return {pixels.data(), 40, 30, 160}; }
    BPoint screenOrigin() override { return {0, 0}; }
    void contentResized(int32_t, int32_t) override {}
    void beginDrawing(const clipping_rect&) override {}
    void present() override {}
    void pointer(int32_t* x, int32_t* y, uint32_t* buttons, uint32_t* keys) override
    {
        ++readings;
        *x = 12;
        *y = 7;
        *buttons = B_PRIMARY_MOUSE_BUTTON;
        *keys = B_SHIFT_KEY;
    }
    uint32_t modifiers() override
    {
        ++readings;
        return B_SHIFT_KEY;
    }
    void run(WindowEvents& window) override
    {
        while (!window.quitting())
            std::this_thread::yield();
    }
    void wake() override {}
    int32_t runMenu(WindowEvents&, BPoint, const char* const*, int32_t) override { return -1; }

    std::vector<uint8_t> pixels = std::vector<uint8_t>(40 * 30 * 4);
    std::atomic<int> readings{0};
};

TEST(DrawContextPointer, ATrackingPassReadsThePointerOnce)
{
    auto owned = std::make_unique<CountingBackend>();
    CountingBackend* backend = owned.get();
    BWindow* window = BWindow::Adopt(std::move(owned));
    ASSERT_NE(window, nullptr);
    {
        CDrawContext context(nullptr, window->ChildAt(0), nullptr);
        // A pass: the buttons with the modifiers, then the location.
        EXPECT_EQ(context.getMouseButtons(), kMousePrimary | kModShift);
        CPoint where;
        context.getMouseLocation(where);
        EXPECT_EQ(where, (CPoint{12, 7}));
        EXPECT_EQ(backend->readings, 1);
        // A location asked on its own is read live.
        context.getMouseLocation(where);
        EXPECT_EQ(backend->readings, 2);
    }
    window->Quit();
}

} // namespace
