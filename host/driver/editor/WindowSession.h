// WindowSession: a script played into an editor live in our top-level X11
// window (EditorWindow). The script's steps reach the plug-in as real X
// input (platform/backends/x11/X11InputDriver.h, opened at the first step
// that needs it), each waited for until the picture settles, and the
// pictures are the server's pixels.
#pragma once

#include "platform/api/Window.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EditorDriver.h"
#include "EditorSession.h"
#include "EditorWindow.h"
#include "host/driver/addon/Watchdog.h"
#include "plugin/AEffect.h"

class Plugin;
class X11InputDriver;

class WindowSession final : public EditorDriver {
public:
    // Opens a window titled `title` at the editor's size and the editor in
    // it; HostError when there is no display or the editor refuses. Every
    // wait for the add-on gives up after the policy's limit.
    WindowSession(Plugin& plugin, EditorSize size, const std::string& title,
                  Watchdog::Policy policy);
    ~WindowSession() override;
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;

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
    void idle() override { shown.idle(); }
    // An idle, and the picture settled: the window's pixels are the
    // plug-in's to draw, so there is no redraw to ask for.
    void refresh() override;
    void writePng(const std::string& path) override;
    void endInput() override;
    // The input ended and the editor closed; the destructor does it too.
    void close() override;

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

    EditorWindow shown;
    std::unique_ptr<X11InputDriver> input_; // released before the window goes
    int32_t pointerX = 0, pointerY = 0;
    uint32_t heldButtons = 0, heldKeys = 0;
    int32_t pendingChoice = 0;
    std::string answerPlace; // where an answer not taken yet was given; empty: none
    bool isOpen = false;
};
