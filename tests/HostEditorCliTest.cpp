// wobrix-host editor run as a user runs it, against the fixture add-on with a
// tiny editor (fixtures/EditorFixture.cpp): the pictures it writes, the host
// calls it prints, the script errors it refuses, and that it never hangs.
#include <gtest/gtest.h>

#include "CliRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Picture.h"

namespace fs = std::filesystem;

namespace {

struct Call {
    int opcode, index;
    long long value;
    float opt;
};

// The "host calls" lines of the output.
std::vector<Call> hostCalls(const std::string& out)
{
    std::vector<Call> calls;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        Call c{};
        if (std::sscanf(line.c_str(), "  opcode %d index %d value %lld opt %f", &c.opcode, &c.index,
                        &c.value, &c.opt) == 4)
            calls.push_back(c);
    }
    return calls;
}

std::vector<float> automations(const std::string& out)
{
    std::vector<float> values;
    for (const Call& c : hostCalls(out))
        if (c.opcode == 0 && c.index == 0)
            values.push_back(c.opt);
    return values;
}

// The fixture's reports (host opcode 35) with this index.
std::vector<Call> reports(const std::string& out, int index)
{
    std::vector<Call> found;
    for (const Call& c : hostCalls(out))
        if (c.opcode == 35 && c.index == index)
            found.push_back(c);
    return found;
}

// The fixture's colour: red from the program, green and blue from the parameters.
uint32_t colour(int program, int green, int blue)
{
    return static_cast<uint32_t>(40 + 80 * program) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

const std::string kFixture = std::string("'") + WOBRIX_EDITOR_FIXTURE + "'";

class HostEditor : public CliFolderTest {
protected:
    // A hang fails the test (status 124) instead of stopping the suite.
    Result run(const std::string& args, const std::string& mode = "")
    {
        return runCommand(dir,
                          "EDITOR_FIXTURE='" + mode + "' timeout 20 '" + WOBRIX_HOST + "' " + args);
    }

    fs::path script(const std::string& text, const std::string& name = "steps.txt")
    {
        std::ofstream(dir / name) << text;
        return dir / name;
    }

    std::string editor(const std::string& extra)
    {
        return "editor " + kFixture + " --png '" + png().string() + "' " + extra;
    }
    fs::path png() const { return dir / "out.png"; }
};

TEST_F(HostEditor, PictureHasTheWindowSizeAndShowsProgramAndSettings)
{
    Result r = run(editor(""));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("editor: 100 x 60"), std::string::npos) << r.out;
    Picture pic = readPng(png());
    ASSERT_EQ(pic.width, 100);
    ASSERT_EQ(pic.height, 60);
    EXPECT_EQ(pic.at(0, 0), colour(0, 0, 0));
    EXPECT_EQ(pic.at(99, 59), colour(0, 0, 0));

    // Applied before the editor opens, so its first picture shows them.
    r = run(editor("--program 2 --set 1=0.5 --set 0=0.2 --set 0=0.25"));
    ASSERT_EQ(r.status, 0) << r.err;
    pic = readPng(png());
    ASSERT_EQ(pic.width, 100);
    EXPECT_EQ(pic.at(50, 30), colour(2, 64, 128));
    EXPECT_NE(r.out.find("0: \"Level\" = 0.25"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1: \"Tint\" = 0.5"), std::string::npos) << r.out;
    // Only the picture is left: no temporary beside it.
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(dir))
        entries += e.path() != png();
    EXPECT_EQ(entries, 0u);

    for (const char* bad :
         {"--program 3", "--set 2=0.5", "--set 0=x", "--timeout 99", "--timeout 5s"}) {
        r = run(editor(bad));
        EXPECT_NE(r.status, 0) << bad;
        EXPECT_EQ(lineCount(r.err), 1u) << bad << "\n" << r.err;
    }
}

TEST_F(HostEditor, DragAutomatesInOrderAndEndsAtTheLastPosition)
{
    const Result r =
        run(editor("--script '" + script("# one slow drag\ndrag 10 30 90 30 8\n").string() + "'"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<float> values = automations(r.out);
    ASSERT_GE(values.size(), 2u) << r.out;
    EXPECT_FLOAT_EQ(values.front(), 0.1f);
    EXPECT_FLOAT_EQ(values.back(), 0.9f);
    for (size_t i = 1; i < values.size(); ++i)
        EXPECT_GT(values[i], values[i - 1]) << i;
    // Every one of the 8 positions was seen by the tracking loop.
    EXPECT_EQ(values.size(), 9u);
    const auto presses = reports(r.out, 1);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].value, 1); // the primary button, no keys
    EXPECT_FLOAT_EQ(presses[0].opt, 10.0f);
    EXPECT_EQ(readPng(png()).at(5, 5), colour(0, 230, 0));
    EXPECT_NE(r.out.find("0: \"Level\" = 0.9"), std::string::npos) << r.out;
}

