// skin-artwork: draws the editor's four skin pictures and writes them as
// 8-bit run-length BMP files, with a PNG preview of each, into a folder.
//
//   skin-artwork OUTPUT_DIR
//
// The same tool, Cairo and font files give the same bytes on every run.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/PaletteQuantiser.h"
#include "tools/Rle8Bmp.h"
#include "tools/SkinLayout.h"
#include "tools/SkinPainter.h"

namespace {

struct Picture {
    const char* file; // the BMP's name; the preview swaps .bmp for .png
    IndexedImage image;
    BmpOptions bmp;
};

std::vector<uint32_t> rgbPixels(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<uint32_t> out;
    out.reserve(static_cast<size_t>(w) * static_cast<size_t>(h));
    // Every picture is painted opaque, so premultiplied ARGB is plain RGB.
    for (int y = 0; y < h; ++y) {
        const auto* row =
            reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < w; ++x)
            out.push_back(row[x] & 0xFFFFFFu);
    }
    return out;
}

template <typename Paint> std::vector<uint32_t> render(int width, int height, Paint paint)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(s);
    paint(cr);
    cairo_destroy(cr);
    std::vector<uint32_t> rgb = rgbPixels(s);
    cairo_surface_destroy(s);
    return rgb;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// The preview shows the palette image, i.e. exactly what the add-on carries.
bool writePreview(const std::string& path, const IndexedImage& image)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.width; ++x)
            row[x] = image.palette[image.pixels[static_cast<size_t>(y * image.width + x)]];
    }
    cairo_surface_mark_dirty(s);
    const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

std::vector<Picture> drawSkin()
{
    using namespace skin;
    constexpr uint32_t kMixRed = 0xDA4343;    // the Mix display's text colour
    constexpr uint32_t kTubeGreen = 0x14A877; // the other two displays'
    const QuantiseOptions panel{256, {kKickWellRgb}, true};
    const QuantiseOptions parts{256, {kKickWellRgb}, false};
    QuantiseOptions smallHandle = parts;
    smallHandle.entries = 252;

    std::vector<Picture> pictures;
    pictures.push_back({"backgrnd.bmp",
                        quantise(render(kBackgroundWidth, kBackgroundHeight, paintBackground),
                                 kBackgroundWidth, kBackgroundHeight, panel),
                        {}});
    pictures.push_back(
        {"slider_knob_vert_s.bmp",
         quantise(render(kSmallHandleWidth, kHandleHeight,
                         [&](cairo_t* cr) { paintHandle(cr, kSmallHandleWidth, kTubeGreen); }),
                  kSmallHandleWidth, kHandleHeight, smallHandle),
         {252, 2}});
    pictures.push_back(
        {"slider_knob_vert_b.bmp",
         quantise(render(kBigHandleWidth, kHandleHeight,
                         [&](cairo_t* cr) { paintHandle(cr, kBigHandleWidth, kMixRed); }),
                  kBigHandleWidth, kHandleHeight, parts),
         {}});
    const auto kick = [](cairo_t* cr) {
        paintKick(cr, false);
        cairo_translate(cr, 0, kKickPictureHeight);
        cairo_rectangle(cr, 0, 0, kKickWidth, kKickPictureHeight);
        cairo_clip(cr);
        paintKick(cr, true);
    };
    pictures.push_back({"switch_random.bmp",
                        quantise(render(kKickWidth, 2 * kKickPictureHeight, kick), kKickWidth,
                                 2 * kKickPictureHeight, parts),
                        {}});
    return pictures;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin-artwork OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::vector<Picture> pictures = drawSkin();
    // Cairo and fontconfig keep their font caches for the life of the
    // process; freed here so the sanitizer build's leak check stays quiet.
    cairo_debug_reset_static_data();
    FcFini();
    for (const Picture& p : pictures) {
        const std::string bmp = dir + "/" + p.file;
        std::string png = bmp;
        png.replace(png.size() - 3, 3, "png");
        if (!writeFile(bmp, rle8::writeBmp(p.image, p.bmp))) {
            std::fprintf(stderr, "skin-artwork: cannot write: %s\n", bmp.c_str());
            return 1;
        }
        if (!writePreview(png, p.image)) {
            std::fprintf(stderr, "skin-artwork: cannot write: %s\n", png.c_str());
            return 1;
        }
    }
    return 0;
}
