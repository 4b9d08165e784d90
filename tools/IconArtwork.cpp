// icon-artwork: draws the desktop icon of wobrix-jack, the editor's lit
// random button (an orange Z on a dark face) on a rounded panel tile, as PNG
// files in the layout of the hicolor icon theme.
//
//   icon-artwork OUTPUT_DIR   writes OUTPUT_DIR/NxN/apps/wobrix-free.png
//
// Each size is drawn from the outline, not scaled from another picture, so
// the small ones stay sharp. The same tool and Cairo give the same bytes on
// every run.
#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/CairoPen.h"

namespace {

using namespace pen;

// The editor's colours (tools/SkinPainter.cpp): the panel's gradient, the
// product name's orange and the lit Z's.
constexpr uint32_t kPanelTop = 0x2E3136;
constexpr uint32_t kPanelBottom = 0x1B1D21;
constexpr uint32_t kAccent = 0xF0953A;
constexpr uint32_t kLit = 0xFFC27A;
constexpr int kSizes[] = {32, 48, 128, 256};

// Drawn on a 256-unit square.
void paintIcon(cairo_t* cr)
{
    // The tile leaves a margin, as icon themes expect, for the shadow.
    colour(cr, 0x000000, 0.35);
    roundedRect(cr, 18, 24, 238, 244, 44);
    cairo_fill(cr);
    roundedRect(cr, 16, 16, 240, 236, 44);
    verticalGradient(cr, 16, 236, kPanelTop, kPanelBottom);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 4);
    colour(cr, 0x0C0D0F);
    cairo_stroke(cr);
    // The bevel's light upper edge.
    roundedRect(cr, 19, 19, 237, 233, 41);
    cairo_set_line_width(cr, 2.5);
    colour(cr, 0x4A4F56, 0.8);
    cairo_stroke(cr);

    // The button, pressed into its well.
    roundedRect(cr, 52, 52, 204, 200, 26);
    colour(cr, 0x0A0B0D);
    cairo_fill(cr);
    roundedRect(cr, 58, 60, 198, 194, 22);
    verticalGradient(cr, 58, 194, 0x202327, 0x3A3E45);
    cairo_fill(cr);

    // The lit Z glows into the face.
    const double cx = 128, cy = 127;
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 8, cx, cy, 70);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.62, 0.25, 0.55);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.62, 0.25, 0.0);
    cairo_set_source(cr, glow);
    roundedRect(cr, 58, 60, 198, 194, 22);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);

    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_move_to(cr, cx - 38, cy - 38);
    cairo_line_to(cr, cx + 38, cy - 38);
    cairo_line_to(cr, cx - 38, cy + 38);
    cairo_line_to(cr, cx + 38, cy + 38);
    cairo_set_line_width(cr, 22);
    verticalGradient(cr, cy - 50, cy + 50, kLit, kAccent);
    cairo_stroke(cr);
}

bool writeIcon(const std::filesystem::path& dir, int size)
{
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path folder = dir / name / "apps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, size / 256.0, size / 256.0);
    paintIcon(cr);
    cairo_destroy(cr);
    const std::string file = (folder / "wobrix-free.png").string();
    const bool ok = !ec && cairo_surface_write_to_png(s, file.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    if (!ok)
        std::fprintf(stderr, "icon-artwork: cannot write: %s\n", file.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: icon-artwork OUTPUT_DIR\n");
        return 2;
    }
    for (int size : kSizes)
        if (!writeIcon(argv[1], size))
            return 1;
    cairo_debug_reset_static_data();
    return 0;
}
