// X11HostWindow: a top-level window our own programs open to show an editor
// the way a Linux host does. The plug-in makes its window as this window's
// one child; the user's closing of the window (or Ctrl+Q in it) is reported,
// scripted input reaches the plug-in as real X input (XTest), and the
// pictures are read back from the server. Callers never see XCB.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/OS.h"
#include "platform/api/SupportDefs.h"

class X11HostWindow {
public:
    // A mapped window of width x height, titled `title` (UTF-8), that the
    // user cannot resize, on a connection of its own to $DISPLAY. Null, with
    // one line in *whyNot, when there is no display, the server cannot be
    // reached, lacks XTest, or does not show the window within `timeout`.
    static std::unique_ptr<X11HostWindow> open(const std::string& title, int32_t width,
                                               int32_t height, bigtime_t timeout,
                                               std::string* whyNot);
    ~X11HostWindow();
    X11HostWindow(const X11HostWindow&) = delete;
    X11HostWindow& operator=(const X11HostWindow&) = delete;

    // The window's id, which a Linux host hands to the editor opcode as its
    // pointer; the display's name ("$DISPLAY").
    uint32_t id() const;
    const std::string& displayName() const;

    // The plug-in's window: the first child of ours, 0 while there is none.
    uint32_t child();
    // Gives the keyboard focus to the child, so keys reach the plug-in.
    void focusChild();

    // Reads what arrived for this window without waiting (or waiting up to
    // `timeout`); true once the user has asked to close it (the window
    // manager's close, Ctrl+Q in it, the window destroyed by another
    // program, or the connection gone).
    bool closeRequested(bigtime_t timeout = 0);

    // Real input through XTest. The pointer moves to (x, y) in window pixels
    // (anywhere on the screen), then the modifier keys (InterfaceDefs.h bits)
    // and the buttons (1 primary, 2 secondary, 4 tertiary) go down or up to
    // match. False when the connection has failed.
    bool setPointer(int32_t x, int32_t y, uint32_t buttons, uint32_t modifierKeys);
    // One key down and up, with those modifier keys (and shift, where the
    // keyboard needs it for the character) held around it. `bytes`: one
    // UTF-8 character or a key code of InterfaceDefs.h. False, with the
    // reason in *whyNot, when no key of the keyboard makes it.
    bool key(const char* bytes, int32_t length, uint32_t modifierKeys, std::string* whyNot);
    // setPointer with (x, y) in screen pixels.
    bool setScreenPointer(int32_t x, int32_t y, uint32_t buttons, uint32_t modifierKeys);
    // Waits until the server has handled every request sent so far.
    bool sync();

    // A pop-up window (override-redirect, shown) on the screen, in screen
    // pixels.
    struct Popup {
        uint32_t id = 0;
        int32_t x = 0, y = 0, width = 0, height = 0;
    };
    // The topmost pop-up that is not ours; false when there is none.
    bool topPopup(Popup* out);
    // A point of the screen outside this window and `popup`, where a press
    // reaches neither; false when they cover every corner.
    bool pointOutside(const Popup& popup, int32_t* x, int32_t* y);

    // The plug-in window's pixels as the server shows them (ours while it
    // has none): rows of blue, green, red, 0xFF, 4 x width bytes each.
    bool copyPixels(std::vector<uint8_t>* out, int32_t* width, int32_t* height);
    // The same for any window of the screen (a pop-up's).
    bool copyPixelsOf(uint32_t window, std::vector<uint8_t>* out, int32_t* width, int32_t* height);
    // copyPixels as an opaque PNG.
    status_t savePng(const char* path);

    struct Connection; // the XCB side, in X11HostWindow.cpp

private:
    explicit X11HostWindow(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> x;
};
