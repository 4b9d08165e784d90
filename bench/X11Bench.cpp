// The Linux-host add-on's editor on the X server of $DISPLAY: opcode 14 to
// the first whole frame on the server, one idle that redraws a moved slider
// and its display until the server shows it, each through MIT-SHM and plain
// put-image, beside a 340 x 262 x 4-byte copy; one full frame of either
// upload from a client of our own; and the processor time an open,
// untouched editor takes while a host idles it at 25 Hz for 10 s. Nothing
// runs without DISPLAY.
#include <benchmark/benchmark.h>
#include <sys/ipc.h>
#include <sys/resource.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "HostedEffect.h"
#include "XDisplay.h"
#include "tests/support/Picture.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 340;
constexpr int kHeight = 262;
constexpr int32_t kCompressor = 2;
constexpr size_t kFrameBytes = size_t{kWidth} * kHeight * 4;

const AddOn& linuxHostAddOn()
{
    static const std::unique_ptr<AddOn> addOn = [] {
        auto loaded = std::make_unique<AddOn>();
        std::string error;
        if (!loaded->load(WOBRIX_HOSTS_ADDON, error))
            std::fprintf(stderr, "x11_bench: %s\n", error.c_str());
        return loaded;
    }();
    return *addOn;
}

const std::vector<uint8_t>& goldenBgra()
{
    static const std::vector<uint8_t> bytes = [] {
        const Picture p = readPng(std::filesystem::path(WOBRIX_GOLDEN_DIR) / "editor-p0.png");
        std::vector<uint8_t> out;
        for (uint32_t rgb : p.rgb)
            for (int shift : {0, 8, 16, 24})
                out.push_back(shift == 24 ? 0 : static_cast<uint8_t>(rgb >> shift));
        return out;
    }();
    return bytes;
}

// The server's pixels of `window`, pad bytes cleared.
std::vector<uint8_t> shown(XDisplay& x, xcb_window_t window)
{
    std::vector<uint8_t> pixels = x.pixels(window, 0, 0, kWidth, kHeight);
    for (size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 0;
    return pixels;
}

// WOBRIX_X11_NO_SHM for the next open: the back end reads it at each open.
void chooseUpload(bool plain)
{
    if (plain)
        setenv("WOBRIX_X11_NO_SHM", "1", 1);
    else
        unsetenv("WOBRIX_X11_NO_SHM");
}

struct Session {
    XDisplay x;
    xcb_window_t parent = 0;
    bool connect(benchmark::State& state)
    {
        if (!x.connect()) {
            state.SkipWithError("no X server with XTest at $DISPLAY");
            return false;
        }
        parent = x.makeParent(0, 0);
        return true;
    }
    xcb_window_t ours()
    {
        const std::vector<xcb_window_t> kids = x.children(parent);
        return kids.empty() ? 0 : kids.front();
    }
    // Idles as often as it looks until the server shows `want`.
    bool idleUntil(HostedEffect& fx, const std::vector<uint8_t>& want)
    {
        const auto until = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < until) {
            fx.idle();
            if (shown(x, ours()) == want)
                return true;
        }
        return false;
    }
};

