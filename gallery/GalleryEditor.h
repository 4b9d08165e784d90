// GalleryEditor: one frame holding every control of the toolkit, each over
// its labelled cell of the background. It listens to all of them, prints each
// notification, and links a few: the horizontal slider feeds the display, the
// vertical slider the digits, the knob the movie. On every idle the meter
// follows a moving level and a shown animation steps, unless it is still.
#pragma once

#include <atomic>
#include <cstdint>

#include "gallery/GalleryLayout.h"
#include "gui/AEffGUIEditor.h"
#include "gui/controls/CControlListener.h"

class CAutoAnimation;
class CBitmap;
class CMovieBitmap;
class CParamDisplay;
class CSpecialDigit;
class CVuMeter;

// The controls' tags, cell by cell (gallery/GalleryLayout.h).
enum GalleryTag : int32_t {
    kTagVSlider = 1,
    kTagHSlider,
    kTagKnob,
    kTagAnimKnob,
    kTagKick,
    kTagOnOff,
    kTagParamDisplay, // displays never notify; the tag only names the cell
    kTagTextEdit,
    kTagOptionMenu,
    kTagVSwitch,
    kTagHSwitch,
    kTagRocker,
    kTagMovieBitmap,
    kTagMovieButton,
    kTagAnimation,
    kTagVuMeter,
    kTagDigits,
    kTagSplash,
};

class GalleryEditor : public AEffGUIEditor, public CControlListener {
public:
    // still: the meter keeps one level and the animation never steps, so
    // every picture of the same pointer steps is the same.
    // adoptWindow turns the editor opcode's handle into a window.
    GalleryEditor(AudioEffect* effect, bool still, WindowAdopter adoptWindow);
    ~GalleryEditor() override;

    // Host thread (opcode 19), or the window thread inside a tracking loop.
    void idle() override;
    // Under the window lock (from idle): the meter's level, the animation.
    void update() override;
    // Window thread, with the window locked: prints one line, flushed.
    void valueChanged(CDrawContext* context, CControl* control) override;

    // The meter's level for an idle count: a deterministic wobble in 0 ... 1.
    static float levelAt(uint32_t idleCount);
    static constexpr float kStillLevel = 0.6f;

protected:
    CBitmap* willOpen() override;
    void placeControls(CFrame* frame) override;
    void didClose() override;

private:
    void loadPictures();
    void releasePictures();

    const bool still;
    // Counted by the host's idle and by tracking loops on the window thread.
    std::atomic<uint32_t> idleCount{0};

    CBitmap* pictures[gallery::kMenuPressedId - gallery::kBackgroundId + 1] =
        {}; // by id - kBackgroundId
    CParamDisplay* display = nullptr;
    CSpecialDigit* digits = nullptr;
    CMovieBitmap* movie = nullptr;
    CVuMeter* meter = nullptr;
    CAutoAnimation* animation = nullptr;
};
