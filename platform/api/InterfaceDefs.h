// Keyboard modifier bits, key codes, mouse button bits, text alignment,
// the pulse flag of views and modifiers().
#pragma once

#include <cstdint>

inline constexpr uint32_t B_SHIFT_KEY = 0x1;
inline constexpr uint32_t B_COMMAND_KEY = 0x2;
inline constexpr uint32_t B_CONTROL_KEY = 0x4;
inline constexpr uint32_t B_OPTION_KEY = 0x40;

// The first byte of a key that is not a printable character.
inline constexpr char B_HOME = 1;
inline constexpr char B_END = 4;
inline constexpr char B_BACKSPACE = 8;
inline constexpr char B_TAB = 9;
inline constexpr char B_ENTER = 10;
inline constexpr char B_RETURN = 10;
inline constexpr char B_ESCAPE = 27;
inline constexpr char B_LEFT_ARROW = 28;
inline constexpr char B_RIGHT_ARROW = 29;
inline constexpr char B_UP_ARROW = 30;
inline constexpr char B_DOWN_ARROW = 31;
inline constexpr char B_SPACE = 32;
inline constexpr char B_DELETE = 127;

enum alignment { B_ALIGN_LEFT, B_ALIGN_RIGHT, B_ALIGN_CENTER };

// A view flag beside B_WILL_DRAW (View.h). Headless windows send no pulses;
// the flag is kept so that views can ask for it.
inline constexpr uint32_t B_PULSE_NEEDED = 0x10000000;

inline constexpr uint32_t B_PRIMARY_MOUSE_BUTTON = 1;
inline constexpr uint32_t B_SECONDARY_MOUSE_BUTTON = 2;
inline constexpr uint32_t B_TERTIARY_MOUSE_BUTTON = 4;

// The modifier keys held now. On a window's thread they are that window's;
// elsewhere those of the window adopted last that still exists; 0 without
// any window, and 0 once the host has ended its input.
uint32_t modifiers();
