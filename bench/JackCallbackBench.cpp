// wobrix-jack's audio callback (LiveAudio::run on the add-on for Linux hosts,
// Heavy, the bass signal) per frame at 64 and 256 frames a period, beside
// the effect's processReplacing called straight (the plain baseline: what
// the callback adds is two atomic flags) and a plain stereo copy, in the
// same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "BenchSignal.h"
#include "host/driver/addon/Plugin.h"
#include "host/jack/LiveAudio.h"

namespace {

constexpr int kHeavy = 3;

struct Period {
    explicit Period(int32_t frames) : n(frames), out0(frames), out1(frames) {}
    float* const* ins()
    {
        in[0] = signal.left.data() + at;
        in[1] = signal.right.data() + at;
        at = (at + static_cast<size_t>(n)) % kBassFrames; // a multiple of both periods
        return in;
    }
    int32_t n;
    BenchSignal signal = bassSignal();
    size_t at = 0;
    float* in[2] = {};
    std::vector<float> out0, out1;
    float* outs[2] = {out0.data(), out1.data()};
};

Plugin& heavy()
{
    static Plugin plugin(WOBRIX_HOSTS_ADDON, HostSide::Realtime);
    plugin.prepare(48000, 256);
    plugin.selectProgram(kHeavy);
    return plugin;
}

void BM_JackCallback(benchmark::State& state)
{
    Period period(static_cast<int32_t>(state.range(0)));
    LiveAudio audio(&heavy().effect());
    for (auto _ : state) {
        audio.run(period.ins(), period.outs, period.n);
        benchmark::DoNotOptimize(period.out0.data());
    }
    state.SetItemsProcessed(state.iterations() * period.n);
}

void BM_ProcessReplacing(benchmark::State& state)
{
    Period period(static_cast<int32_t>(state.range(0)));
    AEffect* effect = &heavy().effect();
    for (auto _ : state) {
        effect->processReplacing(effect, const_cast<float**>(period.ins()), period.outs, period.n);
        benchmark::DoNotOptimize(period.out0.data());
    }
    state.SetItemsProcessed(state.iterations() * period.n);
}

void BM_StereoCopy(benchmark::State& state)
{
    Period period(static_cast<int32_t>(state.range(0)));
    const size_t bytes = static_cast<size_t>(period.n) * sizeof(float);
    for (auto _ : state) {
        float* const* in = period.ins();
        std::memcpy(period.outs[0], in[0], bytes);
        std::memcpy(period.outs[1], in[1], bytes);
        benchmark::DoNotOptimize(period.out0.data());
    }
    state.SetItemsProcessed(state.iterations() * period.n);
}

BENCHMARK(BM_JackCallback)->Arg(64)->Arg(256);
BENCHMARK(BM_ProcessReplacing)->Arg(64)->Arg(256);
BENCHMARK(BM_StereoCopy)->Arg(64)->Arg(256);

} // namespace

BENCHMARK_MAIN();
