// wobrix-jack: WobrixFree live on a running JACK server, with no DAW. The
// add-on is loaded through its record, as wobrix-host loads it; the server's
// buffers go to processReplacing, the plug-in's calls to the host reach the
// real-time-safe callback, and the editor opens in a window of its own
// (or none, --headless).
#include <CLI/CLI.hpp>

#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "JackClient.h"
#include "LiveAudio.h"
#include "LiveState.h"
#include "WobrixVersion.h"
#include "host/driver/HostError.h"
#include "host/driver/addon/Patch.h"
#include "host/driver/addon/Plugin.h"
#include "host/driver/addon/Watchdog.h"
#include "host/driver/editor/EditorSession.h"
#include "host/driver/editor/EditorWindow.h"
#include "host/driver/files/OutputFile.h"
#include "platform/api/EditorScale.h"

namespace fs = std::filesystem;

namespace {

constexpr bigtime_t kLook = 100000;          // between two looks for an end
constexpr bigtime_t kEditorLimit = 5000000;  // a slow editor call is warned of
constexpr bigtime_t kEditorStall = 60000000; // and given up on after a minute

struct Options {
    std::string addon;
    bool headless = false;
    std::string name = "WobrixFree";
    std::vector<std::string> connects;
    bool autoconnect = false;
    std::string program;
    std::vector<std::string> sets;
    std::string state;
    int scale = 0; // 0: the environment's or the X server's
    bool verbose = false;
};

struct Link {
    std::string ours, theirs;
};

// SRC=DST with one of our ports, bare, on one side and CLIENT:PORT on the
// other, in the direction of the flow.
Link parseConnect(const std::string& text)
{
    const size_t eq = text.find('=');
    const std::string from = text.substr(0, eq),
                      to = eq == std::string::npos ? "" : text.substr(eq + 1);
    auto ours = [](const std::string& p, bool output) {
        return output ? (p == "out_l" || p == "out_r") : (p == "in_l" || p == "in_r");
    };
    if (eq != std::string::npos && ours(from, true) && to.find(':') != std::string::npos)
        return {from, to};
    if (eq != std::string::npos && ours(to, false) && from.find(':') != std::string::npos)
        return {to, from};
    throw UsageError("--connect " + text +
                     ": expected out_l or out_r=CLIENT:PORT, or CLIENT:PORT=in_l or in_r");
}

// The add-on for Linux hosts our build puts beside this program, else the
// installed one (PREFIX/bin and PREFIX/lib/vst); never the current folder.
std::string defaultAddOn()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        throw HostError("cannot find this program's own folder; name the add-on");
    for (const fs::path& p : {self.parent_path() / "hosts/WobrixFree.so",
                              self.parent_path().parent_path() / "lib/vst/WobrixFree.so"})
        if (fs::exists(p, ec))
            return p.string();
    throw HostError("no WobrixFree.so in " + (self.parent_path() / "hosts").string() + " or " +
                    (self.parent_path().parent_path() / "lib/vst").string() + "; name the add-on");
}

// The signal that ended the wait, 0 for none within `timeout`.
int takeSignal(const sigset_t& ends, bigtime_t timeout)
{
    const timespec wait{static_cast<time_t>(timeout / 1000000),
                        static_cast<long>(timeout % 1000000) * 1000};
    const int signal = sigtimedwait(&ends, nullptr, &wait);
    return signal > 0 ? signal : 0;
}

