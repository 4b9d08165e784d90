// The button and modifier word that controls poll while they track the mouse,
// how it is built from the platform's button and modifier words, and the
// words every control gives the same meaning.
#pragma once

#include <cstdint>

inline constexpr int32_t kMousePrimary = 0x01;
inline constexpr int32_t kMouseTertiary = 0x02;
inline constexpr int32_t kMouseSecondary = 0x04;
inline constexpr int32_t kModShift = 0x08;
inline constexpr int32_t kModCommand = 0x10;
inline constexpr int32_t kModControl = 0x20;
inline constexpr int32_t kModOption = 0x40;

// A primary click with command restores a control's default value.
inline constexpr int32_t kDefaultClick = kMousePrimary | kModCommand;
// Held during a drag, this key moves a control finely.
inline constexpr int32_t kModFine = kModShift;
// One bit each, in the low byte, where controls and hosts' scripts test them.
static_assert(kMousePrimary == 0x01 && kMouseTertiary == 0x02 && kMouseSecondary == 0x04 &&
              kModShift == 0x08 && kModCommand == 0x10 && kModControl == 0x20 &&
              kModOption == 0x40 && kDefaultClick == 17);

// Secondary and tertiary cross over: the platform's secondary button (0x2)
// becomes 0x04 and its tertiary (0x4) becomes 0x02. Controls test the toolkit
// bits, so the crossing must happen here and nowhere else.
constexpr int32_t mouseButtonsFromPlatform(uint32_t buttons, uint32_t modifiers)
{
    int32_t word = 0;
    if (buttons & 0x1u)
        word |= kMousePrimary;
    if (buttons & 0x2u)
        word |= kMouseSecondary;
    if (buttons & 0x4u)
        word |= kMouseTertiary;
    if (modifiers & 0x1u)
        word |= kModShift;
    if (modifiers & 0x2u)
        word |= kModCommand;
    if (modifiers & 0x4u)
        word |= kModControl;
    if (modifiers & 0x40u)
        word |= kModOption;
    return word;
}
