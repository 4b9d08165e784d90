// The host's side of a headless window record: the pixel buffer and the
// record over it, the pointer state, requests to the add-on's window (redraws,
// presses, keys, answers to its pop-up menus) and the waits for their
// answers, and the picture as PNG. A host without a screen
// makes one, hands record() to the add-on and then plays its script.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/OS.h"
#include "platform/api/Rect.h"
#include "platform/api/SupportDefs.h"
#include "platform/backends/headless/HeadlessWindow.h"

class HeadlessHost {
public:
    // width x height pixels (each clamped to 1 ... 16384), all bytes 0xFF (opaque white).
    HeadlessHost(int32_t width, int32_t height, int32_t screenLeft = 0, int32_t screenTop = 0);
    // Ends the input; the add-on's window must be gone before the host is.
    ~HeadlessHost();
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    WobrixHeadlessWindow* record() { return &record_; }
    int32_t width() const { return record_.width; }
    int32_t height() const { return record_.height; }
    // True while an add-on window uses the record.
    bool attached() const;

    // The pointer state every GetMouse and modifiers() reads from now on.
    void setPointer(int32_t x, int32_t y, uint32_t buttons, uint32_t modifierKeys = 0);
    // Waits until the add-on has read the latest pointer state; false on time-out.
    bool waitPointerSeen(bigtime_t timeout);
    // The script is over: every button and key reads as released for good.
    void endInput();

    // Asks for a full redraw and waits until it is drawn; false on time-out.
    bool redraw(bigtime_t timeout);
    // Sets the pointer there with those buttons and delivers one press; the
    // serial to wait for, or 0 when an earlier press has not returned yet.
    uint32_t postPress(int32_t x, int32_t y, uint32_t buttons, uint32_t modifierKeys = 0,
                       uint32_t clicks = 1);
    // Waits until MouseDown of press `serial` has returned; false on time-out.
    bool waitPress(uint32_t serial, bigtime_t timeout);
    // Posts one key to the window's focus view: 1 to 15 bytes, one UTF-8
    // character or a key code (InterfaceDefs.h). The serial to wait for, or 0
    // when the bytes are refused or an earlier key has not been delivered yet.
    uint32_t postKey(const char* bytes, int32_t length, uint32_t modifierKeys = 0);
    // Waits until key `serial` has been delivered (KeyDown returned) or dropped.
    bool waitKey(uint32_t serial, bigtime_t timeout);
    // One key per UTF-8 character of utf8, each waited for; false on time-out
    // or on bytes that are not UTF-8.
    bool typeText(const char* utf8, bigtime_t timeout);

    // The answer to the menu open now, or else to the next one to open: the
    // choice-th item that can be chosen, from the top (separators not counted);
    // -1 dismisses. It replaces an answer not taken yet.
    void answerMenu(int32_t choice);
    // True once a menu has taken the latest answer (and before any answer).
    bool menuAnswerTaken() const;
    bool waitMenuAnswerTaken(bigtime_t timeout);
    // Menus the window has opened and closed so far; one is open while they differ.
    uint32_t menusOpened() const;
    uint32_t menusClosed() const;
    // Until menusOpened() (or menusClosed()) reaches count; false on time-out.
    bool waitMenuOpened(uint32_t count, bigtime_t timeout);
    bool waitMenuClosed(uint32_t count, bigtime_t timeout);
    // The last menu opened: its point on the screen and its choosable items.
    BPoint menuLocation() const;
    int32_t menuItems() const;

    // Waits until the window has answered anything or changed the picture.
    void waitAnything(bigtime_t timeout);

    // A consistent copy of the picture (retrying while the add-on writes);
    // false when it stayed busy for `timeout`. Rows are 4 x width bytes.
    bool copyPixels(std::vector<uint8_t>* out, bigtime_t timeout = 1000000) const;
    // One pixel of the buffer as 0xAARRGGBB, read directly.
    uint32_t pixel(int32_t x, int32_t y) const;
    // Writes a consistent copy as an opaque PNG; B_OK or B_ERROR.
    status_t savePng(const char* path) const;

private:
    std::vector<uint8_t> pixels_;
    mutable WobrixHeadlessWindow record_{};
};
