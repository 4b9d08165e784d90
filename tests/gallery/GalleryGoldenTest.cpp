// The gallery's pictures, still, against the PNGs committed under
// tests/golden (tests/support/GoldenPicture.h): at rest, with the about
// picture open after a script of pointer, key and menu steps over every
// control that takes input, and once that picture is closed again.
#include "GalleryRun.h"

#include "gallery/GalleryLayout.h"
#include "tests/support/GoldenPicture.h"

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

void expectGoldenFile(const fs::path& actualFile, const std::string& name)
{
    const Picture actual = readPng(actualFile);
    ASSERT_EQ(actual.width, kWidth) << actualFile;
    ASSERT_EQ(actual.height, kHeight) << actualFile;
    expectGolden(actual, name);
}

using GalleryGolden = GalleryRun;

TEST_F(GalleryGolden, AtRest)
{
    const Result r = run(pngArg() + " --still");
    ASSERT_EQ(r.status, 0) << r.err;
    expectGoldenFile(png(), "gallery-rest");
}

TEST_F(GalleryGolden, AfterTheScript)
{
    // The about picture closes on a click inside it, and the frame redraws.
    const fs::path steps = script(std::string(kSteps) + "png " + png("splash.png").string() +
                                  "\npress 320 190\nrelease\n");
    const Result r = run(pngArg() + " --still --script '" + steps.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    expectGoldenFile(png("splash.png"), "gallery-splash");
    expectGoldenFile(png(), "gallery-played");
}

} // namespace
