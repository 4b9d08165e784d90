// The LV2 plug-in through a minimal loader: the same sound as the record
// add-on at any block pattern, the factory presets read back by lilv, buffer
// aliasing, the bypass fade, careless control values, and run() without a
// single allocation.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/presets/presets.h>

#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Lv2Loader.h"
#include "MallocCounter.h"
#include "addon/lv2/Lv2Ports.h"
#include "bench/BenchSignal.h"
#include "effect/BassBlock.h"
#include "host/driver/addon/AddOn.h"
#include "support/HostCalls.h"

namespace {

constexpr double kRate = 48000.0;
const std::string kBundle = WOBRIX_LV2_BUNDLE;

struct Stereo {
    std::vector<float> l, r;
};

// Two strikes of the benchmarks' bass notes, loud enough to reach the
// compressor and the clip, then a quiet tail.
Stereo testSignal()
{
    const BenchSignal s = bassSignal();
    Stereo x;
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < s.left.size(); ++i) {
            const float gain = pass == 0 ? 1.6f : 0.05f;
            x.l.push_back(gain * s.left[i]);
            x.r.push_back(gain * s.right[i]);
        }
    return x;
}

using Controls = std::map<uint32_t, float>; // port index → value

// The record add-on as `wobrix-host process` drives it: program, values,
// rate and block size, resume, then blocks of 512.
class RecordEffect {
public:
    RecordEffect()
    {
        // Kept loaded for the whole run: pixman, which the add-on's Cairo
        // pulls in, allocates when it loads, and unloading it would leave
        // those blocks unreachable, as LeakSanitizer reports.
        static void* const pinned = dlopen(WOBRIX_HOSTS_ADDON, RTLD_NOW | RTLD_NODELETE);
        (void)pinned;
        std::string error;
        if (!addOn.load(WOBRIX_HOSTS_ADDON, error))
            throw std::runtime_error(error);
        fx = openEffect(host, addOn.entry());
        if (!fx)
            throw std::runtime_error("the record add-on answered null");
    }
    ~RecordEffect() { fx->dispatcher(fx, effClose, 0, 0, nullptr, 0.0f); }

    void program(int32_t n) { fx->dispatcher(fx, effSetProgram, 0, n, nullptr, 0.0f); }
    float parameter(int32_t i) { return fx->getParameter(fx, i); }
    std::string programName(int32_t n)
    {
        char text[64] = {};
        fx->dispatcher(fx, effGetProgramNameIndexed, n, 0, text, 0.0f);
        return text;
    }

    Stereo render(int32_t programNumber, const Controls& sets, const Stereo& x)
    {
        program(programNumber);
        for (const auto& [port, value] : sets)
            fx->setParameter(fx, kLv2Ports[port].parameter, value);
        fx->dispatcher(fx, effMainsChanged, 0, 0, nullptr, 0.0f);
        fx->dispatcher(fx, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
        fx->dispatcher(fx, effSetBlockSize, 0, 512, nullptr, 0.0f);
        fx->dispatcher(fx, effMainsChanged, 0, 1, nullptr, 0.0f);
        Stereo y{std::vector<float>(x.l.size()), std::vector<float>(x.l.size())};
        for (size_t at = 0; at < x.l.size(); at += 512) {
            const auto n = static_cast<int32_t>(std::min<size_t>(512, x.l.size() - at));
            std::vector<float> inL(x.l.begin() + at, x.l.begin() + at + n);
            std::vector<float> inR(x.r.begin() + at, x.r.begin() + at + n);
            float* in[2] = {inL.data(), inR.data()};
            float* out[2] = {y.l.data() + at, y.r.data() + at};
            fx->processReplacing(fx, in, out, n);
        }
        return y;
    }

private:
    AddOn addOn;
    HostRecorder host;
    AEffect* fx = nullptr;
};

class Lv2Bundle : public ::testing::Test {
protected:
    Lv2Binary binary{kBundle + "/" + kLv2BinaryName};
    const LV2_Descriptor* desc = binary.descriptor(0);

