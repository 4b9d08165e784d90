// ZeltoBassEditor: the effect's own editor. A 340 x 262 skin with a slider
// and a value display for Mix, Tube Dist and Compressor, and a kick button
// that writes a random patch into the current program. It listens to every
// control it makes.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor/RandomPatch.h"
#include "gui/AEffGUIEditor.h"
#include "gui/CColor.h"
#include "gui/controls/CControlListener.h"

class CBitmap;
class CFrame;
class CKickButton;
class CParamDisplay;
class CVerticalSlider;
class ParameterSink;
class ZeltoBass;

inline constexpr int32_t kRandomTag = 7;
inline constexpr int kEditorParams = 3; // Mix, Tube Dist, Compressor

class ZeltoBassEditor : public AEffGUIEditor, public CControlListener {
public:
    // adoptWindow turns the editor opcode's handle into a window; the kick
    // button's random patch is written to patchWrites, which outlives the
    // editor (the assembly's choice of whether the host is told).
    ZeltoBassEditor(ZeltoBass* effect, WindowAdopter adoptWindow, ParameterSink& patchWrites);
    ~ZeltoBassEditor() override;

    // Any thread, the audio thread included: stores the value and raises the
    // update flag; the next idle hands it to the slider and the display.
    void setParameter(int32_t index, float value) override;
    // Under the window lock (the idle): the stored values reach the controls.
    void update() override;
    // Window thread, with the window locked.
    void valueChanged(CDrawContext* context, CControl* control) override;

    float RandomGaussian(float mean, float deviation, float lower, float upper)
    {
        return random.RandomGaussian(mean, deviation, lower, upper);
    }
    static float ClampParam(float value) { return RandomPatch::ClampParam(value); }

    // For tests: the controls while open (null while closed).
    CVerticalSlider* getSlider(int index) const { return paramSliders[index]; }
    CParamDisplay* getDisplay(int index) const { return paramDisplays[index]; }
    CKickButton* getKickButton() const { return kickButton; }
    bool getRandomPhase() const { return randomPhase; }

protected:
    CBitmap* willOpen() override;
    void placeControls(CFrame* frame) override;
    void willClose() override;
    void didClose() override;

private:
    void MakeDisplay(CFrame* frame, CParamDisplay** display, int32_t tag, int x, int y, int width,
                     CColor fontColor, void (*convert)(float, char*));
    void MakeVerticalSlider(CFrame* frame, CVerticalSlider** slider, CBitmap* handle, int32_t tag,
                            int x, int y, int bottom);
    void applyPendingValues();

    CVerticalSlider* paramSliders[kEditorParams] = {};
    CParamDisplay* paramDisplays[kEditorParams] = {};
    CKickButton* kickButton = nullptr;
    CBitmap* backgroundBitmap = nullptr;
    CBitmap* smallHandleBitmap = nullptr;
    CBitmap* bigHandleBitmap = nullptr;
    CBitmap* kickBitmap = nullptr;
    bool randomPhase = false;

    RandomPatch random;
    ParameterSink& patchWrites;
    // Written by any thread, read under the window lock. A value is stored
    // before its bit is raised (release) and read after the bit is taken
    // (acquire), so the controls end up with the last value written.
    std::atomic<bool> accepting{false};
    std::atomic<float> pendingValue[kEditorParams] = {};
    std::atomic<uint32_t> pendingMask{0};
};
