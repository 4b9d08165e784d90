// lv2_bench: LV2 plug-ins through lilv as a host runs them. Feeds 10 s of the
// bass-like signal at 48 kHz in blocks of 512 through WobrixFree at its
// programs 0 to 3 (its factory presets) and through LSP's Compressor Stereo
// at its defaults, and prints CPU nanoseconds per frame, the fastest of
// interleaved rounds, with LSP's time over each.
//
//   lv2_bench [ROUNDS]       (default 5)
#include <algorithm>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/presets/presets.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "BenchSignal.h"

namespace {

constexpr double kRate = 48000.0;
constexpr uint32_t kBlock = 512;
constexpr size_t kFrames = 480000; // 10 s
constexpr const char* kLspUri = "http://lsp-plug.in/plugins/lv2/compressor_stereo";
constexpr const char* kOurUri = "http://www.zeltoaudio.com/lv2/WobrixFree";

// The URID map a plug-in like LSP's requires: URIs numbered in order seen.
std::vector<std::string> uris;
LV2_URID mapUri(LV2_URID_Map_Handle, const char* uri)
{
    for (size_t i = 0; i < uris.size(); ++i)
        if (uris[i] == uri)
            return static_cast<LV2_URID>(i + 1);
    uris.emplace_back(uri);
    return static_cast<LV2_URID>(uris.size());
}
LV2_URID_Map uridMap = {nullptr, mapUri};
LV2_Feature mapFeature = {LV2_URID__map, &uridMap};
const LV2_Feature* features[] = {&mapFeature, nullptr};

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One plug-in instance with every port connected: audio to the signal's
// channels (extra inputs silent), controls at their defaults or a preset's
// values, atom ports to empty sequences.
class Bench {
public:
    Bench(LilvWorld* world, const LilvPlugin* plugin, const LilvNode* preset, std::string label)
        : name(std::move(label)), plugin(plugin)
    {
        instance = lilv_plugin_instantiate(plugin, kRate, features);
        if (!instance)
            return;
        const uint32_t n = lilv_plugin_get_num_ports(plugin);
        controls.assign(n, 0.0f);
        std::vector<float> defaults(n);
        lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
        LilvNode* audio = lilv_new_uri(world, LILV_URI_AUDIO_PORT);
        LilvNode* control = lilv_new_uri(world, LILV_URI_CONTROL_PORT);
        LilvNode* atom = lilv_new_uri(world, LV2_ATOM__AtomPort);
        LilvNode* input = lilv_new_uri(world, LILV_URI_INPUT_PORT);
        atoms.resize(n);
        for (uint32_t i = 0; i < n; ++i) {
            const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
            const bool in = lilv_port_is_a(plugin, port, input);
            if (lilv_port_is_a(plugin, port, audio)) {
                buffers.emplace_back(kBlock, 0.0f);
                (in ? ins : outs).push_back(buffers.back().data());
                lilv_instance_connect_port(instance, i, buffers.back().data());
            } else if (lilv_port_is_a(plugin, port, control)) {
                controls[i] = std::isnan(defaults[i]) ? 0.0f : defaults[i];
                lilv_instance_connect_port(instance, i, &controls[i]);
            } else if (lilv_port_is_a(plugin, port, atom)) {
                atoms[i].resize(8192 / sizeof(uint64_t));
                auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(atoms[i].data());
                seq->atom.size = sizeof(LV2_Atom_Sequence_Body);
                seq->atom.type = mapUri(nullptr, LV2_ATOM__Sequence);
                if (!in)
                    outAtoms.push_back(i);
                lilv_instance_connect_port(instance, i, atoms[i].data());
            } else {
                lilv_instance_connect_port(instance, i, nullptr);
            }
        }
        for (LilvNode* node : {audio, control, atom, input})
            lilv_node_free(node);
        if (preset) {
            LilvState* state = lilv_state_new_from_world(world, &uridMap, preset);
            if (state) {
                lilv_state_restore(state, instance, setPort, this, 0, features);
                lilv_state_free(state);
            }
        }
    }
    ~Bench()
    {
        if (instance)
            lilv_instance_free(instance);
    }
    bool ok() const { return instance && ins.size() >= 2 && outs.size() >= 2; }

    // CPU seconds for the whole signal, from a fresh activation.
    double run(const BenchSignal& signal)
    {
        lilv_instance_activate(instance);
        const double start = threadSeconds();
        for (size_t at = 0; at < kFrames; at += kBlock) {
            // The last block of the 10 s is a short one.
            const size_t n = std::min<size_t>(kBlock, kFrames - at);
            std::memcpy(ins[0], signal.left.data() + at, n * sizeof(float));
            std::memcpy(ins[1], signal.right.data() + at, n * sizeof(float));
            for (const uint32_t i : outAtoms) {
                auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(atoms[i].data());
                seq->atom.size = 8192 - sizeof(LV2_Atom);
                seq->atom.type = mapUri(nullptr, LV2_ATOM__Chunk);
            }
            lilv_instance_run(instance, static_cast<uint32_t>(n));
        }
        const double seconds = threadSeconds() - start;
        lilv_instance_deactivate(instance);
        return seconds;
    }

