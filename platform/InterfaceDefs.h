// Keyboard modifier bits, mouse button bits and modifiers().
#pragma once

#include <cstdint>

inline constexpr uint32_t B_SHIFT_KEY = 0x1;
inline constexpr uint32_t B_COMMAND_KEY = 0x2;
inline constexpr uint32_t B_CONTROL_KEY = 0x4;
inline constexpr uint32_t B_OPTION_KEY = 0x40;

inline constexpr uint32_t B_PRIMARY_MOUSE_BUTTON = 1;
inline constexpr uint32_t B_SECONDARY_MOUSE_BUTTON = 2;
inline constexpr uint32_t B_TERTIARY_MOUSE_BUTTON = 4;

// The modifier keys held now. On a window's thread they are that window's;
// elsewhere those of the window adopted last that still exists; 0 without
// any window, and 0 once the host has ended its input.
uint32_t modifiers();
