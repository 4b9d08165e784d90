// EditorSession: an add-on's editor opened the way a host opens it, in a
// headless window (platform/backends/headless/HeadlessHost.h): the size from
// opcode 13, the window's record handed over with opcode 14, opcode 19 at a
// steady rate on a host thread, opcode 15 at the end. In between, the driving
// thread moves the pointer, presses and releases, sends keys, answers pop-up
// menus and writes the picture.
#pragma once

#include "platform/api/Window.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "EditorDriver.h"
#include "EditorIdle.h"
#include "EditorScript.h"
#include "host/driver/addon/Watchdog.h"
#include "plugin/AEffect.h"

class HeadlessHost;
class Plugin;

struct EditorSize {
    int32_t width = 0;
    int32_t height = 0;
};

// The editor's size (opcode 13). Nothing, with the reason in *whyNot, when
// the effect declares no editor, gives no rectangle, or gives an all-zero
// one while its file carries no pictures (as a stripped add-on does);
// HostError when the rectangle is otherwise empty or wider or taller than a
// headless window can be.
std::optional<EditorSize> askEditorSize(Plugin& plugin, std::string* whyNot);

// True when the effect's editor takes the headless window records a session
// hands over: an add-on entered by main_plugin, or an entry function linked
// into this program. An add-on for Linux hosts (VSTPluginMain, main) takes
// X11 windows instead; whyNot then says so.
bool takesHeadlessWindows(const Plugin& plugin, std::string* whyNot);

class EditorSession final : public EditorDriver {
public:
    static constexpr bigtime_t kIdlePeriod = 20000; // opcode 19 at 50 Hz

    // Opens the editor; HostError when it refuses. Every wait for the
    // add-on gives up after the policy's limit.
    EditorSession(Plugin& plugin, EditorSize size, Watchdog::Policy policy);
    ~EditorSession() override;

    // For an editor linked into this program: turns what a session hands to
    // the editor opcode into the editor's window.
    static WindowAdopter windowAdopter();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    void move(int32_t x, int32_t y) override;
    // Waits until the press has returned from MouseDown, the tracking loop
    // it started has settled as after a move (the state posted again until
    // seven reads have seen it), or a pop-up menu has opened (it waits for
    // menu()).
    void press(int32_t x, int32_t y, uint32_t buttons, uint32_t keys) override;
    void release() override;
    // Waits until the window has delivered the key to its focus view (or
    // dropped it).
    void key(const std::string& bytes, uint32_t keys) override;
    // With a menu open, waits until it has taken the answer and closed, then
    // as after a move while the press that opened it is held; otherwise the
    // answer waits for the next press that opens a menu, which waits the
    // same way.
    void menu(int32_t choice) override;
    void checkMenuAnswered() override;
    void idle() override { idler.now(); }
    // A redraw and an idle pass. While a press is tracked the window cannot
    // redraw (its thread is inside MouseDown), so the picture stays as the
    // tracking loop drew it.
    void refresh() override;
    void writePng(const std::string& path) override;
    void endInput() override;
    // The destructor does it too.
    void close() override;

private:
    bool pressReturned();
    void waitAnswerTaken();
    void waitTaken(const char* what);
    void waitProcessed(const char* what);
    void waitDetached();
    std::string withinTimeout() const;
    // A wait timed out: releases everything and, once the window answers
    // again, throws HostError so the editor closes; else gives up.
    [[noreturn]] void fail(const std::string& message);

    std::unique_ptr<HeadlessHost> host;
    EditorIdle idler;
    int32_t pointerX = 0, pointerY = 0;
    uint32_t heldButtons = 0, heldKeys = 0;
    uint32_t pendingPress = 0; // serial of a press whose MouseDown may not have returned
    uint32_t menusSeen = 0;    // menus opened when the driver last looked
    std::string answerPlace;   // where an answer not taken yet was given; empty: none
    bool isOpen = false;
};
