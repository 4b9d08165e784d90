// `process ADDON IN OUT`: renders an audio file through an effect. Every
// argument is checked before any audio is rendered, and the output appears
// only when it is complete.
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "Renderer.h"
#include "WavFile.h"
#include "host/driver/HostError.h"
#include "host/driver/Numbers.h"
#include "host/driver/OutputFile.h"
#include "host/driver/Patch.h"
#include "host/driver/Plugin.h"

namespace {

constexpr long kMaxBlock = 65536;

struct Options {
    std::string addon, input, output;
    std::string program; // empty: leave the effect's own program
    std::vector<std::string> sets;
    std::string block = "512";
    bool accumulate = false;
};

int32_t parseBlock(const std::string& text)
{
    const auto v = parseInteger(text);
    if (!v || *v < 1 || *v > kMaxBlock)
        throw UsageError("--block " + text + ": must be a whole number from 1 to 65536");
    return static_cast<int32_t>(*v);
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
        std::fprintf(stderr, "\r[%s%s] %3d%%",
                     std::string(static_cast<size_t>(filled), '#').c_str(),
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
    const PatchChoice patch(opt.program, opt.sets);
    StereoAudio audio = readAudio(opt.input);
    checkOutputFolder(opt.output);

    Plugin plugin(opt.addon);
    const AEffect& fx = plugin.effect();
    patch.check(plugin);
    const ProcessMode mode = opt.accumulate ? ProcessMode::Accumulating : ProcessMode::Replacing;
    if (mode == ProcessMode::Replacing && !plugin.canReplace())
        throw HostError(opt.addon + ": the effect has no processReplacing; use --accumulate");
    if (mode == ProcessMode::Accumulating && !fx.process)
        throw HostError(opt.addon + ": the effect has no accumulating process");

    patch.apply(plugin);
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

} // namespace

void addProcessCommand(CLI::App& app)
{
    auto opt = std::make_shared<Options>();
    CLI::App* cmd = app.add_subcommand(
        "process",
        "Render a mono or stereo audio file through an add-on into a stereo 32-bit float WAV");
    cmd->add_option("ADDON", opt->addon, "Add-on file (.so)")->required();
    cmd->add_option("IN", opt->input,
                    "Input audio file (mono or stereo, any rate libsndfile reads)")
        ->required();
    cmd->add_option("OUT", opt->output, "Output WAV; written only when the render succeeds")
        ->required();
    cmd->add_option("--program", opt->program, "Select program N (0 to numPrograms-1) first")
        ->type_name("N");
    cmd->add_option("--set", opt->sets,
                    "Set parameter INDEX to VALUE (0..1) after the program; repeatable")
        ->type_name("INDEX=VALUE")
        ->allow_extra_args(false); // one pair per --set, so positionals stay positional
    cmd->add_option("--block", opt->block, "Block size in frames, 1 to 65536 (default 512)")
        ->type_name("N");
    cmd->add_flag(
        "--accumulate", opt->accumulate,
        "Use the accumulating process call on zeroed outputs instead of processReplacing");
    cmd->callback([opt] { run(*opt); });
}