    // Renders through a fresh instance with separate buffers as a host
    // holds them, block lengths taken in turn from `blocks`.
    Stereo render(const Controls& controls, const Stereo& x, const std::vector<uint32_t>& blocks)
    {
        Lv2Instance plugin(desc, kRate, kBundle);
        std::vector<float> ports(kNumLv2Ports);
        ports[kPortMix] = 1.0f;
        ports[kPortEnabled] = 1.0f;
        for (const auto& [port, value] : controls)
            ports[port] = value;
        for (uint32_t i = kFirstLv2Control; i <= kPortEnabled; ++i)
            plugin.connect(i, &ports[i]);
        Stereo y{std::vector<float>(x.l.size()), std::vector<float>(x.l.size())};
        std::vector<float> inL(4096), inR(4096), outL(4096), outR(4096);
        plugin.connect(kPortInL, inL.data());
        plugin.connect(kPortInR, inR.data());
        plugin.connect(kPortOutL, outL.data());
        plugin.connect(kPortOutR, outR.data());
        size_t at = 0;
        for (size_t b = 0; at < x.l.size(); ++b) {
            const size_t n = std::min<size_t>(blocks[b % blocks.size()], x.l.size() - at);
            std::copy_n(x.l.begin() + at, n, inL.begin());
            std::copy_n(x.r.begin() + at, n, inR.begin());
            plugin.run(static_cast<uint32_t>(n));
            std::copy_n(outL.begin(), n, y.l.begin() + at);
            std::copy_n(outR.begin(), n, y.r.begin() + at);
            at += n;
        }
        return y;
    }
};

struct Preset {
    std::string label;
    Controls values;
};

// The bundle's presets as a host finds them: lilv, from the manifest.
std::vector<Preset> presetsByLilv()
{
    LilvWorld* world = lilv_world_new();
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, (kBundle + "/").c_str());
    lilv_world_load_bundle(world, bundle);
    LilvNode* uri = lilv_new_uri(world, kLv2PluginUri);
    LilvNode* presetClass = lilv_new_uri(world, LV2_PRESETS__Preset);
    LilvNode* label = lilv_new_uri(world, LILV_NS_RDFS "label");
    LilvNode* port = lilv_new_uri(world, LV2_CORE__port);
    LilvNode* symbol = lilv_new_uri(world, LV2_CORE__symbol);
    LilvNode* value = lilv_new_uri(world, LV2_PRESETS__value);
    std::vector<Preset> found;
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    if (plugin) {
        LilvNodes* presets = lilv_plugin_get_related(plugin, presetClass);
        LILV_FOREACH(nodes, i, presets)
        {
            const LilvNode* p = lilv_nodes_get(presets, i);
            lilv_world_load_resource(world, p);
            Preset preset;
            LilvNode* text = lilv_world_get(world, p, label, nullptr);
            preset.label = text ? lilv_node_as_string(text) : "";
            lilv_node_free(text);
            LilvNodes* ports = lilv_world_find_nodes(world, p, port, nullptr);
            LILV_FOREACH(nodes, j, ports)
            {
                LilvNode* s = lilv_world_get(world, lilv_nodes_get(ports, j), symbol, nullptr);
                LilvNode* v = lilv_world_get(world, lilv_nodes_get(ports, j), value, nullptr);
                for (uint32_t k = 0; k < kNumLv2Ports; ++k)
                    if (s && v && std::string(lilv_node_as_string(s)) == kLv2Ports[k].symbol)
                        preset.values[k] = lilv_node_as_float(v);
                lilv_node_free(s);
                lilv_node_free(v);
            }
            lilv_nodes_free(ports);
            found.push_back(preset);
        }
        lilv_nodes_free(presets);
    }
    for (LilvNode* n : {bundle, uri, presetClass, label, port, symbol, value})
        lilv_node_free(n);
    lilv_world_free(world);
    return found;
}

