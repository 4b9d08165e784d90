// GalleryEffect: an effect with no audio and no parameters whose only part is
// its editor, the gallery of every toolkit control. It is created through an
// entry function of the program, the way an add-on's effect is.
#pragma once

#include "platform/api/WindowAdopter.h"
#include "plugin/AudioEffectX.h"

class GalleryEffect : public AudioEffectX {
public:
    // still: nothing in the editor moves by itself (see GalleryEditor);
    // adoptWindow turns the editor opcode's handle into a window.
    GalleryEffect(HostCallback host, bool still, WindowAdopter adoptWindow);

    // Audio thread; there is no audio, so nothing is touched.
    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;

    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
};

// The steps of an entry function, as an add-on's entry takes them, with what
// the program that assembles the gallery passes in: `still` as above, and the
// window back end its editor opens over. Null when the host cannot answer or
// the effect cannot be made.
AEffect* createGallery(HostCallback host, bool still, WindowAdopter adoptWindow) noexcept;
