// `editor ADDON --png OUT.png [--script FILE] [--window]`: opens an add-on's
// editor as a host does, in a headless window or (--window) in an X11 window
// on the screen, plays a script of pointer, key and menu steps into it, and
// writes the pictures and what the plug-in told the host.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "host/driver/HostError.h"
#include "host/driver/addon/Patch.h"
#include "host/driver/addon/Plugin.h"
#include "host/driver/addon/Watchdog.h"
#include "host/driver/editor/EditorRun.h"
#include "host/driver/editor/EditorScript.h"
#include "host/driver/editor/EditorSession.h"
#include "host/driver/editor/EditorWindow.h"
#include "host/driver/files/OutputFile.h"
#include "platform/api/EditorScale.h"

namespace {

struct Options {
    std::string addon, png, script;
    std::string program; // empty: leave the effect's own program
    std::vector<std::string> sets;
    std::string timeout = "5000";
    bool window = false;
    int scale = 0; // 0: the environment's or the X server's
};

void printHostCalls(const HostRecorder& recorder)
{
    const std::vector<HostCall> calls = recorder.calls();
    std::printf("host calls: %zu\n", calls.size());
    for (const HostCall& c : calls)
        std::printf("  %s\n", describeHostCall(c).c_str());
    if (const uint64_t dropped = recorder.droppedCalls())
        std::printf("  (%llu more not kept)\n", static_cast<unsigned long long>(dropped));
}

void run(const Options& opt)
{
    if (opt.png.empty() && !opt.window)
        throw CLI::RequiredError("--png");
    // Everything the user typed is checked before the add-on is loaded.
    const PatchChoice patch(opt.program, opt.sets);
    const bigtime_t timeout = Watchdog::parseTimeout(opt.timeout);
    const EditorScript script = opt.script.empty() ? EditorScript{} : readEditorScript(opt.script);
    if (!opt.png.empty())
        checkPngOutput(opt.png);

    // The add-on sees only its record: the scale reaches it (and an editor
    // linked into this program) through the environment, before opcode 13.
    if (opt.scale > 0)
        editor_scale::handToAddOns(opt.scale);
    Plugin plugin(opt.addon);
    patch.check(plugin);
    std::string whyNot;
    if (!(opt.window ? takesX11Windows(plugin, &whyNot) : takesHeadlessWindows(plugin, &whyNot)))
        throw HostError(opt.addon + ": " + whyNot);
    const auto size = askEditorSize(plugin, &whyNot);
    if (!size)
        throw HostError(opt.addon + ": " + whyNot);
    checkScriptFitsWindow(script, size->width, size->height);
    patch.apply(plugin);
    std::printf("editor: %d x %d\n", size->width, size->height);
    std::fflush(stdout);
    std::string title;
    if (opt.window) {
        title = plugin.effectName();
        if (title.empty())
            title = plugin.path();
    }
    runEditor(plugin, *size, {opt.window, title, script, opt.png, timeout});
    printParameters(plugin, "parameters:");
    printHostCalls(plugin.recorder());
}

} // namespace

void addEditorCommand(CLI::App& app)
{
    auto opt = std::make_shared<Options>();
    CLI::App* cmd =
        app.add_subcommand("editor", "Open an add-on's editor in a headless or an X11 window, play "
                                     "a script of pointer, key and menu steps, write PNGs");
    cmd->add_option("ADDON", opt->addon, "Add-on file (.so)")->required();
    cmd->add_option("--png", opt->png,
                    "The final picture, written when the script is over (needed without --window)")
        ->type_name("OUT.png");
    cmd->add_option("--script", opt->script, "Steps to play (see below); none: just the picture")
        ->type_name("FILE");
    cmd->add_option("--program", opt->program,
                    "Select program N (0 to numPrograms-1) before opening")
        ->type_name("N");
    cmd->add_option("--set", opt->sets,
                    "Set parameter INDEX to VALUE (0..1) after the program; repeatable")
        ->type_name("INDEX=VALUE")
        ->allow_extra_args(false);
    CLI::Option* window = cmd->add_flag(
        "--window", opt->window,
        "Open the editor in a window on $DISPLAY, as a Linux host does (for add-ons\n"
        "for Linux hosts); without --script or --png it stays until closed or Ctrl+Q");
    cmd->add_option("--scale", opt->scale,
                    "Show each editor pixel as an N x N block (1 to 4; default: GDK_SCALE, else\n"
                    "the X server's Xft.dpi: 2 from 192, 3 from 288); opcode 13, the window,\n"
                    "script steps and pictures are then in screen pixels")
        ->type_name("N")
        ->check(CLI::Range(1, 4))
        ->needs(window);
    cmd->add_option("--timeout", opt->timeout,
                    "Give up on the add-on after MS milliseconds without an answer (default 5000)")
        ->type_name("MS");
    cmd->footer(
        std::string(
            "Opcode 13 gives the window's size, opcode 14 hands it over, opcode 19 runs every\n"
            "20 ms on a host thread, opcode 15 closes it. Before the first step, before each\n"
            "png and before OUT.png the window redraws and one idle runs. Prints each picture\n"
            "written, the parameters at the end and every call the plug-in made to the host.\n\n"
            "With --window the editor gets a top-level X11 window titled with the effect's name:\n"
            "opcode 14 hands over its id, the editor's window is its first child, opcode 19 runs\n"
            "every 40 ms. The steps are real X input (XTest): each waits until the picture has\n"
            "stayed the same for 150 ms (1 s at most); a menu is answered with the pointer, as a\n"
            "user answers it (onto the item, then a release or a click; a click outside\n"
            "dismisses it). Pictures are the server's pixels of the editor's window. Without\n"
            "--script or --png the window needs no XTest. Add-ons entered by main_plugin take\n"
            "headless windows only, all others X11 windows only.\n\n") +
        kEditorScriptHelp);
    cmd->callback([opt] { run(*opt); });
}
