// GalleryEditor: loading the pictures, placing the eighteen controls, the
// notifications and the links between controls, and what moves on idle.
#include "gallery/GalleryEditor.h"

#include <cmath>
#include <cstdio>
#include <iterator>

#include "gallery/GalleryLayout.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/PlugView.h"
#include "gui/controls/CButtons.h"
#include "gui/controls/CControl.h"
#include "gui/controls/CKnob.h"
#include "gui/controls/CMovieBitmap.h"
#include "gui/controls/COptionMenu.h"
#include "gui/controls/CParamDisplay.h"
#include "gui/controls/CSlider.h"
#include "gui/controls/CSpecialDigit.h"
#include "gui/controls/CSplashScreen.h"
#include "gui/controls/CSwitch.h"
#include "gui/controls/CTextEdit.h"
#include "gui/controls/CVuMeter.h"
#include "platform/api/View.h"

using namespace gallery;

namespace {

constexpr CFont kFieldFont = 4;
constexpr CColor kFieldText{201, 205, 211, 0};
constexpr CColor kFieldBack{21, 23, 26, 0};
constexpr CColor kFieldFrame{60, 64, 71, 0};
constexpr CColor kAccent{240, 149, 58, 0};
// The shown animation steps one picture every this many idles.
constexpr uint32_t kIdlesPerPicture = 3;
// How far the meter may fall per draw while it moves: a slow release.
constexpr float kMeterFall = 0.04f;
constexpr float kDigitScale = 9999.0f;

CRect rectOf(const Box& b)
{
    return CRect{b.left, b.top, b.right, b.bottom};
}

void percent(float value, char* text)
{
    std::snprintf(text, kParamTextSize, "%d %%", static_cast<int>(std::lround(value * 100.0f)));
}

void styleField(CParamDisplay* field, CColor text)
{
    field->setFont(kFieldFont);
    field->setFontColor(text);
    field->setBackColor(kFieldBack);
    field->setFrameColor(kFieldFrame);
}

} // namespace

GalleryEditor::GalleryEditor(AudioEffect* owner, bool keepStill, WindowAdopter adoptWindow)
    : AEffGUIEditor(owner, adoptWindow), still(keepStill)
{
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<int16_t>(kHeight);
    rect.right = static_cast<int16_t>(kWidth);
}

GalleryEditor::~GalleryEditor()
{
    close(); // a host may close the effect with the window still open
}

float GalleryEditor::levelAt(uint32_t count)
{
    // Two slow waves against each other: it rises, falls and pauses.
    const double t = count;
    const double level = 0.5 + 0.45 * std::sin(t * 0.23) * std::cos(t * 0.041);
    return static_cast<float>(std::fmin(1.0, std::fmax(0.0, level)));
}

void GalleryEditor::loadPictures()
{
    for (int i = 0; i < static_cast<int>(std::size(pictures)); i++)
        if (!pictures[i])
            pictures[i] = new CBitmap(kBackgroundId + i);
}

void GalleryEditor::releasePictures()
{
    for (CBitmap*& picture : pictures) {
        if (picture)
            picture->forget();
        picture = nullptr;
    }
}

CBitmap* GalleryEditor::willOpen()
{
    loadPictures();
    return pictures[0];
}

