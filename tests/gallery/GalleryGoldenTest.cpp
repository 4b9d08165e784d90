// The gallery's pictures, still, against the PNGs committed under
// tests/golden: at rest, with the about picture open after a script of
// pointer, key and menu steps over every control that takes input, and once
// that picture is closed again. Every pixel must
// match. A mismatch leaves the picture it got and a difference image (red =
// differs) in golden-out beside the test's build folder.
//
// After a deliberate change of the look: WOBRIX_UPDATE_GOLDEN=1 rewrites
// the committed pictures; look at them before committing.
#include "GalleryRun.h"

#include <cstdio>
#include <cstdlib>

#include "gallery/GalleryLayout.h"

namespace fs = std::filesystem;
using namespace gallery;

namespace {

// Sliders and knobs dragged, buttons and switches pressed, a text typed, a
// menu entry chosen, the animation
// shown (still, it stays on its first picture), the about picture opened.
const char* const kSteps = R"(# the vertical slider up, the horizontal one to the right
drag 60 110 60 72 8
drag 150 106 190 106 8
# the knob turned clockwise, the strip knob back
drag 250 84 294 112 8
drag 372 76 340 100 8
# kick (springs back), on/off on
press 476 104
release
press 580 104
release
# vertical switch to FAST, horizontal to 4, the rocker's + half
press 372 245
release
press 500 226
release
press 595 228
release
# movie button on, the animation shown
press 164 356
release
press 268 344
release
# the text edit typed over (all of it is selected), Enter commits
press 160 226
release
type Bass
key enter
# the option menu: its third choosable item, Saw
press 260 226
menu 2
release
# the about picture
press 580 352
release
)";

void expectGolden(const fs::path& actualFile, const std::string& name)
{
    const fs::path golden = fs::path(WOBRIX_GOLDEN_DIR) / (name + ".png");
    const Picture actual = readPng(actualFile);
    ASSERT_EQ(actual.width, kWidth) << actualFile;
    ASSERT_EQ(actual.height, kHeight) << actualFile;
    if (std::getenv("WOBRIX_UPDATE_GOLDEN")) {
        ASSERT_TRUE(writePng(golden, actual)) << golden;
        std::printf("rewrote %s\n", golden.c_str());
        return;
    }
    const Picture expected = readPng(golden);
    ASSERT_EQ(expected.width, kWidth) << "cannot read " << golden;
    ASSERT_EQ(expected.height, kHeight) << golden;

    Picture diff = actual;
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t a = actual.at(x, y), e = expected.at(x, y);
            uint32_t& d = diff.rgb[static_cast<size_t>(y * kWidth + x)];
            if (a == e) {
                const uint32_t grey = ((a >> 16 & 0xFF) + (a >> 8 & 0xFF) + (a & 0xFF)) / 12;
                d = grey << 16 | grey << 8 | grey;
            } else {
                if (differing++ == 0)
                    firstX = x, firstY = y;
                d = 0xFF0000;
            }
        }
    if (differing) {
        const fs::path out = fs::current_path() / "golden-out";
        fs::create_directories(out);
        writePng(out / (name + ".actual.png"), actual);
        writePng(out / (name + ".diff.png"), diff);
        char first[96];
        std::snprintf(first, sizeof first, "first at (%d, %d): expected #%06X, got #%06X", firstX,
                      firstY, expected.at(firstX, firstY), actual.at(firstX, firstY));
        ADD_FAILURE() << differing << " pixels differ from " << golden << "; " << first
                      << "; the picture and a difference image are in " << out;
    }
}

using GalleryGolden = GalleryRun;

TEST_F(GalleryGolden, AtRest)
{
    const Result r = run(pngArg() + " --still");
    ASSERT_EQ(r.status, 0) << r.err;
    expectGolden(png(), "gallery-rest");
}

TEST_F(GalleryGolden, AfterTheScript)
{
    // The about picture closes on a click inside it, and the frame redraws.
    const fs::path steps = script(std::string(kSteps) + "png " + png("splash.png").string() +
                                  "\npress 320 190\nrelease\n");
    const Result r = run(pngArg() + " --still --script '" + steps.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    expectGolden(png("splash.png"), "gallery-splash");
    expectGolden(png(), "gallery-played");
}

} // namespace
