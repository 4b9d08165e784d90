// Canvas: a memory picture with one view attached, for pixel tests of the
// platform's drawing and of the toolkit's: draw through the view, then read
// back which pixels changed. Colours given to it are the platform's
// rgb_color or the toolkit's CColor; only red, green and blue count.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "platform/api/Bitmap.h"
#include "platform/api/View.h"

using Pixel = std::pair<int, int>; // (x, y)
using Pixels = std::set<Pixel>;

inline constexpr rgb_color kBlack{0, 0, 0, 255};
inline constexpr rgb_color kWhite{255, 255, 255, 255};

// An opaque colour from anything with red, green and blue bytes.
struct CanvasColour {
    uint8_t red, green, blue;
    constexpr CanvasColour(uint8_t r, uint8_t g, uint8_t b, uint8_t = 255)
        : red(r), green(g), blue(b)
    {
    }
    template <class Colour>
    constexpr CanvasColour(const Colour& c) : red(c.red), green(c.green), blue(c.blue)
    {
    }
};

class Canvas {
public:
    // Every pixel starts as `ground`.
    Canvas(int width, int height, CanvasColour ground = kWhite)
        : bitmap(BRect(0, 0, static_cast<float>(width - 1), static_cast<float>(height - 1)),
                 B_RGB32, true),
          view(new BView(bitmap.Bounds(), "canvas", B_FOLLOW_NONE, B_WILL_DRAW)), width_(width),
          height_(height)
    {
        bitmap.AddChild(view);
        bitmap.Lock();
        view->SetHighColor(kBlack);
        clear(ground);
    }
    ~Canvas() { bitmap.Unlock(); }

    rgb_color at(int x, int y) const
    {
        const uint8_t* p = bytes(x, y);
        return {p[2], p[1], p[0], p[3]};
    }
    uint32_t word(int x, int y) const
    {
        const uint8_t* p = bytes(x, y);
        return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    }
    bool is(int x, int y, CanvasColour c) const
    {
        const uint8_t* p = bytes(x, y);
        return p[2] == c.red && p[1] == c.green && p[0] == c.blue;
    }

    // Writes every pixel, past the view's clipping and drawing state.
    void clear(CanvasColour c = kWhite)
    {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                uint8_t* p =
                    static_cast<uint8_t*>(bitmap.Bits()) + y * bitmap.BytesPerRow() + x * 4;
                p[0] = c.blue;
                p[1] = c.green;
                p[2] = c.red;
                p[3] = 255;
            }
    }

    // Every pixel whose colour is c.
    Pixels pixelsOf(CanvasColour c) const
    {
        Pixels out;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (is(x, y, c))
                    out.insert({x, y});
        return out;
    }
    // Every pixel whose colour is not `background`.
    Pixels painted(CanvasColour background = kWhite) const
    {
        Pixels out;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (!is(x, y, background))
                    out.insert({x, y});
        return out;
    }
    // The picture as text, for failure messages.
    std::string picture(CanvasColour background = kWhite) const
    {
        const Pixels p = painted(background);
        std::string s = "\n";
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x)
                s += p.count({x, y}) ? '#' : '.';
            s += '\n';
        }
        return s;
    }

    int width() const { return width_; }
    int height() const { return height_; }

    BBitmap bitmap;
    BView* view; // owned by the bitmap

private:
    const uint8_t* bytes(int x, int y) const
    {
        return static_cast<const uint8_t*>(bitmap.Bits()) + y * bitmap.BytesPerRow() + x * 4;
    }

    int width_;
    int height_;
};

// The pixels of a rectangle, edges included.
inline Pixels rectPixels(int left, int top, int right, int bottom)
{
    Pixels out;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            out.insert({x, y});
    return out;
}
