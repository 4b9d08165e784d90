// GalleryEffect: the effect's identity, its silent audio and the entry
// functions.
#include "gallery/GalleryEffect.h"

#include <new>

#include "gallery/GalleryEditor.h"
#include "plugin/CreateEffect.h"
#include "plugin/HostText.h"
#include "plugin/OutOfMemory.h"

GalleryEffect::GalleryEffect(HostCallback host, bool still, WindowAdopter adoptWindow)
    : AudioEffectX(host, 1, 0)
{
    setNumInputs(0);
    setNumOutputs(0);
    canProcessReplacing(true);
    noTail(true);
    setUniqueID(fourCharCode("WbGl"));
    if (!new (std::nothrow) GalleryEditor(this, still, adoptWindow)) // attaches itself
        oome = true;
}

void GalleryEffect::process(float** /*inputs*/, float** /*outputs*/, int32_t /*sampleFrames*/) {}

void GalleryEffect::processReplacing(float** /*inputs*/, float** /*outputs*/,
                                     int32_t /*sampleFrames*/)
{
}

bool GalleryEffect::getEffectName(char* name)
{
    copyHostText(name, "Wobrix Gallery");
    return true;
}

bool GalleryEffect::getVendorString(char* text)
{
    copyHostText(text, "Zelto Audio");
    return true;
}

bool GalleryEffect::getProductString(char* text)
{
    copyHostText(text, "Wobrix Gallery");
    return true;
}

AEffect* createGallery(HostCallback host, bool still, WindowAdopter adoptWindow) noexcept
{
    return createEffect<GalleryEffect>(host, still, adoptWindow);
}
