// wobrix-gallery: the toolkit's gallery editor, opened in a headless window
// (or, with --window, an X11 window on the screen) the way wobrix-host opens
// an add-on's editor, driven by the same script of pointer, key and menu
// steps. The effect is made in this process through
// its entry function, and the pictures come from this program's own resources.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "WobrixVersion.h"
#include "gallery/GalleryEffect.h"
#include "host/driver/HostError.h"
#include "host/driver/addon/Plugin.h"
#include "host/driver/addon/Watchdog.h"
#include "host/driver/editor/EditorRun.h"
#include "host/driver/editor/EditorScript.h"
#include "host/driver/editor/EditorSession.h"
#include "host/driver/editor/EditorWindow.h"
#include "host/driver/files/OutputFile.h"

namespace {

// Where messages name the effect, as wobrix-host names the add-on's file.
constexpr const char* kEffectName = "gallery";

struct Options {
    std::string png, script;
    std::string timeout = "5000";
    bool still = false;
    bool window = false;
};

void run(const Options& opt)
{
    if (opt.png.empty() && !opt.window)
        throw CLI::RequiredError("--png");
    // Everything the user typed is checked before the editor opens.
    const bigtime_t timeout = Watchdog::parseTimeout(opt.timeout);
    const EditorScript script = opt.script.empty() ? EditorScript{} : readEditorScript(opt.script);
    if (!opt.png.empty())
        checkPngOutput(opt.png);

    // The entry gets the back end of the window the gallery opens in.
    const WindowAdopter adopter =
        opt.window ? EditorWindow::windowAdopter() : EditorSession::windowAdopter();
    Plugin plugin([&](HostCallback host) { return createGallery(host, opt.still, adopter); },
                  kEffectName);
    // Its pictures load when the editor opens; refused before, in one line.
    if (const std::string missing = plugin.missingPictures(); !missing.empty())
        throw HostError(missing);
    std::string whyNot;
    const auto size = askEditorSize(plugin, &whyNot);
    if (!size)
        throw HostError(std::string(kEffectName) + ": " + whyNot);
    checkScriptFitsWindow(script, size->width, size->height);
    runEditor(plugin, *size,
              {opt.window, opt.window ? plugin.effectName() : "", script, opt.png, timeout});
}

} // namespace

int main(int argc, char** argv)
{
    Options opt;
    CLI::App app{
        "wobrix-gallery: every control of the toolkit in one editor, opened in a headless window,\n"
        "driven by a script of pointer, key and menu steps, written as PNG pictures",
        "wobrix-gallery"};
    app.add_option("--png", opt.png,
                   "The final picture, written when the script is over (needed without --window)")
        ->type_name("OUT.png");
    app.add_option("--script", opt.script,
                   "Pointer, key and menu steps to play (see below); none: just the picture")
        ->type_name("FILE");
    app.add_option("--timeout", opt.timeout,
                   "Give up on the editor after MS milliseconds without an answer (default 5000)")
        ->type_name("MS");
    app.add_flag("--window", opt.window,
                 "Open the gallery in a window on $DISPLAY, as a Linux host opens an editor;\n"
                 "without --script or --png it stays until closed or Ctrl+Q");
    app.add_flag(
        "--still", opt.still,
        "Nothing moves by itself: the meter keeps one level and the animation does not step,\n"
        "so the same steps always give the same pictures");
    app.set_version_flag("--version", std::string("wobrix-gallery ") + kWobrixVersion,
                         "Print the version and exit");
    app.footer(
        std::string(
            "The editor opens as a host opens an add-on's: its size from opcode 13, the window\n"
            "handed over with opcode 14, opcode 19 every 20 ms on a host thread, opcode 15 at the\n"
            "end. Before the first step, before each png and before OUT.png the window redraws\n"
            "and one idle runs. Prints one line for every notification of a control, as\n"
            "`tag T value V`, with ` text \"...\"` for the text edit and the option menu, then\n"
            "each picture written. With --window it opens as `wobrix-host editor --window` opens\n"
            "an add-on's editor (see its --help).\n\n") +
        kEditorScriptHelp +
        "\nExit status: 0 when the run did what it was asked; 1 when it failed while running\n"
        "(a script line, a file that cannot be written, an editor that stops answering); 2\n"
        "when what was typed is refused (an unknown option, a malformed value); 128 + N when\n"
        "signal N stopped it while writing a picture, whose unfinished copy is then removed.\n");
    try {
        app.parse(argc, argv);
        run(opt);
    } catch (const CLI::Success& e) {
        return app.exit(e); // --help, --version
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "wobrix-gallery: %s (see --help)\n", e.what());
        return 2;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "wobrix-gallery: %s\n", e.what());
        return 2;
    } catch (const HostError& e) {
        // Script errors too: "wobrix-gallery: FILE:LINE: message".
        std::fflush(stdout);
        std::fprintf(stderr, "wobrix-gallery: %s\n", e.what());
        return 1;
    }
    return 0;
}
