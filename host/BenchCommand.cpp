// `bench ADDON...`: processReplacing throughput at a few block sizes, beside
// a plain stereo copy measured in the same run as the yardstick. An add-on
// that fails is reported in its row and the others still run.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "host/driver/HostError.h"
#include "host/driver/addon/Plugin.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int32_t kBlocks[] = {64, 512, 4096};

// Calls `work(frames)` repeatedly for about `seconds` after a warm-up of a
// tenth of that; answers frames per second.
template <typename Work> double framesPerSecond(int32_t block, double seconds, Work&& work)
{
    const auto warmUntil = Clock::now() + std::chrono::duration<double>(seconds * 0.1);
    while (Clock::now() < warmUntil)
        for (int i = 0; i < 16; ++i)
            work(block);
    long long frames = 0;
    const auto start = Clock::now();
    const auto until = start + std::chrono::duration<double>(seconds);
    auto now = start;
    do {
        // Reading the clock per block would weigh on small blocks.
        for (int i = 0; i < 16; ++i)
            work(block);
        frames += 16LL * block;
        now = Clock::now();
    } while (now < until);
    return static_cast<double>(frames) / std::chrono::duration<double>(now - start).count();
}

struct Channels {
    std::vector<std::vector<float>> data;
    std::vector<float*> ptrs;
    Channels(int32_t count, int32_t frames)
        : data(static_cast<size_t>(count), std::vector<float>(static_cast<size_t>(frames)))
    {
        for (auto& c : data)
            ptrs.push_back(c.data());
    }
};

// A -12 dBFS mix of two tones, so the effects have something to work on.
void fillSignal(Channels& in)
{
    for (size_t c = 0; c < in.data.size(); ++c)
        for (size_t i = 0; i < in.data[c].size(); ++i)
            in.data[c][i] = static_cast<float>(
                0.25 * std::sin(0.0157 * static_cast<double>(i) + static_cast<double>(c)) +
                0.1 * std::sin(0.31 * static_cast<double>(i)));
}

struct Settings {
    double seconds = 0.3;
    double rate = 48000.0;
    std::vector<int32_t> programs;
};

// The effect's column is this wide; longer names are cut.
constexpr int kNameWidth = 36;

// A failure's row names the whole path, however long.
void printRow(const std::string& name, const std::string& rest, bool cut = true)
{
    std::printf("%-*.*s %s\n", kNameWidth, cut ? kNameWidth : static_cast<int>(name.size()),
                name.c_str(), rest.c_str());
    std::fflush(stdout);
}

void benchProgram(Plugin& plugin, const std::string& name, const Settings& settings)
{
    AEffect& fx = plugin.effect();
    const double seconds = settings.seconds;
    for (const int32_t block : kBlocks) {
        plugin.prepare(settings.rate, block);
        Channels in(plugin.inputChannels(), block), out(plugin.outputChannels(), block);
        fillSignal(in);
        const double fx_fps = framesPerSecond(block, seconds, [&](int32_t n) {
            fx.processReplacing(&fx, in.ptrs.data(), out.ptrs.data(), n);
        });
        plugin.recorder().clearCalls();
        const double copy_fps = framesPerSecond(block, seconds, [&](int32_t n) {
            std::memcpy(out.ptrs[0], in.ptrs[0], static_cast<size_t>(n) * sizeof(float));
            std::memcpy(out.ptrs[1], in.ptrs[1], static_cast<size_t>(n) * sizeof(float));
            // Keeps the copy from being optimised away.
            asm volatile("" : : "r"(out.ptrs[0]), "r"(out.ptrs[1]) : "memory");
        });
        char rest[96];
        std::snprintf(rest, sizeof rest, "%6d %16.0f %10.0f %16.0f %9.2f%%", block, fx_fps,
                      fx_fps / settings.rate, copy_fps, 100.0 * fx_fps / copy_fps);
        printRow(name, rest);
    }
    plugin.suspend();
}

std::string programList(const std::vector<int32_t>& programs)
{
    std::string list;
    for (const int32_t p : programs)
        list += (list.empty() ? "" : ", ") + std::to_string(p);
    return list;
}

// With no program asked for, the add-on runs as it loads. Programs it does
// not have get one row that says so: third-party add-ons often have one or
// none. When it has none of them, it runs as loaded, and the rows say so.
void benchAddOn(const std::string& path, const Settings& settings)
{
    Plugin plugin(path);
    if (!plugin.canReplace())
        throw HostError("the effect has no processReplacing");
    const std::string name = plugin.effectName().empty() ? path : plugin.effectName();
    if (settings.programs.empty()) {
        benchProgram(plugin, name, settings);
        return;
    }
    const int32_t count = plugin.effect().numPrograms;
    std::vector<int32_t> missing;
    for (const int32_t program : settings.programs) {
        if (program >= count) {
            missing.push_back(program);
            continue;
        }
        plugin.selectProgram(program);
        benchProgram(plugin, name + " #" + std::to_string(program), settings);
    }
    if (missing.empty())
        return;
    const std::string has = "it has " + std::to_string(count) +
                            (count == 1 ? " program" : " programs") +
                            (count > 0 ? " (0 to " + std::to_string(count - 1) + ")" : "");
    if (missing.size() < settings.programs.size()) {
        printRow(name, "no program " + programList(missing) + ": " + has + ", not measured");
        return;
    }
    printRow(name, "no program " + programList(missing) + ": " + has + "; measured as loaded");
    benchProgram(plugin, name + " as loaded", settings);
}

} // namespace

void addBenchCommand(CLI::App& app)
{
    struct Options {
        std::vector<std::string> addons;
        Settings settings;
    };
    auto opt = std::make_shared<Options>();
    CLI::App* cmd = app.add_subcommand(
        "bench", "Measure processReplacing frames per second at blocks 64, 512 and 4096, beside a "
                 "plain stereo copy");
    cmd->add_option("ADDON", opt->addons, "Add-on files (.so)")->required();
    cmd->add_option("--seconds", opt->settings.seconds, "Time per measurement (default 0.3)")
        ->check(CLI::Range(0.001, 60.0));
    cmd->add_option("--rate", opt->settings.rate,
                    "Sample rate the add-ons are prepared at and \"x realtime\" is measured "
                    "against, in Hz (default 48000)")
        ->check(CLI::Range(1000.0, 768000.0));
    cmd->add_option("--program", opt->settings.programs,
                    "Program to measure; repeat for several. Add-ons without any of them run as "
                    "loaded, and their rows say so (default: as loaded)")
        ->allow_extra_args(false)
        ->check(CLI::Range(0, 1 << 20));
    cmd->callback([opt] {
        std::printf("sample rate %.0f Hz, %g s per measurement\n", opt->settings.rate,
                    opt->settings.seconds);
        std::printf("%-*s %6s %16s %10s %16s %10s\n", kNameWidth, "effect", "block", "frames/s",
                    "x realtime", "copy frames/s", "of copy");
        size_t failed = 0;
        for (const auto& path : opt->addons) {
            try {
                benchAddOn(path, opt->settings);
            } catch (const HostError& e) {
                // The message names the file when loading failed.
                const std::string why = e.what();
                const bool named = why.rfind(path + ": ", 0) == 0;
                printRow(path, "failed: " + (named ? why.substr(path.size() + 2) : why), false);
                ++failed;
            }
        }
        if (failed > 0)
            throw HostError(std::to_string(failed) + " of " + std::to_string(opt->addons.size()) +
                            " add-ons failed (see their rows)");
    });
}
