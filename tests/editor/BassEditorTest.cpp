// The bass editor in a headless window: its seven controls and their places,
// values between effect and controls, slider drags that automate, the kick
// button's random patch, the display texts, and the editor opcodes' edges.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "EditorHarness.h"
#include "editor/ParamStringConvert.h"
#include "gui/controls/CButtons.h"
#include "gui/controls/CParamDisplay.h"
#include "gui/controls/CSlider.h"
#include "platform/backends/headless/HeadlessBackend.h"
#include "plugin/ParameterSink.h"

namespace {

std::string mixText(float v)
{
    char t[24];
    ParamStringConvert(v, t);
    return t;
}

std::string compressText(float v)
{
    char t[24];
    ParamStringConvertCompress(v, t);
    return t;
}

TEST(BassEditorText, DisplaysTruncatePercentAndShowTheCompressorInDecibels)
{
    EXPECT_EQ(mixText(0.5f), "50");
    EXPECT_EQ(mixText(0.999f), "99");
    EXPECT_EQ(mixText(1.0f), "100");
    EXPECT_EQ(mixText(0.0f), "0");
    EXPECT_EQ(mixText(0.29f), "28"); // 0.28999999 x 100 truncates
    EXPECT_EQ(compressText(0.0f), " 0");
    EXPECT_EQ(compressText(0.5f), "-6");
    EXPECT_EQ(compressText(0.9f), "-20");
    EXPECT_EQ(compressText(0.99f), "-40");
    EXPECT_EQ(compressText(0.01f), "-0");
    // Values no slider makes still give short, defined texts.
    EXPECT_EQ(mixText(std::numeric_limits<float>::quiet_NaN()), "0");
    EXPECT_EQ(mixText(1e30f), "2147483647");
    EXPECT_EQ(compressText(1.0f), "-inf");
    EXPECT_EQ(compressText(2.0f), "nan");
}

using BassEditor = EditorHarness;

TEST_F(BassEditor, TheEffectOwnsAnEditorOfTheSkinsSize)
{
    EXPECT_EQ(effect.getAeffect()->flags, 0x219);
    ERect* r = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &r), 1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->top, 0);
    EXPECT_EQ(r->left, 0);
    EXPECT_EQ(r->bottom, 262);
    EXPECT_EQ(r->right, 340);
    EXPECT_EQ(dispatch(effEditGetRect), 0); // no place to put the answer
}

TEST_F(BassEditor, OpensWithSevenControlsInPlaceWithTheEffectsValues)
{
    effect.setParameter(kMix, 0.25f);
    effect.setParameter(kCompressor, 0.5f);
    ASSERT_EQ(open(), 1);
    CFrame* frame = editor()->getFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->getViewCount(), 7);
    const CRect places[] = {{53, 38, 75, 184},  {149, 38, 165, 184},  {237, 38, 253, 184},
                            {52, 197, 77, 210}, {144, 197, 169, 210}, {232, 197, 257, 210},
                            {285, 13, 329, 51}};
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(frame->getView(i)->size, places[i]) << i;
    EXPECT_EQ(frame->getView(0), editor()->getSlider(kMix));
    EXPECT_EQ(frame->getView(6), editor()->getKickButton());
    EXPECT_FLOAT_EQ(editor()->getSlider(kMix)->getValue(), 0.25f);
    EXPECT_FLOAT_EQ(editor()->getDisplay(kCompressor)->getValue(), 0.5f);
    EXPECT_FLOAT_EQ(editor()->getSlider(kTubeDist)->getValue(), 0.0f);
}

TEST_F(BassEditor, OpcodeEdgesNeverTakeAForeignPointerOrLeaveAnEditorHalfOpen)
{
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(editor()->getFrame(), nullptr);
    dispatch(effEditClose); // closed already: nothing happens
    ASSERT_EQ(open(), 1);
    CFrame* first = editor()->getFrame();

    // Opening again closes first; the same record is then free to adopt.
    effect.setParameter(kTubeDist, 0.75f);
    ASSERT_EQ(open(), 1);
    ASSERT_NE(editor()->getFrame(), nullptr);
    EXPECT_EQ(editor()->getFrame()->getViewCount(), 7);
    EXPECT_FLOAT_EQ(editor()->getSlider(kTubeDist)->getValue(), 0.75f);
    (void)first;

    // A second host window can take the editor over.
    HeadlessHost other(340, 262);
    ASSERT_EQ(dispatch(effEditOpen, 0, 0, other.record()), 1);
    EXPECT_FALSE(host.attached());
    EXPECT_TRUE(other.attached());
    dispatch(effEditClose);
    EXPECT_FALSE(other.attached());
    EXPECT_EQ(editor()->getSlider(kMix), nullptr);
}

