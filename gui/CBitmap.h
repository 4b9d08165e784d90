// CBitmap: one picture of the skin, decoded from the add-on's own resources,
// shared by reference counting and drawn opaque or with white see-through.
#pragma once

#include <cstdint>

#include "gui/CPoint.h"
#include "gui/CRect.h"

class BBitmap;
class BResources;
class CDrawContext;
class CFrame;

// Resources of this type hold complete image files.
inline constexpr uint32_t kImageResourceType = 0x52415754; // 'RAWT'

class CBitmap {
public:
    // Loads the picture; on failure the bitmap is 0 x 0 and draws nothing.
    explicit CBitmap(int resourceID);
    // An empty bitmap of the given size, with no picture.
    CBitmap(CFrame& frame, int width, int height);
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    void remember() { referenceCount++; }
    // Gives up one reference; the last one destroys the bitmap.
    void forget();

    void draw(CDrawContext* context, CRect& rect, const CPoint& offset = CPoint{});
    void drawTransparent(CDrawContext* context, CRect& rect, const CPoint& offset = CPoint{});

    // Lets go of the shared resource reader; the next load opens the file again.
    static void closeResource();
    // Whether the reader is open (for tests and the skin command).
    static bool resourceOpen();

    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    int32_t getResourceID() const { return resourceID; }
    int32_t getReferenceCount() const { return referenceCount; }
    const BBitmap* getPlatformBitmap() const { return platformBitmap; }

    int32_t resourceID = 0;
    int32_t referenceCount = 1;
    int32_t width = 0;
    int32_t height = 0;

private:
    ~CBitmap();
    void load();
    void markTransparency();
    void copyTo(CDrawContext* context, CRect& rect, const CPoint& offset, bool overMode);

    BBitmap* platformBitmap = nullptr;
    bool transparencyMarked = false;

    static BResources* resourceFile;
};
