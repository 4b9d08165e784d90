// The LV2 editor's binary in a small in-tree UI host: dlopen, a parent
// window on the X display as ui:parent, and every write_function, touch and
// resize recorded. The editor must show what our own hosts' add-on draws
// headless for the same values, tell the host each edit (a drag as one
// gesture, a random patch as port writes), never echo port_event, and come
// and go without X errors or leftovers.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "HostedEffect.h"
#include "XDisplay.h"
#include "addon/lv2/Lv2Ports.h"
#include "platform/backends/headless/HeadlessHost.h"
#include "tests/support/Picture.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 340;
constexpr int kHeight = 262;
constexpr int16_t kParentX = 20;
constexpr int16_t kParentY = 20;
constexpr int kCompSliderX = 245;
constexpr int kSliderBottom = 184;
constexpr int kKickX = 300;
constexpr int kKickY = 22;

// One call the UI made to its host.
struct Call {
    enum Kind { Write, Touch, Resize } kind;
    uint32_t port;
    float value; // written value, 1/0 for a touch, width for a resize
    bool operator==(const Call&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Call& c)
{
    return out << (c.kind == Call::Write   ? "write"
                   : c.kind == Call::Touch ? "touch"
                                           : "resize")
               << "(" << c.port << ", " << c.value << ")";
}

struct UiHost {
    std::vector<Call> calls;

    static void write(LV2UI_Controller self, uint32_t port, uint32_t size, uint32_t format,
                      const void* buffer)
    {
        EXPECT_EQ(size, sizeof(float));
        EXPECT_EQ(format, 0u);
        static_cast<UiHost*>(self)->calls.push_back(
            {Call::Write, port, *static_cast<const float*>(buffer)});
    }
    static void touch(LV2UI_Feature_Handle self, uint32_t port, bool grabbed)
    {
        static_cast<UiHost*>(self)->calls.push_back({Call::Touch, port, grabbed ? 1.0f : 0.0f});
    }
    static int resize(LV2UI_Feature_Handle self, int width, int height)
    {
        static_cast<UiHost*>(self)->calls.push_back(
            {Call::Resize, static_cast<uint32_t>(height), static_cast<float>(width)});
        return 0;
    }
    std::vector<Call> writes() const
    {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.kind == Call::Write)
                out.push_back(c);
        return out;
    }
};

const LV2UI_Descriptor* descriptor()
{
    static void* binary = dlopen(WOBRIX_LV2_BUNDLE "/WobrixFree_ui.so", RTLD_NOW | RTLD_LOCAL);
    if (binary == nullptr)
        return nullptr;
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(binary, "lv2ui_descriptor"));
    return entry != nullptr ? entry(0) : nullptr;
}

// Our own hosts' add-on, drawn headless with the given control values.
Picture headless(std::vector<std::pair<uint32_t, float>> values)
{
    AddOn addOn;
    std::string error;
    EXPECT_TRUE(addOn.load(WOBRIX_ADDON, error)) << error;
    HostedEffect fx(addOn);
    for (auto [port, value] : values)
        fx.setParameter(kLv2Ports[port].parameter, value);
    std::vector<uint8_t> pixels;
    HeadlessHost window(kWidth, kHeight);
    EXPECT_EQ(fx.dispatch(effEditOpen, 0, 0, window.record()), 1);
    EXPECT_TRUE(window.redraw(5000000));
    fx.idle();
    EXPECT_TRUE(window.copyPixels(&pixels, 5000000));
    window.endInput();
    fx.close();
    return pictureOfBgra(pixels, kWidth, kHeight);
}

// Each pixel an N x N block.
Picture enlarged(const Picture& p, int n)
{
    Picture out{p.width * n, p.height * n, {}};
    out.rgb.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.rgb[static_cast<size_t>(y * out.width + x)] = p.at(x / n, y / n);
    return out;
}

int openFiles()
{
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                          std::filesystem::directory_iterator()));
}