TEST_F(BassEditor, ParameterChangesReachTheControlsOnTheNextIdle)
{
    effect.setParameter(kMix, 0.4f); // closed: no control to move
    ASSERT_EQ(open(), 1);
    show();
    effect.setParameter(kMix, 0.8f);
    effect.setParameter(4, 0.3f);                                 // no control of its own
    EXPECT_FLOAT_EQ(editor()->getSlider(kMix)->getValue(), 0.4f); // not yet
    idle();
    EXPECT_FLOAT_EQ(editor()->getSlider(kMix)->getValue(), 0.8f);
    EXPECT_FLOAT_EQ(editor()->getDisplay(kMix)->getValue(), 0.8f);
    effect.setParameter(kCompressor, 1.0f);
    idle();
    EXPECT_FLOAT_EQ(editor()->getSlider(kCompressor)->getValue(), 0.99f);
    EXPECT_TRUE(takeAutomations().empty()); // the host is told only of slider moves
}

TEST_F(BassEditor, DraggingTheCompressorToTheTopStoresItsLimitAndAutomates)
{
    ASSERT_EQ(open(), 1);
    show();
    // From the handle at the bottom of its travel to above the slider.
    drag(245, 170, 245, 10, 12);
    EXPECT_FLOAT_EQ(effect.getParameter(kCompressor), 0.99f);
    idle();
    EXPECT_FLOAT_EQ(editor()->getSlider(kCompressor)->getValue(), 0.99f);
    EXPECT_FLOAT_EQ(editor()->getDisplay(kCompressor)->getValue(), 0.99f);
    const auto automated = takeAutomations();
    ASSERT_FALSE(automated.empty());
    for (const Automation& a : automated)
        EXPECT_EQ(a.index, kCompressor);
    EXPECT_FLOAT_EQ(automated.back().value, 1.0f); // the host hears the value as moved
    for (size_t i = 1; i < automated.size(); i++)
        EXPECT_GE(automated[i].value, automated[i - 1].value);
}

TEST_F(BassEditor, EverySecondKickNotificationWritesARandomPatchIntoTheProgram)
{
    dispatch(effSetProgram, 0, 3);
    ASSERT_EQ(open(), 1);
    show();
    const float before[] = {effect.getParameter(kMix), effect.getParameter(kTubeDist),
                            effect.getParameter(kCompressor)};
    click(300, 30); // down and up: one patch, on the release
    EXPECT_FALSE(editor()->getRandomPhase());
    const float mix = effect.getParameter(kMix);
    const float tube = effect.getParameter(kTubeDist);
    const float comp = effect.getParameter(kCompressor);
    EXPECT_TRUE(mix != before[0] || tube != before[1] || comp != before[2]);
    EXPECT_TRUE(mix == 1.0f || (mix >= 0.3f && mix <= 1.0f));
    EXPECT_TRUE(tube >= 0.0f && tube <= 1.0f);
    EXPECT_LE(comp, 0.99f);
    EXPECT_TRUE(takeAutomations().empty());
    idle();
    EXPECT_FLOAT_EQ(editor()->getSlider(kTubeDist)->getValue(), tube);
    EXPECT_FLOAT_EQ(editor()->getKickButton()->getValue(), 0.0f);

    // The patch went into program 3 only.
    dispatch(effSetProgram, 0, 0);
    EXPECT_FLOAT_EQ(effect.getParameter(kTubeDist), 0.0f);
    dispatch(effSetProgram, 0, 3);
    EXPECT_FLOAT_EQ(effect.getParameter(kTubeDist), tube);
}

// An assembly whose every change must reach the host hands the editor a sink
// that tells it.
class TellingSink final : public ParameterSink {
public:
    void setParameter(int32_t index, float value) override
    {
        effect->setParameterAutomated(index, value);
    }
    AudioEffect* effect = nullptr;
};
TellingSink tellingSink;
constexpr BassEditorMaker tellingMaker{adoptHeadlessHandle, &tellingSink};

class BassEditorTellingPatch : public EditorHarness {
protected:
    BassEditorTellingPatch() : EditorHarness(&tellingMaker) { tellingSink.effect = &effect; }
};

TEST_F(BassEditorTellingPatch, TheRandomPatchGoesThroughTheSinkTheAssemblyChose)
{
    ASSERT_EQ(open(), 1);
    show();
    click(300, 30);
    const std::vector<Automation> automated = takeAutomations();
    ASSERT_EQ(automated.size(), 3u);
    EXPECT_EQ(automated[0].index, kCompressor);
    EXPECT_EQ(automated[1].index, kTubeDist);
    EXPECT_EQ(automated[2].index, kMix);
    EXPECT_FLOAT_EQ(automated[1].value, effect.getParameter(kTubeDist));
}

TEST_F(BassEditor, ClosedAndReopenedTheControlsAreNewWithTheEffectsValues)
{
    ASSERT_EQ(open(), 1);
    show();
    dispatch(effEditClose);
    EXPECT_EQ(editor()->getFrame(), nullptr);
    effect.setParameter(kMix, 0.125f);
    ASSERT_EQ(open(), 1);
    show();
    EXPECT_FLOAT_EQ(editor()->getSlider(kMix)->getValue(), 0.125f);
    EXPECT_EQ(editor()->getFrame()->getViewCount(), 7);
}

} // namespace
