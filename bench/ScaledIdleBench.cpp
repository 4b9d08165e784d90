// The cost of scaling on the screen: one idle of the Linux-host add-on's
// editor that redraws a moved slider (draw, enlarge at 2x, upload, until the
// server shows it) at scale 1 and 2, beside a full-frame memcpy of each
// size. On $DISPLAY's server, through the tests' X11 rig; nothing runs
// without DISPLAY.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "HostedEffect.h"
#include "XDisplay.h"
#include "platform/api/EditorScale.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 340;
constexpr int kHeight = 262;
constexpr int32_t kCompressor = 2;

const AddOn& linuxHostAddOn()
{
    static const std::unique_ptr<AddOn> addOn = [] {
        auto loaded = std::make_unique<AddOn>();
        std::string error;
        if (!loaded->load(WOBRIX_HOSTS_ADDON, error))
            std::fprintf(stderr, "scaled_idle_bench: %s\n", error.c_str());
        return loaded;
    }();
    return *addOn;
}

// Idles at a host's pace for a while, then the server's pixels.
std::vector<uint8_t> settled(HostedEffect& fx, XDisplay& x, xcb_window_t window, int scale)
{
    for (int i = 0; i < 10; ++i) {
        fx.idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    std::vector<uint8_t> p = x.pixels(window, 0, 0, static_cast<uint16_t>(kWidth * scale),
                                      static_cast<uint16_t>(kHeight * scale));
    for (size_t i = 3; i < p.size(); i += 4)
        p[i] = 0;
    return p;
}

// setParameter moves the compressor between 0 and 1 (not timed); the time
// ends when the server shows a pixel that differs between the two.
void BM_IdleMovedSlider(benchmark::State& state)
{
    const int scale = static_cast<int>(state.range(0));
    XDisplay x;
    if (!x.connect()) {
        state.SkipWithError("no X server with XTest at $DISPLAY");
        return;
    }
    setenv(editor_scale::kProgramVariable, std::to_string(scale).c_str(), 1);
    const xcb_window_t parent = x.makeParent(0, 0, static_cast<uint16_t>(kWidth * scale),
                                             static_cast<uint16_t>(kHeight * scale));
    HostedEffect fx(linuxHostAddOn());
    if (fx.open(parent) != 1) {
        state.SkipWithError("the editor did not open");
        return;
    }
    const xcb_window_t ours = x.children(parent).front();
    fx.setParameter(kCompressor, 0.0f);
    const std::vector<uint8_t> low = settled(fx, x, ours, scale);
    fx.setParameter(kCompressor, 1.0f);
    const std::vector<uint8_t> high = settled(fx, x, ours, scale);
    size_t at = 0;
    while (at < low.size() && at < high.size() && low[at] == high[at])
        ++at;
    if (at >= low.size() || at >= high.size()) {
        state.SkipWithError("the moved slider never showed");
        return;
    }
    const int width = kWidth * scale;
    const auto px = static_cast<int16_t>(at / 4 % static_cast<size_t>(width));
    const auto py = static_cast<int16_t>(at / 4 / static_cast<size_t>(width));
    bool up = true;
    for (auto _ : state) {
        up = !up;
        fx.setParameter(kCompressor, up ? 1.0f : 0.0f);
        const uint8_t want = up ? high[at] : low[at];
        const auto start = Clock::now();
        fx.idle();
        for (int looks = 1;; ++looks) {
            const std::vector<uint8_t> p = x.pixels(ours, px, py, 1, 1);
            if (p.size() == 4 && p[at % 4] == want)
                break;
            // The window thread held the lock at that idle; a host idles again.
            if (looks % 64 == 0)
                fx.idle();
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    fx.close();
    x.destroy(parent);
    unsetenv(editor_scale::kProgramVariable);
}

// The plain baseline: one whole frame of that scale copied.
void BM_FrameMemcpy(benchmark::State& state)
{
    const auto bytes = static_cast<size_t>(kWidth * kHeight * 4 * state.range(0) * state.range(0));
    std::vector<unsigned char> from(bytes, 7), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "scaled_idle_bench: no DISPLAY; nothing to measure\n");
        return 0;
    }
    benchmark::RegisterBenchmark("BM_IdleMovedSlider", BM_IdleMovedSlider)
        ->Arg(1)
        ->Arg(2)
        ->ArgName("scale")
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_FrameMemcpy", BM_FrameMemcpy)
        ->Arg(1)
        ->Arg(2)
        ->ArgName("scale")
        ->Unit(benchmark::kMicrosecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
