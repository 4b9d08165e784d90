// XDisplay: a test's own XCB connection, playing the Linux host's part: the
// parent windows, what the server shows of a window, XTest pointer input,
// the errors this connection got, and the X-Resource view of the clients.
#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

class XDisplay {
public:
    XDisplay() = default;
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // `name` null: $DISPLAY. False when there is no server or it lacks XTest.
    bool connect(const char* name = nullptr);
    // Closes the socket without a request, so a dead server costs nothing.
    void disconnect();
    xcb_connection_t* connection() const { return connection_; }

    // A mapped window at (x, y) on the root (or inside `within`, as a host's
    // window inside its top-level); the server has it when this returns.
    xcb_window_t makeParent(int16_t x, int16_t y, uint16_t width = 340, uint16_t height = 262,
                            xcb_window_t within = 0);
    void destroy(xcb_window_t window);
    void map(xcb_window_t window);
    void unmap(xcb_window_t window);
    // One round trip: every request sent so far has been carried out.
    void sync();

    std::vector<xcb_window_t> children(xcb_window_t window);
    bool viewable(xcb_window_t window);
    // Width and height; 0 x 0 for a window that is gone.
    void size(xcb_window_t window, int* width, int* height);
    // The server's pixels of a window, blue, green, red, pad a pixel, row by
    // row; empty when the window cannot be seen.
    std::vector<uint8_t> pixels(xcb_window_t window, int16_t x, int16_t y, uint16_t width,
                                uint16_t height);

    // XTest, on the root window's coordinates; carried out when they return.
    void movePointer(int16_t x, int16_t y);
    void pressButton(uint8_t button = 1);
    void releaseButton(uint8_t button = 1);

    // The X errors among the events this connection has got so far.
    int errors();

    // X-Resource: the clients whose process is `pid`, and how many resources
    // of a type ("ShmSeg") the client owning `xid` holds; -1 without the
    // extension.
    int clientsOf(pid_t pid);
    int resourcesOf(uint32_t xid, const char* type);

private:
    void fake(uint8_t type, uint8_t detail, int16_t x, int16_t y);

    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    int errors_ = 0;
};