void GalleryEditor::placeControls(CFrame* frame)
{
    const auto picture = [this](int id) { return pictures[id - kBackgroundId]; };
    CBitmap* background = picture(kBackgroundId);
    const CPoint origin{0, 0};
    // The frame owns every view added to it and deletes it with itself.
    const auto add = [frame](CView* view) { frame->addView(view); };

    {
        const Box& b = kVSlider;
        auto* s = new CVerticalSlider(rectOf(b), this, kTagVSlider, b.top,
                                      b.bottom - kVHandleHeight, picture(kVHandleId), background,
                                      CPoint{b.left, b.top}, kStyleMinBottom);
        CPoint handleOffset{0, 0};
        s->setOffsetHandle(handleOffset);
        s->setValue(0.3f);
        add(s);
    }
    {
        const Box& b = kHSlider;
        auto* s = new CHorizontalSlider(rectOf(b), this, kTagHSlider, b.left,
                                        b.right - kHHandleWidth, picture(kHHandleId), background,
                                        CPoint{b.left, b.top}, kStyleMinLeft);
        CPoint handleOffset{0, 0};
        s->setOffsetHandle(handleOffset);
        s->setValue(0.5f);
        add(s);
    }
    auto* knob = new CKnob(rectOf(kKnob), this, kTagKnob, picture(kKnobBaseId),
                           picture(kKnobHandleId), origin);
    knob->setValue(0.35f);
    add(knob);
    auto* animKnob = new CAnimKnob(rectOf(kAnimKnob), this, kTagAnimKnob, kAnimKnobFrames,
                                   kKnobSize, picture(kAnimKnobId), origin);
    animKnob->setValue(0.7f);
    add(animKnob);
    auto* kick =
        new CKickButton(rectOf(kKick), this, kTagKick, kButtonHeight, picture(kKickId), origin);
    kick->setValue(0.0f);
    add(kick);
    auto* onOff = new COnOffButton(rectOf(kOnOff), this, kTagOnOff, picture(kOnOffId));
    onOff->setValue(0.0f);
    add(onOff);

    display = new CParamDisplay(rectOf(kParamDisplay), nullptr, 0);
    styleField(display, kAccent);
    display->setStringConvert(percent);
    display->setValue(0.5f); // the horizontal slider's
    add(display);
    auto* edit = new CTextEdit(rectOf(kTextEdit), this, kTagTextEdit, "Wobrix", nullptr, 0);
    styleField(edit, kFieldText);
    add(edit);
    auto* menu = new COptionMenu(rectOf(kOptionMenu), this, kTagOptionMenu, picture(kMenuId),
                                 picture(kMenuPressedId), kStyleMarkCurrent);
    styleField(menu, kFieldText);
    for (const char* entry : {"Sine", "Square", "-", "Saw", "Triangle", "-", "Noise"}) {
        char text[kParamTextSize];
        std::snprintf(text, sizeof text, "%s", entry);
        menu->addEntry(text);
    }
    add(menu);
    auto* vSwitch =
        new CVerticalSwitch(rectOf(kVSwitch), this, kTagVSwitch, kVSwitchPositions, kVSwitchHeight,
                            kVSwitchPositions, picture(kVSwitchId), origin);
    vSwitch->setValue(0.5f);
    add(vSwitch);
    auto* hSwitch =
        new CHorizontalSwitch(rectOf(kHSwitch), this, kTagHSwitch, kHSwitchPositions,
                              kHSwitchHeight, kHSwitchPositions, picture(kHSwitchId), origin);
    hSwitch->setValue(1.0f / 3.0f);
    add(hSwitch);
    auto* rocker = new CRockerSwitch(rectOf(kRocker), this, kTagRocker, kRockerHeight,
                                     picture(kRockerId), origin);
    rocker->setValue(0.0f);
    add(rocker);

    movie = new CMovieBitmap(rectOf(kMovieBitmap), this, kTagMovieBitmap, kMovieFrames, kMovieSize,
                             picture(kMovieBitmapId), origin);
    movie->setValue(knob->getValue());
    add(movie);
    auto* movieButton = new CMovieButton(rectOf(kMovieButton), this, kTagMovieButton,
                                         kMovieButtonHeight, picture(kMovieButtonId), origin);
    movieButton->setValue(0.0f);
    add(movieButton);
    animation = new CAutoAnimation(rectOf(kAnimation), this, kTagAnimation, kAnimationFrames,
                                   kAnimationSize, picture(kAnimationId), origin);
    add(animation);
    meter = new CVuMeter(rectOf(kVuMeter), picture(kMeterLitId), picture(kMeterUnlitId),
                         kMeterSegments, 0);
    // Still, the meter shows its level at once; moving, it falls slowly.
    meter->setDecreaseStepValue(still ? 1.0f : kMeterFall);
    meter->setValue(still ? kStillLevel : levelAt(idleCount.load(std::memory_order_relaxed)));
    meter->setOldValue(0.0f);
    add(meter);
    int32_t xs[kDigitCount], ys[kDigitCount];
    for (int i = 0; i < kDigitCount; i++) {
        xs[i] = kDigits.left + i * (kDigitWidth + kDigitGap);
        ys[i] = kDigits.top;
    }
    digits = new CSpecialDigit(rectOf(kDigits), this, kTagDigits, 0, kDigitCount, xs, ys,
                               kDigitWidth, kDigitHeight, picture(kDigitsId));
    digits->setValue(0.3f * kDigitScale); // the vertical slider's
    add(digits);
    // Last, so that its picture lies over everything while it is shown.
    auto* splash = new CSplashScreen(rectOf(kSplashButton), this, kTagSplash, picture(kSplashId),
                                     rectOf(kSplash), origin);
    add(splash);
}

void GalleryEditor::didClose()
{
    display = nullptr;
    digits = nullptr;
    movie = nullptr;
    meter = nullptr;
    animation = nullptr;
    releasePictures();
}

void GalleryEditor::idle()
{
    if (!still) {
        idleCount.fetch_add(1, std::memory_order_relaxed);
        postUpdate();
    }
    AEffGUIEditor::idle();
}

void GalleryEditor::update()
{
    // Nothing moves under the about picture, which lies over the cells.
    if (still || !frame || frame->getModalView())
        return;
    const uint32_t count = idleCount.load(std::memory_order_relaxed);
    if (meter)
        meter->setValue(levelAt(count));
    if (animation && animation->isWindowOpened() && count % kIdlesPerPicture == 0)
        animation->nextPixmap();
}

void GalleryEditor::valueChanged(CDrawContext* /*context*/, CControl* control)
{
    if (!control)
        return;
    const int32_t tag = control->getTag();
    const float value = control->getValue();
    char text[kParamTextSize] = {};
    bool hasText = false;
    switch (tag) {
    case kTagHSlider:
        if (display)
            display->setValue(value);
        break;
    case kTagVSlider:
        if (digits)
            digits->setValue(value * kDigitScale);
        break;
    case kTagKnob:
        if (movie)
            movie->setValue(value);
        break;
    case kTagTextEdit:
        static_cast<CTextEdit*>(control)->getText(text);
        hasText = true;
        break;
    case kTagOptionMenu:
        static_cast<COptionMenu*>(control)->getCurrent(text);
        hasText = true;
        break;
    default: break;
    }
    if (hasText)
        std::printf("tag %d value %g text \"%s\"\n", tag, static_cast<double>(value), text);
    else
        std::printf("tag %d value %g\n", tag, static_cast<double>(value));
    std::fflush(stdout);
}
