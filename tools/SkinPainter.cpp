// The skin's artwork: a dark panel with three fader columns, the value
// boxes, the kick button's well and the product's names.
#include "tools/SkinPainter.h"

#include <cmath>

#include "tools/CairoPen.h"
#include "tools/SkinLayout.h"

namespace skin {
namespace {

using namespace pen;

constexpr uint32_t kAccent = 0xF0953A; // warm orange of the product name
constexpr uint32_t kLabel = 0xC9CDD3;
constexpr uint32_t kDim = 0x8A9098;

void hline(cairo_t* cr, double x0, double x1, double y, uint32_t rgb, double alpha = 1.0)
{
    colour(cr, rgb, alpha);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, x0, y + 0.5);
    cairo_line_to(cr, x1, y + 0.5);
    cairo_stroke(cr);
}

void screw(cairo_t* cr, double x, double y)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(x - 1, y - 1, 0.5, x, y, 3.5);
    stop(p, 0, 0x8C929B);
    stop(p, 1, 0x3A3E44);
    cairo_arc(cr, x, y, 3.2, 0, 2 * kPi);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    colour(cr, 0x1A1C1F);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, x - 2.2, y + 1.2);
    cairo_line_to(cr, x + 2.2, y - 1.2);
    cairo_stroke(cr);
}

void panel(cairo_t* cr)
{
    verticalGradient(cr, 0, kBackgroundHeight, 0x2E3136, 0x1B1D21);
    cairo_paint(cr);
    // A bevelled edge: light on top and left, dark at the bottom and right.
    hline(cr, 0, kBackgroundWidth, 0, 0x4A4F56);
    hline(cr, 0, kBackgroundWidth, kBackgroundHeight - 1, 0x0C0D0F);
    colour(cr, 0x43474E);
    cairo_rectangle(cr, 0, 0, 1, kBackgroundHeight);
    cairo_fill(cr);
    colour(cr, 0x0C0D0F);
    cairo_rectangle(cr, kBackgroundWidth - 1, 0, 1, kBackgroundHeight);
    cairo_fill(cr);
    screw(cr, 7.5, 7.5);
    screw(cr, kBackgroundWidth - 7.5, 7.5);
    screw(cr, 7.5, kBackgroundHeight - 7.5);
    screw(cr, kBackgroundWidth - 7.5, kBackgroundHeight - 7.5);
}

void title(cairo_t* cr)
{
    font(cr, 21, true);
    double x = text(cr, "Wobrix", 18, 28, Align::left, kAccent);
    font(cr, 21, false);
    x = text(cr, "Free", x + 1, 28, Align::left, 0xFFFFFF);
    font(cr, 8, true);
    text(cr, "STEREO BASS ENHANCER", x + 10, 27, Align::left, kDim);
}

void maker(cairo_t* cr)
{
    hline(cr, 16, 324, 238, 0x111214);
    hline(cr, 16, 324, 239, 0x3A3E44);
    // A small logo: an orange disc with a dark Z cut into it.
    const double cx = 24, cy = 251;
    colour(cr, kAccent);
    cairo_arc(cr, cx, cy, 6, 0, 2 * kPi);
    cairo_fill(cr);
    colour(cr, 0x1E2024);
    cairo_set_line_width(cr, 1.6);
    cairo_move_to(cr, cx - 3, cy - 3);
    cairo_line_to(cr, cx + 3, cy - 3);
    cairo_line_to(cr, cx - 3, cy + 3);
    cairo_line_to(cr, cx + 3, cy + 3);
    cairo_stroke(cr);
    font(cr, 11, true);
    double x = text(cr, "Zelto", 35, 255, Align::left, kLabel);
    font(cr, 11, false);
    text(cr, "Audio", x + 3, 255, Align::left, kDim);
    font(cr, 8, false);
    text(cr, "zelto.audio", 324, 254, Align::right, 0x6C727A);
}

void scale(cairo_t* cr, const Column& c)
{
    const double centre = (c.slider.left + c.slider.right) / 2.0;
    font(cr, 7.5, false);
    for (int i = 0; i <= 10; ++i) {
        const double value = i / 10.0;
        const double y = std::round(handleCentreY(value));
        const bool major = i % 5 == 0;
        const double len = major ? 6 : 3;
        const uint32_t tick = major ? 0xB4BAC2 : 0x6A7078;
        hline(cr, c.slider.left - 2 - len, c.slider.left - 2, y, tick);
        hline(cr, c.slider.right + 2, c.slider.right + 2 + len, y, tick);
    }
    const double markValues[3] = {0.0, 0.5, c.topMark};
    for (int i = 0; i < 3; ++i) {
        const double y = std::round(handleCentreY(markValues[i]));
        text(cr, c.marks[i], c.slider.left - 10, y + 3, Align::right, kDim);
    }
    if (c.topMark < 1.0)
        hline(cr, c.slider.left - 8, c.slider.left - 2, std::round(handleCentreY(1.0)), 0xB4BAC2);

    // The groove the handle rides in, dark with a lit lower lip.
    const double y0 = kSliderTop + 6, y1 = kSliderBottom - 6;
    colour(cr, 0x050607);
    roundedRect(cr, centre - 2.5, y0, centre + 2.5, y1, 2);
    cairo_fill(cr);
    colour(cr, 0x3F444B);
    cairo_set_line_width(cr, 1);
    roundedRect(cr, centre - 3, y0 - 0.5, centre + 3, y1 + 0.5, 2.5);
    cairo_stroke(cr);
    colour(cr, 0x000000);
    roundedRect(cr, centre - 2.5, y0, centre + 2.5, y1, 2);
    cairo_fill(cr);
}

