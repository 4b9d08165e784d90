// `process ADDON IN OUT`: renders an audio file through an effect. Every
// argument is checked before any audio is rendered, and the output appears
// only when it is complete.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "HostError.h"
#include "Numbers.h"
#include "Plugin.h"
#include "Renderer.h"
#include "WavFile.h"

namespace {

constexpr long kMaxBlock = 65536;

struct Options {
    std::string addon, input, output;
    std::string program;  // empty: leave the effect's own program
    std::vector<std::string> sets;
    std::string block = "512";
    bool accumulate = false;
};

struct Setting {
    int32_t index;
    float value;
};

int32_t parseBlock(const std::string& text)
{
    const auto v = parseInteger(text);
    if (!v || *v < 1 || *v > kMaxBlock)
        throw HostError("--block " + text + ": must be a whole number from 1 to 65536");
    return static_cast<int32_t>(*v);
}

Setting parseSetting(const std::string& text)
{
    const size_t eq = text.find('=');
    if (eq == std::string::npos)
        throw HostError("--set " + text + ": expected INDEX=VALUE");
    const auto index = parseInteger(text.substr(0, eq));
    if (!index || *index < 0 || *index > INT32_MAX)
        throw HostError("--set " + text + ": parameter index is not a whole number");
    const auto value = parseFloat(text.substr(eq + 1));
    if (!value)
        throw HostError("--set " + text + ": value is not a number");
    return {static_cast<int32_t>(*index), *value};
}

void checkOutputFolder(const std::string& out)
{
    const size_t slash = out.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : out.substr(0, slash));
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        throw HostError(out + ": cannot write into folder " + folder);
}

// Redraws a one-line bar on stderr; only used when stderr is a terminal.
class ProgressBar {
public:
    void operator()(double fraction)
    {
        const int percent = static_cast<int>(fraction * 100.0);
        if (percent == shown)
            return;
        shown = percent;
        const int filled = percent * 40 / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<size_t>(filled), '#').c_str(),
                     std::string(static_cast<size_t>(40 - filled), ' ').c_str(), percent);
        if (percent == 100)
            std::fputc('\n', stderr);
        std::fflush(stderr);
    }

private:
    int shown = -1;
};

void run(const Options& opt)
{
    const int32_t block = parseBlock(opt.block);
    std::vector<Setting> settings;
    for (const auto& s : opt.sets)
        settings.push_back(parseSetting(s));
    std::optional<long> program;
    if (!opt.program.empty()) {
        program = parseInteger(opt.program);
        if (!program)
            throw HostError("--program " + opt.program + ": not a whole number");
    }
    StereoAudio audio = readAudio(opt.input);
    checkOutputFolder(opt.output);

    Plugin plugin(opt.addon);
    const AEffect& fx = plugin.effect();
    if (program && (*program < 0 || *program >= fx.numPrograms))
        throw HostError("--program " + opt.program + ": no such program; " + plugin.effectName() +
                        " has programs 0 to " + std::to_string(fx.numPrograms - 1));
    for (const Setting& s : settings)
        if (s.index >= fx.numParams)
            throw HostError("--set " + std::to_string(s.index) + ": no such parameter; the effect has parameters 0 to " +
                            std::to_string(fx.numParams - 1));
    const ProcessMode mode = opt.accumulate ? ProcessMode::Accumulating : ProcessMode::Replacing;
    if (mode == ProcessMode::Replacing && !plugin.canReplace())
        throw HostError(opt.addon + ": the effect has no processReplacing; use --accumulate");
    if (mode == ProcessMode::Accumulating && !fx.process)
        throw HostError(opt.addon + ": the effect has no accumulating process");

    if (program)
        plugin.selectProgram(static_cast<int32_t>(*program));
    for (const Setting& s : settings)
        plugin.setParameter(s.index, s.value);
    plugin.prepare(audio.sampleRate, block);

    Renderer renderer(plugin, block, mode);
    StereoAudio wet;
    wet.sampleRate = audio.sampleRate;
    std::function<void(double)> progress;
    if (::isatty(STDERR_FILENO))
        progress = ProgressBar();
    renderer.run(audio.left, audio.right, wet.left, wet.right, progress);
    plugin.suspend();
    writeStereoFloatWav(opt.output, wet);
}

}  // namespace

void addProcessCommand(CLI::App& app)
{
    auto opt = std::make_shared<Options>();
    CLI::App* cmd = app.add_subcommand(
        "process", "Render a mono or stereo audio file through an add-on into a stereo 32-bit float WAV");
    cmd->add_option("ADDON", opt->addon, "Add-on file (.so)")->required();
    cmd->add_option("IN", opt->input, "Input audio file (mono or stereo, any rate libsndfile reads)")
        ->required();
    cmd->add_option("OUT", opt->output, "Output WAV; written only when the render succeeds")->required();
    cmd->add_option("--program", opt->program, "Select program N (0 to numPrograms-1) first")
        ->type_name("N");
    cmd->add_option("--set", opt->sets, "Set parameter INDEX to VALUE (0..1) after the program; repeatable")
        ->type_name("INDEX=VALUE")
        ->allow_extra_args(false);  // one pair per --set, so positionals stay positional
    cmd->add_option("--block", opt->block, "Block size in frames, 1 to 65536 (default 512)")
        ->type_name("N");
    cmd->add_flag("--accumulate", opt->accumulate,
                  "Use the accumulating process call on zeroed outputs instead of processReplacing");
    cmd->callback([opt] { run(*opt); });
}
