// Frames per second of the bass processor for each program and block size,
// beside a plain stereo copy and the per-sample reference in the same run,
// and the cold start of the add-on (main_plugin through close).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "ReferenceProc.h"
#include "effect/ZeltoBass.h"
#include "host/driver/AddOn.h"
#include "host/driver/HostRecorder.h"

namespace {

const float kPrograms[5][3] = { // tubeDist, compressor, mix
    {0.0f, 0.0f, 1.0f},
    {0.03f, 0.5f, 1.0f},
    {0.15f, 0.7f, 1.0f},
    {0.6f, 0.96f, 1.0f},
    {0.0f, 0.0f, 1.0f}};

struct Buffers {
    std::vector<float> in0, in1, out0, out1;
    explicit Buffers(size_t n) : in0(n), in1(n), out0(n), out1(n)
    {
        for (size_t i = 0; i < n; i++) { // a loud bass-like signal
            in0[i] = 0.9f * std::sin(0.013f * static_cast<float>(i));
            in1[i] = 0.7f * std::sin(0.021f * static_cast<float>(i));
        }
    }
};

template <bool Accumulate> void BM_Effect(benchmark::State& state)
{
    const int program = static_cast<int>(state.range(0));
    const int32_t n = static_cast<int32_t>(state.range(1));
    ZeltoBass effect{nullptr};
    effect.setProgram(program);
    Buffers b(n);
    float* ins[] = {b.in0.data(), b.in1.data()};
    float* outs[] = {b.out0.data(), b.out1.data()};
    AEffect* r = effect.getAeffect();
    for (auto _ : state) {
        if (Accumulate)
            r->process(r, ins, outs, n);
        else
            r->processReplacing(r, ins, outs, n);
        benchmark::DoNotOptimize(b.out0.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_Reference(benchmark::State& state)
{
    const int program = static_cast<int>(state.range(0));
    const int32_t n = static_cast<int32_t>(state.range(1));
    const float* p = kPrograms[program];
    const BassBlock block = makeBassBlock(p[0], p[1], p[2], 44100.0f);
    BassState s;
    Buffers b(n);
    for (auto _ : state) {
        referenceBassBlock<false>(s, block, b.in0.data(), b.in1.data(), b.out0.data(),
                                  b.out1.data(), n);
        benchmark::DoNotOptimize(b.out0.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_StereoCopy(benchmark::State& state)
{
    const int32_t n = static_cast<int32_t>(state.range(0));
    Buffers b(n);
    for (auto _ : state) {
        std::memcpy(b.out0.data(), b.in0.data(), n * sizeof(float));
        std::memcpy(b.out1.data(), b.in1.data(), n * sizeof(float));
        benchmark::DoNotOptimize(b.out0.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_ColdStart(benchmark::State& state)
{
    AddOn addOn;
    std::string error;
    if (!addOn.load(WOBRIX_ADDON, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    HostRecorder host;
    for (auto _ : state) {
        host.beginLoading();
        AEffect* e = addOn.entry()(HostRecorder::callback);
        host.attach(e);
        e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
        host.clearCalls();
    }
}

void programsAndBlocks(benchmark::internal::Benchmark* b)
{
    for (int p = 0; p < 5; p++)
        for (int n : {64, 512, 4096})
            b->Args({p, n});
}

} // namespace

BENCHMARK(BM_StereoCopy)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_Effect<false>)->Name("BM_ProcessReplacing")->Apply(programsAndBlocks);
BENCHMARK(BM_Effect<true>)->Name("BM_Process")->Apply(programsAndBlocks);
BENCHMARK(BM_Reference)->Apply(programsAndBlocks);
BENCHMARK(BM_ColdStart);

BENCHMARK_MAIN();