TEST_F(HostEditor, PngStepsShowThePictureAtTheirMoment)
{
    const fs::path a = dir / "a.png", b = dir / "b.png", c = dir / "c.png";
    const std::string steps = "png " + a.string() + "\n" + "drag 0 0 50 0 4   # to 0.5\n" + "png " +
                              b.string() + "\n" + "press 20 10 secondary shift\n" + "move 80 10\n" +
                              "png " + c.string() + "   # while the press is tracked\n" +
                              "release\n";
    const Result r = run(editor("--script '" + script(steps).string() + "'"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readPng(a).at(1, 1), colour(0, 0, 0));
    EXPECT_EQ(readPng(b).at(1, 1), colour(0, 128, 0));
    EXPECT_EQ(readPng(c).at(1, 1), colour(0, 204, 0));
    EXPECT_EQ(readPng(png()).at(1, 1), colour(0, 204, 0));
    for (const fs::path& p : {a, b, c, png()})
        EXPECT_NE(r.out.find(p.string() + "\n"), std::string::npos) << p;
    const auto presses = reports(r.out, 1);
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[1].value, 2 | 1 << 8); // secondary button, shift
}

TEST_F(HostEditor, KeysReachTheFocusAndMenusTakeTheirAnswers)
{
    const std::string steps = "key a shift\n"
                              "type \xC3\xA9 x#\n"
                              "key tab\n"
                              "menu 1        # answered before the menu opens\n"
                              "press 10 10\n"
                              "release\n"
                              "press 10 10\n"
                              "menu 0\n"
                              "release\n"
                              "press 10 10\n"
                              "menu dismiss\n"
                              "release\n"
                              "press 10 10   # still open at the end: dismissed\n";
    const Result r = run(editor("--script '" + script(steps).string() + "'"), "menu");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::pair<long long, float>> keys;
    for (const Call& c : reports(r.out, 3))
        keys.emplace_back(c.value, c.opt);
    const std::vector<std::pair<long long, float>> wantKeys{
        {'a' | 1 << 8, 1.0f}, {0xC3, 2.0f}, {' ', 1.0f}, {'x', 1.0f}, {'#', 1.0f}, {9, 1.0f}};
    EXPECT_EQ(keys, wantKeys);
    std::vector<long long> menus;
    for (const Call& c : reports(r.out, 4))
        menus.push_back(c.value);
    EXPECT_EQ(menus, (std::vector<long long>{2, 0, -1, -1}));

    // Nothing opens a menu in the plain editor: the answer is never taken.
    const Result stuck =
        run(editor("--timeout 300 --script '" + script("menu 0\n").string() + "'"));
    EXPECT_EQ(stuck.status, 1);
    EXPECT_NE(stuck.err.find(":1: no pop-up menu took the answer"), std::string::npos) << stuck.err;
}

