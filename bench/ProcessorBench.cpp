// Frames per second of the bass processor for each program and block size on
// two signals (one block of sines again and again; ten seconds of bass notes,
// which do not stay in the caches), beside a plain stereo copy, the per-sample reference and LSP
// Compressor Stereo (a black box, at its defaults) in the same run, and the
// cold start of the add-on (main_plugin through close). Ends with a table of
// the speed-ups at block 512.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "BenchSignal.h"
#include "RatioReporter.h"
#include "ReferenceProc.h"
#include "effect/ZeltoBass.h"
#include "host/driver/addon/AddOn.h"
#include "host/driver/addon/HostRecorder.h"
#include "host/driver/addon/Plugin.h"

namespace {

constexpr float kRate = 48000.0f;
constexpr const char* kLsp = "/usr/lib/vst/lsp-plugins/compressor-stereo.so";
constexpr const char* kSignalNames[] = {"sines", "bass"};
constexpr const char* kProgramNames[] = {"0", "Light", "Medium", "Heavy", "4"};

const float kPrograms[5][3] = { // tubeDist, compressor, mix
    {0.0f, 0.0f, 1.0f},
    {0.03f, 0.5f, 1.0f},
    {0.15f, 0.7f, 1.0f},
    {0.6f, 0.96f, 1.0f},
    {0.0f, 0.0f, 1.0f}};

// One iteration of a benchmark: signal 0 is one block of sines, signal 1
// the whole ten seconds of bass notes block by block, the last block shorter.
class Feed {
public:
    Feed(int signal, int32_t block)
        : n(block), s(signal == 0 ? sineSignal(static_cast<size_t>(block)) : bassSignal())
    {
    }
    int64_t frames() const { return static_cast<int64_t>(s.left.size()); }
    // Calls `f(left, right, frames)` for each block of the signal.
    template <typename F> void pass(F&& f) const
    {
        const size_t size = s.left.size();
        for (size_t at = 0; at < size; at += static_cast<size_t>(n)) {
            const size_t left = size - at;
            f(s.left.data() + at, s.right.data() + at,
              left < static_cast<size_t>(n) ? static_cast<int32_t>(left) : n);
        }
    }

private:
    int32_t n;
    BenchSignal s;
};

template <bool Accumulate> void BM_Effect(benchmark::State& state)
{
    const int signal = static_cast<int>(state.range(0));
    const int program = static_cast<int>(state.range(1));
    const int32_t n = static_cast<int32_t>(state.range(2));
    ZeltoBass effect{nullptr};
    effect.setSampleRate(kRate);
    effect.setProgram(program);
    Feed feed(signal, n);
    std::vector<float> out0(n), out1(n);
    float* outs[] = {out0.data(), out1.data()};
    AEffect* r = effect.getAeffect();
    for (auto _ : state) {
        feed.pass([&](const float* left, const float* right, int32_t frames) {
            float* ins[] = {const_cast<float*>(left), const_cast<float*>(right)};
            if (Accumulate)
                r->process(r, ins, outs, frames);
            else
                r->processReplacing(r, ins, outs, frames);
            benchmark::DoNotOptimize(out0.data());
        });
    }
    state.SetItemsProcessed(state.iterations() * feed.frames());
}

void BM_Reference(benchmark::State& state)
{
    const int signal = static_cast<int>(state.range(0));
    const int program = static_cast<int>(state.range(1));
    const int32_t n = static_cast<int32_t>(state.range(2));
    const float* p = kPrograms[program];
    const BassBlock block = makeBassBlock(p[0], p[1], p[2], kRate);
    BassState s;
    Feed feed(signal, n);
    std::vector<float> out0(n), out1(n);
    for (auto _ : state) {
        feed.pass([&](const float* left, const float* right, int32_t frames) {
            referenceBassBlock<false>(s, block, left, right, out0.data(), out1.data(), frames);
            benchmark::DoNotOptimize(out0.data());
        });
    }
    state.SetItemsProcessed(state.iterations() * feed.frames());
}

// The third-party compressor through dlopen and its record, as a host runs it.
void BM_LspCompressor(benchmark::State& state)
{
    const int signal = static_cast<int>(state.range(0));
    const int32_t n = static_cast<int32_t>(state.range(1));
    try {
        Plugin plugin(kLsp);
        plugin.prepare(kRate, n);
        AEffect& fx = plugin.effect();
        std::vector<std::vector<float>> ins(static_cast<size_t>(plugin.inputChannels()),
                                            std::vector<float>(static_cast<size_t>(n)));
        std::vector<std::vector<float>> outs(static_cast<size_t>(plugin.outputChannels()),
                                             std::vector<float>(static_cast<size_t>(n)));
        std::vector<float*> inPtrs, outPtrs;
        for (auto& c : ins)
            inPtrs.push_back(c.data());
        for (auto& c : outs)
            outPtrs.push_back(c.data());
        Feed feed(signal, n);
        for (auto _ : state) {
            feed.pass([&](const float* left, const float* right, int32_t frames) {
                // The copy in costs what a stereo copy costs; the processor's
                // own benchmarks read the signal where it lies.
                const size_t bytes = static_cast<size_t>(frames) * sizeof(float);
                std::memcpy(inPtrs[0], left, bytes);
                std::memcpy(inPtrs[1], right, bytes);
                fx.processReplacing(&fx, inPtrs.data(), outPtrs.data(), frames);
                benchmark::DoNotOptimize(outPtrs[0]);
            });
        }
        state.SetItemsProcessed(state.iterations() * feed.frames());
        plugin.suspend();
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

void BM_StereoCopy(benchmark::State& state)
{
    const int32_t n = static_cast<int32_t>(state.range(0));
    const BenchSignal in = sineSignal(static_cast<size_t>(n));
    std::vector<float> out0(n), out1(n);
    for (auto _ : state) {
        std::memcpy(out0.data(), in.left.data(), n * sizeof(float));
        std::memcpy(out1.data(), in.right.data(), n * sizeof(float));
        benchmark::DoNotOptimize(out0.data());
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

void signalsProgramsAndBlocks(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"signal", "program", "block"});
    for (int s = 0; s < 2; s++)
        for (int p = 0; p < 5; p++)
            for (int n : {64, 512, 4096})
                b->Args({s, p, n});
}

void sinesProgramsAndBlocks(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"signal", "program", "block"});
    for (int p = 0; p < 5; p++)
        for (int n : {64, 512, 4096})
            b->Args({0, p, n});
}

std::string runName(const char* bench, int signal, int program, int block)
{
    std::string name = std::string(bench) + "/signal:" + std::to_string(signal);
    if (program >= 0)
        name += "/program:" + std::to_string(program);
    return name + "/block:" + std::to_string(block);
}

// The speed-ups at block 512: each program against the reference, and
// Heavy against the third-party compressor.
void printRatios(const RatioReporter& r)
{
    constexpr int block = 512;
    std::printf("\nBlock %d, CPU ns per frame (bass: over its ten seconds); speed-up = their "
                "time / ours\n",
                block);
    std::printf("%-6s %-7s %10s %10s %9s\n", "signal", "program", "reference", "fast", "speed-up");
    for (int s = 0; s < 2; s++) {
        for (int p = 0; p < 4; p++) {
            const double ref = r.nsPerItem(runName("BM_Reference", s, p, block));
            const double fast = r.nsPerItem(runName("BM_ProcessReplacing", s, p, block));
            if (ref > 0 && fast > 0)
                std::printf("%-6s %-7s %10.2f %10.2f %8.2fx\n", kSignalNames[s], kProgramNames[p],
                            ref, fast, ref / fast);
        }
    }
    std::printf("%-6s %-7s %10s %10s %9s\n", "signal", "", "LSP comp.", "Heavy", "speed-up");
    for (int s = 0; s < 2; s++) {
        const double lsp = r.nsPerItem(runName("BM_LspCompressor", s, -1, block));
        const double heavy = r.nsPerItem(runName("BM_ProcessReplacing", s, 3, block));
        if (lsp > 0 && heavy > 0)
            std::printf("%-6s %-7s %10.2f %10.2f %8.2fx\n", kSignalNames[s], "", lsp, heavy,
                        lsp / heavy);
    }
}

} // namespace

BENCHMARK(BM_StereoCopy)->ArgName("block")->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_Effect<false>)->Name("BM_ProcessReplacing")->Apply(signalsProgramsAndBlocks);
BENCHMARK(BM_Effect<true>)->Name("BM_Process")->Apply(sinesProgramsAndBlocks);
BENCHMARK(BM_Reference)->Apply(signalsProgramsAndBlocks);
BENCHMARK(BM_LspCompressor)->ArgNames({"signal", "block"})->ArgsProduct({{0, 1}, {64, 512, 4096}});
BENCHMARK(BM_ColdStart);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
