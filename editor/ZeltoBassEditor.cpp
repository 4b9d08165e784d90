// ZeltoBassEditor: building the seven controls on open, passing values
// between the effect and the controls, and the kick button's random patch.
#include "editor/ZeltoBassEditor.h"

#include "editor/ParamStringConvert.h"
#include "effect/ZeltoBass.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/controls/CButtons.h"
#include "gui/controls/CControl.h"
#include "gui/controls/CParamDisplay.h"
#include "gui/controls/CSlider.h"

namespace {

constexpr int kBackgroundId = 128;
constexpr int kSmallHandleId = 129;
constexpr int kBigHandleId = 130;
constexpr int kKickId = 131;

constexpr int kSliderTop = 38;
constexpr int kSliderBottom = 184;
constexpr int kDisplayTop = 197;
constexpr int kDisplayWidth = 25;
constexpr int kDisplayHeight = 13;
constexpr int kDisplayStyle = 1;
constexpr CFont kDisplayFont = 3;
constexpr CPoint kKickCorner{285, 13};

} // namespace

ZeltoBassEditor::ZeltoBassEditor(ZeltoBass* owner, WindowAdopter adoptWindow,
                                 ParameterSink& patchWrites)
    : AEffGUIEditor(owner, adoptWindow), patchWrites(patchWrites)
{
    backgroundBitmap = new CBitmap(kBackgroundId);
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<int16_t>(backgroundBitmap->getHeight());
    rect.right = static_cast<int16_t>(backgroundBitmap->getWidth());
}

ZeltoBassEditor::~ZeltoBassEditor()
{
    close(); // a host may close the effect with the window still open
    if (backgroundBitmap)
        backgroundBitmap->forget();
    backgroundBitmap = nullptr;
    // The constructor's load opened the shared reader; a frame's close gives
    // it back, but an editor never opened has no frame to do so.
    CBitmap::closeResource();
}

CBitmap* ZeltoBassEditor::willOpen()
{
    if (!smallHandleBitmap)
        smallHandleBitmap = new CBitmap(kSmallHandleId);
    if (!bigHandleBitmap)
        bigHandleBitmap = new CBitmap(kBigHandleId);
    if (!kickBitmap)
        kickBitmap = new CBitmap(kKickId);

    // From here on setParameter queues its values; the controls read the
    // effect afterwards, so no write between the two is lost.
    pendingMask.store(0, std::memory_order_relaxed);
    accepting.store(true, std::memory_order_release);
    return backgroundBitmap;
}

void ZeltoBassEditor::placeControls(CFrame* owner)
{
    MakeVerticalSlider(owner, &paramSliders[kMix], bigHandleBitmap, kMix, 53, kSliderTop,
                       kSliderBottom);
    MakeVerticalSlider(owner, &paramSliders[kTubeDist], smallHandleBitmap, kTubeDist, 149,
                       kSliderTop, kSliderBottom);
    MakeVerticalSlider(owner, &paramSliders[kCompressor], smallHandleBitmap, kCompressor, 237,
                       kSliderTop, kSliderBottom);
    MakeDisplay(owner, &paramDisplays[kMix], kMix, 52, kDisplayTop, kDisplayWidth,
                CColor{218, 67, 67, 0}, ParamStringConvert);
    MakeDisplay(owner, &paramDisplays[kTubeDist], kTubeDist, 144, kDisplayTop, kDisplayWidth,
                CColor{20, 168, 119, 0}, ParamStringConvert);
    MakeDisplay(owner, &paramDisplays[kCompressor], kCompressor, 232, kDisplayTop, kDisplayWidth,
                CColor{20, 168, 119, 0}, ParamStringConvertCompress);

    CRect kickSize{kKickCorner.h, kKickCorner.v, kKickCorner.h + kickBitmap->getWidth(),
                   kKickCorner.v + kickBitmap->getHeight() / 2};
    CPoint origin{0, 0};
    kickButton = new CKickButton(kickSize, this, kRandomTag, kickBitmap->getHeight() / 2,
                                 kickBitmap, origin);
    kickButton->setValue(0.0f);
    owner->addView(kickButton); // the frame deletes it
}

void ZeltoBassEditor::willClose()
{
    accepting.store(false, std::memory_order_relaxed);
}

void ZeltoBassEditor::didClose()
{
    for (CBitmap** bitmap : {&smallHandleBitmap, &bigHandleBitmap, &kickBitmap}) {
        if (*bitmap)
            (*bitmap)->forget();
        *bitmap = nullptr;
    }
    for (int i = 0; i < kEditorParams; i++) {
        paramSliders[i] = nullptr;
        paramDisplays[i] = nullptr;
    }
    kickButton = nullptr;
}

void ZeltoBassEditor::setParameter(int32_t index, float value)
{
    if (!accepting.load(std::memory_order_acquire))
        return;
    if (index >= 0 && index < kEditorParams) {
        pendingValue[index].store(value, std::memory_order_relaxed);
        pendingMask.fetch_or(1u << index, std::memory_order_release);
    }
    postUpdate();
}

void ZeltoBassEditor::update()
{
    applyPendingValues();
}

void ZeltoBassEditor::applyPendingValues()
{
    const uint32_t mask = pendingMask.exchange(0, std::memory_order_acquire);
    for (int i = 0; i < kEditorParams; i++) {
        if (!(mask & (1u << i)) || !paramSliders[i] || !paramDisplays[i])
            continue;
        const float value = pendingValue[i].load(std::memory_order_relaxed);
        paramSliders[i]->setValue(value);
        paramDisplays[i]->setValue(value);
    }
}

void ZeltoBassEditor::valueChanged(CDrawContext* context, CControl* control)
{
    if (!control)
        return;
    const float value = control->getValue();
    const int32_t tag = control->getTag();
    if (tag >= 0 && tag < kEditorParams) {
        // Stores the value (the limited one for the compressor), comes back
        // through setParameter and tells the host.
        effect->setParameterAutomated(tag, value);
        applyPendingValues();
        control->update(context);
    } else if (tag == kRandomTag) {
        if (randomPhase)
            random.makeRandomPatch(patchWrites);
        randomPhase = !randomPhase;
    }
}

void ZeltoBassEditor::MakeDisplay(CFrame* owner, CParamDisplay** display, int32_t tag, int x, int y,
                                  int width, CColor fontColor, void (*convert)(float, char*))
{
    CRect size{x, y, x + width, y + kDisplayHeight};
    auto* d = new CParamDisplay(size, nullptr, kDisplayStyle);
    d->setFont(kDisplayFont);
    d->setFontColor(fontColor);
    d->setBackColor(colorBlack);
    d->setFrameColor(colorBlack);
    d->setValue(effect->getParameter(tag));
    d->setStringConvert(convert);
    *display = d;
    owner->addView(d); // the frame deletes it
}

void ZeltoBassEditor::MakeVerticalSlider(CFrame* owner, CVerticalSlider** slider, CBitmap* handle,
                                         int32_t tag, int x, int y, int bottom)
{
    CRect size{x, y, x + handle->getWidth(), bottom};
    CPoint offset{x, y};
    auto* s = new CVerticalSlider(size, this, tag, y, bottom - handle->getHeight(), handle,
                                  backgroundBitmap, offset, kStyleMinBottom);
    CPoint handleOffset{0, 0};
    s->setOffsetHandle(handleOffset);
    s->setValue(effect->getParameter(tag));
    *slider = s;
    owner->addView(s); // the frame deletes it
}
