// Pixel helpers for the control tests: a canvas drawn by a control against
// one drawn by hand from the same pictures.
#pragma once

#include <gtest/gtest.h>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "tests/support/ToolkitColours.h"

// Every pixel of the two canvases agrees.
inline ::testing::AssertionResult samePixels(const Canvas& a, const Canvas& b)
{
    for (int y = 0; y < a.height(); y++)
        for (int x = 0; x < a.width(); x++)
            if (!(colourAt(a, x, y) == colourAt(b, x, y)))
                return ::testing::AssertionFailure()
                       << "first difference at (" << x << ", " << y << ")";
    return ::testing::AssertionSuccess();
}

// A context on the canvas, with no frame.
struct CanvasContext {
    explicit CanvasContext(Canvas& canvas) : context(nullptr, canvas.view, nullptr) {}
    CDrawContext* operator->() { return &context; }
    CDrawContext* get() { return &context; }
    CDrawContext context;
};

// Draws part of a picture straight onto a canvas, as the reference.
inline void paint(Canvas& canvas, CBitmap* bitmap, CRect rect, CPoint from,
                  bool transparent = false)
{
    CanvasContext context(canvas);
    if (transparent)
        bitmap->drawTransparent(context.get(), rect, from);
    else
        bitmap->draw(context.get(), rect, from);
}
