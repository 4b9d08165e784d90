// `editor ADDON --png OUT.png [--script FILE]`: opens an add-on's editor in a
// headless window as a host does, plays a script of pointer, key and menu
// steps into it, and writes the pictures and what the plug-in told the host.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "host/driver/EditorScript.h"
#include "host/driver/EditorSession.h"
#include "host/driver/HostError.h"
#include "host/driver/Numbers.h"
#include "host/driver/OutputFile.h"
#include "host/driver/Patch.h"
#include "host/driver/Plugin.h"

namespace {

constexpr long kMinTimeout = 100;    // ms
constexpr long kMaxTimeout = 600000; // ms

struct Options {
    std::string addon, png, script;
    std::string program; // empty: leave the effect's own program
    std::vector<std::string> sets;
    std::string timeout = "5000";
};

bigtime_t parseTimeout(const std::string& text)
{
    const auto v = parseInteger(text);
    if (!v || *v < kMinTimeout || *v > kMaxTimeout)
        throw HostError("--timeout " + text +
                        ": must be a whole number of milliseconds from 100 to 600000");
    return static_cast<bigtime_t>(*v) * 1000;
}

void printHostCalls(const std::vector<HostCall>& calls)
{
    std::printf("host calls: %zu\n", calls.size());
    for (const HostCall& c : calls)
        std::printf("  %s\n", describeHostCall(c).c_str());
}

void run(const Options& opt)
{
    // Everything the user typed is checked before the add-on is loaded.
    const PatchChoice patch(opt.program, opt.sets);
    const bigtime_t timeout = parseTimeout(opt.timeout);
    const EditorScript script = opt.script.empty() ? EditorScript{} : readEditorScript(opt.script);
    checkOutputFolder(opt.png);

    Plugin plugin(opt.addon);
    patch.check(plugin);
    std::string whyNot;
    if (!takesHeadlessWindows(plugin, &whyNot))
        throw HostError(opt.addon + ": " + whyNot);
    const auto size = askEditorSize(plugin, &whyNot);
    if (!size)
        throw HostError(opt.addon + ": " + whyNot);
    checkScriptFitsWindow(script, size->width, size->height);
    patch.apply(plugin);
    std::printf("editor: %d x %d\n", size->width, size->height);
    std::fflush(stdout);
    {
        EditorSession session(plugin, *size, timeout);
        session.refresh();
        session.play(script);
        session.endInput();
        session.writePng(opt.png);
        std::printf("%s\n", opt.png.c_str());
        session.close();
    }
    printParameters(plugin, "parameters:");
    printHostCalls(plugin.recorder().calls());
}

} // namespace

void addEditorCommand(CLI::App& app)
{
    auto opt = std::make_shared<Options>();
    CLI::App* cmd =
        app.add_subcommand("editor", "Open an add-on's editor in a headless window, play a script "
                                     "of pointer, key and menu steps, write PNGs");
    cmd->add_option("ADDON", opt->addon, "Add-on file (.so)")->required();
    cmd->add_option("--png", opt->png, "The final picture, written when the script is over")
        ->type_name("OUT.png")
        ->required();
    cmd->add_option("--script", opt->script, "Steps to play (see below); none: just the picture")
        ->type_name("FILE");
    cmd->add_option("--program", opt->program,
                    "Select program N (0 to numPrograms-1) before opening")
        ->type_name("N");
    cmd->add_option("--set", opt->sets,
                    "Set parameter INDEX to VALUE (0..1) after the program; repeatable")
        ->type_name("INDEX=VALUE")
        ->allow_extra_args(false);
    cmd->add_option("--timeout", opt->timeout,
                    "Give up on the add-on after MS milliseconds without an answer (default 5000)")
        ->type_name("MS");
    cmd->footer(
        std::string(
            "Opcode 13 gives the window's size, opcode 14 hands it over, opcode 19 runs every\n"
            "20 ms on a host thread, opcode 15 closes it. Before the first step, before each\n"
            "png and before OUT.png the window redraws and one idle runs. Prints each picture\n"
            "written, the parameters at the end and every call the plug-in made to the host.\n\n") +
        kEditorScriptHelp);
    cmd->callback([opt] { run(*opt); });
}
