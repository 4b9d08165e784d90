// WindowSession: an editor opened the way a Linux host opens it, in an X11
// window of our own (platform/backends/x11/X11HostWindow.h): the size from
// opcode 13, the window's id handed over with opcode 14, opcode 19 at 25 Hz
// on a host thread, opcode 15 at the end. The script's steps reach the
// plug-in as real X input (platform/backends/x11/X11InputDriver.h, opened
// only for a script or a picture, so a live window needs no XTest), and the
// pictures are the server's pixels.
#pragma once

#include "platform/api/Window.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EditorDriver.h"
#include "EditorIdle.h"
#include "EditorSession.h"
#include "host/driver/addon/Watchdog.h"
#include "plugin/AEffect.h"

class Plugin;
class X11HostWindow;
class X11InputDriver;

// True when the effect's editor takes the X11 window id a window session
// hands over: an add-on for Linux hosts (VSTPluginMain, main), or an entry
// function linked into this program. An add-on entered by main_plugin takes
// headless windows only; whyNot then says so, and names the add-on for Linux
// hosts our build puts beside it.
bool takesX11Windows(const Plugin& plugin, std::string* whyNot);

class WindowSession final : public EditorDriver {
public:
    static constexpr bigtime_t kIdlePeriod = 40000; // opcode 19 at 25 Hz

    // Opens a window titled `title` at the editor's size and the editor in
    // it; HostError when there is no display or the editor refuses. Every
    // wait for the add-on gives up after the policy's limit.
    WindowSession(Plugin& plugin, EditorSize size, const std::string& title,
                  Watchdog::Policy policy);
    ~WindowSession() override;
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;

    // For an editor linked into this program: turns the window id a session
    // hands to the editor opcode into the editor's window.
    static WindowAdopter windowAdopter();

    // Each input step is sent, the server is synchronised, and then the
    // step waits until the plug-in's picture has stayed the same for a
    // while (see settle()).
    void move(int32_t x, int32_t y) override;
    void press(int32_t x, int32_t y, uint32_t buttons, uint32_t keys) override;
    void release() override;
    void key(const std::string& bytes, uint32_t keys) override;
    // A pop-up menu is a window of the plug-in's own on the screen, answered
    // as a user answers it: the pointer onto the item (its rows measured by
    // the highlight at the top), then a release or a click; a press outside
    // dismisses it, and so does a choice past the last item. With a menu
    // open, or a button held (which may be opening one), it is answered now;
    // otherwise the next press that opens a menu takes the answer.
    void menu(int32_t choice) override;
    void checkMenuAnswered() override;
    void idle() override { idler.now(); }
    // An idle, and the picture settled: the window's pixels are the
    // plug-in's to draw, so there is no redraw to ask for.
    void refresh() override;
    void writePng(const std::string& path) override;
    void endInput() override;
    // The destructor does it too.
    void close() override;

    // The picture made current, then until the user closes the window or
    // presses Ctrl+Q in it; then the editor closed.
    void waitForClose();

private:
    void input(int32_t x, int32_t y, uint32_t buttons, uint32_t keys);
    void screenInput(int32_t x, int32_t y, uint32_t buttons);
    // Waits until the pixels of the editor's window (or of window `popup`)
    // have stayed the same for a while.
    void settle(uint32_t popup = 0);
    void answerMenu();
    [[noreturn]] void fail(const std::string& message);
    // The scripted input, opened at its first use.
    X11InputDriver& driver();

    std::unique_ptr<X11HostWindow> window;
    std::unique_ptr<X11InputDriver> input_;
    EditorIdle idler;
    int32_t pointerX = 0, pointerY = 0;
    uint32_t heldButtons = 0, heldKeys = 0;
    int32_t pendingChoice = 0;
    std::string answerPlace; // where an answer not taken yet was given; empty: none
    bool isOpen = false;
};
