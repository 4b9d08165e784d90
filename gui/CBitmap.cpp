// CBitmap: loading through the shared resource reader of the add-on's own
// file, reference counting, and the two ways of drawing.
#include "gui/CBitmap.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "gui/CDrawContext.h"
#include "platform/api/BFile.h"
#include "platform/api/BResources.h"
#include "platform/api/Bitmap.h"
#include "platform/api/DataIO.h"
#include "platform/api/GraphicsDefs.h"
#include "platform/api/Image.h"
#include "platform/api/TranslationUtils.h"
#include "platform/api/View.h"

BResources* CBitmap::resourceFile = nullptr;

namespace {

// Several effects in one process may open and close editors on their own
// threads, so the shared reader is only touched under this lock: a frame's
// closeResource cannot free it under another frame's load.
std::mutex& resourceLock()
{
    static std::mutex lock;
    return lock;
}

// Any address inside this library finds the image it was loaded from.
void anchor() {}

BResources* openOwnResources()
{
    int32_t cookie = 0;
    image_info info;
    const auto* address = reinterpret_cast<const char*>(&anchor);
    while (_get_next_image_info(0, &cookie, &info, sizeof(info)) == B_OK) {
        const auto* text = static_cast<const char*>(info.text);
        if (text <= address && address <= text + info.text_size) {
            BFile file(info.name, B_READ_ONLY);
            if (file.InitCheck() != B_OK)
                return nullptr;
            auto* resources = new (std::nothrow) BResources(&file, false);
            if (resources)
                resources->PreloadResourceType(0);
            return resources;
        }
    }
    return nullptr;
}

// Bounds are inclusive float edges; a picture never has more pixels than an
// int32 holds, so the truncation is safe.
int32_t pixels(float first, float last)
{
    return static_cast<int32_t>(last - first) + 1;
}

} // namespace

CBitmap::CBitmap(int id) : resourceID(id)
{
    load();
}

CBitmap::CBitmap(CFrame& /*frame*/, int w, int h) : width(w), height(h) {}

CBitmap::~CBitmap()
{
    delete platformBitmap;
}

void CBitmap::load()
{
    {
        std::lock_guard<std::mutex> guard(resourceLock());
        if (!resourceFile)
            resourceFile = openOwnResources();
        size_t size = 0;
        const void* data = resourceFile
                               ? resourceFile->LoadResource(kImageResourceType, resourceID, &size)
                               : nullptr;
        if (data) {
            BMemoryIO stream(data, size);
            platformBitmap = BTranslationUtils::GetBitmap(&stream);
        }
    }
    if (platformBitmap) {
        const BRect bounds = platformBitmap->Bounds();
        width = pixels(bounds.left, bounds.right);
        height = pixels(bounds.top, bounds.bottom);
    } else {
        std::fprintf(stderr, "********* Resource %d could NOT be loaded!\n", resourceID);
    }
}

void CBitmap::closeResource()
{
    std::lock_guard<std::mutex> guard(resourceLock());
    delete resourceFile;
    resourceFile = nullptr;
}

bool CBitmap::resourceOpen()
{
    std::lock_guard<std::mutex> guard(resourceLock());
    return resourceFile != nullptr;
}

void CBitmap::forget()
{
    if (referenceCount-- == 1)
        delete this;
}

void CBitmap::copyTo(CDrawContext* context, CRect& rect, const CPoint& offset, bool overMode)
{
    BView* view = context ? context->getPlatformView() : nullptr;
    if (!view || !platformBitmap)
        return;
    const BRect destination = platformRect<BRect>(rect);
    BRect source = destination;
    source.OffsetTo(static_cast<float>(offset.h), static_cast<float>(offset.v));
    view->SetDrawingMode(overMode ? B_OP_OVER : B_OP_COPY);
    // The platform copies only the part of the source inside the picture.
    view->DrawBitmap(platformBitmap, source, destination);
}

void CBitmap::draw(CDrawContext* context, CRect& rect, const CPoint& offset)
{
    copyTo(context, rect, offset, false);
}

void CBitmap::markTransparency()
{
    auto* words = static_cast<uint8_t*>(platformBitmap->Bits());
    const int32_t count = platformBitmap->BitsLength() / 4;
    uint8_t marker[4];
    std::memcpy(marker, &B_TRANSPARENT_32_BIT, 4);
    for (int32_t i = 0; i < count; i++) {
        uint8_t* pixel = words + 4 * i;
        // The three colour bytes are all 255 whatever their order; the fourth is ignored.
        if (pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255)
            std::memcpy(pixel, marker, 4);
    }
    transparencyMarked = true;
}

void CBitmap::drawTransparent(CDrawContext* context, CRect& rect, const CPoint& offset)
{
    if (!platformBitmap)
        return;
    if (!transparencyMarked)
        markTransparency();
    copyTo(context, rect, offset, true);
}