    std::string name;
    double best = 0.0;

private:
    static void setPort(const char* symbol, void* self, const void* value, uint32_t size, uint32_t)
    {
        auto* b = static_cast<Bench*>(self);
        const uint32_t n = static_cast<uint32_t>(b->controls.size());
        for (uint32_t i = 0; i < n; ++i) {
            const LilvPort* port = lilv_plugin_get_port_by_index(b->plugin, i);
            const LilvNode* s = lilv_port_get_symbol(b->plugin, port);
            if (size == sizeof(float) && std::strcmp(lilv_node_as_string(s), symbol) == 0)
                std::memcpy(&b->controls[i], value, sizeof(float));
        }
    }

    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    std::vector<float> controls;
    std::vector<std::vector<float>> buffers;
    std::vector<float*> ins, outs;
    std::vector<std::vector<uint64_t>> atoms;
    std::vector<uint32_t> outAtoms;
};

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    LilvWorld* world = lilv_world_new();
    LilvNode* path = lilv_new_string(world, WOBRIX_LV2_DIR ":/usr/lib/lv2");
    lilv_world_set_option(world, LILV_OPTION_LV2_PATH, path);
    lilv_world_load_all(world);
    const LilvPlugins* all = lilv_world_get_all_plugins(world);
    LilvNode* ourUri = lilv_new_uri(world, kOurUri);
    LilvNode* lspUri = lilv_new_uri(world, kLspUri);
    const LilvPlugin* ours = lilv_plugins_get_by_uri(all, ourUri);
    const LilvPlugin* lsp = lilv_plugins_get_by_uri(all, lspUri);
    if (!ours) {
        std::fprintf(stderr, "lv2_bench: %s is not in %s\n", kOurUri, WOBRIX_LV2_DIR);
        return 1;
    }

    // Our presets in program order (their URIs end in the program number).
    std::vector<std::unique_ptr<Bench>> benches;
    LilvNode* presetClass = lilv_new_uri(world, LV2_PRESETS__Preset);
    LilvNode* label = lilv_new_uri(world, LILV_NS_RDFS "label");
    LilvNodes* presets = lilv_plugin_get_related(ours, presetClass);
    for (int program = 0; program < 4; ++program) {
        const std::string uri = std::string(kOurUri) + "#program" + std::to_string(program);
        LILV_FOREACH(nodes, i, presets)
        {
            const LilvNode* p = lilv_nodes_get(presets, i);
            if (uri != lilv_node_as_uri(p))
                continue;
            lilv_world_load_resource(world, p);
            LilvNode* text = lilv_world_get(world, p, label, nullptr);
            benches.push_back(
                std::make_unique<Bench>(world, ours, p,
                                        "WobrixFree " + std::to_string(program) + " \"" +
                                            (text ? lilv_node_as_string(text) : "?") + "\""));
            lilv_node_free(text);
        }
    }
    Bench* lspBench = nullptr;
    if (lsp) {
        benches.push_back(std::make_unique<Bench>(world, lsp, nullptr, "LSP Compressor Stereo"));
        lspBench = benches.back().get();
    } else {
        std::fprintf(stderr, "lv2_bench: %s is not installed (lsp-plugins-lv2)\n", kLspUri);
    }
    for (const auto& b : benches)
        if (!b->ok()) {
            std::fprintf(stderr, "lv2_bench: %s did not instantiate\n", b->name.c_str());
            return 1;
        }

    const BenchSignal signal = bassSignal(kFrames);
    // Interleaved rounds, so a busy moment of the machine hits all alike.
    for (int r = 0; r < rounds; ++r)
        for (const auto& b : benches) {
            const double s = b->run(signal);
            if (r == 0 || s < b->best)
                b->best = s;
        }

    std::printf("LV2 through lilv: bass-like signal, 10 s at 48 kHz, block 512, "
                "CPU time, fastest of %d rounds\n",
                rounds);
    std::printf("%-40s %10s %12s\n", "plug-in", "ns/frame", "LSP / this");
    const double lspNs = lspBench ? lspBench->best * 1e9 / kFrames : 0.0;
    for (const auto& b : benches) {
        const double ns = b->best * 1e9 / kFrames;
        if (lspNs > 0.0)
            std::printf("%-40s %10.2f %11.1fx\n", b->name.c_str(), ns, lspNs / ns);
        else
            std::printf("%-40s %10.2f %12s\n", b->name.c_str(), ns, "-");
    }
    lilv_nodes_free(presets);
    for (LilvNode* n : {path, ourUri, lspUri, presetClass, label})
        lilv_node_free(n);
    benches.clear();
    lilv_world_free(world);
    return 0;
}