void BM_OpenToFirstFrame(benchmark::State& state, bool plain)
{
    Session s;
    if (!s.connect(state))
        return;
    chooseUpload(plain);
    HostedEffect fx(linuxHostAddOn());
    for (auto _ : state) {
        const auto start = Clock::now();
        if (fx.open(s.parent) != 1 || !s.idleUntil(fx, goldenBgra())) {
            state.SkipWithError("the editor never showed its first frame");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        fx.close();
    }
    unsetenv("WOBRIX_X11_NO_SHM");
}

// setParameter moves the compressor between 0 and 1 (not timed); the idle
// then draws the slider and its display and uploads them, and the time ends
// when the server shows a pixel that differs between the two.
void BM_IdleMovedSlider(benchmark::State& state, bool plain)
{
    Session s;
    if (!s.connect(state))
        return;
    chooseUpload(plain);
    HostedEffect fx(linuxHostAddOn());
    if (fx.open(s.parent) != 1 || !s.idleUntil(fx, goldenBgra())) {
        state.SkipWithError("the editor never showed its first frame");
        return;
    }
    unsetenv("WOBRIX_X11_NO_SHM");
    fx.setParameter(kCompressor, 1.0f);
    std::vector<uint8_t> top;
    for (int i = 0; i < 50 && (top.empty() || top == goldenBgra()); ++i) {
        fx.idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        top = shown(s.x, s.ours());
    }
    size_t at = 0;
    while (at < top.size() && top[at] == goldenBgra()[at])
        ++at;
    if (at == top.size()) {
        state.SkipWithError("the moved slider never showed");
        return;
    }
    const auto px = static_cast<int16_t>(at / 4 % kWidth);
    const auto py = static_cast<int16_t>(at / 4 / kWidth);
    const uint8_t colour[2] = {goldenBgra()[at], top[at]};
    bool up = true;
    for (auto _ : state) {
        up = !up;
        fx.setParameter(kCompressor, up ? 1.0f : 0.0f);
        const auto start = Clock::now();
        fx.idle();
        for (int looks = 1;; ++looks) {
            const std::vector<uint8_t> p = s.x.pixels(s.ours(), px, py, 1, 1);
            if (p.size() == 4 && p[at % 4] == colour[up ? 1 : 0])
                break;
            // The window thread held the lock at that idle; a host idles again.
            if (looks % 64 == 0)
                fx.idle();
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}

// One whole frame from a client of our own, each way, and the round trip
// that shows the server has it.
void BM_FullFrameUpload(benchmark::State& state, bool plain)
{
    Session s;
    if (!s.connect(state))
        return;
    xcb_connection_t* c = s.x.connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, s.parent, 0, nullptr);
    std::vector<uint8_t> frame(goldenBgra());
    uint32_t segment = 0;
    void* shared = nullptr;
    if (!plain) {
        const int id = shmget(IPC_PRIVATE, kFrameBytes, IPC_CREAT | 0600);
        shared = id >= 0 ? shmat(id, nullptr, 0) : reinterpret_cast<void*>(-1);
        if (shared != reinterpret_cast<void*>(-1)) {
            std::memcpy(shared, frame.data(), kFrameBytes);
            segment = xcb_generate_id(c);
            xcb_shm_attach(c, segment, static_cast<uint32_t>(id), 1);
            s.x.sync();
        }
        if (id >= 0)
            shmctl(id, IPC_RMID, nullptr);
        if (segment == 0) {
            state.SkipWithError("no MIT-SHM segment");
            return;
        }
    }
    for (auto _ : state) {
        if (segment != 0)
            xcb_shm_put_image(c, s.parent, gc, kWidth, kHeight, 0, 0, kWidth, kHeight, 0, 0,
                              screen->root_depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment, 0);
        else
            xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, s.parent, gc, kWidth, kHeight, 0, 0, 0,
                          screen->root_depth, static_cast<uint32_t>(kFrameBytes), frame.data());
        s.x.sync();
    }
    if (segment != 0) {
        xcb_shm_detach(c, segment);
        s.x.sync();
        shmdt(shared);
    }
    xcb_free_gc(c, gc);
}

void BM_FrameMemcpy(benchmark::State& state)
{
    std::vector<unsigned char> from(kFrameBytes, 7), to(kFrameBytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

double processorSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return static_cast<double>(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           static_cast<double>(use.ru_utime.tv_usec + use.ru_stime.tv_usec) * 1e-6;
}

// The whole process while it only idles the open editor at 25 Hz: the
// share of one core, in percent.
void BM_UntouchedEditorProcessor(benchmark::State& state)
{
    Session s;
    if (!s.connect(state))
        return;
    HostedEffect fx(linuxHostAddOn());
    if (fx.open(s.parent) != 1 || !s.idleUntil(fx, goldenBgra())) {
        state.SkipWithError("the editor never showed its first frame");
        return;
    }
    double percent = 0;
    for (auto _ : state) {
        const double before = processorSeconds();
        const auto start = Clock::now();
        auto next = start;
        for (int i = 0; i < 250; ++i) { // 10 s
            next += std::chrono::milliseconds(40);
            fx.idle();
            std::this_thread::sleep_until(next);
        }
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        percent = 100.0 * (processorSeconds() - before) / wall;
    }
    state.counters["core_percent"] = percent;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (std::getenv("DISPLAY") == nullptr) {
        std::printf("x11_bench: DISPLAY is not set; nothing measured\n");
        return 0;
    }
    for (auto [name, plain] : {std::pair{"shm", false}, std::pair{"plain", true}}) {
        benchmark::RegisterBenchmark((std::string("BM_OpenToFirstFrame/") + name).c_str(),
                                     BM_OpenToFirstFrame, plain)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_IdleMovedSlider/") + name).c_str(),
                                     BM_IdleMovedSlider, plain)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("BM_FullFrameUpload/") + name).c_str(),
                                     BM_FullFrameUpload, plain)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("BM_FrameMemcpy", BM_FrameMemcpy)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_UntouchedEditorProcessor", BM_UntouchedEditorProcessor)
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kSecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
