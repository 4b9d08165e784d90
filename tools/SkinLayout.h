// Where the editor's controls sit on the skin, in frame pixels, and the
// sizes of the four pictures: the painter draws tracks, boxes and the
// button well exactly under them.
#pragma once

namespace skin {

struct Box {
    int left, top, right, bottom; // right and bottom exclusive
};

inline constexpr int kBackgroundWidth = 340;
inline constexpr int kBackgroundHeight = 262;
inline constexpr int kHandleHeight = 28;
inline constexpr int kSmallHandleWidth = 16;
inline constexpr int kBigHandleWidth = 22;
inline constexpr int kKickWidth = 44;
inline constexpr int kKickPictureHeight = 38; // the file holds two, stacked

// The slider's handle top runs from kSliderTop (value 1) to
// kSliderBottom - kHandleHeight (value 0).
inline constexpr int kSliderTop = 38;
inline constexpr int kSliderBottom = 184;

struct Column {
    Box slider;
    Box display;
    const char* label;
    // Scale numbers at values 0, 0.5 and the top mark; the compressor's
    // show the display's decibels.
    const char* marks[3];
    double topMark;
};

inline constexpr Column kColumns[3] = {
    {{53, kSliderTop, 75, kSliderBottom}, {52, 197, 77, 210}, "Mix", {"0", "50", "100"}, 1.0},
    {{149, kSliderTop, 165, kSliderBottom},
     {144, 197, 169, 210},
     "Tube Dist",
     {"0", "50", "100"},
     1.0},
    {{237, kSliderTop, 253, kSliderBottom},
     {232, 197, 257, 210},
     "Compressor",
     {"0", "-6", "-20"},
     0.9},
};

inline constexpr Box kKick = {285, 13, 285 + kKickWidth, 13 + kKickPictureHeight};

// Centre of the handle, where its indicator line sits, for a value 0..1.
constexpr double handleCentreY(double value)
{
    return kSliderBottom - kHandleHeight / 2.0 -
           value * (kSliderBottom - kSliderTop - kHandleHeight);
}

} // namespace skin