class Lv2Ui : public ::testing::Test {
protected:
    // The record add-on and the UI binary each carry the platform, and each
    // starts fontconfig once; the add-on's first start is done here, its
    // thread joined, before any UI draws, so the two never start it at once.
    static void SetUpTestSuite()
    {
        if (std::getenv("DISPLAY") != nullptr)
            headless({});
    }
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display (DISPLAY is not set)";
        ASSERT_TRUE(x.connect());
        ASSERT_NE(descriptor(), nullptr) << dlerror();
        parent = x.makeParent(kParentX, kParentY);
    }
    void TearDown() override
    {
        if (ui != nullptr)
            descriptor()->cleanup(ui);
        if (x.connection() != nullptr) {
            x.releaseButton();
            x.movePointer(1000, 700);
            EXPECT_EQ(x.errors(), 0);
        }
    }

    // factor > 0: the host's ui:scaleFactor, through options and urid:map.
    LV2UI_Handle instantiate(float factor = 0.0f)
    {
        const LV2_Feature parentFeature{LV2_UI__parent,
                                        reinterpret_cast<void*>(static_cast<uintptr_t>(parent))};
        const LV2_Feature touchFeature{LV2_UI__touch, &touch};
        const LV2_Feature resizeFeature{LV2_UI__resize, &resize};
        const LV2_Feature idleFeature{LV2_UI__idleInterface, nullptr};
        const LV2_Feature mapFeature{LV2_URID__map, &map};
        const LV2_Options_Option options[] = {{LV2_OPTIONS_INSTANCE, 0, urid(LV2_UI__scaleFactor),
                                               sizeof factor, urid(LV2_ATOM__Float), &factor},
                                              {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
        const LV2_Feature optionsFeature{LV2_OPTIONS__options,
                                         const_cast<LV2_Options_Option*>(options)};
        const LV2_Feature* features[] = {&parentFeature,
                                         &touchFeature,
                                         &resizeFeature,
                                         &idleFeature,
                                         factor > 0 ? &mapFeature : nullptr,
                                         &optionsFeature,
                                         nullptr};
        LV2UI_Widget widget = nullptr;
        LV2UI_Handle handle =
            descriptor()->instantiate(descriptor(), kLv2PluginUri, WOBRIX_LV2_BUNDLE, UiHost::write,
                                      &host, &widget, features);
        if (handle != nullptr) {
            widgetId = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(widget));
            idleInterface = static_cast<const LV2UI_Idle_Interface*>(
                descriptor()->extension_data(LV2_UI__idleInterface));
        }
        return handle;
    }
    void idle()
    {
        ASSERT_NE(idleInterface, nullptr);
        EXPECT_EQ(idleInterface->idle(ui), 0);
    }
    void portEvent(uint32_t port, float value)
    {
        descriptor()->port_event(ui, port, sizeof value, 0, &value);
    }
    Picture shown()
    {
        return pictureOfBgra(x.pixels(widgetId, 0, 0, kWidth, kHeight), kWidth, kHeight);
    }
    // Idles at a host's pace (25 Hz) until `done`, for at most ten seconds.
    bool idleUntil(const std::function<bool()>& done)
    {
        const auto until = Clock::now() + 10s;
        while (!done()) {
            if (Clock::now() > until)
                return false;
            idle();
            std::this_thread::sleep_for(40ms);
        }
        return true;
    }
    bool idleUntilShown(const Picture& want)
    {
        return idleUntil([&] { return shown().rgb == want.rgb; });
    }
    void moveTo(int wx, int wy)
    {
        x.movePointer(static_cast<int16_t>(kParentX + wx), static_cast<int16_t>(kParentY + wy));
    }
    // Presses the compressor's handle (at 0, the bottom) and moves it up.
    void grabCompressor(int rise)
    {
        moveTo(kCompSliderX, kSliderBottom - 4);
        x.pressButton();
        for (int step = 1; step <= 8; ++step) {
            moveTo(kCompSliderX, kSliderBottom - 4 - rise * step / 8);
            std::this_thread::sleep_for(15ms);
        }
    }

    XDisplay x;
    xcb_window_t parent = 0;
    UiHost host;
    // Features the UI keeps for its life.
    LV2UI_Touch touch{&host, UiHost::touch};
    LV2UI_Resize resize{&host, UiHost::resize};
    std::map<std::string, LV2_URID> urids;
    static LV2_URID urid(LV2_URID_Map_Handle self, const char* uri)
    {
        auto& known = *static_cast<std::map<std::string, LV2_URID>*>(self);
        return known.emplace(uri, static_cast<LV2_URID>(known.size() + 1)).first->second;
    }
    LV2_URID urid(const char* uri) { return urid(&urids, uri); }
    LV2_URID_Map map{&urids, urid};
    LV2UI_Handle ui = nullptr;
    uint32_t widgetId = 0;
    const LV2UI_Idle_Interface* idleInterface = nullptr;
};

