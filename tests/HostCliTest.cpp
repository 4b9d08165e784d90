// wobrix-host run as a user runs it: what it prints, the files it writes,
// and how it refuses bad input without leaving or damaging files.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "tests/support/SoundFile.h"

#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class HostCli : public CliFolderTest {
protected:
    Result run(const std::string& args)
    {
        return runCommand(dir, std::string("'") + WOBRIX_HOST + "' " + args);
    }

    // A sine of `frames` frames in every channel, 16-bit WAV.
    fs::path writeTone(const std::string& name, int channels, int rate, int frames)
    {
        const fs::path p = dir / name;
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = channels;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* f = sf_open(p.c_str(), SFM_WRITE, &info);
        EXPECT_NE(f, nullptr);
        std::vector<float> data(static_cast<size_t>(frames * channels));
        for (int i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c)
                data[static_cast<size_t>(i * channels + c)] =
                    0.5f * std::sin(0.01f * static_cast<float>(i) * static_cast<float>(c + 1));
        sf_writef_float(f, data.data(), frames);
        sf_close(f);
        return p;
    }
};

const std::string kAddOn = std::string("'") + WOBRIX_ADDON + "'";

TEST_F(HostCli, InfoShowsIdentityProgramsAndParameters)
{
    const Result r = run("info " + kAddOn);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* text : {"WobrixFree", "Zelto Audio", "'Zb7q'", "0x5a623771", "replacing",
                             "\"Light\"", "\"Medium\"", "\"Heavy\"", "\"Click Zelto for Random!\"",
                             "\"Mix \"", "\"Tube Dist\"", "\"Compressor\"", "\"ZB 1\"", "\"ZB 2\""})
        EXPECT_NE(r.out.find(text), std::string::npos) << text;
    // The program listing shows each program's own values: Heavy's compressor.
    EXPECT_NE(r.out.find("-27.96"), std::string::npos);
}

TEST_F(HostCli, InfoJsonHasTheKeysAndBalancedStructure)
{
    const Result r = run("info --json " + kAddOn);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* key :
         {"\"name\": \"WobrixFree\"", "\"vendor\": \"Zelto Audio\"", "\"uniqueID\": \"Zb7q\"",
          "\"flags\"", "\"flagNames\"", "\"numInputs\": 2", "\"numOutputs\": 2", "\"outputPins\"",
          "\"parameters\"", "\"programs\"", "\"name\": \"Click Zelto for Random!\"",
          "\"name\": \"Tube Dist\""})
        EXPECT_NE(r.out.find(key), std::string::npos) << key;
    int depth = 0;
    bool inString = false, escaped = false, negative = false;
    for (char c : r.out) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"')
            inString = true;
        else if (c == '{' || c == '[')
            ++depth;
        else if (c == '}' || c == ']')
            negative |= --depth < 0;
    }
    EXPECT_FALSE(negative);
    EXPECT_EQ(depth, 0);
    EXPECT_FALSE(inString);
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
}

