// The offscreen context: its picture's first content and the one-piece copy.
#include <gtest/gtest.h>

#include "gui/COffscreenContext.h"
#include "tests/support/ToolkitColours.h"

namespace {

TEST(OffscreenContext, BackgroundFillsThePictureUnlessItIsWhite)
{
    Canvas screen(200, 200, kBlack);
    CDrawContext target(nullptr, screen.view, nullptr);
    CRect place{0, 0, 30, 100};

    COffscreenContext black(nullptr, 30, 100, colorBlack);
    screen.clear(CColor{5, 5, 5, 0});
    black.copyFrom(&target, place);
    EXPECT_EQ(screen.pixelsOf(colorBlack), rectPixels(0, 0, 29, 99));

    COffscreenContext white(nullptr, 30, 100, colorWhite);
    screen.clear(CColor{5, 5, 5, 0});
    white.copyFrom(&target, place);
    // Left as created: whatever the picture starts as, it is one colour.
    const CColor first = colourAt(screen, 0, 0);
    EXPECT_EQ(screen.pixelsOf(first), rectPixels(0, 0, 29, 99));
    EXPECT_FALSE(first == colorBlack);
}

TEST(OffscreenContext, CopyFromPutsThePictureAtTheDestination)
{
    Canvas screen(200, 200, kBlack);
    CDrawContext target(nullptr, screen.view, nullptr);
    COffscreenContext offscreen(nullptr, 30, 100, colorBlack);
    CPoint a{0, 0}, b{29, 99};
    offscreen.drawPoint(a, CColor{10, 200, 10, 0});
    offscreen.drawPoint(b, CColor{10, 10, 200, 0});
    screen.clear(CColor{5, 5, 5, 0});
    offscreen.copyFrom(&target, CRect{100, 50, 130, 150});
    EXPECT_EQ(colourAt(screen, 100, 50), (CColor{10, 200, 10, 0}));
    EXPECT_EQ(colourAt(screen, 129, 149), (CColor{10, 10, 200, 0}));
    EXPECT_EQ(colourAt(screen, 99, 50), (CColor{5, 5, 5, 0}));
    EXPECT_EQ(colourAt(screen, 130, 150), (CColor{5, 5, 5, 0}));

    // A source offset picks a later part of the picture.
    screen.clear(CColor{5, 5, 5, 0});
    offscreen.transfert(&target, CRect{0, 0, 1, 1}, CPoint{29, 99});
    EXPECT_EQ(colourAt(screen, 0, 0), (CColor{10, 10, 200, 0}));
}

TEST(OffscreenContext, DrawingUsesPictureCoordinatesAndTheRules)
{
    Canvas screen(40, 40, kBlack);
    CDrawContext target(nullptr, screen.view, nullptr);
    COffscreenContext offscreen(nullptr, 20, 20, colorBlack);
    CRect r{0, 0, 10, 10};
    offscreen.setFillColor(CColor{1, 100, 1, 0});
    offscreen.fillRect(r);
    offscreen.copyFrom(&target, CRect{10, 10, 30, 30});
    EXPECT_EQ(screen.pixelsOf(CColor{1, 100, 1, 0}), rectPixels(11, 11, 19, 19));
}

} // namespace
