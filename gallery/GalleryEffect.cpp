// GalleryEffect: the effect's identity, its silent audio and the entry
// functions.
#include "gallery/GalleryEffect.h"

#include <new>

#include "gallery/GalleryEditor.h"
#include "plugin/HostText.h"
#include "plugin/OutOfMemory.h"

GalleryEffect::GalleryEffect(HostCallback host, bool still) : AudioEffectX(host, 1, 0)
{
    setNumInputs(0);
    setNumOutputs(0);
    canProcessReplacing(true);
    noTail(true);
    setUniqueID(fourCharCode("WbGl"));
    if (!new (std::nothrow) GalleryEditor(this, still)) // attaches itself
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

namespace
{

AEffect* create(HostCallback host, bool still) noexcept
{
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    GalleryEffect* effect = nullptr;
    try {
        effect = new (std::nothrow) GalleryEffect(host, still);
    } catch (...) {
        return nullptr;
    }
    if (!effect)
        return nullptr;
    if (oome) {
        delete effect;
        return nullptr;
    }
    return effect->getAeffect();
}

} // namespace

AEffect* galleryEntry(HostCallback host)
{
    return create(host, false);
}
AEffect* galleryStillEntry(HostCallback host)
{
    return create(host, true);
}
