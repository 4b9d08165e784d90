// EditorScale: the integer scale (1 to 4) an editor is shown at on a screen,
// every editor pixel an N x N block. Where it comes from, first found wins:
// what the host or the program's --scale said, a program's --scale handed to
// the add-ons it loads (WOBRIX_EDITOR_SCALE), GDK_SCALE, then the X server's
// Xft.dpi (192 or more: 2, 288 or more: 3).
#pragma once

#include <cstdint>

namespace editor_scale {

inline constexpr int32_t kLargest = 4;
// The environment variable by which a program hands its --scale to the
// add-ons it loads (they see only the AEffect record).
inline constexpr const char* kProgramVariable = "WOBRIX_EDITOR_SCALE";

// A host's factor (LV2's ui:scaleFactor) as a scale: the nearest integer,
// 1 to kLargest; 0 for no factor (not a number, or not above 0).
int32_t fromFactor(float factor);
// The text of an environment variable as a scale: a whole number 1 to
// kLargest, else 0 (unset, empty, not a number, out of range).
int32_t fromText(const char* text);
// The scale from an Xft.dpi value: 2 from 192, 3 from 288, else 1.
int32_t fromDpi(int32_t dpi);

// The first of these that is a scale (1 to kLargest), else 1. xftDpi is
// asked for only when nothing before it decides (it costs the X server a
// round trip); null: 1.
int32_t choose(int32_t asked, const char* program, const char* gdk, int32_t (*xftDpi)());

// What the process's environment says, before the X server is asked.
int32_t choose(int32_t asked, int32_t (*xftDpi)());

// Hands a program's --scale to the add-ons it loads from now on.
void handToAddOns(int32_t scale);

} // namespace editor_scale
