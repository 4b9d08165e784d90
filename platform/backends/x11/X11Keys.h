// Inside the X11 back end: the one table between the X server's keys,
// modifier masks and buttons and the platform's (InterfaceDefs.h), read both
// ways: by the editor's window (events in) and by the input driver (XTest
// out). Key symbols by their X names.
#pragma once

#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <cstdint>

#include "platform/api/InterfaceDefs.h"

namespace x11keys {

// Ctrl is the command key (a Ctrl-click restores a default on this
// desktop), Alt the option key, the logo key the control key; `key` is the
// one a script presses for it, in this order.
struct Modifier {
    uint32_t bit;
    uint16_t mask;
    xcb_keysym_t key;
};
inline constexpr Modifier kModifiers[] = {
    {B_SHIFT_KEY, XCB_MOD_MASK_SHIFT, XK_Shift_L},
    {B_COMMAND_KEY, XCB_MOD_MASK_CONTROL, XK_Control_L},
    {B_CONTROL_KEY, XCB_MOD_MASK_4, XK_Super_L},
    {B_OPTION_KEY, XCB_MOD_MASK_1, XK_Alt_L},
};

// X buttons 1, 3 and 2 are primary, secondary and tertiary; the wheel and
// further buttons press nothing.
struct Button {
    uint32_t bit;
    uint8_t button;
    uint16_t mask;
};
inline constexpr Button kButtons[] = {
    {B_PRIMARY_MOUSE_BUTTON, 1, XCB_BUTTON_MASK_1},
    {B_SECONDARY_MOUSE_BUTTON, 3, XCB_BUTTON_MASK_3},
    {B_TERTIARY_MOUSE_BUTTON, 2, XCB_BUTTON_MASK_2},
};

// The key codes of InterfaceDefs.h; the first key of a code is the one a
// script presses for it.
struct Key {
    char code;
    xcb_keysym_t key;
};
inline constexpr Key kKeys[] = {
    {B_BACKSPACE, XK_BackSpace}, {B_TAB, XK_Tab},       {B_ENTER, XK_Return},
    {B_ENTER, XK_KP_Enter},      {B_ESCAPE, XK_Escape}, {B_DELETE, XK_Delete},
    {B_HOME, XK_Home},           {B_END, XK_End},       {B_LEFT_ARROW, XK_Left},
    {B_RIGHT_ARROW, XK_Right},   {B_UP_ARROW, XK_Up},   {B_DOWN_ARROW, XK_Down},
};

// The modifier keys and buttons held in an event's or a pointer's state.
uint32_t modifiersOf(uint16_t state);
uint32_t buttonsOf(uint16_t state);
// The button an X button number is, 0 for none.
uint32_t buttonOf(uint8_t detail);

// A key symbol as the bytes a focus view takes (a key code or one
// character's UTF-8, at most 4 bytes into out): their count, 0 for keys we
// do not use.
int32_t bytesOf(xcb_keysym_t key, char* out);
// One key's bytes (a key code or one UTF-8 character) as the key symbol
// that types it, 0 for none.
xcb_keysym_t keyOf(const char* bytes, int32_t length);

} // namespace x11keys