void expectSameSamples(const Stereo& a, const Stereo& b, const std::string& what)
{
    ASSERT_EQ(a.l.size(), b.l.size());
    for (size_t i = 0; i < a.l.size(); ++i)
        if (a.l[i] != b.l[i] || a.r[i] != b.r[i]) {
            ADD_FAILURE() << what << ": first difference at frame " << i << ": " << a.l[i] << "/"
                          << a.r[i] << " against " << b.l[i] << "/" << b.r[i];
            return;
        }
}

const std::vector<std::vector<uint32_t>> kBlockPatterns = {
    {1}, {64}, {512}, {4096}, {7, 333, 1021, 1, 4095, 100}};

} // namespace

TEST_F(Lv2Bundle, DescriptorAnswersOnlyIndexZeroAndRefusesUnusableRates)
{
    ASSERT_NE(desc, nullptr);
    EXPECT_STREQ(desc->URI, kLv2PluginUri);
    EXPECT_EQ(binary.descriptor(1), nullptr);
    EXPECT_EQ(binary.descriptor(0xffffffffu), nullptr);
    const LV2_Feature* none[] = {nullptr};
    for (const double rate : {0.0, -48000.0, std::nan(""), HUGE_VAL})
        EXPECT_EQ(desc->instantiate(desc, rate, kBundle.c_str(), none), nullptr) << rate;
}

// Each factory preset's label and values, as lilv reads them, are the
// record add-on's program, float for float; rendered, it sounds the same.
TEST_F(Lv2Bundle, FactoryPresetsAreTheProgramsAndSoundLikeThem)
{
    RecordEffect record;
    const std::vector<Preset> presets = presetsByLilv();
    ASSERT_EQ(presets.size(), static_cast<size_t>(kNumPrograms));
    const Stereo x = testSignal();
    int matched = 0;
    for (int32_t n = 0; n < kNumPrograms; ++n) {
        const std::string name = record.programName(n);
        for (const Preset& p : presets) {
            if (p.label != name)
                continue;
            ++matched;
            record.program(n);
            ASSERT_EQ(p.values.size(), static_cast<size_t>(kNumLv2Controls)) << name;
            for (const auto& [port, value] : p.values)
                EXPECT_EQ(value, record.parameter(kLv2Ports[port].parameter))
                    << name << " " << kLv2Ports[port].symbol;
            expectSameSamples(render(p.values, x, {512}), record.render(n, {}, x), name);
        }
    }
    EXPECT_EQ(matched, kNumPrograms);
}

// Program values and random ones, each at every block pattern, against the
// record add-on at 512.
TEST_F(Lv2Bundle, RendersEqualTheRecordAddOnAtAnyBlockPattern)
{
    RecordEffect record;
    const Stereo x = testSignal();
    std::mt19937 random(21);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<std::pair<int32_t, Controls>> cases;
    for (int32_t n = 0; n < kNumPrograms; ++n) {
        record.program(n);
        Controls c;
        for (uint32_t i = kFirstLv2Control; i < kPortEnabled; ++i)
            c[i] = record.parameter(kLv2Ports[i].parameter);
        cases.push_back({n, c});
    }
    for (int k = 0; k < 3; ++k)
        cases.push_back(
            {0, {{kPortMix, unit(random)}, {kPortTube, unit(random)}, {kPortComp, unit(random)}}});
    for (const auto& [program, controls] : cases) {
        const Stereo expected = record.render(program, controls, x);
        for (const auto& blocks : kBlockPatterns)
            expectSameSamples(render(controls, x, blocks), expected,
                              "program " + std::to_string(program) + " mix " +
                                  std::to_string(controls.at(kPortMix)) + " block " +
                                  std::to_string(blocks[0]));
    }
}

