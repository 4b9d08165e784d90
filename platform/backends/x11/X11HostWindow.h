// X11HostWindow: a top-level window our own programs open to show an editor
// the way a Linux host does. The plug-in makes its window as this window's
// one child; the user's closing of the window (or Ctrl+Q in it) is reported.
// It needs nothing of the server but the core protocol (no XTest: scripted
// input is X11InputDriver's). Callers never see XCB.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/api/OS.h"

class X11HostWindow {
public:
    // What the window manager and the user see of the window. An empty
    // instance is the program's name; an empty class is the instance with
    // its first letter in upper case (the ICCCM's habit).
    struct Names {
        std::string title; // UTF-8
        std::string instance;
        std::string className;
    };

    // A mapped window of width x height that the user cannot resize, on a
    // connection of its own to $DISPLAY. Null, with one line in *whyNot,
    // when there is no display, the server cannot be reached, or it does not
    // show the window within `timeout`.
    static std::unique_ptr<X11HostWindow> open(const Names& names, int32_t width, int32_t height,
                                               bigtime_t timeout, std::string* whyNot);
    ~X11HostWindow();
    X11HostWindow(const X11HostWindow&) = delete;
    X11HostWindow& operator=(const X11HostWindow&) = delete;

    // The window's id, which a Linux host hands to the editor opcode as its
    // pointer; the display's name ("$DISPLAY").
    uint32_t id() const;
    const std::string& displayName() const;

    // The plug-in's window: the first child of ours, 0 while there is none.
    uint32_t child();
    // True once that child is there and can be seen (mapped, as we are).
    bool childShown();
    // Gives the keyboard focus to the child, so keys reach the plug-in.
    void focusChild();

    // Reads what arrived for this window without waiting (or waiting up to
    // `timeout`); true once the user has asked to close it (the window
    // manager's close, Ctrl+Q in it, the window destroyed by another
    // program, or the connection gone). The focus the window manager gives
    // our frame is passed on to the child here.
    bool closeRequested(bigtime_t timeout = 0);

    struct Connection; // the XCB side, in X11HostWindow.cpp

private:
    explicit X11HostWindow(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> x;
};
