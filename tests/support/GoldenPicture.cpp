// The golden-picture check: the comparison, the difference image, the rewrite.
#include "GoldenPicture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace fs = std::filesystem;

namespace {

// Equal pixels dimmed to grey, differing ones red.
Picture differenceImage(const Picture& actual, const Picture& expected, int* differing, int* firstX,
                        int* firstY)
{
    Picture diff = actual;
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x) {
            const uint32_t a = actual.at(x, y), e = expected.at(x, y);
            uint32_t& d = diff.rgb[static_cast<size_t>(y * actual.width + x)];
            if (a == e) {
                const uint32_t grey = ((a >> 16 & 0xFF) + (a >> 8 & 0xFF) + (a & 0xFF)) / 12;
                d = grey << 16 | grey << 8 | grey;
            } else {
                if ((*differing)++ == 0)
                    *firstX = x, *firstY = y;
                d = 0xFF0000;
            }
        }
    return diff;
}

} // namespace

bool expectGolden(const Picture& actual, const std::string& name)
{
    const fs::path golden = fs::path(WOBRIX_GOLDEN_DIR) / (name + ".png");
    if (std::getenv("WOBRIX_UPDATE_GOLDEN")) {
        EXPECT_TRUE(writePng(golden, actual)) << golden;
        std::printf("rewrote %s\n", golden.c_str());
        return true;
    }
    const Picture expected = readPng(golden);
    EXPECT_EQ(expected.width, actual.width) << "cannot read " << golden;
    EXPECT_EQ(expected.height, actual.height) << golden;
    if (expected.width != actual.width || expected.height != actual.height)
        return false;

    int differing = 0, firstX = -1, firstY = -1;
    const Picture diff = differenceImage(actual, expected, &differing, &firstX, &firstY);
    if (differing) {
        const fs::path out = fs::current_path() / "golden-out";
        fs::create_directories(out);
        writePng(out / (name + ".actual.png"), actual);
        writePng(out / (name + ".diff.png"), diff);
        char first[96];
        std::snprintf(first, sizeof first, "first at (%d, %d): expected #%06X, got #%06X", firstX,
                      firstY, expected.at(firstX, firstY), actual.at(firstX, firstY));
        ADD_FAILURE() << differing << " pixels differ from " << golden << "; " << first
                      << "; the picture and a difference image (red = differs) are in " << out;
    }
    return false;
}

Picture goldenPicture(const std::string& name)
{
    return readPng(fs::path(WOBRIX_GOLDEN_DIR) / (name + ".png"));
}
