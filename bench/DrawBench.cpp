// Costs of the toolkit's drawing: the whole skin background blitted beside a
// plain memcpy of the same bytes, a transparent handle, one short string, and
// the first resource load (find the file, read the container, decode four
// pictures). The program carries the skin in its own resources.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "platform/api/Bitmap.h"
#include "platform/api/Rect.h"
#include "platform/api/View.h"

namespace {

constexpr int kWidth = 340;
constexpr int kHeight = 262;

struct Screen {
    BBitmap picture{BRect(0, 0, kWidth - 1, kHeight - 1), B_RGB32, true};
    BView* view = new BView(picture.Bounds(), "screen", 0, 0);
    Screen()
    {
        picture.Lock();
        picture.AddChild(view);
    }
};

void BM_SkinBlit(benchmark::State& state)
{
    Screen screen;
    CBitmap* background = new CBitmap(128);
    CDrawContext context(nullptr, screen.view, nullptr);
    CRect whole{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        background->draw(&context, whole, CPoint{});
        screen.view->Sync();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
    background->forget();
    CBitmap::closeResource();
}

void BM_SkinMemcpy(benchmark::State& state)
{
    std::vector<uint8_t> from(kWidth * kHeight * 4, 1), to(kWidth * kHeight * 4);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}

void BM_DrawTransparentHandle(benchmark::State& state)
{
    Screen screen;
    CBitmap* handle = new CBitmap(130);
    CDrawContext context(nullptr, screen.view, nullptr);
    CRect place{53, 100, 53 + handle->getWidth(), 100 + handle->getHeight()};
    for (auto _ : state) {
        handle->drawTransparent(&context, place, CPoint{});
        screen.view->Sync();
        benchmark::ClobberMemory();
    }
    handle->forget();
    CBitmap::closeResource();
}

void BM_DrawString(benchmark::State& state)
{
    Screen screen;
    CDrawContext context(nullptr, screen.view, nullptr);
    context.setFont(6, 0);
    context.setFontColor(colorWhite);
    CRect box{52, 197, 77, 210};
    for (auto _ : state) {
        context.drawString("-40", box, false, kCenterText);
        screen.view->Sync();
        benchmark::ClobberMemory();
    }
}

void BM_FirstResourceLoad(benchmark::State& state)
{
    for (auto _ : state) {
        CBitmap::closeResource();
        CBitmap* pictures[] = {new CBitmap(128), new CBitmap(129), new CBitmap(130),
                               new CBitmap(131)};
        for (CBitmap* b : pictures) {
            benchmark::DoNotOptimize(b->getWidth());
            b->forget();
        }
    }
    CBitmap::closeResource();
}

} // namespace

BENCHMARK(BM_SkinBlit);
BENCHMARK(BM_SkinMemcpy);
BENCHMARK(BM_DrawTransparentHandle);
BENCHMARK(BM_DrawString);
BENCHMARK(BM_FirstResourceLoad)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
