// Picture: PNG files through cairo's 24-bit image surfaces.
#include "Picture.h"

#include <cairo.h>

Picture readPng(const std::filesystem::path& path)
{
    Picture pic;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        pic.width = cairo_image_surface_get_width(s);
        pic.height = cairo_image_surface_get_height(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        for (int y = 0; y < pic.height; ++y)
            for (int x = 0; x < pic.width; ++x)
                pic.rgb.push_back(*reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x) &
                                  0xFFFFFFu);
    }
    cairo_surface_destroy(s);
    return pic;
}

bool writePng(const std::filesystem::path& path, const Picture& picture)
{
    cairo_surface_t* s =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            *reinterpret_cast<uint32_t*>(data + y * stride + 4 * x) = picture.at(x, y);
    cairo_surface_mark_dirty(s);
    const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

Picture pictureOfBgra(const std::vector<uint8_t>& pixels, int width, int height)
{
    Picture pic{width, height, {}};
    for (size_t i = 0; i + 3 < pixels.size(); i += 4)
        pic.rgb.push_back(uint32_t{pixels[i + 2]} << 16 | uint32_t{pixels[i + 1]} << 8 | pixels[i]);
    return pic;
}
