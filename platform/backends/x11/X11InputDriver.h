// X11InputDriver: scripted input for a window on the screen, as real X input
// (XTest), and the server's pixels read back; what scripts and tests use to
// act as a user on an editor in a top-level window (X11HostWindow) or in any
// host's window. A connection of its own; callers never see XCB.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/SupportDefs.h"

class X11InputDriver {
public:
    // Input for `window` (a top-level window on $DISPLAY's screen): null,
    // with one line in *whyNot, when there is no display, the server cannot
    // be reached, or it lacks the XTEST extension.
    static std::unique_ptr<X11InputDriver> open(uint32_t window, std::string* whyNot);
    // Releases whatever buttons and keys it still holds.
    ~X11InputDriver();
    X11InputDriver(const X11InputDriver&) = delete;
    X11InputDriver& operator=(const X11InputDriver&) = delete;

    const std::string& displayName() const;

    // The pointer moves to (x, y) in window pixels (anywhere on the screen),
    // then the modifier keys (InterfaceDefs.h bits) and the buttons (1
    // primary, 2 secondary, 4 tertiary) go down or up to match. False when
    // the connection has failed.
    bool setPointer(int32_t x, int32_t y, uint32_t buttons, uint32_t modifierKeys);
    // setPointer with (x, y) in screen pixels.
    bool setScreenPointer(int32_t x, int32_t y, uint32_t buttons, uint32_t modifierKeys);
    // One key down and up, with those modifier keys (and shift, where the
    // keyboard needs it for the character) held around it. `bytes`: one
    // UTF-8 character or a key code of InterfaceDefs.h. False, with the
    // reason in *whyNot, when no key of the keyboard makes it.
    bool key(const char* bytes, int32_t length, uint32_t modifierKeys, std::string* whyNot);
    // Waits until the server has handled every request sent so far.
    bool sync();

    // A pop-up window (override-redirect, shown) on the screen, in screen
    // pixels.
    struct Popup {
        uint32_t id = 0;
        int32_t x = 0, y = 0, width = 0, height = 0;
    };
    // The topmost pop-up that is not the window; false when there is none.
    bool topPopup(Popup* out);
    // A point of the screen outside the window and `popup`, where a press
    // reaches neither; false when they cover every corner.
    bool pointOutside(const Popup& popup, int32_t* x, int32_t* y);

    // The pixels of the window's first child (a plug-in's window) as the
    // server shows them (the window's own while it has none): rows of blue,
    // green, red, 0xFF, 4 x width bytes each.
    bool copyPixels(std::vector<uint8_t>* out, int32_t* width, int32_t* height);
    // The same for any window of the screen (a pop-up's).
    bool copyPixelsOf(uint32_t window, std::vector<uint8_t>* out, int32_t* width, int32_t* height);
    // copyPixels as an opaque PNG.
    status_t savePng(const char* path);

    struct Connection; // the XCB side, in X11InputDriver.cpp

private:
    explicit X11InputDriver(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> x;
};
