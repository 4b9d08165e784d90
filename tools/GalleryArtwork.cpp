// gallery-artwork: draws the gallery's pictures and writes them as PNG files
// into a folder, one file per resource (gallery/GalleryLayout.h names them).
//
//   gallery-artwork OUTPUT_DIR
//
// Control pictures are cut from the background under the control and drawn
// over, so every control meets the panel without a seam, opaque or not.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "gallery/GalleryLayout.h"
#include "tools/GalleryPainter.h"

namespace {

using gallery::Box;
using Paint = std::function<void(cairo_t*, int index)>;

struct Picture {
    const char* file;
    cairo_surface_t* surface;
};

cairo_surface_t* background(bool hiddenAnimation)
{
    cairo_surface_t* s =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, gallery::kWidth, gallery::kHeight);
    cairo_t* cr = cairo_create(s);
    gallery_art::paintBackground(cr, hiddenAnimation);
    cairo_destroy(cr);
    return s;
}

// `count` images of w x h stacked downwards, image 0 on top; with a
// background, each starts as its copy under `under`.
cairo_surface_t* strip(int w, int h, int count, const Paint& paint,
                       cairo_surface_t* panel = nullptr, const Box& under = {})
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h * count);
    cairo_t* cr = cairo_create(s);
    for (int i = 0; i < count; ++i) {
        cairo_save(cr);
        cairo_translate(cr, 0, h * i);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_clip(cr);
        if (panel) {
            cairo_set_source_surface(cr, panel, -under.left, -under.top);
            cairo_paint(cr);
        }
        paint(cr, i);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    return s;
}

cairo_surface_t* over(cairo_surface_t* panel, const Box& b, int count, const Paint& paint)
{
    return strip(b.width(), b.height(), count, paint, panel, b);
}

cairo_surface_t* single(int w, int h, const std::function<void(cairo_t*)>& paint)
{
    return strip(w, h, 1, [&](cairo_t* cr, int) { paint(cr); });
}

// Pure white is the see-through colour; a picture that draws opaque keeps
// none by accident. Only the marked pixels of the knob handle are white.
void keepOffWhite(cairo_surface_t* s)
{
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < w; ++x)
            if ((row[x] & 0xFFFFFFu) == 0xFFFFFFu)
                row[x] = 0xFFFEFEFEu;
    }
    cairo_surface_mark_dirty(s);
}

// The pixels outside the handle's disc become white, shown see-through.
void markOutsideDisc(cairo_surface_t* s)
{
    cairo_surface_flush(s);
    const int size = cairo_image_surface_get_width(s);
    const int stride = cairo_image_surface_get_stride(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const double c = size / 2.0, r = size / 2.0 - 0.5;
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - c, dy = y + 0.5 - c;
            if (dx * dx + dy * dy > r * r)
                row[x] = 0xFFFFFFFFu;
        }
    }
    cairo_surface_mark_dirty(s);
}

std::vector<Picture> drawGallery()
{
    using namespace gallery;
    using namespace gallery_art;
    // The animation's pictures lie where the background shows it hidden.
    cairo_surface_t* panel = background(false);
    std::vector<Picture> pictures;
    pictures.push_back({"gallery_background.png", background(true)});
    pictures.push_back(
        {"gallery_vhandle.png", single(kVHandleWidth, kVHandleHeight, paintVerticalHandle)});
    pictures.push_back(
        {"gallery_hhandle.png", single(kHHandleWidth, kHHandleHeight, paintHorizontalHandle)});
    pictures.push_back({"gallery_knob_base.png",
                        over(panel, kKnob, 1, [](cairo_t* cr, int) { paintKnobBase(cr); })});
    pictures.push_back(
        {"gallery_knob_handle.png", single(kKnobHandleSize, kKnobHandleSize, paintKnobHandle)});
    pictures.push_back(
        {"gallery_anim_knob.png", over(panel, kAnimKnob, kAnimKnobFrames, paintAnimKnob)});
    pictures.push_back({"gallery_kick.png", over(panel, kKick, 2, paintKick)});
    pictures.push_back({"gallery_onoff.png", over(panel, kOnOff, 2, paintOnOff)});
    pictures.push_back(
        {"gallery_vswitch.png", over(panel, kVSwitch, kVSwitchPositions, paintVSwitch)});
    pictures.push_back(
        {"gallery_hswitch.png", over(panel, kHSwitch, kHSwitchPositions, paintHSwitch)});
    pictures.push_back({"gallery_rocker.png", over(panel, kRocker, 3, paintRocker)});
    pictures.push_back({"gallery_movie.png", over(panel, kMovieBitmap, kMovieFrames, paintMovie)});
    pictures.push_back(
        {"gallery_movie_button.png", over(panel, kMovieButton, 2, paintMovieButton)});
    pictures.push_back(
        {"gallery_animation.png", over(panel, kAnimation, kAnimationFrames, paintAnimation)});
    pictures.push_back({"gallery_digits.png", strip(kDigitWidth, kDigitHeight, 10, paintDigit)});
    pictures.push_back({"gallery_meter_lit.png",
                        over(panel, kVuMeter, 1, [](cairo_t* cr, int) { paintMeter(cr, true); })});
    pictures.push_back({"gallery_meter_unlit.png",
                        over(panel, kVuMeter, 1, [](cairo_t* cr, int) { paintMeter(cr, false); })});
    pictures.push_back(
        {"gallery_splash.png", single(kSplash.width(), kSplash.height(), paintSplash)});
    pictures.push_back({"gallery_menu.png", single(kFieldWidth, kFieldHeight,
                                                   [](cairo_t* cr) { paintMenu(cr, false); })});
    pictures.push_back(
        {"gallery_menu_pressed.png",
         single(kFieldWidth, kFieldHeight, [](cairo_t* cr) { paintMenu(cr, true); })});
    for (Picture& p : pictures)
        keepOffWhite(p.surface);
    markOutsideDisc(pictures[kKnobHandleId - kBackgroundId].surface);
    cairo_surface_destroy(panel);
    return pictures;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gallery-artwork OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<Picture> pictures = drawGallery();
    int status = 0;
    for (Picture& p : pictures) {
        const std::string path = dir + "/" + p.file;
        if (status == 0 &&
            cairo_surface_write_to_png(p.surface, path.c_str()) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "gallery-artwork: cannot write: %s\n", path.c_str());
            status = 1;
        }
        cairo_surface_destroy(p.surface);
    }
    // Cairo and fontconfig keep their font caches for the life of the
    // process; freed here so the sanitizer build's leak check stays quiet.
    cairo_debug_reset_static_data();
    FcFini();
    return status;
}
