// Plot: Cairo drawing of waveform lanes and the level curve with its axes.
#include "Plot.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "host/driver/files/OutputFile.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 860;

struct Box {
    double x, y, w, h;
};

void text(cairo_t* cr, double x, double y, const std::string& s, double size, double alignX = 0.0)
{
    cairo_set_font_size(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s.c_str(), &ext);
    cairo_move_to(cr, x - ext.x_advance * alignX, y);
    cairo_show_text(cr, s.c_str());
}

// Min/max of both channels per pixel column, so peaks survive the reduction.
void waveform(cairo_t* cr, const Box& b, const StereoAudio& a, const std::string& label, double red,
              double green, double blue)
{
    cairo_set_source_rgb(cr, 0.97, 0.97, 0.97);
    cairo_rectangle(cr, b.x, b.y, b.w, b.h);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.8, 0.8, 0.8);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, b.x, b.y + b.h / 2);
    cairo_line_to(cr, b.x + b.w, b.y + b.h / 2);
    cairo_stroke(cr);
    const size_t frames = a.frames();
    const int columns = static_cast<int>(b.w);
    if (frames > 0) {
        cairo_set_source_rgb(cr, red, green, blue);
        for (int c = 0; c < columns; ++c) {
            const size_t from = frames * static_cast<size_t>(c) / static_cast<size_t>(columns);
            const size_t to = std::max(from + 1, frames * static_cast<size_t>(c + 1) /
                                                     static_cast<size_t>(columns));
            float lo = 0.0f, hi = 0.0f;
            for (size_t i = from; i < std::min(to, frames); ++i) {
                lo = std::min({lo, a.left[i], a.right[i]});
                hi = std::max({hi, a.left[i], a.right[i]});
            }
            lo = std::max(lo, -1.0f);
            hi = std::min(hi, 1.0f);
            const double x = b.x + c + 0.5;
            cairo_move_to(cr, x, b.y + b.h / 2 - static_cast<double>(hi) * b.h / 2);
            cairo_line_to(cr, x, b.y + b.h / 2 - static_cast<double>(lo) * b.h / 2 + 0.5);
        }
        cairo_stroke(cr);
    }
    // A backing box keeps the label readable over a loud waveform.
    cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    cairo_rectangle(cr, b.x + 2, b.y + 2, 40, 20);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    text(cr, b.x + 6, b.y + 16, label, 13);
}

void levelCurve(cairo_t* cr, const Box& b, const std::vector<LevelPoint>& curve)
{
    const double inLo = -60.0, inHi = 6.0;
    double outLo = -60.0, outHi = 12.0;
    for (const LevelPoint& p : curve)
        outHi = std::max(outHi, std::ceil(p.outDb / 6.0) * 6.0);
    const auto px = [&](double db) { return b.x + (db - inLo) / (inHi - inLo) * b.w; };
    const auto py = [&](double db) {
        return b.y + b.h - (std::clamp(db, outLo, outHi) - outLo) / (outHi - outLo) * b.h;
    };
    cairo_set_source_rgb(cr, 0.97, 0.97, 0.97);
    cairo_rectangle(cr, b.x, b.y, b.w, b.h);
    cairo_fill(cr);

    // Grid and tick labels every 6 dB.
    cairo_set_line_width(cr, 1.0);
    char label[32];
    for (double db = inLo; db <= inHi + 1e-9; db += 6.0) {
        cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
        cairo_move_to(cr, px(db), b.y);
        cairo_line_to(cr, px(db), b.y + b.h);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        std::snprintf(label, sizeof label, "%g", db);
        text(cr, px(db), b.y + b.h + 16, label, 11, 0.5);
    }
    for (double db = outLo; db <= outHi + 1e-9; db += 6.0) {
        cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
        cairo_move_to(cr, b.x, py(db));
        cairo_line_to(cr, b.x + b.w, py(db));
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        std::snprintf(label, sizeof label, "%g", db);
        text(cr, b.x - 6, py(db) + 4, label, 11, 1.0);
    }
    // Unity gain, for reference.
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    const double dash[] = {5.0, 4.0};
    cairo_set_dash(cr, dash, 2, 0.0);
    cairo_move_to(cr, px(inLo), py(inLo));
    cairo_line_to(cr, px(inHi), py(inHi));
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0.0);

    cairo_set_source_rgb(cr, 0.8, 0.2, 0.1);
    cairo_set_line_width(cr, 2.5);
    for (size_t i = 0; i < curve.size(); ++i) {
        if (i == 0)
            cairo_move_to(cr, px(curve[i].inDb), py(curve[i].outDb));
        else
            cairo_line_to(cr, px(curve[i].inDb), py(curve[i].outDb));
    }
    cairo_stroke(cr);

    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, b.x, b.y, b.w, b.h);
    cairo_stroke(cr);
    text(cr, b.x + b.w / 2, b.y + b.h + 38, "input peak (dBFS, steady 110 Hz sine)", 13, 0.5);
    cairo_save(cr);
    cairo_translate(cr, b.x - 44, b.y + b.h / 2);
    cairo_rotate(cr, -M_PI / 2);
    text(cr, 0, 0, "output peak (dBFS)", 13, 0.5);
    cairo_restore(cr);
}

} // namespace

void writeProgramPlot(const std::string& path, const std::string& title, const StereoAudio& dry,
                      const StereoAudio& wet, const std::vector<LevelPoint>& curve)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    text(cr, kWidth / 2.0, 30, title, 20, 0.5);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);

    waveform(cr, {40, 50, kWidth - 80.0, 120}, dry, "dry", 0.45, 0.45, 0.45);
    waveform(cr, {40, 180, kWidth - 80.0, 120}, wet, "wet", 0.1, 0.35, 0.75);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    text(cr, kWidth / 2.0, 350, "static curve: output level against input level", 15, 0.5);
    levelCurve(cr, {kWidth / 2.0 - 220, 370, 440, 420}, curve);

    cairo_destroy(cr);
    // Released also when the write throws.
    const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> owned(
        surface, &cairo_surface_destroy);
    writeThroughTemporary(path, [surface](const std::string& temporary) -> std::string {
        const cairo_status_t status = cairo_surface_write_to_png(surface, temporary.c_str());
        return status == CAIRO_STATUS_SUCCESS ? "" : cairo_status_to_string(status);
    });
}
