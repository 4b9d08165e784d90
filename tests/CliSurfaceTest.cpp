// The programs' command-line surface, run as a user runs them: commands,
// help and versions, the exit status of each kind of failure, bench's rows,
// info's pins, flags and host calls, demo's folder, stripped files, and
// what an install puts where.
#include <gtest/gtest.h>

#include "CliRun.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path& p)
{
    return "'" + p.string() + "'";
}

const std::string kHost = quoted(WOBRIX_HOST);
const std::string kGallery = quoted(WOBRIX_GALLERY);
const std::string kAddOn = quoted(WOBRIX_ADDON);

class CliSurface : public CliFolderTest {
protected:
    // Runs in the test's folder, so relative outputs land there.
    Result run(const std::string& line)
    {
        return runCommand(dir, "cd " + quoted(dir) + " && " + line);
    }

    fs::path write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir / name, std::ios::binary) << text;
        return dir / name;
    }
};

TEST_F(CliSurface, EveryRefusalIsOneLineWithTheDocumentedStatus)
{
    write("afile", "");
    write("bad.txt", "jump 1 2\n");
    const struct {
        std::string line;
        int status;
        std::string says; // the start of the one line on stderr
    } cases[] = {
        {kHost + " frobnicate", 2,
         "wobrix-host: unknown command 'frobnicate'; the commands are info, process, demo, bench, "
         "skin, editor, help"},
        {kHost, 2, "wobrix-host: no command given; the commands are info,"},
        {kHost + " help frobnicate", 2, "wobrix-host: unknown command 'frobnicate'"},
        {kHost + " info", 2, "wobrix-host: ADDON is required"},
        {kHost + " info --frob " + kAddOn, 2,
         "wobrix-host: The following argument was not expected"},
        {kHost + " bench --rate 10 " + kAddOn, 2, "wobrix-host: --rate"},
        {kHost + " editor " + kAddOn + " --png x.png --timeout 5", 2, "wobrix-host: --timeout 5:"},
        {kHost + " editor " + kAddOn + " --png x.png --set 0=x", 2, "wobrix-host: --set 0=x:"},
        {kHost + " editor " + kAddOn + " --png x.png --program 9", 2, "wobrix-host: --program 9:"},
        {kGallery + " --png x.png --timeout 5", 2, "wobrix-gallery: --timeout 5:"},
        {kGallery + " --frob", 2, "wobrix-gallery: The following argument was not expected"},
        {kHost + " info /nonexistent.so", 1, "wobrix-host: /nonexistent.so: cannot load add-on"},
        {kHost + " demo --addon " + kAddOn + " --out afile", 1,
         "wobrix-host: afile: cannot create folder: Not a directory (afile is a file)"},
        {kHost + " demo --addon " + kAddOn + " --out afile/sub", 1,
         "wobrix-host: afile/sub: cannot create folder: Not a directory (afile is a file)"},
        // Script errors found before the run carry the program's name too.
        {kHost + " editor " + kAddOn + " --png x.png --script bad.txt", 1,
         "wobrix-host: bad.txt:1: unknown step 'jump'"},
        {kGallery + " --png x.png --script bad.txt", 1,
         "wobrix-gallery: bad.txt:1: unknown step 'jump'"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.line);
        EXPECT_EQ(r.status, c.status) << c.line << "\n" << r.err;
        EXPECT_EQ(r.err.rfind(c.says, 0), 0u) << c.line << "\n" << r.err;
        EXPECT_EQ(lineCount(r.err), 1u) << c.line << "\n" << r.err;
    }
    EXPECT_FALSE(fs::exists(dir / "x.png"));
}

TEST_F(CliSurface, HelpAndVersion)
{
    const Result top = run(kHost + " --help");
    ASSERT_EQ(top.status, 0);
    EXPECT_NE(top.out.find("Exit status: 0 when"), std::string::npos) << top.out;
    EXPECT_EQ(run(kHost + " help").out, top.out);
    for (const char* command : {"info", "process", "demo", "bench", "skin", "editor"}) {
        const Result own = run(kHost + " " + command + " --help");
        const Result help = run(kHost + " help " + command);
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.out, own.out) << command;
        EXPECT_NE(help.out.find("Exit status"), std::string::npos) << command;
    }
    for (const auto& [program, name] :
         {std::pair{kHost, "wobrix-host"}, std::pair{kGallery, "wobrix-gallery"}}) {
        const Result r = run(program + " --version");
        EXPECT_EQ(r.status, 0) << name;
        EXPECT_EQ(r.out, std::string(name) + " " + WOBRIX_VERSION + "\n");
    }
}

