// The gallery's artwork: a dark panel of eighteen labelled cells, and the
// strips of every control in the same colours as the bass editor's skin.
#include "tools/GalleryPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "gallery/GalleryLayout.h"
#include "tools/CairoPen.h"

namespace gallery_art {
namespace {

using namespace pen;

using gallery::Box;

constexpr uint32_t kAccent = 0xF0953A; // the product's orange
constexpr uint32_t kLabel = 0xC9CDD3;
constexpr uint32_t kDim = 0x8A9098;
constexpr uint32_t kFaint = 0x5C626A;
constexpr uint32_t kWell = 0x0E0F11; // windows of the meter and the digits
constexpr uint32_t kGreen = 0x3FC07A;
constexpr uint32_t kYellow = 0xE8C547;
constexpr uint32_t kRed = 0xE0504A;
constexpr uint32_t kBlue = 0x6FB6FF;

// The knobs sweep 270 degrees clockwise from half past seven; Cairo counts
// angles clockwise from three o'clock.
constexpr double kSweepStart = 0.75 * kPi;
constexpr double kSweep = 1.5 * kPi;

void radialGradient(cairo_t* cr, double cx, double cy, double r, uint32_t inner, uint32_t outer)
{
    cairo_pattern_t* p =
        cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, r * 0.1, cx, cy, r);
    stop(p, 0, inner);
    stop(p, 1, outer);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

// A colour a fraction of the way towards black.
uint32_t darker(uint32_t rgb, double keep)
{
    const auto part = [&](int shift) {
        return static_cast<uint32_t>(std::lround((rgb >> shift & 0xFF) * keep)) << shift;
    };
    return part(16) | part(8) | part(0);
}

// Text centred on (cx, baseline), its font shrunk until it fits `width`.
void fittedText(cairo_t* cr, const char* s, double cx, double baseline, double width, double size,
                bool bold, uint32_t rgb)
{
    for (;; size -= 0.25) {
        font(cr, size, bold);
        cairo_text_extents_t e;
        cairo_text_extents(cr, s, &e);
        if (e.x_advance <= width || size <= 6)
            break;
    }
    text(cr, s, cx, baseline, Align::centre, rgb);
}

void hline(cairo_t* cr, double x0, double x1, double y, uint32_t rgb)
{
    colour(cr, rgb);
    cairo_rectangle(cr, x0, y, x1 - x0, 1);
    cairo_fill(cr);
}

void vline(cairo_t* cr, double x, double y0, double y1, uint32_t rgb)
{
    colour(cr, rgb);
    cairo_rectangle(cr, x, y0, 1, y1 - y0);
    cairo_fill(cr);
}

// A one-pixel recess around a box: dark above and left, lit below and right.
void recess(cairo_t* cr, const Box& b)
{
    hline(cr, b.left - 1, b.right + 1, b.top - 1, 0x0A0B0C);
    vline(cr, b.left - 1, b.top - 1, b.bottom + 1, 0x0A0B0C);
    hline(cr, b.left - 1, b.right + 1, b.bottom, 0x3C4047);
    vline(cr, b.right, b.top - 1, b.bottom + 1, 0x3C4047);
}

// A raised button face filling w x h, pressed or not.
void buttonFace(cairo_t* cr, double w, double h, bool pressed, uint32_t tint = 0)
{
    roundedRect(cr, 0.5, 0.5, w - 0.5, h - 0.5, 5);
    colour(cr, 0x0A0B0C);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    const uint32_t top = tint ? tint : (pressed ? 0x24272C : 0x4A4F57);
    const uint32_t bottom = tint ? darker(tint, 0.7) : (pressed ? 0x33373D : 0x2F3338);
    verticalGradient(cr, 1, h - 1, top, bottom);
    roundedRect(cr, 1.5, 1.5, w - 1.5, h - 1.5, 4);
    cairo_fill(cr);
    // The lit edge sits on top when raised, at the bottom when pressed.
    colour(cr, pressed ? 0x15171A : 0x6A7078);
    cairo_rectangle(cr, 5, pressed ? 2 : 1.5, w - 10, 1);
    cairo_fill(cr);
}

void led(cairo_t* cr, double cx, double cy, double r, uint32_t rgb, bool lit)
{
    if (lit) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, r * 0.5, cx, cy, r * 2.2);
        cairo_pattern_add_color_stop_rgba(glow, 0, (rgb >> 16 & 0xFF) / 255.0,
                                          (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, 0.45);
        cairo_pattern_add_color_stop_rgba(glow, 1, (rgb >> 16 & 0xFF) / 255.0,
                                          (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, 0.0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, cx, cy, r * 2.2, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
    radialGradient(cr, cx, cy, r, lit ? 0xFFF4E0 : darker(rgb, 0.45),
                   lit ? rgb : darker(rgb, 0.25));
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_fill(cr);
}

// --- The background -------------------------------------------------------

struct CellText {
    const char* label;
    const char* caption; // under the control; may be null
};

constexpr CellText kCellTexts[gallery::kRows][gallery::kColumns] = {
    {{"CVerticalSlider", nullptr},
     {"CHorizontalSlider", "drives the display"},
     {"CKnob", "drives the movie"},
     {"CAnimKnob", "50 pictures"},
     {"CKickButton", "momentary"},
     {"COnOffButton", "toggle"}},
    {{"CParamDisplay", "shows the slider"},
     {"CTextEdit", "click to type"},
     {"COptionMenu", "click for the list"},
     {"CVerticalSwitch", nullptr},
     {"CHorizontalSwitch", "four positions"},
     {"CRockerSwitch", "press \u2212 or +"}},
    {{"CMovieBitmap", "follows the knob"},
     {"CMovieButton", "toggle"},
     {"CAutoAnimation", "click: show, hide"},
     {"CVuMeter", nullptr},
     {"CSpecialDigit", "v-slider x 9999"},
     {"CSplashScreen", "click to open"}},
};

void panel(cairo_t* cr)
{
    verticalGradient(cr, 0, gallery::kHeight, 0x2E3136, 0x1B1D21);
    cairo_paint(cr);
    hline(cr, 0, gallery::kWidth, 0, 0x4A4F56);
    hline(cr, 0, gallery::kWidth, gallery::kHeight - 1, 0x0C0D0F);
    vline(cr, 0, 0, gallery::kHeight, 0x43474E);
    vline(cr, gallery::kWidth - 1, 0, gallery::kHeight, 0x0C0D0F);
}

void title(cairo_t* cr)
{
    font(cr, 18, true);
    double x = text(cr, "Wobrix", 14, 26, Align::left, kAccent);
    font(cr, 18, false);
    text(cr, "Gallery", x + 5, 26, Align::left, kLabel);
    font(cr, 9, false);
    text(cr, "every control of the toolkit, in one frame", gallery::kWidth - 14, 25, Align::right,
         kDim);
    hline(cr, 10, gallery::kWidth - 10, 34, 0x111214);
    hline(cr, 10, gallery::kWidth - 10, 35, 0x3A3E44);
}

void cellPlate(cairo_t* cr, const Box& c, const CellText& t)
{
    verticalGradient(cr, c.top, c.bottom, 0x24272B, 0x1A1C1F);
    roundedRect(cr, c.left + 0.5, c.top + 0.5, c.right - 0.5, c.bottom - 0.5, 6);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    verticalGradient(cr, c.top, c.bottom, 0x0F1012, 0x3C4047);
    cairo_stroke(cr);
    const double cx = (c.left + c.right) / 2.0;
    fittedText(cr, t.label, cx, c.top + 14, c.right - c.left - 8, 9.5, true, kLabel);
    hline(cr, c.left + 8, c.right - 8, c.top + 18, 0x30343A);
    if (t.caption) {
        font(cr, 7.5, false);
        text(cr, t.caption, cx, c.bottom - 7, Align::centre, kDim);
    }
}

void verticalWell(cairo_t* cr)
{
    const Box& s = gallery::kVSlider;
    const double cx = (s.left + s.right) / 2.0;
    const int travel = s.height() - gallery::kVHandleHeight;
    font(cr, 7, false);
    for (int i = 0; i <= 4; ++i) {
        const double y = s.top + gallery::kVHandleHeight / 2 + travel * (1.0 - i / 4.0);
        const bool major = i % 2 == 0;
        hline(cr, s.left - (major ? 8 : 5), s.left - 2, std::floor(y), major ? 0xB4BAC2 : 0x6A7078);
        hline(cr, s.right + 2, s.right + (major ? 8 : 5), std::floor(y),
              major ? 0xB4BAC2 : 0x6A7078);
        if (major) {
            char n[8];
            std::snprintf(n, sizeof n, "%s", i == 0 ? "0" : i == 2 ? ".5" : "1");
            text(cr, n, s.left - 10, std::floor(y) + 3, Align::right, kDim);
        }
    }
    colour(cr, 0x3F444B);
    roundedRect(cr, cx - 3, s.top + 3, cx + 3, s.bottom - 3, 2.5);
    cairo_fill(cr);
    colour(cr, 0x000000);
    roundedRect(cr, cx - 2, s.top + 4, cx + 2, s.bottom - 4, 2);
    cairo_fill(cr);
}

void horizontalWell(cairo_t* cr)
{
    const Box& s = gallery::kHSlider;
    const double cy = (s.top + s.bottom) / 2.0;
    const int travel = s.width() - gallery::kHHandleWidth;
    font(cr, 7, false);
    for (int i = 0; i <= 4; ++i) {
        const double x = s.left + gallery::kHHandleWidth / 2 + travel * (i / 4.0);
        const bool major = i % 2 == 0;
        vline(cr, std::floor(x), s.top - (major ? 7 : 4), s.top - 2, major ? 0xB4BAC2 : 0x6A7078);
        if (major)
            text(cr,
                 i == 0   ? "0"
                 : i == 2 ? ".5"
                          : "1",
                 std::floor(x) + 0.5, s.bottom + 10, Align::centre, kDim);
    }
    colour(cr, 0x3F444B);
    roundedRect(cr, s.left + 3, cy - 3, s.right - 3, cy + 3, 2.5);
    cairo_fill(cr);
    colour(cr, 0x000000);
    roundedRect(cr, s.left + 4, cy - 2, s.right - 4, cy + 2, 2);
    cairo_fill(cr);
}

void knobScale(cairo_t* cr, const Box& k)
{
    const double cx = (k.left + k.right) / 2.0, cy = (k.top + k.bottom) / 2.0;
    font(cr, 7, false);
    text(cr, "0", cx - 24, k.bottom + 3, Align::centre, kDim);
    text(cr, "1", cx + 24, k.bottom + 3, Align::centre, kDim);
    (void)cy;
}

void animationDots(cairo_t* cr, const Box& a)
{
    // The animation's resting look, shown while it is hidden: dim dots.
    const double cx = (a.left + a.right) / 2.0, cy = (a.top + a.bottom) / 2.0;
    for (int i = 0; i < gallery::kAnimationFrames; ++i) {
        const double angle = -kPi / 2 + 2 * kPi * i / gallery::kAnimationFrames;
        colour(cr, 0x34383E);
        cairo_arc(cr, cx + 16 * std::cos(angle), cy + 16 * std::sin(angle), 2.6, 0, 2 * kPi);
        cairo_fill(cr);
    }
    font(cr, 7, false);
    text(cr, "hidden", cx, cy + 2.5, Align::centre, kFaint);
}

void aboutButton(cairo_t* cr)
{
    const Box& b = gallery::kSplashButton;
    cairo_save(cr);
    cairo_translate(cr, b.left, b.top);
    buttonFace(cr, b.width(), b.height(), false);
    colour(cr, kAccent);
    cairo_arc(cr, 15, b.height() / 2.0, 7, 0, 2 * kPi);
    cairo_fill(cr);
    font(cr, 10, true);
    text(cr, "i", 15, b.height() / 2.0 + 3.5, Align::centre, 0x1E2024);
    font(cr, 10, true);
    text(cr, "About", 28, b.height() / 2.0 + 3.5, Align::left, kLabel);
    cairo_restore(cr);
}

} // namespace

void paintBackground(cairo_t* cr, bool hiddenAnimation)
{
    panel(cr);
    title(cr);
    for (int row = 0; row < gallery::kRows; ++row)
        for (int column = 0; column < gallery::kColumns; ++column)
            cellPlate(cr, gallery::cell(column, row), kCellTexts[row][column]);
    verticalWell(cr);
    horizontalWell(cr);
    knobScale(cr, gallery::kKnob);
    knobScale(cr, gallery::kAnimKnob);
    for (const Box& b : {gallery::kParamDisplay, gallery::kTextEdit, gallery::kOptionMenu,
                         gallery::kVuMeter, gallery::kDigits})
        recess(cr, b);
    colour(cr, kWell);
    cairo_rectangle(cr, gallery::kDigits.left, gallery::kDigits.top, gallery::kDigits.width(),
                    gallery::kDigits.height());
    cairo_fill(cr);
    if (hiddenAnimation)
        animationDots(cr, gallery::kAnimation);
    aboutButton(cr);
}

// --- Handles ----------------------------------------------------------------

void paintVerticalHandle(cairo_t* cr)
{
    const double w = gallery::kVHandleWidth, h = gallery::kVHandleHeight;
    colour(cr, 0x0A0B0C);
    cairo_paint(cr);
    verticalGradient(cr, 0, h, 0x9AA0A8, 0x4A4F57);
    roundedRect(cr, 1, 1, w - 1, h - 1, 2);
    cairo_fill(cr);
    hline(cr, 2, w - 2, h / 2 - 1, 0x1A1C1F);
    hline(cr, 2, w - 2, h / 2, kAccent);
}

void paintHorizontalHandle(cairo_t* cr)
{
    const double w = gallery::kHHandleWidth, h = gallery::kHHandleHeight;
    colour(cr, 0x0A0B0C);
    cairo_paint(cr);
    verticalGradient(cr, 0, h, 0x9AA0A8, 0x4A4F57);
    roundedRect(cr, 1, 1, w - 1, h - 1, 2);
    cairo_fill(cr);
    vline(cr, w / 2 - 1, 2, h - 2, 0x1A1C1F);
    vline(cr, w / 2, 2, h - 2, kAccent);
}

void paintKnobHandle(cairo_t* cr)
{
    // Edges blend into the knob's track colour, not into the white around.
    const double s = gallery::kKnobHandleSize;
    colour(cr, 0x0B0C0D);
    cairo_paint(cr);
    radialGradient(cr, s / 2, s / 2, s / 2 - 0.5, 0xFFD2A0, kAccent);
    cairo_arc(cr, s / 2, s / 2, s / 2 - 0.5, 0, 2 * kPi);
    cairo_fill(cr);
}

// --- Knobs ------------------------------------------------------------------

namespace {

void knobCap(cairo_t* cr, double c, double r)
{
    colour(cr, 0x000000, 0.5);
    cairo_arc(cr, c, c + 1.5, r, 0, 2 * kPi);
    cairo_fill(cr);
    radialGradient(cr, c, c, r, 0x6A7078, 0x2A2D32);
    cairo_arc(cr, c, c, r, 0, 2 * kPi);
    cairo_fill(cr);
    colour(cr, 0x15171A);
    cairo_set_line_width(cr, 1);
    cairo_arc(cr, c, c, r - 0.5, 0, 2 * kPi);
    cairo_stroke(cr);
}

void knobTrack(cairo_t* cr, double c, double r, double width)
{
    colour(cr, 0x0B0C0D);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, c, c, r, kSweepStart, kSweepStart + kSweep);
    cairo_stroke(cr);
}

} // namespace

void paintKnobBase(cairo_t* cr)
{
    // The handle's centre runs 5 pixels inside the edge: radius 27.
    const double c = gallery::kKnobSize / 2.0;
    knobTrack(cr, c, c - 5, 10);
    knobCap(cr, c, 19);
}

void paintAnimKnob(cairo_t* cr, int index)
{
    const double c = gallery::kKnobSize / 2.0;
    const double value = index / static_cast<double>(gallery::kAnimKnobFrames - 1);
    const double angle = kSweepStart + value * kSweep;
    knobTrack(cr, c, c - 5, 6);
    if (index > 0) {
        colour(cr, kAccent);
        cairo_set_line_width(cr, 4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_arc(cr, c, c, c - 5, kSweepStart, angle);
        cairo_stroke(cr);
    }
    knobCap(cr, c, 20);
    colour(cr, 0xE6E9EC);
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, c + 7 * std::cos(angle), c + 7 * std::sin(angle));
    cairo_line_to(cr, c + 16 * std::cos(angle), c + 16 * std::sin(angle));
    cairo_stroke(cr);
}

// --- Buttons and switches ---------------------------------------------------

void paintKick(cairo_t* cr, int index)
{
    const bool pressed = index == 1;
    buttonFace(cr, gallery::kButtonWidth, gallery::kButtonHeight, pressed);
    font(cr, 11, true);
    text(cr, "KICK", gallery::kButtonWidth / 2.0, 18.5 + (pressed ? 1 : 0), Align::centre,
         pressed ? kAccent : kLabel);
}

void paintOnOff(cairo_t* cr, int index)
{
    const bool on = index == 1;
    buttonFace(cr, gallery::kButtonWidth, gallery::kButtonHeight, on);
    led(cr, 15, gallery::kButtonHeight / 2.0 + (on ? 0.5 : 0), 4, kGreen, on);
    font(cr, 11, true);
    text(cr, on ? "ON" : "OFF", 44, 18.5 + (on ? 0.5 : 0), Align::centre, on ? kLabel : kDim);
}

void paintMovieButton(cairo_t* cr, int index)
{
    const bool on = index == 1;
    buttonFace(cr, gallery::kMovieButtonWidth, gallery::kMovieButtonHeight, on, on ? 0x9A3430 : 0);
    font(cr, 11, true);
    text(cr, "MUTE", gallery::kMovieButtonWidth / 2.0, 18.5 + (on ? 0.5 : 0), Align::centre,
         on ? 0xFFE2DC : kDim);
}

void paintVSwitch(cairo_t* cr, int index)
{
    const double w = gallery::kVSwitchWidth, h = gallery::kVSwitchHeight;
    const double pitch = h / gallery::kVSwitchPositions;
    colour(cr, 0x15171A);
    roundedRect(cr, 0.5, 0.5, w - 0.5, h - 0.5, 4);
    cairo_fill_preserve(cr);
    colour(cr, 0x3C4047);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    static const char* const names[gallery::kVSwitchPositions] = {"SLOW", "MID", "FAST"};
    font(cr, 9, true);
    for (int i = 0; i < gallery::kVSwitchPositions; ++i) {
        const bool on = i == index;
        const double y = pitch * i;
        if (on) {
            colour(cr, 0x2C2620);
            roundedRect(cr, 2, y + 2, w - 2, y + pitch - 2, 3);
            cairo_fill(cr);
        }
        led(cr, 10, y + pitch / 2, 3, kAccent, on);
        text(cr, names[i], 19, y + pitch / 2 + 3.5, Align::left, on ? kLabel : kFaint);
    }
}

void paintHSwitch(cairo_t* cr, int index)
{
    const double w = gallery::kHSwitchWidth, h = gallery::kHSwitchHeight;
    const double pitch = w / gallery::kHSwitchPositions;
    colour(cr, 0x15171A);
    roundedRect(cr, 0.5, 0.5, w - 0.5, h - 0.5, 4);
    cairo_fill_preserve(cr);
    colour(cr, 0x3C4047);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    font(cr, 10, true);
    for (int i = 0; i < gallery::kHSwitchPositions; ++i) {
        const bool on = i == index;
        const double x = pitch * i;
        if (i > 0)
            vline(cr, x, 3, h - 3, 0x30343A);
        if (on) {
            verticalGradient(cr, 2, h - 2, 0xF6AD5E, 0xD07A28);
            roundedRect(cr, x + 2, 2, x + pitch - 2, h - 2, 3);
            cairo_fill(cr);
        }
        const char n[2] = {static_cast<char>('1' + i), 0};
        text(cr, n, x + pitch / 2, h / 2 + 4, Align::centre, on ? 0x1E2024 : kDim);
    }
}

void paintRocker(cairo_t* cr, int index)
{
    const double w = gallery::kRockerWidth, h = gallery::kRockerHeight;
    const double half = w / 2;
    roundedRect(cr, 0.5, 0.5, w - 0.5, h - 0.5, 5);
    colour(cr, 0x0A0B0C);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    for (int side = 0; side < 2; ++side) {
        const bool pressed = (side == 0 && index == 0) || (side == 1 && index == 2);
        const double x0 = side == 0 ? 1.5 : half, x1 = side == 0 ? half : w - 1.5;
        cairo_save(cr);
        cairo_rectangle(cr, x0, 0, x1 - x0, h);
        cairo_clip(cr);
        verticalGradient(cr, 1, h - 1, pressed ? 0x24272C : 0x4A4F57,
                         pressed ? 0x33373D : 0x2F3338);
        roundedRect(cr, 1.5, 1.5, w - 1.5, h - 1.5, 4);
        cairo_fill(cr);
        cairo_restore(cr);
        font(cr, 14, true);
        text(cr, side == 0 ? "\u2212" : "+", (x0 + x1) / 2, 19 + (pressed ? 1 : 0), Align::centre,
             pressed ? kAccent : kLabel);
    }
    vline(cr, half - 0.5, 3, h - 3, 0x0A0B0C);
}

// --- Movies, meters and digits ------------------------------------------------

void paintMovie(cairo_t* cr, int index)
{
    const double c = gallery::kMovieSize / 2.0;
    const double value = index / static_cast<double>(gallery::kMovieFrames - 1);
    colour(cr, 0x0B0C0D);
    cairo_set_line_width(cr, 6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_arc(cr, c, c, 18, kSweepStart, kSweepStart + kSweep);
    cairo_stroke(cr);
    if (index > 0) {
        colour(cr, kGreen);
        cairo_set_line_width(cr, 4);
        cairo_arc(cr, c, c, 18, kSweepStart, kSweepStart + value * kSweep);
        cairo_stroke(cr);
    }
    char n[16];
    std::snprintf(n, sizeof n, "%d", static_cast<int>(std::lround(value * 100)));
    font(cr, 10, true);
    text(cr, n, c, c + 4, Align::centre, index > 0 ? kLabel : kDim);
}

void paintAnimation(cairo_t* cr, int index)
{
    const double c = gallery::kAnimationSize / 2.0;
    const int n = gallery::kAnimationFrames;
    for (int i = 0; i < n; ++i) {
        const double angle = -kPi / 2 + 2 * kPi * i / n;
        const int behind = (index - i + n) % n; // 0: the head
        const double glow = behind < 6 ? 1.0 - behind / 6.0 : 0.0;
        const uint32_t rgb = glow > 0 ? darker(kBlue, 0.25 + 0.75 * glow) : 0x34383E;
        colour(cr, rgb);
        cairo_arc(cr, c + 16 * std::cos(angle), c + 16 * std::sin(angle), behind == 0 ? 3.4 : 2.6,
                  0, 2 * kPi);
        cairo_fill(cr);
    }
}

void paintMeter(cairo_t* cr, bool lit)
{
    const int w = gallery::kMeterWidth, h = gallery::kMeterHeight;
    const int pitch = h / gallery::kMeterSegments;
    colour(cr, kWell);
    cairo_paint(cr);
    for (int j = 0; j < gallery::kMeterSegments; ++j) {
        const uint32_t hue = j < 9 ? kGreen : j < 12 ? kYellow : kRed;
        colour(cr, lit ? hue : darker(hue, 0.22));
        cairo_rectangle(cr, 3, h - (j + 1) * pitch + 1, w - 6, pitch - 1);
        cairo_fill(cr);
    }
}

void paintDigit(cairo_t* cr, int digit)
{
    // Seven segments: a top, b top right, c bottom right, d bottom, e bottom
    // left, f top left, g middle.
    static const unsigned char kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const double w = gallery::kDigitWidth, h = gallery::kDigitHeight;
    const double x0 = 3, x1 = w - 3, y0 = 3, ym = h / 2, y1 = h - 3, t = 2.4;
    colour(cr, kWell);
    cairo_paint(cr);
    struct Line {
        double ax, ay, bx, by;
    };
    const Line lines[7] = {{x0 + 1.5, y0, x1 - 1.5, y0}, {x1, y0 + 1.5, x1, ym - 1.5},
                           {x1, ym + 1.5, x1, y1 - 1.5}, {x0 + 1.5, y1, x1 - 1.5, y1},
                           {x0, ym + 1.5, x0, y1 - 1.5}, {x0, y0 + 1.5, x0, ym - 1.5},
                           {x0 + 1.5, ym, x1 - 1.5, ym}};
    cairo_set_line_width(cr, t);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int s = 0; s < 7; ++s) {
        const bool on = (kSegments[digit] >> s & 1) != 0;
        colour(cr, on ? kAccent : 0x2A211A);
        cairo_move_to(cr, lines[s].ax, lines[s].ay);
        cairo_line_to(cr, lines[s].bx, lines[s].by);
        cairo_stroke(cr);
    }
}

void paintSplash(cairo_t* cr)
{
    const double w = gallery::kSplash.width(), h = gallery::kSplash.height();
    verticalGradient(cr, 0, h, 0x34373D, 0x1C1E22);
    cairo_paint(cr);
    colour(cr, kAccent);
    cairo_set_line_width(cr, 2);
    cairo_rectangle(cr, 1, 1, w - 2, h - 2);
    cairo_stroke(cr);
    colour(cr, 0x0A0B0C);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 3.5, 3.5, w - 7, h - 7);
    cairo_stroke(cr);
    font(cr, 26, true);
    double x = text(cr, "Wobrix", 24, 50, Align::left, kAccent);
    font(cr, 26, false);
    text(cr, "Gallery", x + 7, 50, Align::left, kLabel);
    hline(cr, 24, w - 24, 62, 0x3A3E44);
    static const char* const lines[] = {
        "Every control of the toolkit in one frame,",
        "each drawn from pictures that travel inside",
        "the program itself.",
    };
    font(cr, 11, false);
    for (int i = 0; i < 3; ++i)
        text(cr, lines[i], 24, 86 + 16 * i, Align::left, kLabel);
    // A row of the colours the controls light up in.
    const uint32_t hues[] = {kAccent, kGreen, kYellow, kRed, kBlue};
    for (int i = 0; i < 5; ++i) {
        colour(cr, hues[i]);
        roundedRect(cr, 24 + 26 * i, 146, 24 + 26 * i + 20, 154, 2);
        cairo_fill(cr);
    }
    font(cr, 9, false);
    text(cr, "This is a CSplashScreen: click the picture to close it.", 24, h - 22, Align::left,
         kDim);
}

void paintMenu(cairo_t* cr, bool pressed)
{
    const double w = gallery::kFieldWidth, h = gallery::kFieldHeight;
    colour(cr, pressed ? kAccent : 0x3C4047);
    cairo_paint(cr);
    verticalGradient(cr, 1, h - 1, pressed ? 0x3A2A1A : 0x202328, pressed ? 0x2A1F14 : 0x15171A);
    cairo_rectangle(cr, 1, 1, w - 2, h - 2);
    cairo_fill(cr);
    colour(cr, pressed ? kAccent : kDim);
    cairo_move_to(cr, w - 12, h / 2 - 2);
    cairo_line_to(cr, w - 5, h / 2 - 2);
    cairo_line_to(cr, w - 8.5, h / 2 + 2.5);
    cairo_close_path(cr);
    cairo_fill(cr);
}

} // namespace gallery_art