TEST_F(HostCli, ProcessWritesStereoFloatOfTheSameLengthAndRate)
{
    const fs::path mono = writeTone("mono.wav", 1, 48000, 12345);
    const fs::path stereo = writeTone("stereo.wav", 2, 22050, 777);
    Result r = run("process " + kAddOn + " " + mono.string() + " " + (dir / "a.wav").string() +
                   " --program 3 --block 300");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << "no progress bar when stderr is not a terminal: " << r.err;
    SoundFile a = readSoundFile(dir / "a.wav");
    EXPECT_EQ(a.info.frames, 12345);
    EXPECT_EQ(a.info.channels, 2);
    EXPECT_EQ(a.info.samplerate, 48000);
    EXPECT_EQ(a.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    // Heavy changes the signal, and mono arrives on both inputs alike.
    const SoundFile in = readSoundFile(mono);
    double diff = 0.0, sides = 0.0;
    for (size_t i = 0; i < static_cast<size_t>(a.info.frames); ++i) {
        diff += std::fabs(a.samples[2 * i] - in.samples[i]);
        sides += std::fabs(a.samples[2 * i] - a.samples[2 * i + 1]);
    }
    EXPECT_GT(diff, 1.0);
    EXPECT_EQ(sides, 0.0);

    r = run("process " + kAddOn + " " + stereo.string() + " " + (dir / "b.wav").string() +
            " --set 1=0.5 --set 2=0.9 --block 1");
    ASSERT_EQ(r.status, 0) << r.err;
    r = run("process " + kAddOn + " " + stereo.string() + " " + (dir / "c.wav").string() +
            " --set 1=0.5 --set 2=0.9 --block 64 --accumulate");
    ASSERT_EQ(r.status, 0) << r.err;
    const SoundFile b = readSoundFile(dir / "b.wav"), c = readSoundFile(dir / "c.wav");
    EXPECT_EQ(b.info.frames, 777);
    EXPECT_EQ(b.info.samplerate, 22050);
    ASSERT_EQ(b.samples.size(), c.samples.size());
    // Accumulating into zeroed outputs must equal replacing, whatever the block.
    for (size_t i = 0; i < b.samples.size(); ++i)
        ASSERT_NEAR(b.samples[i], c.samples[i], 1e-6f) << i;
    // Only the finished files remain: no temporaries beside them.
    size_t files = 0;
    for (const auto& e : fs::directory_iterator(dir))
        files += e.path().filename().string()[0] == '.' ? 100 : 1;
    EXPECT_EQ(files, 5u);
}

TEST_F(HostCli, ProcessRefusesBadInputWithOneLineAndNoOutput)
{
    const fs::path tone = writeTone("tone.wav", 2, 44100, 1000);
    const fs::path three = writeTone("three.wav", 3, 44100, 1000);
    std::ofstream(dir / "text.wav") << "this is not audio\n";
    const std::string t = tone.string();
    const std::string null = std::string("'") + WOBRIX_NULL_ADDON + "'";
    const struct {
        std::string addon, input, extra;
    } cases[] = {
        {kAddOn, (dir / "missing.wav").string(), ""},
        {kAddOn, (dir / "text.wav").string(), ""},
        {kAddOn, dir.string(), ""},
        {kAddOn, three.string(), ""},
        {kAddOn, t, "--program 5"},
        {kAddOn, t, "--program -1"},
        {kAddOn, t, "--program one"},
        {kAddOn, t, "--set 6=0.5"},
        {kAddOn, t, "--set -1=0.5"},
        {kAddOn, t, "--set 0=loud"},
        {kAddOn, t, "--set 0=nan"},
        {kAddOn, t, "--set 0"},
        {kAddOn, t, "--block 0"},
        {kAddOn, t, "--block 65537"},
        {kAddOn, t, "--block 12x"},
        {(dir / "missing.so").string(), t, ""},
        {t, t, ""},
        {null, t, ""},
    };
    for (const auto& c : cases) {
        for (const bool existing : {false, true}) {
            const fs::path out = dir / "out.wav";
            fs::remove(out);
            if (existing)
                std::ofstream(out) << "keep me";
            const std::string args =
                "process " + c.addon + " '" + c.input + "' '" + out.string() + "' " + c.extra;
            const Result r = run(args);
            EXPECT_NE(r.status, 0) << args;
            EXPECT_EQ(lineCount(r.err), 1u) << args << "\n" << r.err;
            EXPECT_EQ(r.err.rfind("wobrix-host: ", 0), 0u) << r.err;
            if (existing)
                EXPECT_EQ(slurp(out), "keep me") << args;
            else
                EXPECT_FALSE(fs::exists(out)) << args;
            size_t entries = 0;
            for (const auto& e : fs::directory_iterator(dir))
                entries += e.path().filename() != "out.wav";
            EXPECT_EQ(entries, 3u) << "temporary left behind by " << args;
        }
    }
}

TEST_F(HostCli, DemoWritesWavsAndPlotsForEveryProgram)
{
    const fs::path out = dir / "demo";
    const Result r = run("demo --addon " + kAddOn + " --out '" + out.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    const SoundFile dry = readSoundFile(out / "dry.wav");
    EXPECT_EQ(dry.info.channels, 2);
    EXPECT_EQ(dry.info.samplerate, 44100);
    EXPECT_GT(dry.info.frames, 2 * 44100);
    size_t wavs = 0, pngs = 0;
    for (const auto& e : fs::directory_iterator(out)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("program-", 0) != 0)
            continue;
        EXPECT_NE(r.out.find(name), std::string::npos) << "not announced: " << name;
        if (e.path().extension() == ".wav") {
            ++wavs;
            EXPECT_EQ(readSoundFile(e.path()).info.frames, dry.info.frames) << name;
        } else if (e.path().extension() == ".png") {
            ++pngs;
            EXPECT_EQ(slurp(e.path()).substr(1, 3), "PNG") << name;
        }
    }
    EXPECT_EQ(wavs, 5u);
    EXPECT_EQ(pngs, 5u);
    EXPECT_TRUE(fs::exists(out / "program-3-heavy.wav"));
    // The riff and the fixed programs are deterministic: a second run, a
    // second later, writes the same files byte for byte.
    sleep(1);
    const Result again =
        run("demo --addon " + kAddOn + " --out '" + (dir / "again").string() + "'");
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(slurp(out / "dry.wav") == slurp(dir / "again" / "dry.wav"));
    EXPECT_TRUE(slurp(out / "program-3-heavy.wav") == slurp(dir / "again" / "program-3-heavy.wav"));
}

TEST_F(HostCli, BenchPrintsARowPerBlockSize)
{
    const Result r = run("bench --seconds 0.02 " + kAddOn);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("copy frames/s"), std::string::npos);
    std::istringstream lines(r.out);
    std::string line;
    std::vector<int> blocks;
    while (std::getline(lines, line)) {
        char name[64];
        int block = 0;
        double fps = 0, realtime = 0, copy = 0;
        if (std::sscanf(line.c_str(), "%63s %d %lf %lf %lf", name, &block, &fps, &realtime,
                        &copy) == 5) {
            EXPECT_STREQ(name, "WobrixFree");
            EXPECT_GT(fps, 44100.0);
            EXPECT_GT(copy, 0.0);
            blocks.push_back(block);
        }
    }
    EXPECT_EQ(blocks, (std::vector<int>{64, 512, 4096}));
}

