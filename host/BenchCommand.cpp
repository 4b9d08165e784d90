// `bench ADDON...`: processReplacing throughput at a few block sizes, beside
// a plain stereo copy measured in the same run as the yardstick.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "host/driver/HostError.h"
#include "host/driver/Plugin.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int32_t kBlocks[] = {64, 512, 4096};
constexpr double kRate = 44100.0;

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

void benchProgram(Plugin& plugin, const std::string& name, double seconds)
{
    AEffect& fx = plugin.effect();
    for (const int32_t block : kBlocks) {
        plugin.prepare(kRate, block);
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
        std::printf("%-28.28s %6d %16.0f %10.0f %16.0f %9.2f%%\n", name.c_str(), block, fx_fps,
                    fx_fps / kRate, copy_fps, 100.0 * fx_fps / copy_fps);
        std::fflush(stdout);
    }
    plugin.suspend();
}

// With no program asked for, the add-on runs as it loads. Programs it does
// not have are skipped: third-party add-ons often have one or none.
void benchAddOn(const std::string& path, const std::vector<int32_t>& programs, double seconds)
{
    Plugin plugin(path);
    if (!plugin.canReplace())
        throw HostError(path + ": the effect has no processReplacing");
    const std::string name = plugin.effectName().empty() ? path : plugin.effectName();
    if (programs.empty()) {
        benchProgram(plugin, name, seconds);
        return;
    }
    bool any = false;
    for (const int32_t program : programs) {
        if (program >= plugin.effect().numPrograms)
            continue;
        plugin.selectProgram(program);
        benchProgram(plugin, name + " #" + std::to_string(program), seconds);
        any = true;
    }
    if (!any)
        benchProgram(plugin, name, seconds);
}

} // namespace

void addBenchCommand(CLI::App& app)
{
    struct Options {
        std::vector<std::string> addons;
        double seconds = 0.3;
        std::vector<int32_t> programs;
    };
    auto opt = std::make_shared<Options>();
    CLI::App* cmd = app.add_subcommand(
        "bench", "Measure processReplacing frames per second at blocks 64, 512 and 4096, beside a "
                 "plain stereo copy");
    cmd->add_option("ADDON", opt->addons, "Add-on files (.so)")->required();
    cmd->add_option("--seconds", opt->seconds, "Time per measurement (default 0.3)")
        ->check(CLI::Range(0.001, 60.0));
    cmd->add_option("--program", opt->programs,
                    "Program to measure; repeat for several. Add-ons without it run as loaded "
                    "(default: as loaded)")
        ->allow_extra_args(false)
        ->check(CLI::Range(0, 1 << 20));
    cmd->callback([opt] {
        std::printf("%-28s %6s %16s %10s %16s %10s\n", "effect", "block", "frames/s", "x realtime",
                    "copy frames/s", "of copy");
        for (const auto& path : opt->addons)
            benchAddOn(path, opt->programs, opt->seconds);
    });
}
