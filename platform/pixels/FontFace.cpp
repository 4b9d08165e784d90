// Face lookup through fontconfig, drawing and measuring through Cairo.
#include "platform/pixels/FontFace.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/api/Utf8.h"

namespace font_face {
namespace {

struct Face {
    cairo_font_face_t* face = nullptr;
    std::string family;
};

bool hasFamily(FcPattern* match, const char* family)
{
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (strcasecmp(reinterpret_cast<const char*>(name), family) == 0)
            return true;
    }
    return false;
}

// Only the file crosses into Cairo, so no rendering setting of the user's
// fontconfig reaches the glyphs; ours come with each scaled font.
Face lookUp(const char* family, Weight weight, bool mustMatch)
{
    Face found;
    FcPattern* want = FcPatternCreate();
    FcPatternAddString(want, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(want, FC_WEIGHT,
                        weight == Weight::Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(want, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, want, FcMatchPattern);
    FcDefaultSubstitute(want);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, want, &result);
    FcPatternDestroy(want);
    if (match == nullptr)
        return found;
    FcChar8* file = nullptr;
    int index = 0;
    if ((!mustMatch || hasFamily(match, family)) &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPattern* only = FcPatternCreate();
        FcPatternAddString(only, FC_FILE, file);
        FcPatternAddInteger(only, FC_INDEX, index);
        found.face = cairo_ft_font_face_create_for_pattern(only);
        FcPatternDestroy(only);
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) {
            found.family = reinterpret_cast<const char*>(name);
        }
    }
    FcPatternDestroy(match);
    return found;
}

// Resolved once per process; the faces live as long as it does.
const Face& faceFor(Weight weight)
{
    static Face faces[2];
    static std::once_flag once;
    std::call_once(once, [] {
        for (Weight w : {Weight::Regular, Weight::Bold}) {
            Face f = lookUp("Liberation Sans", w, true);
            if (f.face == nullptr)
                f = lookUp("DejaVu Sans", w, true);
            if (f.face == nullptr)
                f = lookUp("sans-serif", w, false);
            faces[w == Weight::Bold ? 1 : 0] = f;
        }
    });
    return faces[weight == Weight::Bold ? 1 : 0];
}

// A new reference, or null when no face could be found.
cairo_scaled_font_t* scaledFont(Weight weight, float size)
{
    const Face& f = faceFor(weight);
    if (f.face == nullptr || !(size > 0))
        return nullptr;
    cairo_matrix_t scale;
    cairo_matrix_init_scale(&scale, size, size);
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_scaled_font_t* font = cairo_scaled_font_create(f.face, &scale, &identity, options);
    cairo_font_options_destroy(options);
    if (cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS) {
        cairo_scaled_font_destroy(font);
        return nullptr;
    }
    return font;
}

// Cairo puts a shared scaled font into a lasting error state when asked to
// measure invalid UTF-8, so such bytes never reach it.
std::string validUtf8(const char* text)
{
    return utf8::replaceBad(text, "?");
}

int32_t whole(double v)
{
    return static_cast<int32_t>(std::clamp(v, -32768.0, 32768.0));
}

} // namespace

Metrics metrics(Weight weight, float size)
{
    cairo_scaled_font_t* font = scaledFont(weight, size);
    if (font == nullptr)
        return {0, 0, 0};
    cairo_font_extents_t e;
    cairo_scaled_font_extents(font, &e);
    cairo_scaled_font_destroy(font);
    const double leading = e.height - e.ascent - e.descent;
    return {static_cast<float>(e.ascent), static_cast<float>(e.descent),
            static_cast<float>(leading > 0 ? leading : 0)};
}

float width(Weight weight, float size, const char* text)
{
    if (text == nullptr || *text == 0)
        return 0;
    cairo_scaled_font_t* font = scaledFont(weight, size);
    if (font == nullptr)
        return 0;
    const std::string valid = validUtf8(text);
    cairo_text_extents_t e;
    cairo_scaled_font_text_extents(font, valid.c_str(), &e);
    cairo_scaled_font_destroy(font);
    return static_cast<float>(e.x_advance);
}

Coverage coverage(Weight weight, float size, const char* text, double x, double y,
                  clipping_rect limit)
{
    if (text == nullptr || *text == 0)
        return Coverage();
    cairo_scaled_font_t* font = scaledFont(weight, size);
    if (font == nullptr)
        return Coverage();
    const std::string valid = validUtf8(text);
    const double baseline = y + 1;
    cairo_text_extents_t e;
    cairo_scaled_font_text_extents(font, valid.c_str(), &e);
    // Two pixels of slack for hinting and rounding of the glyph positions.
    const clipping_rect box{whole(std::floor(x + e.x_bearing) - 2),
                            whole(std::floor(baseline + e.y_bearing) - 2),
                            whole(std::ceil(x + e.x_bearing + e.width) + 2),
                            whole(std::ceil(baseline + e.y_bearing + e.height) + 2)};
    Coverage c(clipping_rect{std::max(box.left, limit.left), std::max(box.top, limit.top),
                             std::min(box.right, limit.right), std::min(box.bottom, limit.bottom)});
    if (!c.empty()) {
        cairo_surface_t* surface = cairo_image_surface_create_for_data(
            c.cells(), CAIRO_FORMAT_A8, c.width(), c.height(), c.stride());
        cairo_t* cr = cairo_create(surface);
        cairo_set_scaled_font(cr, font);
        cairo_move_to(cr, x - c.area().left, baseline - c.area().top);
        cairo_show_text(cr, valid.c_str());
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        cairo_surface_destroy(surface);
        c.markAllRows();
    }
    cairo_scaled_font_destroy(font);
    return c;
}

std::string family(Weight weight)
{
    return faceFor(weight).family;
}

} // namespace font_face
