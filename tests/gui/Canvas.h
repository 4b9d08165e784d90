// A memory picture with a view attached, for pixel tests of the toolkit's
// drawing: draw through a context, then read back which pixels changed.
#pragma once

#include <cstdint>
#include <set>
#include <utility>

#include "gui/CColor.h"
#include "platform/api/Bitmap.h"
#include "platform/api/Rect.h"
#include "platform/api/View.h"

using Pixel = std::pair<int, int>; // (h, v)
using PixelSet = std::set<Pixel>;

class Canvas {
public:
    Canvas(int width, int height)
        : bitmap(BRect(0, 0, static_cast<float>(width - 1), static_cast<float>(height - 1)),
                 B_RGB32, true),
          w(width), h(height)
    {
        view = new BView(bitmap.Bounds(), "canvas", 0, 0);
        bitmap.Lock();
        bitmap.AddChild(view);
        clear({0, 0, 0, 0});
    }

    void clear(CColor c)
    {
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                set(x, y, c);
    }

    void set(int x, int y, CColor c)
    {
        uint8_t* p = at(x, y);
        p[0] = c.blue;
        p[1] = c.green;
        p[2] = c.red;
        p[3] = 255;
    }

    CColor get(int x, int y) const
    {
        const uint8_t* p = const_cast<Canvas*>(this)->at(x, y);
        return CColor{p[2], p[1], p[0], 0};
    }

    // Every pixel whose colour is c.
    PixelSet pixelsOf(CColor c) const
    {
        PixelSet s;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                if (get(x, y) == c)
                    s.insert({x, y});
        return s;
    }

    // Every pixel that is not c.
    PixelSet pixelsNot(CColor c) const
    {
        PixelSet s;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                if (!(get(x, y) == c))
                    s.insert({x, y});
        return s;
    }

    static PixelSet box(int left, int top, int right, int bottom) // inclusive
    {
        PixelSet s;
        for (int y = top; y <= bottom; y++)
            for (int x = left; x <= right; x++)
                s.insert({x, y});
        return s;
    }

    BView* platformView() { return view; }
    int width() const { return w; }
    int height() const { return h; }

private:
    uint8_t* at(int x, int y)
    {
        view->Sync();
        return static_cast<uint8_t*>(bitmap.Bits()) + y * bitmap.BytesPerRow() + x * 4;
    }

    BBitmap bitmap;
    BView* view = nullptr; // owned by the bitmap
    int w, h;
};
