// `process ADDON IN OUT`: renders an audio file through an effect, streaming
// it block by block from IN through the effect into OUT, so memory does not
// grow with the file. Every argument is checked before any audio is
// rendered, and the output appears only when it is complete.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "ProgressBar.h"
#include "Renderer.h"
#include "host/driver/HostError.h"
#include "host/driver/Numbers.h"
#include "host/driver/addon/Patch.h"
#include "host/driver/addon/Plugin.h"
#include "host/driver/files/AudioFileReader.h"
#include "host/driver/files/AudioFileWriter.h"
#include "host/driver/files/AudioFormat.h"
#include "host/driver/files/OutputFile.h"

namespace {

constexpr long kMaxBlock = 65536;

struct Options {
    std::string addon, input, output;
    std::string program; // empty: leave the effect's own program
    std::vector<std::string> sets;
    std::string block = "512";
    std::string bits; // empty: the format's default
    bool accumulate = false;
    bool quiet = false;
};

int32_t parseBlock(const std::string& text)
{
    const auto v = parseInteger(text);
    if (!v || *v < 1 || *v > kMaxBlock)
        throw UsageError("--block " + text + ": must be a whole number from 1 to 65536");
    return static_cast<int32_t>(*v);
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// One line: what was written, with which program and values, how much audio
// and how fast.
void printSummary(Plugin& plugin, const PatchChoice& patch, const std::string& output,
                  const std::string& format, int64_t frames, int rate, double wallSeconds)
{
    const int32_t program = plugin.currentProgram();
    std::string line = output + ": " + format + ", program " + std::to_string(program) + " \"" +
                       trimmed(plugin.programName(program)) + "\"";
    for (const ParameterSetting& s : patch.values()) {
        char value[32];
        std::snprintf(value, sizeof value, "%g", static_cast<double>(s.value));
        line += ", " + std::to_string(s.index) + " " + trimmed(plugin.parameterName(s.index)) +
                "=" + value;
    }
    const double seconds = static_cast<double>(frames) / rate;
    std::printf("%s; %lld frames, %.1f s of audio at %d Hz in %.2f s (%.0fx real time)\n",
                line.c_str(), static_cast<long long>(frames), seconds, rate, wallSeconds,
                wallSeconds > 0.0 ? seconds / wallSeconds : 0.0);
}

void run(const Options& opt)
{
    // What was typed first, then the files, then the add-on. A folder as OUT
    // is named as such before its lack of an extension.
    const int32_t block = parseBlock(opt.block);
    const PatchChoice patch(opt.program, opt.sets);
    checkOutputFolder(opt.output);
    const AudioFormat format(opt.output, opt.bits);
    AudioFileReader in(opt.input, block);
    // Decided before the first frame: the header goes first, and a WAV
    // cannot become RF64 later.
    const int fileFormat = format.sndfileFormat(in.frames(), 2);

    Plugin plugin(opt.addon);
    const AEffect& fx = plugin.effect();
    patch.check(plugin);
    const ProcessMode mode = opt.accumulate ? ProcessMode::Accumulating : ProcessMode::Replacing;
    if (mode == ProcessMode::Replacing && !plugin.canReplace())
        throw HostError(opt.addon + ": the effect has no processReplacing; use --accumulate");
    if (mode == ProcessMode::Accumulating && !fx.process)
        throw HostError(opt.addon + ": the effect has no accumulating process");

    patch.apply(plugin);
    plugin.prepare(in.sampleRate(), block);
    Renderer renderer(plugin, block, mode);
    const auto b = static_cast<size_t>(block);
    std::vector<float> left(b), right(b), outLeft(b), outRight(b);
    const auto started = std::chrono::steady_clock::now();
    ProgressBar progress(std::filesystem::path(opt.output).filename().string(), in.frames(),
                         in.sampleRate(), !opt.quiet);
    int64_t done = 0;
    writeThroughTemporary(opt.output, [&](const std::string& temporary) -> std::string {
        AudioFileWriter out(temporary, fileFormat, in.sampleRate(), block);
        if (!out.failure().empty())
            return out.failure();
        while (const int32_t n = in.read(left.data(), right.data())) {
            renderer.block(left.data(), right.data(), outLeft.data(), outRight.data(), n);
            // The recorder logs every host call; a long render should not grow it.
            plugin.recorder().clearCalls();
            if (!out.write(outLeft.data(), outRight.data(), n))
                return out.failure();
            done += n;
            progress.update(done);
        }
        progress.finish(done);
        return out.finish();
    });
    plugin.suspend();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!opt.quiet)
        printSummary(plugin, patch, opt.output, format.describe(fileFormat), done, in.sampleRate(),
                     wall);
}

} // namespace

void addProcessCommand(CLI::App& app)
{
    auto opt = std::make_shared<Options>();
    CLI::App* cmd = app.add_subcommand(
        "process", "Render a mono or stereo audio file through an add-on into a stereo file, "
                   "streaming it block by block");
    cmd->add_option("ADDON", opt->addon, "Add-on file (.so)")->required();
    cmd->add_option("IN", opt->input,
                    "Input audio file (mono or stereo, any rate libsndfile reads)")
        ->required();
    cmd->add_option("OUT", opt->output,
                    "Output file, written only when the render succeeds; its extension picks "
                    "the format: .wav (RF64 past 4 GB), .flac, .ogg (Vorbis), .aiff, .w64, "
                    ".rf64, .caf")
        ->required();
    cmd->add_option("--program", opt->program, "Select program N (0 to numPrograms-1) first")
        ->type_name("N");
    cmd->add_option("--set", opt->sets,
                    "Set parameter INDEX to VALUE (0..1) after the program; repeatable")
        ->type_name("INDEX=VALUE")
        ->allow_extra_args(false); // one pair per --set, so positionals stay positional
    cmd->add_option("--block", opt->block, "Block size in frames, 1 to 65536 (default 512)")
        ->type_name("N");
    cmd->add_option("--bits", opt->bits,
                    "Sample size: 16, 24, 32 or float (default float; FLAC takes 16 or 24, "
                    "default 24; Ogg Vorbis takes none)")
        ->type_name("16|24|32|float");
    cmd->add_flag(
        "--accumulate", opt->accumulate,
        "Use the accumulating process call on zeroed outputs instead of processReplacing");
    cmd->add_flag("--quiet,-q", opt->quiet,
                  "Print nothing on success: no progress bar, no summary line");
    cmd->callback([opt] { run(*opt); });
}