struct BenchRow {
    std::string name;
    int block = 0;
    double fps = 0, realtime = 0;
};

// Rows of measurements: the effect's column is 36 wide, then the numbers.
std::vector<BenchRow> benchRows(const std::string& out)
{
    std::vector<BenchRow> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        BenchRow row;
        if (line.size() < 38 ||
            std::sscanf(line.c_str() + 37, "%d %lf %lf", &row.block, &row.fps, &row.realtime) != 3)
            continue;
        row.name = line.substr(0, line.find_last_not_of(' ', 35) + 1);
        rows.push_back(row);
    }
    return rows;
}

TEST_F(CliSurface, BenchGoesOnPastAFailingAddOnAndSaysWhatItMeasured)
{
    const Result r = run(kHost + " bench --seconds 0.01 --rate 96000 --program 9 " +
                         quoted(WOBRIX_NULL_ADDON) + " " + kAddOn);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "wobrix-host: 1 of 2 add-ons failed (see their rows)\n");
    EXPECT_NE(r.out.find("sample rate 96000 Hz"), std::string::npos) << r.out;
    // The name is padded to its column, so the spaces depend on the path.
    const size_t named = r.out.find(WOBRIX_NULL_ADDON);
    ASSERT_NE(named, std::string::npos) << r.out;
    const size_t said = r.out.find_first_not_of(' ', named + std::strlen(WOBRIX_NULL_ADDON));
    EXPECT_EQ(r.out.compare(said, 23, "failed: the entry point"), 0) << r.out;
    EXPECT_NE(r.out.find("no program 9: it has 5 programs (0 to 4); measured as loaded"),
              std::string::npos)
        << r.out;
    const std::vector<BenchRow> rows = benchRows(r.out);
    ASSERT_EQ(rows.size(), 3u) << r.out;
    for (const BenchRow& row : rows) {
        EXPECT_EQ(row.name, "WobrixFree as loaded");
        EXPECT_NEAR(row.realtime, row.fps / 96000.0, 1.0);
    }
}

TEST_F(CliSurface, InfoListsInputPinsFlagsAsANumberAndHostCallsByName)
{
    const Result text = run(kHost + " info --verbose " + kAddOn);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("input pins:\n  0: "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("\n  1: (no properties)\noutput pins:\n"), std::string::npos);
    EXPECT_NE(text.out.find("  opcode 42 index 0 value 0 opt 0 (updateDisplay)\n"),
              std::string::npos)
        << text.out;

    const Result json = run(kHost + " info --json --verbose " + kAddOn);
    ASSERT_EQ(json.status, 0) << json.err;
    for (const char* key : {"\"flags\": 537,", "\"flagsHex\": \"0x00000219\"", "\"inputPins\": [",
                            "\"opcode\": 42, \"name\": \"updateDisplay\""})
        EXPECT_NE(json.out.find(key), std::string::npos) << key << "\n" << json.out;
}

TEST_F(CliSurface, ScriptsWithAByteOrderMarkPlay)
{
    write("bom.txt", "\xEF\xBB\xBFmove 10 10\npng first.png\n");
    const Result r = run(kHost + " editor " + kAddOn + " --script bom.txt --png last.png");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir / "first.png"));
}

