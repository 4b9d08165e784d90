// GalleryEffect: an effect with no audio and no parameters whose only part is
// its editor, the gallery of every toolkit control. It is created through an
// entry function of the program, the way an add-on's effect is.
#pragma once

#include "plugin/AudioEffectX.h"

class GalleryEffect : public AudioEffectX {
public:
    // still: nothing in the editor moves by itself (see GalleryEditor).
    GalleryEffect(HostCallback host, bool still);

    // Audio thread; there is no audio, so nothing is touched.
    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;

    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
};

// The entry functions, as an add-on exports one: null when the host cannot
// answer or the effect cannot be made. The second keeps the gallery still.
AEffect* galleryEntry(HostCallback host);
AEffect* galleryStillEntry(HostCallback host);