TEST_F(Lv2Ui, OpensAsTheParentsChildAtItsSizeAndShowsTheHeadlessPicture)
{
    ui = instantiate();
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(x.children(parent), std::vector<xcb_window_t>{widgetId});
    int width = 0, height = 0;
    x.size(widgetId, &width, &height);
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    EXPECT_EQ(host.calls, (std::vector<Call>{{Call::Resize, kHeight, kWidth}}));
    EXPECT_TRUE(idleUntilShown(headless({})));
}

TEST_F(Lv2Ui, TheHostsScaleFactorShowsEachPixelAsABlock)
{
    x.destroy(parent); // a host grows its window as ui:resize asks
    parent = x.makeParent(kParentX, kParentY, 2 * kWidth, 2 * kHeight);
    ui = instantiate(1.8f); // the nearest whole number
    ASSERT_NE(ui, nullptr);
    int width = 0, height = 0;
    x.size(widgetId, &width, &height);
    EXPECT_EQ(width, 2 * kWidth);
    EXPECT_EQ(height, 2 * kHeight);
    EXPECT_EQ(host.calls, (std::vector<Call>{{Call::Resize, 2 * kHeight, 2 * kWidth}}));
    const Picture want = enlarged(headless({}), 2);
    EXPECT_TRUE(idleUntil([&] {
        return pictureOfBgra(x.pixels(widgetId, 0, 0, 2 * kWidth, 2 * kHeight), 2 * kWidth,
                             2 * kHeight)
                   .rgb == want.rgb;
    }));
}

TEST_F(Lv2Ui, PortEventMovesTheSliderAndIsNeverWrittenBack)
{
    ui = instantiate();
    ASSERT_NE(ui, nullptr);
    portEvent(kPortMix, 0.3f);
    portEvent(kPortComp, 0.99f);
    portEvent(kPortEnabled, 0.0f); // not the editor's
    EXPECT_TRUE(idleUntilShown(headless({{kPortMix, 0.3f}, {kPortComp, 0.99f}})));
    EXPECT_TRUE(host.writes().empty());
}

TEST_F(Lv2Ui, ASliderDragIsOneGestureOfWritesInRange)
{
    ui = instantiate();
    ASSERT_NE(ui, nullptr);
    ASSERT_TRUE(idleUntilShown(headless({})));
    host.calls.clear();
    grabCompressor(200); // past the top
    ASSERT_TRUE(idleUntil([&] { return !host.writes().empty(); }));
    x.releaseButton();
    ASSERT_TRUE(idleUntil([&] { return host.calls.back().kind == Call::Touch; }));
    ASSERT_GE(host.calls.size(), 3u);
    EXPECT_EQ(host.calls.front(), (Call{Call::Touch, kPortComp, 1.0f}));
    EXPECT_EQ(host.calls.back(), (Call{Call::Touch, kPortComp, 0.0f}));
    for (size_t i = 1; i + 1 < host.calls.size(); ++i) {
        EXPECT_EQ(host.calls[i].kind, Call::Write) << host.calls[i];
        EXPECT_EQ(host.calls[i].port, kPortComp);
        EXPECT_GE(host.calls[i].value, 0.0f);
        EXPECT_LE(host.calls[i].value, kLv2Ports[kPortComp].maximum);
    }
    EXPECT_EQ(host.calls[host.calls.size() - 2].value, kLv2Ports[kPortComp].maximum);
    EXPECT_TRUE(idleUntilShown(headless({{kPortComp, kLv2Ports[kPortComp].maximum}})));
}

