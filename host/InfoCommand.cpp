// `info ADDON [--json] [--verbose]`: what a host learns about an effect, as
// text or JSON.
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Json.h"
#include "host/driver/addon/Plugin.h"

namespace {

struct ParamInfo {
    std::string name, label, display;
    float value = 0.0f;
};

struct ProgramInfo {
    std::string name;
    std::vector<ParamInfo> params;
};

struct EffectInfo {
    std::string path, entry, name, vendor, product;
    long long vendorVersion = 0;
    int32_t uniqueID = 0, version = 0, flags = 0, numInputs = 0, numOutputs = 0;
    int32_t numPrograms = 0, numParams = 0, initialDelay = 0;
    std::vector<PinInfo> inputs, outputs;
    std::vector<ParamInfo> params;
    std::vector<ProgramInfo> programs;
    std::vector<HostCall> hostCalls;
};

const std::pair<int32_t, const char*> kFlagNames[] = {
    {kFlagHasEditor, "editor"}, {kFlagHasClip, "clip"},           {kFlagHasVu, "vu"},
    {kFlagCanMono, "mono"},     {kFlagCanReplacing, "replacing"}, {kFlagProgramChunks, "chunks"},
    {kFlagIsSynth, "synth"},    {kFlagNoTail, "noTail"},
};

std::vector<std::string> flagNames(int32_t flags)
{
    std::vector<std::string> names;
    for (const auto& [bit, name] : kFlagNames)
        if (flags & bit)
            names.emplace_back(name);
    return names;
}

std::string hex(int32_t v)
{
    char s[16];
    std::snprintf(s, sizeof s, "0x%08x", static_cast<unsigned>(v));
    return s;
}

// JSON has no NaN or infinity; a plug-in may still answer them.
std::string number(float v)
{
    if (!std::isfinite(v))
        return "null";
    char s[32];
    std::snprintf(s, sizeof s, "%.9g", static_cast<double>(v));
    return s;
}

std::vector<ParamInfo> readParams(Plugin& p)
{
    std::vector<ParamInfo> params;
    for (int32_t i = 0; i < p.effect().numParams; ++i)
        params.push_back(
            {p.parameterName(i), p.parameterLabel(i), p.parameterDisplay(i), p.parameter(i)});
    return params;
}

EffectInfo gather(const std::string& path)
{
    Plugin p(path);
    const AEffect& fx = p.effect();
    EffectInfo info;
    info.path = path;
    info.entry = p.entryName();
    info.name = p.effectName();
    info.vendor = p.vendor();
    info.product = p.product();
    info.vendorVersion = static_cast<long long>(p.vendorVersion());
    info.uniqueID = fx.uniqueID;
    info.version = fx.version;
    info.flags = fx.flags;
    info.numInputs = fx.numInputs;
    info.numOutputs = fx.numOutputs;
    info.numPrograms = fx.numPrograms;
    info.numParams = fx.numParams;
    info.initialDelay = fx.initialDelay;
    for (int32_t i = 0; i < fx.numInputs; ++i)
        info.inputs.push_back(p.inputPin(i));
    for (int32_t i = 0; i < fx.numOutputs; ++i)
        info.outputs.push_back(p.outputPin(i));
    info.params = readParams(p);
    const int32_t current = p.currentProgram();
    for (int32_t i = 0; i < fx.numPrograms; ++i) {
        ProgramInfo prog;
        prog.name = p.programName(i);
        p.selectProgram(i);
        prog.params = readParams(p);
        info.programs.push_back(std::move(prog));
    }
    if (fx.numPrograms > 0)
        p.selectProgram(current);
    info.hostCalls = p.recorder().calls();
    return info;
}

void printPins(const char* heading, const std::vector<PinInfo>& pins)
{
    std::printf("%s\n", heading);
    for (size_t i = 0; i < pins.size(); ++i) {
        const PinInfo& pin = pins[i];
        if (!pin.present)
            std::printf("  %zu: (no properties)\n", i);
        else
            std::printf("  %zu: \"%s\" flags %d%s%s\n", i, pin.label.c_str(), pin.flags,
                        pin.flags & kPinIsActive ? " active" : "",
                        pin.flags & kPinIsStereo ? " stereo" : "");
    }
}

void printText(const EffectInfo& e, bool verbose)
{
    std::printf("add-on:         %s (entry %s)\n", e.path.c_str(), e.entry.c_str());
    std::printf("effect name:    %s\n", e.name.c_str());
    std::printf("vendor:         %s\n", e.vendor.c_str());
    std::printf("product:        %s\n", e.product.c_str());
    std::printf("vendor version: %lld\n", e.vendorVersion);
    std::printf("unique ID:      '%s' (%s)\n", fourCharText(e.uniqueID).c_str(),
                hex(e.uniqueID).c_str());
    std::printf("version:        %d\n", e.version);
    std::string names;
    for (const auto& n : flagNames(e.flags))
        names += (names.empty() ? "" : " ") + n;
    std::printf("flags:          %s %s\n", hex(e.flags).c_str(), names.c_str());
    std::printf("inputs:         %d\noutputs:        %d\n", e.numInputs, e.numOutputs);
    std::printf("initial delay:  %d\n", e.initialDelay);
    printPins("input pins:", e.inputs);
    printPins("output pins:", e.outputs);
    std::printf("parameters: %d\n", e.numParams);
    for (size_t i = 0; i < e.params.size(); ++i) {
        const ParamInfo& pr = e.params[i];
        std::printf("  %zu: \"%s\" = %.6g  [%s %s]\n", i, pr.name.c_str(),
                    static_cast<double>(pr.value), pr.display.c_str(), pr.label.c_str());
    }
    std::printf("programs: %d\n", e.numPrograms);
    for (size_t i = 0; i < e.programs.size(); ++i) {
        const ProgramInfo& prog = e.programs[i];
        std::printf("  %zu: \"%s\"\n", i, prog.name.c_str());
        for (size_t j = 0; j < prog.params.size(); ++j)
            std::printf("      %zu %-16s %.6g  [%s %s]\n", j,
                        ("\"" + prog.params[j].name + "\"").c_str(),
                        static_cast<double>(prog.params[j].value), prog.params[j].display.c_str(),
                        prog.params[j].label.c_str());
    }
    if (verbose) {
        std::printf("host calls: %zu\n", e.hostCalls.size());
        for (const HostCall& c : e.hostCalls)
            std::printf("  %s\n", describeHostCall(c).c_str());
    }
}

std::string paramsJson(const std::vector<ParamInfo>& params, const std::string& indent)
{
    std::ostringstream o;
    o << "[";
    for (size_t i = 0; i < params.size(); ++i) {
        const ParamInfo& p = params[i];
        o << (i ? "," : "") << "\n"
          << indent << "  {\"index\": " << i << ", \"name\": " << jsonString(p.name)
          << ", \"label\": " << jsonString(p.label) << ", \"display\": " << jsonString(p.display)
          << ", \"value\": " << number(p.value) << "}";
    }
    o << (params.empty() ? "" : "\n" + indent) << "]";
    return o.str();
}

std::string pinsJson(const std::vector<PinInfo>& pins)
{
    std::ostringstream o;
    o << "[";
    for (size_t i = 0; i < pins.size(); ++i)
        o << (i ? "," : "") << "\n    {\"index\": " << i
          << ", \"present\": " << (pins[i].present ? "true" : "false")
          << ", \"label\": " << jsonString(pins[i].label) << ", \"flags\": " << pins[i].flags
          << "}";
    o << (pins.empty() ? "" : "\n  ") << "]";
    return o.str();
}

void printJson(const EffectInfo& e, bool verbose)
{
    std::ostringstream o;
    o << "{\n";
    o << "  \"path\": " << jsonString(e.path) << ",\n";
    o << "  \"entry\": " << jsonString(e.entry) << ",\n";
    o << "  \"name\": " << jsonString(e.name) << ",\n";
    o << "  \"vendor\": " << jsonString(e.vendor) << ",\n";
    o << "  \"product\": " << jsonString(e.product) << ",\n";
    o << "  \"vendorVersion\": " << e.vendorVersion << ",\n";
    o << "  \"uniqueID\": " << jsonString(fourCharText(e.uniqueID)) << ",\n";
    o << "  \"uniqueIDHex\": " << jsonString(hex(e.uniqueID)) << ",\n";
    o << "  \"version\": " << e.version << ",\n";
    o << "  \"flags\": " << e.flags << ",\n";
    o << "  \"flagsHex\": " << jsonString(hex(e.flags)) << ",\n";
    o << "  \"flagNames\": [";
    const auto names = flagNames(e.flags);
    for (size_t i = 0; i < names.size(); ++i)
        o << (i ? ", " : "") << jsonString(names[i]);
    o << "],\n";
    o << "  \"numInputs\": " << e.numInputs << ",\n";
    o << "  \"numOutputs\": " << e.numOutputs << ",\n";
    o << "  \"initialDelay\": " << e.initialDelay << ",\n";
    o << "  \"inputPins\": " << pinsJson(e.inputs) << ",\n";
    o << "  \"outputPins\": " << pinsJson(e.outputs) << ",\n";
    o << "  \"parameters\": " << paramsJson(e.params, "  ") << ",\n";
    o << "  \"programs\": [";
    for (size_t i = 0; i < e.programs.size(); ++i)
        o << (i ? "," : "") << "\n    {\"index\": " << i
          << ", \"name\": " << jsonString(e.programs[i].name)
          << ", \"parameters\": " << paramsJson(e.programs[i].params, "    ") << "}";
    o << (e.programs.empty() ? "" : "\n  ") << "]";
    if (verbose) {
        o << ",\n  \"hostCalls\": [";
        for (size_t i = 0; i < e.hostCalls.size(); ++i) {
            const HostCall& c = e.hostCalls[i];
            const char* name = hostOpcodeName(c.opcode);
            o << (i ? "," : "") << "\n    {\"opcode\": " << c.opcode
              << ", \"name\": " << (name ? jsonString(name) : "null") << ", \"index\": " << c.index
              << ", \"value\": " << static_cast<long long>(c.value)
              << ", \"opt\": " << number(c.opt) << "}";
        }
        o << (e.hostCalls.empty() ? "" : "\n  ") << "]";
    }
    o << "\n}\n";
    std::fputs(o.str().c_str(), stdout);
}

} // namespace

void addInfoCommand(CLI::App& app)
{
    struct Options {
        std::string addon;
        bool json = false;
        bool verbose = false;
    };
    auto opt = std::make_shared<Options>();
    CLI::App* cmd = app.add_subcommand(
        "info", "Show an add-on's identity, flags, pins, parameters and programs");
    cmd->add_option("ADDON", opt->addon, "Add-on file (.so)")->required();
    cmd->add_flag("--json", opt->json, "Print JSON instead of text");
    cmd->add_flag("--verbose,-v", opt->verbose,
                  "Also list every call the plug-in made to the host");
    cmd->callback([opt] {
        const EffectInfo info = gather(opt->addon);
        if (opt->json)
            printJson(info, opt->verbose);
        else
            printText(info, opt->verbose);
    });
}