TEST_F(CliSurface, StrippedFilesSayTheyCarryNoPictures)
{
    fs::copy_file(WOBRIX_ADDON, dir / "WobrixFree.so");
    fs::copy_file(WOBRIX_GALLERY, dir / "wobrix-gallery");
    ASSERT_EQ(run("strip WobrixFree.so wobrix-gallery").status, 0);
    const struct {
        std::string line, says;
    } cases[] = {
        {kHost + " editor ./WobrixFree.so --png x.png",
         "wobrix-host: ./WobrixFree.so: the add-on carries no pictures; stripping the file"},
        {"./wobrix-gallery --png x.png", "wobrix-gallery: the program " +
                                             (dir / "wobrix-gallery").string() +
                                             " carries no pictures; stripping the file"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.line);
        EXPECT_EQ(r.status, 1) << c.line;
        // The host's line is the last; the add-on's own loader may speak first.
        const size_t at = r.err.find(c.says);
        ASSERT_NE(at, std::string::npos) << r.err;
        EXPECT_TRUE(at == 0 || r.err[at - 1] == '\n') << r.err;
        EXPECT_EQ(r.err.find('\n', at), r.err.size() - 1) << r.err;
        EXPECT_EQ(r.err.find("rectangle"), std::string::npos) << r.err;
    }
    const Result demo = run(kHost + " demo --addon ./WobrixFree.so --out demo");
    EXPECT_EQ(demo.status, 0) << demo.err;
    EXPECT_NE(demo.out.find("editor pictures skipped: the add-on carries no pictures"),
              std::string::npos)
        << demo.out;
}

TEST_F(CliSurface, DemoWithoutOutWritesBesideTheUserAndSaysWhere)
{
    const Result r = run(kHost + " demo --addon " + kAddOn);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir / "WobrixFree-demo" / "dry.wav"));
    EXPECT_NE(r.out.find("into " + (dir / "WobrixFree-demo").string() + "\n"), std::string::npos)
        << r.out;
}

TEST_F(CliSurface, InstallPutsTheProgramsInBinAndTheAddOnsWhereHostsLook)
{
    const std::string install = quoted(WOBRIX_CMAKE) + " --install " + quoted(WOBRIX_BUILD_DIR);
    Result r = run(install + " --prefix " + quoted(dir / "usr"));
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    // Without a prefix: the user's own folders, seen here under DESTDIR.
    r = run("DESTDIR=" + quoted(dir / "stage") + " " + install);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const fs::path stage = dir / "stage";
    const fs::path expected[] = {
        dir / "usr/bin/wobrix-host",
        dir / "usr/bin/wobrix-gallery",
        dir / "usr/bin/wobrix-jack",
        dir / "usr/lib/vst/WobrixFree.so",
        stage / fs::path(WOBRIX_USER_PREFIX).relative_path() / "bin/wobrix-host",
        stage / fs::path(WOBRIX_USER_PREFIX).relative_path() / "bin/wobrix-gallery",
        stage / fs::path(WOBRIX_USER_PREFIX).relative_path() / "bin/wobrix-jack",
        stage / fs::path(WOBRIX_USER_VST).relative_path() / "WobrixFree.so",
        dir / "usr/lib/lv2/WobrixFree.lv2/WobrixFree.so",
        dir / "usr/lib/lv2/WobrixFree.lv2/manifest.ttl",
        dir / "usr/lib/lv2/WobrixFree.lv2/WobrixFree.ttl",
        dir / "usr/lib/lv2/WobrixFree.lv2/presets.ttl",
        dir / "usr/lib/lv2/WobrixFree.lv2/WobrixFree_ui.so",
        stage / fs::path(WOBRIX_USER_LV2).relative_path() / "WobrixFree.lv2/WobrixFree.so",
        stage / fs::path(WOBRIX_USER_LV2).relative_path() / "WobrixFree.lv2/manifest.ttl",
        stage / fs::path(WOBRIX_USER_LV2).relative_path() / "WobrixFree.lv2/WobrixFree.ttl",
        stage / fs::path(WOBRIX_USER_LV2).relative_path() / "WobrixFree.lv2/presets.ttl",
        stage / fs::path(WOBRIX_USER_LV2).relative_path() / "WobrixFree.lv2/WobrixFree_ui.so",
    };
    for (const fs::path& p : expected)
        EXPECT_TRUE(fs::is_regular_file(p)) << p;
    size_t files = 0;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        files += e.is_regular_file();
    EXPECT_EQ(files, std::size(expected));
}

} // namespace