TEST_F(Lv2Ui, AKickClickWritesARandomPatchTheHostRecords)
{
    ui = instantiate();
    ASSERT_NE(ui, nullptr);
    ASSERT_TRUE(idleUntilShown(headless({})));
    host.calls.clear();
    moveTo(kKickX, kKickY);
    x.pressButton();
    std::this_thread::sleep_for(50ms);
    x.releaseButton();
    ASSERT_TRUE(idleUntil([&] { return host.writes().size() >= 3; }));
    idle();
    std::vector<std::pair<uint32_t, float>> patch;
    for (const Call& w : host.writes()) {
        EXPECT_GE(w.value, kLv2Ports[w.port].minimum) << w;
        EXPECT_LE(w.value, kLv2Ports[w.port].maximum) << w;
        patch.emplace_back(w.port, w.value);
    }
    ASSERT_EQ(patch.size(), 3u);
    EXPECT_EQ(host.calls.size(), 9u); // each write inside its own touch
    EXPECT_TRUE(idleUntilShown(headless(patch)));
}

// Faults a host brings; each must leave the host's connection free of X
// errors (TearDown) and return promptly.
TEST_F(Lv2Ui, ClosingWhileASliderIsHeldEndsTheGesture)
{
    ui = instantiate();
    ASSERT_NE(ui, nullptr);
    ASSERT_TRUE(idleUntilShown(headless({})));
    grabCompressor(40);
    ASSERT_TRUE(idleUntil([&] { return !host.writes().empty(); }));
    const auto start = Clock::now();
    descriptor()->cleanup(ui);
    ui = nullptr;
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_EQ(host.calls.back(), (Call{Call::Touch, kPortComp, 0.0f}));
    EXPECT_TRUE(x.children(parent).empty());
}

TEST_F(Lv2Ui, TheHostsWindowGoingFirstLeavesTheUiQuiet)
{
    ui = instantiate();
    ASSERT_NE(ui, nullptr);
    ASSERT_TRUE(idleUntilShown(headless({})));
    x.destroy(parent);
    for (int i = 0; i < 5; ++i) {
        portEvent(kPortMix, i % 2 ? 1.0f : 0.0f);
        idle();
        std::this_thread::sleep_for(40ms);
    }
    descriptor()->cleanup(ui);
    ui = nullptr;
}

TEST_F(Lv2Ui, FiftyOpenCloseCyclesLeaveNothingBehind)
{
    ui = instantiate(); // what the first open sets up for good is no leak
    ASSERT_NE(ui, nullptr);
    idle();
    descriptor()->cleanup(ui);
    ui = nullptr;
    const int files = openFiles();
    for (int i = 0; i < 50; ++i) {
        ui = instantiate();
        ASSERT_NE(ui, nullptr) << "cycle " << i;
        idle();
        descriptor()->cleanup(ui);
        ui = nullptr;
    }
    EXPECT_TRUE(x.children(parent).empty());
    EXPECT_EQ(openFiles(), files);
}

TEST_F(Lv2Ui, RefusesAnotherPluginsUri)
{
    LV2UI_Widget widget = nullptr;
    const LV2_Feature* none[] = {nullptr};
    EXPECT_EQ(descriptor()->instantiate(descriptor(), "urn:other", WOBRIX_LV2_BUNDLE, UiHost::write,
                                        &host, &widget, none),
              nullptr);
}

} // namespace
