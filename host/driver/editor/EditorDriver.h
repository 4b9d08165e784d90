// EditorDriver: what a script does to an open editor, whatever window it is
// in: the steps each session plays its own way, and the ones made of them
// (drags, typed text, a whole script).
#pragma once

#include <cstdint>
#include <string>

#include "EditorScript.h"
#include "host/driver/addon/Watchdog.h"
#include "platform/api/OS.h"
#include "plugin/AEffect.h"

class Plugin;

class EditorDriver {
public:
    static constexpr bigtime_t kMoveGap = 5000; // between the moves of a drag

    virtual ~EditorDriver() = default;

    // Where the driver is, for messages ("script.txt:4"); empty: the add-on.
    void setPlace(const std::string& where) { place = where; }

    // The pointer state; buttons and keys stay. While a button is held,
    // waits until the editor has acted on it and drawn.
    virtual void move(int32_t x, int32_t y) = 0;
    // Presses and holds; waits until the editor has taken the press.
    virtual void press(int32_t x, int32_t y, uint32_t buttons, uint32_t keys) = 0;
    // Every button and key up; waits until the press has ended.
    virtual void release() = 0;
    // One key (a character's UTF-8 or a key code) with modifier keys held;
    // waits until the editor has taken it.
    virtual void key(const std::string& bytes, uint32_t keys) = 0;
    // Answers the pop-up menu open now or the next to open: the choice-th
    // item that can be chosen, -1 to dismiss.
    virtual void menu(int32_t choice) = 0;
    // HostError (at the menu step's place) when an answer was never taken.
    virtual void checkMenuAnswered() = 0;
    // One idle now, never at the same time as the idle thread's.
    virtual void idle() = 0;
    // The picture made current: a redraw where the window can ask for one,
    // and an idle.
    virtual void refresh() = 0;
    // refresh(), then the picture as an opaque PNG, through a temporary.
    virtual void writePng(const std::string& path) = 0;
    // Every button and key released for good; waits for a pending press.
    virtual void endInput() = 0;
    // Ends the input, stops the idle thread, sends opcode 15 and waits until
    // the add-on has let go of the window.
    virtual void close() = 0;

    // A press, `moves` moves along the line kMoveGap apart, a release.
    void drag(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t moves, uint32_t buttons,
              uint32_t keys);
    // One key per UTF-8 character of `text`, each waited for.
    void type(const std::string& text);
    // Every step of the script in order, each picture path printed as it is
    // written; then checkMenuAnswered().
    void play(const EditorScript& script);
    // What a scripted run does in either window: the picture made current,
    // the script played, the input ended, the picture written to `png` (none
    // when empty) and its path printed; then the editor closed.
    void run(const EditorScript& script, const std::string& png);

protected:
    // Opcodes sent to `plugin` are guarded by a watchdog with `policy`.
    EditorDriver(Plugin& plugin, Watchdog::Policy policy) : plugin(plugin), dog(policy) {}

    // An opcode with `ptr`, under the watchdog; `what` names it if it hangs.
    VstIntPtr dispatchWatched(int32_t opcode, const char* what, void* ptr = nullptr);
    // The place for messages: the script's line, else the add-on.
    std::string where() const;

    Plugin& plugin;
    Watchdog dog;
    std::string place;
};
