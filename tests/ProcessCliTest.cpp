// wobrix-host process run as a user runs it: the output's format from its
// extension and --bits, refusals of what was typed, overwrites that keep
// links and modes, signals that leave no temporary, the progress bar on a
// narrow terminal, and (ProcessCliLong) memory that does not grow with the
// length of the input.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "tests/support/SoundFile.h"

#include <fcntl.h>
#include <pty.h>
#include <sndfile.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 48000;

// `frames` frames of a stereo 100 Hz tone as 16-bit WAV, written one second
// at a time, so that hours of it never sit in the test's memory.
fs::path writeTone(const fs::path& p, int64_t frames, int rate = kRate)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(p.c_str(), SFM_WRITE, &info);
    EXPECT_NE(f, nullptr) << p;
    std::vector<float> second(2 * static_cast<size_t>(rate));
    for (size_t i = 0; i < second.size() / 2; ++i) {
        const double phase = 2.0 * M_PI * 100.0 * static_cast<double>(i) / rate;
        second[2 * i] = static_cast<float>(0.6 * std::sin(phase));
        second[2 * i + 1] = static_cast<float>(0.4 * std::sin(3.0 * phase));
    }
    for (int64_t at = 0; at < frames; at += rate)
        sf_writef_float(f, second.data(), std::min<int64_t>(rate, frames - at));
    sf_close(f);
    return p;
}

// A mono 8-bit WAV whose data is a hole in the file: hours of audio that
// take no disk and no time to make.
fs::path writeSparseWav(const fs::path& p, uint32_t frames)
{
    auto le = [](std::string& s, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            s += static_cast<char>(v >> (8 * i) & 0xff);
    };
    std::string h = "RIFF";
    le(h, 36 + frames, 4);
    h += "WAVEfmt ";
    le(h, 16, 4);
    le(h, 1, 2); // PCM
    le(h, 1, 2); // mono
    le(h, kRate, 4);
    le(h, kRate, 4); // bytes per second
    le(h, 1, 2);     // bytes per frame
    le(h, 8, 2);     // bits
    h += "data";
    le(h, frames, 4);
    std::ofstream(p, std::ios::binary) << h;
    fs::resize_file(p, h.size() + frames);
    return p;
}

std::vector<std::string> dotFiles(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string()[0] == '.')
            names.push_back(e.path().filename().string());
    return names;
}