// In place and crossed give what separate buffers give; one buffer for both
// outputs (as lv2bench passes) holds the output, as both channels are equal.
TEST_F(Lv2Bundle, AliasedBuffersGiveTheSeparateResult)
{
    const Controls heavy = {{kPortTube, 0.6f}, {kPortComp, 0.96f}};
    const Stereo x = testSignal();
    const Stereo expected = render(heavy, x, {256});
    enum Aliasing { InPlace, Crossed, OneOutput };
    for (const Aliasing mode : {InPlace, Crossed, OneOutput}) {
        Lv2Instance plugin(desc, kRate, kBundle);
        float mix = 1.0f, tube = 0.6f, comp = 0.96f, enabled = 1.0f;
        plugin.connect(kPortMix, &mix);
        plugin.connect(kPortTube, &tube);
        plugin.connect(kPortComp, &comp);
        plugin.connect(kPortEnabled, &enabled);
        std::vector<float> a(256), b(256);
        Stereo y{std::vector<float>(x.l.size()), std::vector<float>(x.l.size())};
        for (size_t at = 0; at + 256 <= x.l.size(); at += 256) {
            std::copy_n(x.l.begin() + at, 256, a.begin());
            std::copy_n(x.r.begin() + at, 256, b.begin());
            plugin.connect(kPortInL, a.data());
            plugin.connect(kPortInR, b.data());
            plugin.connect(kPortOutL, mode == Crossed ? b.data() : a.data());
            plugin.connect(kPortOutR, mode == InPlace ? b.data() : a.data());
            plugin.run(256);
            std::copy_n(mode == Crossed ? b.begin() : a.begin(), 256, y.l.begin() + at);
            std::copy_n(mode == InPlace ? b.begin() : a.begin(), 256, y.r.begin() + at);
        }
        expectSameSamples(y, expected, "aliasing mode " + std::to_string(mode));
    }
}

// Off passes the input through unchanged; a switch fades over about 5 ms
// with no step larger than the signals' own, and ends exactly on the input.
TEST_F(Lv2Bundle, BypassFadesWithoutAClickAndPassesTheInputUnchanged)
{
    const BenchSignal s = sineSignal(48000);
    Lv2Instance plugin(desc, kRate, kBundle);
    float mix = 1.0f, tube = 0.6f, comp = 0.96f, enabled = 0.0f;
    plugin.connect(kPortMix, &mix);
    plugin.connect(kPortTube, &tube);
    plugin.connect(kPortComp, &comp);
    plugin.connect(kPortEnabled, &enabled);
    std::vector<float> l(s.left), r(s.right);
    plugin.connect(kPortInL, l.data());
    plugin.connect(kPortInR, r.data());
    plugin.connect(kPortOutL, l.data());
    plugin.connect(kPortOutR, r.data());
    const uint32_t block = 1000;
    // Off from the start, on at 10000, off again at 30000.
    for (uint32_t at = 0; at < 48000; at += block) {
        enabled = at >= 10000 && at < 30000 ? 1.0f : 0.0f;
        plugin.connect(kPortInL, l.data() + at);
        plugin.connect(kPortInR, r.data() + at);
        plugin.connect(kPortOutL, l.data() + at);
        plugin.connect(kPortOutR, r.data() + at);
        plugin.run(block);
    }
    const size_t fade = 240;
    for (size_t i = 0; i < 10000; ++i)
        ASSERT_EQ(l[i], s.left[i]) << i;
    for (size_t i = 30000 + fade; i < 48000; ++i)
        ASSERT_TRUE(l[i] == s.left[i] && r[i] == s.right[i]) << i;
    // The largest step of the steady signals, processed and not.
    float steady = 0.0f, step = 0.0f;
    for (size_t i = 1; i < 48000; ++i) {
        const bool fading = (i >= 10000 && i <= 10000 + fade) || (i >= 30000 && i <= 30000 + fade);
        const float d = std::fabs(l[i] - l[i - 1]);
        (fading ? step : steady) = std::max(fading ? step : steady, d);
    }
    EXPECT_GT(steady, 0.0f);
    EXPECT_LE(step, steady * 1.5f);
}

