// The artwork painters' shared helpers.
#include "tools/CairoPen.h"

namespace pen {

void colour(cairo_t* cr, uint32_t rgb, double alpha)
{
    cairo_set_source_rgba(cr, (rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0,
                          (rgb & 0xFF) / 255.0, alpha);
}

void stop(cairo_pattern_t* p, double at, uint32_t rgb)
{
    cairo_pattern_add_color_stop_rgb(p, at, (rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0,
                                     (rgb & 0xFF) / 255.0);
}

void verticalGradient(cairo_t* cr, double y0, double y1, uint32_t top, uint32_t bottom)
{
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    stop(p, 0, top);
    stop(p, 1, bottom);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void roundedRect(cairo_t* cr, double x0, double y0, double x1, double y1, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - r, y0 + r, r, -kPi / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, kPi / 2);
    cairo_arc(cr, x0 + r, y1 - r, r, kPi / 2, kPi);
    cairo_arc(cr, x0 + r, y0 + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void font(cairo_t* cr, double size, bool bold)
{
    cairo_select_font_face(cr, kFamily, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, o);
    cairo_font_options_destroy(o);
}

double text(cairo_t* cr, const char* s, double x, double baseline, Align align, uint32_t rgb)
{
    cairo_text_extents_t e;
    cairo_text_extents(cr, s, &e);
    if (align == Align::centre)
        x -= e.x_advance / 2;
    if (align == Align::right)
        x -= e.x_advance;
    colour(cr, rgb);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, s);
    return x + e.x_advance;
}

} // namespace pen