mode_t modeOf(const fs::path& p)
{
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// `wobrix-host process ADDON ARGS...` as an argument list, and as the
// null-ended array exec takes (pointing into `all`).
std::vector<std::string> processArguments(const std::vector<std::string>& args)
{
    std::vector<std::string> all = {WOBRIX_HOST, "process", WOBRIX_ADDON};
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

std::vector<char*> argvOf(std::vector<std::string>& all)
{
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

// The host started with every signal at its default (a test runner may
// ignore some) and its output dropped.
pid_t startHost(const std::vector<std::string>& args)
{
    std::vector<std::string> all = processArguments(args);
    std::vector<char*> argv = argvOf(all);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t all_signals;
    sigfillset(&all_signals);
    posix_spawnattr_setsigdefault(&attr, &all_signals);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &files, &attr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attr);
    return pid;
}

struct Ended {
    int status = -1; // the exit status, or -1 when a signal ended it
    long peakKilobytes = 0;
};

Ended waitHost(pid_t pid)
{
    int raw = 0;
    rusage usage{};
    Ended e;
    if (::wait4(pid, &raw, 0, &usage) != pid)
        return e;
    e.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    e.peakKilobytes = usage.ru_maxrss;
    return e;
}

class ProcessCli : public CliFolderTest {
protected:
    // `process ADDON ARGS` through a shell, after `shellFirst`.
    Result run(const std::string& args, const std::string& shellFirst = "")
    {
        return runCommand(dir, "cd '" + dir.string() + "' && " + shellFirst + " '" + WOBRIX_HOST +
                                   "' process '" + WOBRIX_ADDON + "' " + args);
    }
};

TEST_F(ProcessCli, TheExtensionAndBitsChooseTheFormatAndTheAudioSurvivesIt)
{
    writeTone(dir / "in.wav", 12345, 44100);
    Result r = run("in.wav ref.wav --program 3");
    ASSERT_EQ(r.status, 0) << r.err;
    const SoundFile ref = readSoundFile(dir / "ref.wav");
    ASSERT_EQ(ref.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const struct {
        std::string out, bits;
        int format;
        int precision; // bits of the samples; 0: float, exact; -1: lossy
    } cases[] = {
        {"a.flac", "", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 24},
        {"b.flac", "--bits 16", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 16},
        {"c.wav", "--bits 24", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 24},
        {"d.AIFF", "--bits 16", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 16},
        {"e.aif", "--bits float", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 0},
        {"f.w64", "", SF_FORMAT_W64 | SF_FORMAT_FLOAT, 0},
        {"g.rf64", "--bits 32", SF_FORMAT_RF64 | SF_FORMAT_PCM_32, 32},
        {"h.caf", "", SF_FORMAT_CAF | SF_FORMAT_FLOAT, 0},
        {"i.ogg", "", SF_FORMAT_OGG | SF_FORMAT_VORBIS, -1},
    };
    for (const auto& c : cases) {
        r = run("in.wav " + c.out + " --program 3 " + c.bits);
        ASSERT_EQ(r.status, 0) << c.out << ": " << r.err;
        // One line says what was made of what.
        EXPECT_EQ(lineCount(r.out), 1u) << r.out;
        for (const std::string& part : {c.out + ":", std::string("program 3 \"Heavy\""),
                                        std::string("12345 frames"), std::string("44100 Hz")})
            EXPECT_NE(r.out.find(part), std::string::npos) << part << " in " << r.out;
        const SoundFile a = readSoundFile(dir / c.out);
        EXPECT_EQ(a.info.format, c.format) << c.out;
        EXPECT_EQ(a.info.frames, 12345) << c.out;
        EXPECT_EQ(a.info.samplerate, 44100) << c.out;
        if (c.precision < 0 || a.samples.size() != ref.samples.size())
            continue;
        // Within half a step of rounding plus libsndfile's 0x7fff-in,
        // 0x8000-out scaling: one step at most; full scale clips.
        const float step = c.precision ? std::ldexp(1.0f, 1 - c.precision) : 0.0f;
        float worst = 0.0f;
        for (size_t i = 0; i < a.samples.size(); ++i)
            worst =
                std::max(worst, std::fabs(a.samples[i] - std::clamp(ref.samples[i], -1.0f, 1.0f)));
        EXPECT_LE(worst, step) << c.out;
    }
}

TEST_F(ProcessCli, RefusesWithOneLineAndWritesNothing)
{
    writeTone(dir / "in.wav", 1000);
    fs::create_directory(dir / "sub");
    const struct {
        std::string args;
        int status;
        std::string message;
    } cases[] = {
        // What was typed: exit 2.
        {"in.wav out.mp3", 2, "out.mp3: cannot write .mp3 audio; name the file .wav, .flac"},
        {"in.wav out", 2, "out: no extension"},
        {"in.wav out.wav --bits 12", 2, "--bits 12: must be 16, 24, 32 or float"},
        {"in.wav out.flac --bits 32", 2, "--bits 32: FLAC takes 16 or 24"},
        {"in.wav out.flac --bits float", 2, "FLAC takes 16 or 24"},
        {"in.wav out.ogg --bits 16", 2, "leave --bits out"},
        {"in.wav out.wav --set 1=2", 2, "--set 1=2: parameter 1 takes a value from 0 to 1"},
        {"in.wav out.wav --set 0=1.5", 2, "--set 0=1.5: parameter 0"},
        {"in.wav out.wav --set 2=1e30", 2, "--set 2=1e30: parameter 2"},
        {"in.wav out.wav --set 0=-0.01", 2, "--set 0=-0.01: parameter 0"},
        {"in.wav out.wav --set 0=nan", 2, "--set 0=nan: value is not a number"},
        {"in.wav out.wav --block 65537", 2, "--block 65537: must be"},
        {"in.wav out.wav --block 12x", 2, "--block 12x: must be"},
        {"in.wav out.wav --program 9", 2, "--program 9: no such program"},
        // What the file system says: exit 1, with the path and the reason.
        {"in.wav sub", 1, "sub: Is a directory"},
        {"in.wav sub/", 1, "sub/: Is a directory"},
        {"in.wav nodir/sub/out.wav", 1, "cannot write into folder nodir/sub: it does not exist"},
        {"in.wav in.wav/out.wav", 1, "cannot write into folder in.wav: it is a file"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_EQ(r.err.rfind("wobrix-host: ", 0), 0u) << r.err;
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        size_t entries = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
            ++entries;
        EXPECT_EQ(entries, 2u) << "left a file: " << c.args;
        EXPECT_TRUE(fs::is_empty(dir / "sub")) << c.args;
    }
}

TEST_F(ProcessCli, OverwritesGoThroughLinksAndKeepTheMode)
{
    writeTone(dir / "in.wav", 1000);
    fs::create_directory(dir / "real");
    const struct {
        std::string out, linkTo; // the link, relative to the test's folder
        int existingMode;        // -1: there is no file yet
        std::string umask;
        mode_t mode;
    } cases[] = {
        {"kept.wav", "", 0600, "022", 0600},
        {"new.wav", "", -1, "027", 0640},
        {"link.wav", "real/target.wav", 0640, "022", 0640},
        {"dangling.wav", "real/made.wav", -1, "022", 0644},
    };
    for (const auto& c : cases) {
        const fs::path file = dir / (c.linkTo.empty() ? c.out : c.linkTo);
        if (c.existingMode >= 0) {
            std::ofstream(file) << "old";
            fs::permissions(file, static_cast<fs::perms>(c.existingMode));
        }
        if (!c.linkTo.empty())
            fs::create_symlink(c.linkTo, dir / c.out);
        const Result r = run("-q in.wav " + c.out, "umask " + c.umask + " &&");
        ASSERT_EQ(r.status, 0) << c.out << ": " << r.err;
        EXPECT_EQ(readSoundFile(file).info.frames, 1000) << c.out;
        EXPECT_EQ(modeOf(file), c.mode) << c.out;
        if (!c.linkTo.empty()) {
            EXPECT_TRUE(fs::is_symlink(dir / c.out)) << c.out;
            EXPECT_EQ(fs::read_symlink(dir / c.out), c.linkTo);
        }
        EXPECT_TRUE(dotFiles(dir).empty() && dotFiles(dir / "real").empty()) << c.out;
    }
}

TEST_F(ProcessCli, SignalsDuringTheWriteRemoveTheTemporaryAndKeepTheOldFile)
{
    // Three and a half hours: its float WAV would pass 4 GB, so it is RF64.
    writeSparseWav(dir / "long.wav", 600000000u);
    const fs::path out = dir / "out.wav";
    std::ofstream(out) << "keep me";
    fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write);
    const struct {
        int signal, status;
    } cases[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto& c : cases) {
        const pid_t pid = startHost({(dir / "long.wav").string(), out.string(), "--program", "3"});
        // Mid-write: the temporary holds its header and some audio.
        fs::path temporary;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < until) {
            for (const std::string& name : dotFiles(dir))
                if (name.rfind(".out.wav.", 0) == 0)
                    temporary = dir / name;
            std::error_code ec;
            if (!temporary.empty() && fs::file_size(temporary, ec) > (1u << 20))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (temporary.empty())
            ::kill(pid, SIGKILL);
        ASSERT_FALSE(temporary.empty()) << "no temporary appeared";
        char magic[5] = {};
        std::ifstream(temporary, std::ios::binary).read(magic, 4);
        EXPECT_STREQ(magic, "RF64");
        ::kill(pid, c.signal);
        EXPECT_EQ(waitHost(pid).status, c.status) << strsignal(c.signal);
        EXPECT_TRUE(dotFiles(dir).empty()) << strsignal(c.signal);
        EXPECT_EQ(slurp(out), "keep me");
        EXPECT_EQ(modeOf(out), 0600u);
    }
}

// Everything a run prints on a terminal `columns` wide, stdout and stderr.
std::string runOnTerminal(const std::vector<std::string>& args, unsigned short columns)
{
    winsize size{};
    size.ws_col = columns;
    size.ws_row = 24;
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, &size);
    if (pid == 0) {
        std::vector<std::string> all = processArguments(args);
        std::vector<char*> argv = argvOf(all);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(master);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return text;
}

TEST_F(ProcessCli, TheProgressBarFitsANarrowTerminalAndQuietSilencesIt)
{
    const fs::path in = writeTone(dir / "in.wav", 60 * kRate);
    const std::string out = (dir / "a-long-name-for-the-output.flac").string();
    for (const unsigned short columns : {uint16_t{30}, uint16_t{80}}) {
        const std::string text = runOnTerminal({in.string(), out}, columns);
        size_t bars = 0;
        bool complete = false;
        std::string line;
        for (const char ch : text + "\n") {
            if (ch != '\r' && ch != '\n') {
                line += ch;
                continue;
            }
            for (size_t at; (at = line.find("\x1b[K")) != std::string::npos;)
                line.erase(at, 3);
            if (line.find('%') != std::string::npos) {
                ++bars;
                EXPECT_LE(line.size(), columns - 1u) << line;
                EXPECT_EQ(line.rfind("a-long-", 0), 0u) << line;
                EXPECT_NE(line.find("x"), std::string::npos) << "no speed: " << line;
                complete |= line.find("100% 0:0") != std::string::npos;
            }
            line.clear();
        }
        EXPECT_GT(bars, 0u) << text;
        EXPECT_TRUE(complete) << text;
        EXPECT_NE(text.find("\n" + out + ": FLAC 24-bit"), std::string::npos) << text;
    }
    EXPECT_EQ(runOnTerminal({"--quiet", in.string(), out}, 80), "");
}

// A long render: half an hour at 48 kHz, streamed, in no more memory than
// one minute. The inputs are holes in their files (no disk, no time to
// make); the FLAC outputs stay small.
TEST(ProcessCliLong, HalfAnHourStreamsInTheMemoryOfOneMinute)
{
    char pattern[] = "/tmp/wobrix-process-long-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    const struct {
        const char* name;
        uint32_t seconds;
    } renders[] = {{"minute", 60}, {"half-hour", 30 * 60}};
    long peak[2] = {0, 0};
    for (size_t i = 0; i < 2; ++i) {
        const std::string in = (dir / (std::string(renders[i].name) + ".wav")).string();
        const std::string out = (dir / (std::string(renders[i].name) + ".flac")).string();
        writeSparseWav(in, renders[i].seconds * kRate);
        const Ended e = waitHost(startHost({in, out, "--program", "3", "--bits", "16"}));
        ASSERT_EQ(e.status, 0) << renders[i].name;
        SF_INFO info{};
        SNDFILE* f = sf_open(out.c_str(), SFM_READ, &info);
        ASSERT_NE(f, nullptr);
        sf_close(f);
        EXPECT_EQ(info.frames, int64_t{renders[i].seconds} * kRate) << renders[i].name;
        peak[i] = e.peakKilobytes;
    }
    fs::remove_all(dir);
    // The whole input in memory would be 690 MB of floats.
    EXPECT_LT(peak[1], peak[0] + 8 * 1024) << peak[0] << " KB for a minute";
    EXPECT_LT(peak[1], 64 * 1024);
    std::printf("peak resident: %ld KB for 60 s, %ld KB for 30 min\n", peak[0], peak[1]);
}

} // namespace
