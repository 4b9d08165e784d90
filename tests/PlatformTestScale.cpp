// The editor's scale: its sources in their order (first found wins), and
// how each source's value becomes a scale.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/api/EditorScale.h"

namespace {

int32_t gDpi = 0;
int gDpiAsked = 0;
int32_t serverDpi()
{
    ++gDpiAsked;
    return gDpi;
}

TEST(EditorScale, TheFirstSourceThatSaysWins)
{
    struct Case {
        int32_t asked;
        const char* program;
        const char* gdk;
        int32_t dpi;
        int32_t scale;
        bool serverAsked;
    };
    const Case cases[] = {
        {3, "2", "2", 288, 3, false},    // what the host or --scale said
        {0, "2", "3", 288, 2, false},    // a program's --scale, for its add-ons
        {0, nullptr, "3", 96, 3, false}, // GDK_SCALE
        {0, "", "0", 192, 2, true},      // empty and 0 say nothing: Xft.dpi
        {0, "5", "x", 288, 3, true},     // out of range, not a number
        {0, nullptr, nullptr, 191, 1, true}, {0, nullptr, nullptr, 0, 1, true}, // no Xft.dpi
        {9, nullptr, "2x", 96, 1, true}, // a told scale past 4 says nothing
    };
    for (const Case& c : cases) {
        gDpi = c.dpi;
        gDpiAsked = 0;
        EXPECT_EQ(editor_scale::choose(c.asked, c.program, c.gdk, serverDpi), c.scale)
            << c.asked << " " << (c.program ? c.program : "-") << " " << (c.gdk ? c.gdk : "-");
        EXPECT_EQ(gDpiAsked > 0, c.serverAsked);
    }
    EXPECT_EQ(editor_scale::choose(0, nullptr, nullptr, nullptr), 1);
}

TEST(EditorScale, ValuesBecomeScales)
{
    // A host's factor: the nearest integer, at least 1, at most 4.
    for (const auto& [factor, scale] : {std::pair{1.0f, 1},
                                        {1.49f, 1},
                                        {1.5f, 2},
                                        {2.6f, 3},
                                        {0.5f, 1},
                                        {7.0f, 4},
                                        {0.0f, 0},
                                        {-2.0f, 0}})
        EXPECT_EQ(editor_scale::fromFactor(factor), scale) << factor;
    EXPECT_EQ(editor_scale::fromFactor(std::nanf("")), 0);
    for (const auto& [dpi, scale] :
         {std::pair{96, 1}, {191, 1}, {192, 2}, {287, 2}, {288, 3}, {600, 3}})
        EXPECT_EQ(editor_scale::fromDpi(dpi), scale) << dpi;
}

} // namespace
