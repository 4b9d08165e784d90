// EditorWindow: opening the editor in our top-level window, its idle, the
// wait for the user, and closing it.
#include "EditorWindow.h"

#include <cstdint>
#include <filesystem>

#include "host/driver/HostError.h"
#include "host/driver/addon/Plugin.h"
#include "host/driver/addon/Watchdog.h"
#include "platform/backends/x11/X11Backend.h"

namespace fs = std::filesystem;

namespace {
constexpr bigtime_t kPollSlice = 10000;   // between two looks at the window
constexpr bigtime_t kCloseSlice = 100000; // between two looks for the user's close
} // namespace

bool takesX11Windows(const Plugin& plugin, std::string* whyNot)
{
    if (plugin.entryName() != "main_plugin")
        return true;
    // Our build puts the add-on for Linux hosts in hosts/ beside this one.
    const fs::path file(plugin.path());
    const fs::path forHosts = file.parent_path() / "hosts" / file.filename();
    *whyNot =
        "takes headless windows only (entry main_plugin); use " +
        (fs::exists(forHosts) ? forHosts.string() : std::string("an add-on for Linux hosts")) +
        " with --window";
    return false;
}

WindowAdopter EditorWindow::windowAdopter()
{
    return adoptX11Window;
}

EditorWindow::EditorWindow(Plugin& p, Watchdog& watchdog, EditorSize size,
                           const X11HostWindow::Names& names)
    : plugin(p), dog(watchdog),
      idler([this] { plugin.dispatchWatched(dog, effEditIdle, "opcode 19 (editor idle)"); },
            kIdlePeriod)
{
    std::string whyNot;
    shown = X11HostWindow::open(names, size.width, size.height, dog.timeout(), &whyNot);
    if (!shown)
        throw HostError(whyNot);
    // A Linux host's parent window travels as the integer id in the pointer.
    const VstIntPtr opened =
        plugin.dispatchWatched(dog, effEditOpen, "opcode 14 (open the editor)",
                               reinterpret_cast<void*>(static_cast<uintptr_t>(shown->id())));
    if (opened == 0) {
        if (shown->child() != 0)
            plugin.dispatchWatched(dog, effEditClose, "opcode 15 (close the editor)");
        throw HostError(plugin.path() + ": the editor refused to open (opcode 14 answered 0)");
    }
    isOpen = true;
    idler.start();
    // The plug-in's window is the first child of ours, shown once mapped.
    const bigtime_t end = system_time() + dog.timeout();
    while (!shown->childShown()) {
        if (system_time() >= end) {
            close();
            throw HostError(plugin.path() + ": the editor showed no window inside ours within " +
                            std::to_string(dog.timeout() / 1000) + " ms of opcode 14");
        }
        snooze(kPollSlice);
    }
    shown->focusChild();
}

EditorWindow::~EditorWindow()
{
    close();
}

void EditorWindow::waitForClose()
{
    while (!shown->closeRequested(kCloseSlice)) {
    }
}

void EditorWindow::close()
{
    if (!isOpen)
        return;
    isOpen = false;
    idler.stop();
    plugin.dispatchWatched(dog, effEditClose, "opcode 15 (close the editor)");
    // The plug-in's window goes with ours in any case; it is given the time
    // to go first.
    const bigtime_t end = system_time() + dog.timeout();
    while (shown->child() != 0 && system_time() < end)
        snooze(kPollSlice);
}