// NaN, infinities and values out of range get the effect's own handling:
// finite output within the clip level. run(0) changes nothing.
TEST_F(Lv2Bundle, CarelessControlValuesAndEmptyRunsStayWithinTheClip)
{
    const Stereo x = testSignal();
    for (const float bad : {std::nanf(""), INFINITY, -INFINITY, -1.0f, 2.0f, 1e30f}) {
        const Stereo y = render({{kPortMix, bad}, {kPortTube, bad}, {kPortComp, bad}}, x, {333});
        for (size_t i = 0; i < y.l.size(); ++i)
            ASSERT_TRUE(std::isfinite(y.l[i]) && std::fabs(y.l[i]) <= bass::kClip &&
                        std::isfinite(y.r[i]) && std::fabs(y.r[i]) <= bass::kClip)
                << bad << " at " << i << ": " << y.l[i];
    }
    Lv2Instance plugin(desc, kRate, kBundle);
    plugin.run(0); // nothing connected yet
    float canary = 123.0f;
    plugin.connect(kPortInL, &canary);
    plugin.connect(kPortInR, &canary);
    plugin.connect(kPortOutL, &canary);
    plugin.connect(kPortOutR, &canary);
    plugin.run(0);
    EXPECT_EQ(canary, 123.0f);
}

// deactivate then activate starts fresh: the same input gives the same
// output as the first time.
TEST_F(Lv2Bundle, ActivateStartsFresh)
{
    const Stereo x = testSignal();
    Lv2Instance plugin(desc, kRate, kBundle);
    float mix = 1.0f, tube = 0.6f, comp = 0.96f, enabled = 1.0f;
    plugin.connect(kPortMix, &mix);
    plugin.connect(kPortTube, &tube);
    plugin.connect(kPortComp, &comp);
    plugin.connect(kPortEnabled, &enabled);
    std::vector<float> outs[2];
    for (std::vector<float>& out : outs) {
        std::vector<float> l(x.l), r(x.r);
        plugin.connect(kPortInL, l.data());
        plugin.connect(kPortInR, r.data());
        plugin.connect(kPortOutL, l.data());
        plugin.connect(kPortOutR, r.data());
        plugin.run(static_cast<uint32_t>(l.size()));
        out = l;
        plugin.deactivate();
        plugin.activate();
    }
    EXPECT_EQ(outs[0], outs[1]);
}

// Ten thousand runs with changing controls, bypass switches, every aliasing
// and empty runs: not one allocation or free.
TEST_F(Lv2Bundle, RunAllocatesNothing)
{
    if (!mallocCounterActive())
        GTEST_SKIP() << "the sanitizers own the allocation functions";
    const BenchSignal s = sineSignal(64);
    Lv2Instance plugin(desc, kRate, kBundle);
    float controls[kNumLv2Ports] = {};
    for (uint32_t i = kFirstLv2Control; i < kNumLv2Ports; ++i)
        plugin.connect(i, &controls[i]);
    std::vector<float> a(64), b(64), c(64), d(64);
    const size_t before = mallocCalls();
    for (int k = 0; k < 10000; ++k) {
        controls[kPortMix] = static_cast<float>(k % 11) / 10.0f;
        controls[kPortTube] = static_cast<float>(k % 7) / 6.0f;
        controls[kPortComp] = k % 13 == 0 ? std::nanf("") : static_cast<float>(k % 5) / 4.0f;
        controls[kPortEnabled] = (k / 50) % 2 == 0 ? 1.0f : 0.0f;
        std::copy(s.left.begin(), s.left.end(), a.begin());
        std::copy(s.right.begin(), s.right.end(), b.begin());
        float* outs[4][2] = {
            {c.data(), d.data()}, {a.data(), b.data()}, {b.data(), a.data()}, {c.data(), c.data()}};
        plugin.connect(kPortInL, a.data());
        plugin.connect(kPortInR, b.data());
        plugin.connect(kPortOutL, outs[k % 4][0]);
        plugin.connect(kPortOutR, outs[k % 4][1]);
        plugin.run(k % 9 == 0 ? 0 : 64);
    }
    EXPECT_EQ(mallocCalls(), before);
}