int run(const Options& opt, const sigset_t& ends)
{
    // Everything typed is checked before the add-on is loaded.
    const PatchChoice patch(opt.program, opt.sets);
    std::vector<Link> links;
    for (const std::string& c : opt.connects)
        links.push_back(parseConnect(c));
    const std::optional<LiveState> saved =
        opt.state.empty() ? std::nullopt : readLiveState(opt.state);
    if (!opt.state.empty())
        checkOutputFolder(opt.state);

    // The add-on sees only its record: the scale reaches it through the
    // environment, before opcode 13.
    if (opt.scale > 0)
        editor_scale::handToAddOns(opt.scale);
    Plugin plugin(opt.addon.empty() ? defaultAddOn() : opt.addon, HostSide::Realtime);
    if (!plugin.canReplace())
        throw HostError(plugin.path() + ": the effect cannot process in place (processReplacing)");
    patch.check(plugin);
    if (saved)
        checkLiveState(*saved, opt.state, plugin);
    std::optional<EditorSize> size;
    if (!opt.headless) {
        std::string whyNot;
        if (!takesX11Windows(plugin, &whyNot) || !(size = askEditorSize(plugin, &whyNot)))
            throw HostError(plugin.path() + ": " + whyNot + " (or run it --headless)");
    }

    JackClient jack(opt.name, opt.verbose);
    plugin.prepare(jack.sampleRate(), static_cast<int32_t>(jack.bufferSize()));
    if (saved)
        applyLiveState(*saved, plugin);
    patch.apply(plugin);
    if (opt.verbose)
        std::printf("jack: %u Hz, %u frames a period\n", jack.sampleRate(), jack.bufferSize());
    LiveAudio audio(&plugin.effect());
    jack.activate(audio);
    for (const Link& l : links)
        if (std::string why; !jack.connect(l.ours, l.theirs, &why))
            std::fprintf(stderr, "wobrix-jack: %s\n", why.c_str());
    if (opt.autoconnect)
        jack.autoconnect();
    std::fflush(stdout);

    Watchdog dog(Watchdog::Policy::live(kEditorLimit, kEditorStall));
    std::unique_ptr<EditorWindow> window;
    if (size) {
        const std::string title = plugin.effectName();
        window =
            std::make_unique<EditorWindow>(plugin, dog, *size, X11HostWindow::Names{title, "", ""});
    }
    int status = 0;
    for (;;) {
        if (takeSignal(ends, window ? 0 : kLook) != 0)
            break;
        if (jack.serverGone()) {
            std::fprintf(stderr, "wobrix-jack: the JACK server went away\n");
            status = 1;
            break;
        }
        if (window && window->closeRequested(kLook))
            break;
    }
    if (window)
        window->close();
    if (opt.verbose)
        std::printf("jack: %llu xruns\n", static_cast<unsigned long long>(jack.xruns()));
    if (!opt.state.empty())
        writeLiveState(opt.state, plugin);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    // The signals that end a session are taken by the main thread alone:
    // blocked here, before any thread starts, and waited for.
    sigset_t ends;
    sigemptyset(&ends);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&ends, s);
    pthread_sigmask(SIG_BLOCK, &ends, nullptr);

    Options opt;
    CLI::App app{"wobrix-jack: WobrixFree live on a running JACK server, its editor in a window",
                 "wobrix-jack"};
    app.add_option("ADDON", opt.addon,
                   "Add-on for Linux hosts (.so); default: hosts/WobrixFree.so beside this\n"
                   "program, else PREFIX/lib/vst/WobrixFree.so")
        // The name alone: a type name would repeat it in the help.
        ->type_name("");
    app.add_flag("--headless", opt.headless, "No window and no X connection; refuses --scale");
    app.add_option("--name", opt.name,
                   "The JACK client's name, exactly; one in use is refused (default WobrixFree)")
        ->type_name("NAME");
    app.add_option("--connect", opt.connects,
                   "Connect out_l/out_r to CLIENT:PORT, or CLIENT:PORT to in_l/in_r; repeatable")
        ->type_name("SRC=DST")
        ->allow_extra_args(false);
    app.add_flag("--autoconnect", opt.autoconnect,
                 "Capture 1 and 2 to in_l and in_r, out_l and out_r to playback 1 and 2");
    app.add_option("--program", opt.program, "Select program N (0 to numPrograms-1)")
        ->type_name("N");
    app.add_option("--set", opt.sets,
                   "Set parameter INDEX to VALUE (0..1) after the program; repeatable")
        ->type_name("INDEX=VALUE")
        ->allow_extra_args(false);
    app.add_option("--state", opt.state,
                   "Read the program and values from FILE at start (when it exists) and write\n"
                   "them there on every exit")
        ->type_name("FILE");
    app.add_option("--scale", opt.scale,
                   "Show each editor pixel as an N x N block (1 to 4; default: GDK_SCALE, else\n"
                   "the X server's Xft.dpi: 2 from 192, 3 from 288)")
        ->type_name("N")
        // No validator text or "Excludes:" in the help: the text says both.
        ->check(CLI::Range(1, 4).description(""));
    app.add_flag(
        "--verbose", opt.verbose,
        "Print the server's rate and period, libjack's messages, and the xruns at the end");
    app.set_version_flag("--version", std::string("wobrix-jack ") + kWobrixVersion,
                         "Print the version and exit");
    app.footer("Its ports: in_l, in_r, out_l, out_r. It never starts a JACK server: with none\n"
               "running it exits 1. The window's close or Ctrl+Q in it, SIGINT, SIGTERM and\n"
               "SIGHUP end it (exit 0); the server going away ends it with exit 1.\n"
               "Exit status 2: what was typed is refused (an option, a malformed state file).");
    try {
        app.parse(argc, argv);
        if (opt.headless && app.count("--scale") > 0)
            throw CLI::ExcludesError("--scale", "--headless");
        return run(opt, ends);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "wobrix-jack: %s (see --help)\n", e.what());
        return 2;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "wobrix-jack: %s\n", e.what());
        return 2;
    } catch (const HostError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "wobrix-jack: %s\n", e.what());
        return 1;
    }
}
