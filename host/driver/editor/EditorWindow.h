// EditorWindow: an editor live in a top-level X11 window of our own, the way
// a Linux host shows it (platform/backends/x11/X11HostWindow.h): the size
// from opcode 13, the window's id handed over with opcode 14, opcode 19 at
// 25 Hz on a host thread until the user closes the window or presses Ctrl+Q
// in it, opcode 15 at the end. It needs nothing of the server but the core
// protocol (no XTEST); scripted input is WindowSession's.
#pragma once

#include <memory>
#include <string>

#include "EditorIdle.h"
#include "EditorSession.h"
#include "platform/api/Window.h"
#include "platform/backends/x11/X11HostWindow.h"

class Plugin;
class Watchdog;

// True when the effect's editor takes the X11 window id this window hands
// over: an add-on for Linux hosts (VSTPluginMain, main), or an entry function
// linked into this program. An add-on entered by main_plugin takes headless
// windows only; whyNot then says so, and names the add-on for Linux hosts our
// build puts beside it.
bool takesX11Windows(const Plugin& plugin, std::string* whyNot);

class EditorWindow {
public:
    static constexpr bigtime_t kIdlePeriod = 40000; // opcode 19 at 25 Hz

    // Opens a window named `names` at the editor's size and the editor in
    // it, its idle thread running; HostError when there is no display, the
    // editor refuses or shows nothing within the watchdog's limit. Opcodes
    // 14, 15 and 19 are watched by `dog`, which outlives this window.
    EditorWindow(Plugin& plugin, Watchdog& dog, EditorSize size, const X11HostWindow::Names& names);
    // Closes the editor if it is still open.
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    // For an editor linked into this program: turns the window id handed to
    // the editor opcode into the editor's window.
    static WindowAdopter windowAdopter();

    X11HostWindow& window() { return *shown; }
    // One idle now, never at the same time as the idle thread's.
    void idle() { idler.now(); }
    // True once the user has closed the window or pressed Ctrl+Q in it (the
    // window manager's close, the window destroyed, the connection gone);
    // waits up to `timeout` for it.
    bool closeRequested(bigtime_t timeout) { return shown->closeRequested(timeout); }
    // Until then.
    void waitForClose();
    // Stops the idle thread, sends opcode 15 and gives the plug-in's window
    // the time to go first; once only.
    void close();

private:
    Plugin& plugin;
    Watchdog& dog;
    std::unique_ptr<X11HostWindow> shown;
    EditorIdle idler;
    bool isOpen = false;
};
