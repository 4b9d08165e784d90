// Where every control of the gallery sits, in frame pixels, the sizes of the
// pictures cut for them and their resource ids. The editor places the
// controls from it; the artwork tool (tools/GalleryArtwork.cpp) draws wells,
// labels and cropped control pictures exactly under the same rectangles.
#pragma once

#include <cstdint>

namespace gallery {

struct Box {
    int left, top, right, bottom; // right and bottom exclusive
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
};

inline constexpr int kWidth = 640;
inline constexpr int kHeight = 420;

// Eighteen cells, six across and three down, one control in each; the
// label sits on the cell's top line.
inline constexpr int kColumns = 6;
inline constexpr int kRows = 3;
inline constexpr int kCellLeft = 10;
inline constexpr int kCellTop = 40;
inline constexpr int kCellPitchX = 104;
inline constexpr int kCellPitchY = 126;
inline constexpr int kCellWidth = 100;
inline constexpr int kCellHeight = 120;

constexpr Box cell(int column, int row)
{
    const int x = kCellLeft + column * kCellPitchX, y = kCellTop + row * kCellPitchY;
    return {x, y, x + kCellWidth, y + kCellHeight};
}

// A box at (dx, dy) inside a cell.
constexpr Box inCell(int column, int row, int dx, int dy, int width, int height)
{
    const Box c = cell(column, row);
    return {c.left + dx, c.top + dy, c.left + dx + width, c.top + dy + height};
}

// Picture sizes.
inline constexpr int kVHandleWidth = 20, kVHandleHeight = 12;
inline constexpr int kHHandleWidth = 12, kHHandleHeight = 20;
inline constexpr int kKnobSize = 64;
inline constexpr int kKnobHandleSize = 10;
inline constexpr int kAnimKnobFrames = 50;
inline constexpr int kButtonWidth = 72, kButtonHeight = 28;
inline constexpr int kVSwitchPositions = 3;
inline constexpr int kVSwitchWidth = 60, kVSwitchHeight = 60;
inline constexpr int kHSwitchPositions = 4;
inline constexpr int kHSwitchWidth = 88, kHSwitchHeight = 24;
inline constexpr int kRockerWidth = 64, kRockerHeight = 28;
inline constexpr int kMovieSize = 48;
inline constexpr int kMovieFrames = 16;
inline constexpr int kMovieButtonWidth = 64, kMovieButtonHeight = 28;
inline constexpr int kAnimationSize = 48;
inline constexpr int kAnimationFrames = 12;
inline constexpr int kDigitWidth = 16, kDigitHeight = 24, kDigitGap = 1;
inline constexpr int kDigitCount = 4;
inline constexpr int kMeterWidth = 20, kMeterHeight = 90;
inline constexpr int kMeterSegments = 15;
inline constexpr int kFieldWidth = 84, kFieldHeight = 20;

// The controls, cell by cell, row by row.
inline constexpr Box kVSlider = inCell(0, 0, 40, 22, kVHandleWidth, 92);
inline constexpr Box kHSlider = inCell(1, 0, 8, 56, 84, kHHandleHeight);
inline constexpr Box kKnob = inCell(2, 0, 18, 28, kKnobSize, kKnobSize);
inline constexpr Box kAnimKnob = inCell(3, 0, 18, 28, kKnobSize, kKnobSize);
inline constexpr Box kKick = inCell(4, 0, 14, 50, kButtonWidth, kButtonHeight);
inline constexpr Box kOnOff = inCell(5, 0, 14, 50, kButtonWidth, kButtonHeight);

inline constexpr Box kParamDisplay = inCell(0, 1, 10, 50, 80, kFieldHeight);
inline constexpr Box kTextEdit = inCell(1, 1, 8, 50, kFieldWidth, kFieldHeight);
inline constexpr Box kOptionMenu = inCell(2, 1, 8, 50, kFieldWidth, kFieldHeight);
inline constexpr Box kVSwitch = inCell(3, 1, 20, 26, kVSwitchWidth, kVSwitchHeight);
inline constexpr Box kHSwitch = inCell(4, 1, 6, 48, kHSwitchWidth, kHSwitchHeight);
inline constexpr Box kRocker = inCell(5, 1, 18, 48, kRockerWidth, kRockerHeight);

inline constexpr Box kMovieBitmap = inCell(0, 2, 26, 28, kMovieSize, kMovieSize);
inline constexpr Box kMovieButton = inCell(1, 2, 18, 50, kMovieButtonWidth, kMovieButtonHeight);
inline constexpr Box kAnimation = inCell(2, 2, 26, 28, kAnimationSize, kAnimationSize);
inline constexpr Box kVuMeter = inCell(3, 2, 40, 22, kMeterWidth, kMeterHeight);
inline constexpr Box kDigits =
    inCell(4, 2, 17, 46, kDigitCount*(kDigitWidth + kDigitGap) - kDigitGap, kDigitHeight);
inline constexpr Box kSplashButton = inCell(5, 2, 14, 44, 72, 32);
// Where the about picture shows while the splash screen is open: above the
// third row, whose meter and animation move by themselves.
inline constexpr Box kSplash = {140, 80, 500, 300};

// Resource ids of the pictures, and the files the artwork tool writes.
enum PictureId : int {
    kBackgroundId = 200,
    kVHandleId,
    kHHandleId,
    kKnobBaseId,
    kKnobHandleId,
    kAnimKnobId,
    kKickId,
    kOnOffId,
    kVSwitchId,
    kHSwitchId,
    kRockerId,
    kMovieBitmapId,
    kMovieButtonId,
    kAnimationId,
    kDigitsId,
    kMeterLitId,
    kMeterUnlitId,
    kSplashId,
    kMenuId,
    kMenuPressedId,
};

} // namespace gallery