TEST_F(HostCli, BenchMeasuresEachProgramAskedForThatTheAddOnHas)
{
    const Result r = run("bench --seconds 0.01 --program 3 --program 99 " + kAddOn);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("WobrixFree #3"), std::string::npos);
    EXPECT_EQ(r.out.find("#99"), std::string::npos);
    EXPECT_NE(run("bench --program -1 " + kAddOn).status, 0);
}

// PNG files start with this signature and give width and height at bytes 16..23.
std::pair<uint32_t, uint32_t> pngSize(const std::string& png)
{
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return {0, 0};
    auto be = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<unsigned char>(png[at])) << 24 |
               static_cast<uint32_t>(static_cast<unsigned char>(png[at + 1])) << 16 |
               static_cast<uint32_t>(static_cast<unsigned char>(png[at + 2])) << 8 |
               static_cast<uint32_t>(static_cast<unsigned char>(png[at + 3]));
    };
    return {be(16), be(20)};
}

TEST_F(HostCli, SkinWritesTheFourPicturesAndRefusesFilesWithout)
{
    const fs::path out = dir / "skin";
    Result r = run("skin " + kAddOn + " --out '" + out.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lineCount(r.out), 4u) << r.out;
    const std::pair<const char*, std::pair<uint32_t, uint32_t>> expected[] = {
        {"128-backgrnd.png", {340, 262}},
        {"129-slider_knob_vert_s.png", {16, 28}},
        {"130-slider_knob_vert_b.png", {22, 28}},
        {"131-switch_random.png", {44, 76}}};
    for (const auto& [name, size] : expected)
        EXPECT_EQ(pngSize(slurp(out / name)), size) << name;

    r = run(std::string("skin '") + WOBRIX_NULL_ADDON + "' --out '" + (dir / "none").string() +
            "'");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("no resources"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "none"));
    EXPECT_NE(run("skin " + kAddOn).status, 0); // --out is required
}

TEST_F(HostCli, UsageAndHelp)
{
    Result r = run("frobnicate");
    EXPECT_NE(r.status, 0);
    for (const char* command : {"info", "process", "demo", "bench", "skin"})
        EXPECT_NE(r.err.find(command), std::string::npos) << command;
    r = run("");
    EXPECT_NE(r.status, 0);
    r = run("process --help");
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--program", "--set", "--block", "--accumulate", "IN", "OUT"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
    r = run("demo --help");
    EXPECT_NE(r.out.find("--addon"), std::string::npos);
}

} // namespace
