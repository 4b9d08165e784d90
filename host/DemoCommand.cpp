// `demo [--out DIR] [--addon PATH]`: a synthetic bass riff through every
// program of the add-on, as WAVs and one PNG per program; and, when the
// add-on has an editor, its picture for each program and after a click on
// the kick button. Without --out the files go to ./NAME-demo, NAME the
// add-on's file name.
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BassRiff.h"
#include "Commands.h"
#include "LevelCurve.h"
#include "Plot.h"
#include "Renderer.h"
#include "host/driver/HostError.h"
#include "host/driver/addon/Patch.h"
#include "host/driver/addon/Plugin.h"
#include "host/driver/editor/EditorSession.h"
#include "host/driver/files/WavFile.h"
#include "platform/api/InterfaceDefs.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;
constexpr int32_t kBlock = 512;
constexpr bigtime_t kEditorTimeout = 5000000;
// The middle of the bass editor's kick button, (285, 13) to (329, 51).
constexpr int32_t kKickX = 307;
constexpr int32_t kKickY = 32;

// The add-on built beside this executable; installed, the executable is in
// PREFIX/bin and the add-on in PREFIX/lib/vst, where Linux hosts look, or,
// installed without a prefix, in ~/.vst.
std::string defaultAddOn()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "WobrixFree.so";
    const fs::path beside = self.parent_path() / "WobrixFree.so";
    if (fs::exists(beside, ec))
        return beside.string();
    std::vector<fs::path> installed{self.parent_path().parent_path() / "lib/vst/WobrixFree.so"};
    if (const char* home = std::getenv("HOME"); home && *home)
        installed.push_back(fs::path(home) / ".vst/WobrixFree.so");
    for (const fs::path& p : installed)
        if (fs::exists(p, ec))
            return p.string();
    return beside.string();
}

// ./WobrixFree-demo for WobrixFree.so, in the folder the command runs in.
std::string defaultOutDir(const std::string& addonPath)
{
    const std::string stem = fs::path(addonPath).stem().string();
    return stem.empty() ? std::string("demo") : stem + "-demo";
}

void makeFolder(const std::string& dir)
{
    std::error_code ec;
    if (fs::create_directories(dir, ec) || (!ec && fs::is_directory(dir, ec)))
        return;
    std::string why = ec ? ec.message() : "not a folder";
    // The system's reason alone ("Not a directory") hides which file is in the way.
    std::error_code ignored;
    for (fs::path p = dir; !p.empty() && p != p.parent_path(); p = p.parent_path())
        if (fs::exists(p, ignored) && !fs::is_directory(p, ignored)) {
            why += " (" + p.string() + " is a file)";
            break;
        }
    throw HostError(dir + ": cannot create folder: " + why);
}

std::string slug(const std::string& name)
{
    std::string s;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c))
            s += static_cast<char>(std::tolower(c));
        else if (!s.empty() && s.back() != '-')
            s += '-';
    }
    while (!s.empty() && s.back() == '-')
        s.pop_back();
    return s.empty() ? "program" : s;
}

// The editor in each program, then one click on the kick button in the last
// program and the random patch it made. Optional: an add-on without an
// editor gets a one-line note.
void writeEditorPictures(Plugin& plugin, const std::string& outDir)
{
    std::string whyNot;
    const auto size =
        takesHeadlessWindows(plugin, &whyNot) ? askEditorSize(plugin, &whyNot) : std::nullopt;
    if (!size) {
        std::printf("editor pictures skipped: %s\n", whyNot.c_str());
        return;
    }
    EditorSession session(plugin, *size, Watchdog::Policy::scripted(kEditorTimeout));
    const int32_t programs = plugin.effect().numPrograms;
    for (int32_t p = 0; p < programs; ++p) {
        plugin.selectProgram(p);
        const std::string path =
            (fs::path(outDir) / ("editor-p" + std::to_string(p) + ".png")).string();
        session.writePng(path);
        std::printf("%s\n", path.c_str());
    }
    if (kKickX >= size->width || kKickY >= size->height) {
        std::printf("kick click skipped: (%d, %d) is outside the %d x %d editor\n", kKickX, kKickY,
                    size->width, size->height);
        return;
    }
    session.press(kKickX, kKickY, B_PRIMARY_MOUSE_BUTTON, 0);
    session.release();
    const std::string path = (fs::path(outDir) / "editor-kick.png").string();
    session.writePng(path);
    session.close();
    std::printf("%s\n", path.c_str());
    printParameters(
        plugin, ("after the kick click in program " + std::to_string(plugin.currentProgram()) + ":")
                    .c_str());
}

void run(const std::string& outDir, const std::string& addonPath)
{
    makeFolder(outDir);
    Plugin plugin(addonPath);
    if (!plugin.canReplace())
        throw HostError(addonPath + ": the effect has no processReplacing");
    const int32_t programs = plugin.effect().numPrograms;

    const StereoAudio dry = makeBassRiff(kRate);
    const std::string dryPath = (fs::path(outDir) / "dry.wav").string();
    writeStereoFloatWav(dryPath, dry);
    std::printf("%s\n", dryPath.c_str());

    for (int32_t p = 0; p < programs; ++p) {
        const std::string name = plugin.programName(p);
        const std::string base =
            (fs::path(outDir) / ("program-" + std::to_string(p) + "-" + slug(name))).string();
        plugin.selectProgram(p);
        plugin.prepare(kRate, kBlock);
        Renderer renderer(plugin, kBlock, ProcessMode::Replacing);
        StereoAudio wet;
        wet.sampleRate = kRate;
        renderer.run(dry.left, dry.right, wet.left, wet.right);
        writeStereoFloatWav(base + ".wav", wet);
        const auto curve = measureLevelCurve(plugin, kRate);
        writeProgramPlot(base + ".png", std::to_string(p) + ": " + name, dry, wet, curve);
        std::printf("%s.wav\n%s.png\n", base.c_str(), base.c_str());
    }
    writeEditorPictures(plugin, outDir);
    std::error_code ec;
    const fs::path where = fs::absolute(outDir, ec);
    std::printf("wrote dry.wav and %d programs of %s into %s\n", programs,
                plugin.effectName().c_str(), (ec ? fs::path(outDir) : where).c_str());
}

} // namespace

void addDemoCommand(CLI::App& app)
{
    struct Options {
        std::string out; // empty: ./NAME-demo
        std::string addon;
    };
    auto opt = std::make_shared<Options>();
    CLI::App* cmd =
        app.add_subcommand("demo", "Render a synthetic bass riff through every program; write "
                                   "WAVs, PNG plots and editor pictures");
    cmd->add_option("--out", opt->out,
                    "Folder for the files, created if needed (default: NAME-demo in the current "
                    "folder, NAME the add-on's file name without .so)")
        ->type_name("DIR");
    cmd->add_option("--addon", opt->addon,
                    "Add-on to use (default: WobrixFree.so beside the wobrix-host executable, "
                    "else ../lib/vst/WobrixFree.so from its folder, else ~/.vst/WobrixFree.so, "
                    "as installed)")
        ->type_name("ADDON");
    cmd->callback([opt] {
        const std::string addon = opt->addon.empty() ? defaultAddOn() : opt->addon;
        run(opt->out.empty() ? defaultOutDir(addon) : opt->out, addon);
    });
}
