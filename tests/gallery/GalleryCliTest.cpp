// wobrix-gallery's command line: what it refuses before opening anything,
// the notification lines the controls make, and that --still keeps the
// picture from moving by itself.
#include "GalleryRun.h"

#include <sstream>

#include "gallery/GalleryLayout.h"

namespace fs = std::filesystem;
using namespace gallery;

namespace {

std::string centre(const Box& b)
{
    return std::to_string((b.left + b.right) / 2) + " " + std::to_string((b.top + b.bottom) / 2);
}

std::string click(const Box& b)
{
    return "press " + centre(b) + "\nrelease\n";
}

bool sameInside(const Picture& a, const Picture& b, const Box& box)
{
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (a.at(x, y) != b.at(x, y))
                return false;
    return true;
}

using GalleryCli = GalleryRun;

TEST_F(GalleryCli, HelpNamesTheOptionsAndTheOutput)
{
    const Result r = run("--help");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* word :
         {"--png", "--script", "--timeout", "--still", "--window", "tag T value V", "drag X1 Y1"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST_F(GalleryCli, RefusesBadInputWithOneLineAndWritesNothing)
{
    const fs::path outside = script("press 10 10\npress 700 10\n", "outside.txt");
    const fs::path unknown = script("jump 1 2\n", "unknown.txt");
    const struct {
        std::string args;
        int status;
        std::string message;
        std::string env = ""; // what `env` sets or unsets first
    } cases[] = {
        {"", 2, "--png is required"},
        {"--png /nonexistent-folder/x.png", 1,
         "wobrix-gallery: /nonexistent-folder/x.png: cannot write"},
        {pngArg() + " --timeout 5", 2, "--timeout 5: must be"},
        {pngArg() + " --script '" + (dir / "missing.txt").string() + "'", 1, "missing.txt"},
        {pngArg() + " --script '" + outside.string() + "'", 1, "outside.txt:2:"},
        {pngArg() + " --script '" + unknown.string() + "'", 1,
         "unknown.txt:1: unknown step 'jump'"},
        {"--window", 1, "wobrix-gallery: no X display: DISPLAY is not set", "-u DISPLAY"},
        {pngArg() + " --window", 1, "wobrix-gallery: cannot connect to X display :4242",
         "DISPLAY=:4242"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args, 20, c.env);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_FALSE(fs::exists(png())) << c.args;
    }
}

TEST_F(GalleryCli, PrintsEveryNotificationThenThePictures)
{
    // Button presses and switch clicks, whose values do not depend on the
    // pace of the pointer; the splash opens, then closes on its picture.
    const Box vSwitchBottom{kVSwitch.left, kVSwitch.bottom - 10, kVSwitch.right, kVSwitch.bottom};
    const Box hSwitchFirst{kHSwitch.left + 2, kHSwitch.top, kHSwitch.left + 10, kHSwitch.bottom};
    const Box rockerLeft{kRocker.left, kRocker.top, kRocker.left + 10, kRocker.bottom};
    const fs::path steps = script(
        click(kKick) + click(kOnOff) + click(kOnOff) + click(vSwitchBottom) + click(hSwitchFirst) +
        click(rockerLeft) + click(kMovieButton) + click(kAnimation) + "png " +
        png("mid.png").string() + "\n" + click(kSplashButton) + click(kSplash) + click(kAnimation));
    const Result r = run(pngArg() + " --still --script '" + steps.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string expected = "tag 5 value 1\n"
                                 "tag 5 value 0\n"
                                 "tag 6 value 1\n"
                                 "tag 6 value 0\n"
                                 "tag 10 value 1\n"
                                 "tag 11 value 0\n"
                                 "tag 12 value -1\n"
                                 "tag 12 value 0\n"
                                 "tag 14 value 1\n"
                                 "tag 15 value 0\n" +
                                 png("mid.png").string() +
                                 "\n"
                                 "tag 18 value 1\n"
                                 "tag 18 value 0\n" +
                                 png().string() + "\n";
    EXPECT_EQ(r.out, expected);
    EXPECT_TRUE(r.err.empty()) << r.err;
    const Picture pic = readPng(png());
    EXPECT_EQ(pic.width, kWidth);
    EXPECT_EQ(pic.height, kHeight);
}

TEST_F(GalleryCli, AnEditEndedByAClickElsewhereLetsTheEditorClose)
{
    // Ending the edit once left the window locked, and opcode 15 hung.
    const fs::path steps = script(click(kTextEdit) + click(kOnOff));
    const Result r = run(pngArg() + " --still --timeout 2000 --script '" + steps.string() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "tag 6 value 1\n" + png().string() + "\n");
}

TEST_F(GalleryCli, StillKeepsTheMeterAndTheAnimationWhereTheyAre)
{
    // Two pictures a third of a second apart, the animation shown.
    const std::string steps = click(kAnimation) + "png " + png("a.png").string() +
                              "\nwait 330\npng " + png("b.png").string() + "\n";
    for (const bool still : {true, false}) {
        const Result r = run(pngArg() + (still ? " --still" : "") + " --script '" +
                             script(steps).string() + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        const Picture a = readPng(png("a.png")), b = readPng(png("b.png"));
        ASSERT_EQ(a.width, kWidth);
        ASSERT_EQ(b.width, kWidth);
        EXPECT_EQ(sameInside(a, b, kVuMeter), still) << (still ? "--still" : "moving");
        EXPECT_EQ(sameInside(a, b, kAnimation), still) << (still ? "--still" : "moving");
        // Nothing else moves by itself.
        EXPECT_TRUE(sameInside(a, b, Box{0, 0, kWidth, kVuMeter.top - 30}));
    }
}

} // namespace
