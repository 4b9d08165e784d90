// The bass editor's full draw (what the first draw after opening costs:
// background, three sliders through their offscreen pictures, three
// displays, the kick button) beside a plain copy of the same 340 x 262 x 4
// bytes. The effect lives in this process; the program carries the skin.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "addon/BassEditorMaker.h"
#include "editor/ZeltoBassEditor.h"
#include "effect/ZeltoBass.h"
#include "host/driver/addon/RealtimeHost.h"
#include "platform/backends/headless/HeadlessHost.h"

namespace {

void BM_EditorFullDraw(benchmark::State& state)
{
    ZeltoBass effect(RealtimeHost::callback, &headlessBassEditor());
    HeadlessHost window(340, 262);
    AEffect* record = effect.getAeffect();
    record->dispatcher(record, effSetProgram, 0, 3, nullptr, 0);
    if (record->dispatcher(record, effEditOpen, 0, 0, window.record(), 0) != 1) {
        state.SkipWithError("the editor did not open");
        return;
    }
    auto* editor = static_cast<ZeltoBassEditor*>(effect.getEditor());
    for (auto _ : state)
        editor->draw(nullptr); // a full redraw under the window lock
    window.endInput();
    record->dispatcher(record, effEditClose, 0, 0, nullptr, 0);
}

void BM_EditorMemcpy(benchmark::State& state)
{
    std::vector<unsigned char> from(340 * 262 * 4, 7), to(340 * 262 * 4);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_EditorFullDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditorMemcpy)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