void column(cairo_t* cr, const Column& c)
{
    const double centre = (c.display.left + c.display.right) / 2.0;
    const double x0 = std::round(centre) - 36.5, x1 = std::round(centre) + 35.5;
    // A recessed plate for each control.
    verticalGradient(cr, 36, 234, 0x1E2024, 0x17191C);
    roundedRect(cr, x0, 36.5, x1, 233.5, 5);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    verticalGradient(cr, 36, 234, 0x0F1012, 0x3C4047);
    cairo_stroke(cr);

    scale(cr, c);

    // The value box: the display fills it black; a lit lip frames it.
    const Box& d = c.display;
    colour(cr, 0x3C4047);
    cairo_rectangle(cr, d.left - 1, d.top - 1, d.right - d.left + 2, d.bottom - d.top + 2);
    cairo_fill(cr);
    colour(cr, 0x08090A);
    cairo_rectangle(cr, d.left - 1, d.top - 1, d.right - d.left + 1, d.bottom - d.top + 1);
    cairo_fill(cr);
    colour(cr, 0x000000);
    cairo_rectangle(cr, d.left, d.top, d.right - d.left, d.bottom - d.top);
    cairo_fill(cr);

    font(cr, 10, true);
    text(cr, c.label, centre, 226, Align::centre, kLabel);
}

void kickWell(cairo_t* cr)
{
    const Box& k = kKick;
    roundedRect(cr, k.left - 2.5, k.top - 2.5, k.right + 2.5, k.bottom + 2.5, 4);
    colour(cr, 0x0A0B0D);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    verticalGradient(cr, k.top - 3, k.bottom + 3, 0x0A0B0D, 0x4A4F56);
    cairo_stroke(cr);
    colour(cr, kKickWellRgb);
    cairo_rectangle(cr, k.left, k.top, k.right - k.left, k.bottom - k.top);
    cairo_fill(cr);
    font(cr, 7.5, true);
    text(cr, "RANDOM", (k.left + k.right) / 2.0, k.bottom + 13, Align::centre, kDim);
    // A quiet vertical legend down the free strip beside the compressor.
    cairo_save(cr);
    cairo_translate(cr, (k.left + k.right) / 2.0 + 3, 226);
    cairo_rotate(cr, -kPi / 2);
    font(cr, 8, true);
    text(cr, "ZB-1  LOW END DRIVER", 0, 0, Align::left, 0x4E535A);
    cairo_restore(cr);
}

} // namespace

void paintBackground(cairo_t* cr)
{
    panel(cr);
    title(cr);
    for (const Column& c : kColumns)
        column(cr, c);
    kickWell(cr);
    maker(cr);
}

void paintHandle(cairo_t* cr, int width, uint32_t indicatorRgb)
{
    const double w = width, h = kHandleHeight;
    colour(cr, 0x111214);
    cairo_paint(cr);
    verticalGradient(cr, 0, h, 0x6B717A, 0x2C3035);
    cairo_rectangle(cr, 1, 1, w - 2, h - 2);
    cairo_fill(cr);
    // Top face catches the light; the grip ridges sit above and below the line.
    hline(cr, 1, w - 1, 1, 0xA9AFB7);
    hline(cr, 1, w - 1, h - 2, 0x1C1E22);
    for (int y = 4; y < h - 4; y += 3) {
        if (y >= 11 && y <= 16)
            continue;
        hline(cr, 2, w - 2, y, 0x25282C);
        hline(cr, 2, w - 2, y + 1, 0x8A9098, 0.6);
    }
    hline(cr, 1, w - 1, 12, 0x151618);
    colour(cr, indicatorRgb);
    cairo_rectangle(cr, 1, 13, w - 2, 2);
    cairo_fill(cr);
    hline(cr, 1, w - 1, 15, 0x151618);
}

void paintKick(cairo_t* cr, bool pressed)
{
    const double w = kKickWidth, h = kKickPictureHeight;
    colour(cr, kKickWellRgb);
    cairo_paint(cr);
    const double dy = pressed ? 1 : 0;
    // Drop shadow only while the button stands out of its well.
    if (!pressed) {
        colour(cr, 0x000000, 0.6);
        roundedRect(cr, 3, 4, w - 3, h - 2, 6);
        cairo_fill(cr);
    }
    roundedRect(cr, 3.5, 3.5 + dy, w - 3.5, h - 4.5 + dy, 6);
    if (pressed)
        verticalGradient(cr, 3, h - 3, 0x202327, 0x3A3E45);
    else
        verticalGradient(cr, 3, h - 4, 0x5A6069, 0x2C3035);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    colour(cr, pressed ? 0x050607 : 0x1A1C1F);
    cairo_stroke(cr);
    if (!pressed)
        hline(cr, 8, w - 8, 4, 0x9AA0A8, 0.7);

    const double cx = w / 2, cy = h / 2 - 0.5 + dy;
    if (pressed) {
        // The lit Z glows into the face.
        cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 2, cx, cy, 15);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.62, 0.25, 0.55);
        cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.62, 0.25, 0.0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, cx, cy, 15, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
    cairo_set_line_width(cr, 3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    colour(cr, pressed ? 0xFFC27A : 0xC8782E);
    cairo_move_to(cr, cx - 7, cy - 7);
    cairo_line_to(cr, cx + 7, cy - 7);
    cairo_line_to(cr, cx - 7, cy + 7);
    cairo_line_to(cr, cx + 7, cy + 7);
    cairo_stroke(cr);
}

} // namespace skin
