// A white bitmap with one view attached, for pixel tests of the drawing layer.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "platform/api/Bitmap.h"
#include "platform/api/View.h"

using Pixels = std::set<std::pair<int, int>>;

inline constexpr rgb_color kBlack{0, 0, 0, 255};
inline constexpr rgb_color kWhite{255, 255, 255, 255};

class Canvas {
public:
    Canvas(int width, int height)
        : bitmap(BRect(0, 0, width - 1, height - 1), B_RGB32, true),
          view(new BView(bitmap.Bounds(), "canvas", B_FOLLOW_NONE, B_WILL_DRAW)), width_(width),
          height_(height)
    {
        bitmap.AddChild(view);
        bitmap.Lock();
        view->SetHighColor(kBlack);
    }
    ~Canvas() { bitmap.Unlock(); }

    rgb_color at(int x, int y) const
    {
        const auto* p =
            static_cast<const uint8_t*>(bitmap.Bits()) + y * bitmap.BytesPerRow() + x * 4;
        return {p[2], p[1], p[0], p[3]};
    }
    uint32_t word(int x, int y) const
    {
        const auto* p =
            static_cast<const uint8_t*>(bitmap.Bits()) + y * bitmap.BytesPerRow() + x * 4;
        return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    }
    // Every pixel whose colour is not `background`.
    Pixels painted(rgb_color background = kWhite) const
    {
        Pixels out;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const rgb_color c = at(x, y);
                if (c.red != background.red || c.green != background.green ||
                    c.blue != background.blue) {
                    out.insert({x, y});
                }
            }
        }
        return out;
    }
    // The picture as text, for failure messages.
    std::string picture(rgb_color background = kWhite) const
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
    void clear(rgb_color c = kWhite)
    {
        const rgb_color high = view->HighColor();
        const drawing_mode mode = view->DrawingMode();
        view->SetHighColor(c);
        view->SetDrawingMode(B_OP_COPY);
        view->FillRect(view->Bounds());
        view->SetHighColor(high);
        view->SetDrawingMode(mode);
    }

    BBitmap bitmap;
    BView* view;

private:
    int width_;
    int height_;
};

inline Pixels rectPixels(int left, int top, int right, int bottom)
{
    Pixels out;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x)
            out.insert({x, y});
    }
    return out;
}
