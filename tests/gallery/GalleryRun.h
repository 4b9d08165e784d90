// Running the built wobrix-gallery from a fresh folder, and reading the
// pictures it writes, for the gallery's command-line and golden tests.
#pragma once

#include <gtest/gtest.h>

#include <cairo.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CliRun.h"

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb; // 0xRRGGBB, row by row
    uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y * width + x)]; }
};

inline Picture readPng(const std::filesystem::path& p)
{
    Picture pic;
    cairo_surface_t* s = cairo_image_surface_create_from_png(p.c_str());
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

inline bool writePng(const std::filesystem::path& p, const Picture& pic)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pic.width, pic.height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            *reinterpret_cast<uint32_t*>(data + y * stride + 4 * x) = pic.at(x, y);
    cairo_surface_mark_dirty(s);
    const bool ok = cairo_surface_write_to_png(s, p.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

// Each test gets a folder of its own, removed afterwards.
class GalleryRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/wobrix-gallery-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // A hang fails the test (status 124) instead of stopping the suite.
    Result run(const std::string& args)
    {
        return runCommand(dir, "timeout 20 '" WOBRIX_GALLERY "' " + args);
    }

    std::filesystem::path script(const std::string& text, const std::string& name = "steps.txt")
    {
        std::ofstream(dir / name) << text;
        return dir / name;
    }

    std::filesystem::path png(const std::string& name = "out.png") const { return dir / name; }
    std::string pngArg(const std::string& name = "out.png") const
    {
        return "--png '" + png(name).string() + "'";
    }

    std::filesystem::path dir;
};
