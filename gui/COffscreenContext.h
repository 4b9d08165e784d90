// COffscreenContext: a draw context whose drawing lands in a private picture,
// copied to a screen context in one piece so the screen never shows a
// half-drawn view.
#pragma once

#include <cstdint>

#include "gui/CDrawContext.h"

class BBitmap;
class CBitmap;

class COffscreenContext : public CDrawContext {
public:
    // A picture of width x height, filled with the background unless it is
    // white (which leaves the picture as created).
    COffscreenContext(CFrame* frame, long width, long height, const CColor background);
    // A picture holding the bitmap, or 20 x 20 black without one.
    COffscreenContext(CDrawContext* context, CBitmap* bitmap);
    ~COffscreenContext() override;

    // Copies the picture from sourceOffset on into destination of context.
    void copyFrom(CDrawContext* context, CRect destination, CPoint sourceOffset = CPoint{});
    void transfert(CDrawContext* context, CRect destination, CPoint sourceOffset = CPoint{});

    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    const BBitmap* getPicture() const { return platformBitmap; }

protected:
    int32_t height = 0;
    int32_t width = 0;
    BBitmap* platformBitmap = nullptr;

private:
    void createPicture();
};