TEST_F(HostEditor, HeldButtonAtTheEndIsReleasedWithoutHanging)
{
    const Result r = run(editor("--script '" + script("press 30 30\nmove 60 30\n").string() + "'"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<float> values = automations(r.out);
    ASSERT_FALSE(values.empty());
    EXPECT_FLOAT_EQ(values.back(), 0.6f);
    EXPECT_EQ(readPng(png()).at(0, 0), colour(0, 153, 0));
}

TEST_F(HostEditor, IdleRunsOnItsOwnAndNeverTwiceAtOnce)
{
    std::string steps = "wait 200\n";
    for (int i = 0; i < 20; ++i)
        steps += "idle\n";
    const Result r = run(editor("--script '" + script(steps).string() + "'"));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto closing = reports(r.out, 2);
    ASSERT_EQ(closing.size(), 1u) << r.out;
    // 20 from the script, one before the first step and one before the
    // final picture; the rest from the idle thread during the wait.
    EXPECT_GE(closing[0].value, 24);
    EXPECT_EQ(closing[0].opt, 0.0f) << "overlapping idles";
}

TEST_F(HostEditor, ScriptErrorsNameFileAndLineBeforeAnythingOpens)
{
    const struct {
        std::string text;
        int line;
        const char* says;
    } cases[] = {
        {"move 1\n", 1, "move X Y"},
        {"# comment\n\nmove 1 2 3\n", 3, "move X Y"},
        {"move 1 2\r\nmove x 2\r\n", 2, "not a whole number"},
        {"move 40000 0\n", 1, "out of range"},
        {"press 1 2 sideways\n", 1, "unknown word"},
        {"press 1 2 shift shift\n", 1, "twice"},
        {"press 1 1\nmove 2 2\npress 2 2\n", 3, "line 1 is still held"},
        {"press 1 1\nrelease\ndrag 1 1\n", 3, "drag X1 Y1 X2 Y2"},
        {"drag 1 2 3 4 0\n", 1, "out of range"},
        {"drag 1 2 3 4 1001\n", 1, "out of range"},
        {"drag 1 2 3 4 5x\n", 1, "not a whole number"},
        {"wait 60001\n", 1, "out of range"},
        {"wait 5ms\n", 1, "not a whole number"},
        {"wait -1\n", 1, "out of range"},
        {"idle now\n", 1, "idle"},
        {"release 1\n", 1, "release"},
        {"png\n", 1, "png FILE"},
        {"png /no/such/folder/x.png\n", 1, "cannot write into folder"},
        {"jump 1 2\n", 1, "unknown step"},
        {"key\n", 1, "key NAME"},
        {"key pageup\n", 1, "unknown key"},
        {"key ab\n", 1, "unknown key"},
        {"key a primary\n", 1, "unknown word"},
        {"type\n", 1, "type TEXT"},
        {"type a\tb\n", 1, "not a printable"},
        {"menu\n", 1, "menu N"},
        {"menu first\n", 1, "not a whole number"},
        {"menu -1\n", 1, "out of range"},
        // Checked against the editor's size, still before it opens.
        {"press 100 10\n", 1, "outside the 100 x 60 window"},
        {"move 0 0\ndrag 5 70 5 5\n", 2, "outside"},
    };
    for (const auto& c : cases) {
        const fs::path file = script(c.text);
        const Result r = run(editor("--script '" + file.string() + "'"));
        const std::string where =
            "wobrix-host: " + file.string() + ":" + std::to_string(c.line) + ": ";
        EXPECT_EQ(r.status, 1) << c.text;
        EXPECT_EQ(r.err.rfind(where, 0), 0u) << c.text << "\n" << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.text << "\n" << r.err;
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
        EXPECT_EQ(r.out.find("host calls"), std::string::npos) << "opened for " << c.text;
        EXPECT_FALSE(fs::exists(png())) << c.text;
    }
    const Result r = run(editor("--script '" + (dir / "missing.txt").string() + "'"));
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("no such script file"), std::string::npos) << r.err;
}

TEST_F(HostEditor, AddOnsWithoutAWorkingEditorAreRefusedCleanly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"no-editor", "declares no editor"},
        {"no-rect", "opcode 13 answered 0"},
        {"bad-rect", "1 to 16384 pixels"},
        {"refuse-open", "refused to open"},
    };
    for (const auto& [mode, says] : cases) {
        const Result r = run(editor(""), mode);
        EXPECT_EQ(r.status, 1) << mode;
        EXPECT_EQ(lineCount(r.err), 1u) << mode << "\n" << r.err;
        EXPECT_EQ(r.err.rfind("wobrix-host: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(says), std::string::npos) << mode << "\n" << r.err;
        EXPECT_FALSE(fs::exists(png())) << mode;
    }
}

TEST_F(HostEditor, AnAddOnThatStopsAnsweringIsGivenUpOn)
{
    Result r =
        run(editor("--timeout 300 --script '" + script("press 30 30\nrelease\n").string() + "'"),
            "stubborn");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find(":1: the editor's window did not take the press within 0.3 s"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(lineCount(r.err), 1u) << r.err;

    r = run(editor("--timeout 300"), "slow-close");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("opcode 15 (close the editor) did not return within 0.3 s"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(fs::exists(png())) << "the picture comes before the close";
}

TEST_F(HostEditor, DemoWritesEditorPicturesWhenTheAddOnHasAnEditor)
{
    const fs::path out = dir / "demo";
    Result r = run("demo --addon " + kFixture + " --out '" + out.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    for (int p = 0; p < 3; ++p) {
        const fs::path file = out / ("editor-p" + std::to_string(p) + ".png");
        EXPECT_NE(r.out.find(file.string()), std::string::npos) << file;
        const Picture pic = readPng(file);
        ASSERT_EQ(pic.width, 100) << file;
        EXPECT_EQ(pic.at(10, 10), colour(p, 0, 0)) << file;
    }
    // The fixture's window is too small for the bass editor's kick button.
    EXPECT_NE(r.out.find("kick click skipped"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(out / "editor-kick.png"));

    r = run("demo --addon " + kFixture + " --out '" + (dir / "none").string() + "'", "no-editor");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("editor pictures skipped: the effect declares no editor"),
              std::string::npos)
        << r.out;
    EXPECT_FALSE(fs::exists(dir / "none" / "editor-p0.png"));
}

TEST_F(HostEditor, HelpTellsTheOptionsAndEveryStep)
{
    const Result r = run("editor --help");
    EXPECT_EQ(r.status, 0);
    for (const char* text :
         {"ADDON",    "--png",     "--script",         "--program", "--set",    "--timeout",
          "move X Y", "press X Y", "drag X1 Y1 X2 Y2", "release",   "wait MS",  "idle",
          "png FILE", "shift",     "secondary",        "20 ms",     "key NAME", "type TEXT",
          "menu N",   "dismiss"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text;
    EXPECT_NE(run("frobnicate").err.find("editor"), std::string::npos);
}

} // namespace
