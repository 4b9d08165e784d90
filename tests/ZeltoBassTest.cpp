// The bass effect's parameters, programs, texts and identity, driven through
// its dispatcher as a host would, plus the mended edge cases.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "addon/BassEditorMaker.h"
#include "effect/ZeltoBass.h"
#include "effect/ZeltoBassProc.h"
#include "plugin/AEffEditor.h"
#include "tests/support/HostCalls.h"

namespace {

// Records what the effect tells its editor.
class EditorSpy : public AEffEditor {
public:
    using AEffEditor::AEffEditor;
    std::vector<std::pair<int32_t, float>> values;
    void setParameter(int32_t index, float value) override { values.emplace_back(index, value); }
};

class Bass : public ::testing::Test {
protected:
    // The recorder hears the effect from its first call after construction.
    Bass() { host.attach(effect.getAeffect()); }
    HostRecorder host;
    ZeltoBass effect{HostRecorder::callback, &headlessBassEditor()};

    VstIntPtr dispatch(int32_t op, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0)
    {
        AEffect* r = effect.getAeffect();
        return r->dispatcher(r, op, index, value, ptr, opt);
    }
    std::string text(int32_t op, int32_t index = 0)
    {
        char t[64];
        std::memset(t, 'x', sizeof t);
        t[63] = 0;
        dispatch(op, index, 0, t);
        return t;
    }
    std::string display(int32_t index) { return text(effGetParamDisplay, index); }
    EditorSpy* attachSpy()
    {
        auto* spy = new EditorSpy(&effect);
        effect.setEditor(spy); // owned by the effect
        return spy;
    }
};

TEST_F(Bass, RecordAndIdentity)
{
    const AEffect* r = effect.getAeffect();
    EXPECT_EQ(r->numPrograms, 5);
    EXPECT_EQ(r->numParams, 6);
    EXPECT_EQ(r->numInputs, 2);
    EXPECT_EQ(r->numOutputs, 2);
    EXPECT_EQ(r->flags, 0x219); // with its editor
    EXPECT_EQ(r->uniqueID, 0x5A623771);
    EXPECT_EQ(text(effGetEffectName), "WobrixFree");
    EXPECT_EQ(text(effGetProductString), "WobrixFree");
    EXPECT_EQ(text(effGetVendorString), "Zelto Audio");
    EXPECT_EQ(dispatch(effGetEffectName), 0) << "null buffer";
    EXPECT_EQ(dispatch(effGetVendorVersion), 1);
    char can[] = "1in2out";
    EXPECT_EQ(dispatch(effCanDo, 0, 0, can), -1);
    EXPECT_EQ(dispatch(effGetPlugCategory), 0);
    EXPECT_EQ(dispatch(effGetTailSize), 0);
    EXPECT_EQ(dispatch(effKeysRequired), 1);
    EXPECT_EQ(dispatch(effGetVstVersion), 2);
    EXPECT_EQ(dispatch(effGetNumProgramCategories), 1);
    EXPECT_EQ(dispatch(effCanBeAutomated, 4), 1);
}

TEST_F(Bass, OutputPins)
{
    VstPinProperties pin;
    std::memset(&pin, 0x55, sizeof pin);
    EXPECT_EQ(dispatch(effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "ZB 2");
    EXPECT_EQ(pin.pinFlags, 3);
    EXPECT_EQ(dispatch(effGetOutputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "ZB 1");
    VstPinProperties untouched;
    std::memset(&untouched, 0x55, sizeof untouched);
    EXPECT_EQ(dispatch(effGetOutputProperties, 2, 0, &untouched), 0);
    EXPECT_EQ(dispatch(effGetOutputProperties, -1, 0, &untouched), 0);
    EXPECT_EQ(dispatch(effGetInputProperties, 0, 0, &untouched), 0);
    EXPECT_EQ(untouched.pinFlags, 0x55555555);
    EXPECT_EQ(dispatch(effGetOutputProperties, 0, 0, nullptr), 0);
}

TEST_F(Bass, ParameterNamesLabelsAndDisplays)
{
    EXPECT_EQ(text(effGetParamName, 0), "Mix ");
    EXPECT_EQ(text(effGetParamName, 1), "Tube Dist");
    EXPECT_EQ(text(effGetParamName, 2), "Compressor");
    EXPECT_EQ(text(effGetParamName, 3).substr(0, 4), "xxxx") << "index 3 writes nothing";
    EXPECT_EQ(text(effGetParamLabel, 0), "%");
    EXPECT_EQ(text(effGetParamLabel, 2), "dB");
    EXPECT_EQ(text(effGetParamLabel, 3), "%");
    EXPECT_EQ(display(0), "100/0");
    EXPECT_EQ(display(1), "0");
    EXPECT_EQ(display(2), "0.00");
    EXPECT_EQ(display(4).substr(0, 4), "xxxx");

    effect.setParameter(kMix, 0.5f);
    EXPECT_EQ(display(0), "50/50");
    effect.setParameter(kMix, 0.3f);
    EXPECT_EQ(display(0), "30/70");
    for (auto [c, shown] : std::vector<std::pair<float, std::string>>{
             {0.5f, "-6.02"}, {0.7f, "-10.46"}, {0.96f, "-27.96"}, {0.99f, "-40.00"}}) {
        effect.setParameter(kCompressor, c);
        EXPECT_EQ(display(2), shown) << c;
    }
}

TEST_F(Bass, DisplaysOfWildValuesSaturate)
{
    effect.setParameter(kMix, 1e12f);
    EXPECT_EQ(display(0), "2147483647/-2147483648");
    effect.setParameter(kMix, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(display(0), "0/0");
    effect.setParameter(kTubeDist, -1e30f);
    EXPECT_EQ(display(1), "-2147483648");
    effect.setParameter(kCompressor, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(display(2).find("nan") != std::string::npos, true) << display(2);
    effect.setParameter(kCompressor, -3e38f);
    EXPECT_LE(display(2).size(), 23u);
}

TEST_F(Bass, CompressorIsLimited)
{
    EditorSpy* spy = attachSpy();
    effect.setParameter(kCompressor, 1.0f);
    EXPECT_EQ(effect.getParameter(kCompressor), 0.99f);
    ASSERT_EQ(spy->values.size(), 1u);
    EXPECT_EQ(spy->values[0], std::make_pair(2, 0.99f));
    effect.setParameter(kMix, 1.3f);
    EXPECT_EQ(effect.getParameter(kMix), 1.3f) << "no other limit";
    effect.setParameter(5, 0.7f);
    EXPECT_EQ(effect.getParameter(5), 0.0f);
    EXPECT_EQ(spy->values.back(), std::make_pair(5, 0.7f)) << "the editor hears every index";
    // Through the record too.
    AEffect* r = effect.getAeffect();
    r->setParameter(r, 1, 0.4f);
    EXPECT_EQ(r->getParameter(r, 1), 0.4f);
}

TEST_F(Bass, ProgramsAfterConstruction)
{
    const char* names[] = {"www.zeltoaudio.com", "Light", "Medium", "Heavy",
                           "Click Zelto for Random!"};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(text(effGetProgramNameIndexed, i), names[i]);
    EXPECT_EQ(dispatch(effGetProgramNameIndexed, 5, 0, nullptr), 0);
    char t[24];
    EXPECT_EQ(dispatch(effGetProgramNameIndexed, 5, 0, t), 0);
    EXPECT_EQ(dispatch(effGetProgramNameIndexed, -1, 0, t), 0);
    EXPECT_EQ(text(effGetProgramName), names[0]);
    EXPECT_EQ(dispatch(effGetProgram), 0);
}

TEST_F(Bass, SetProgramLoadsValuesTellsEditorAndHost)
{
    EditorSpy* spy = attachSpy();
    dispatch(effSetProgram, 0, 1);
    EXPECT_EQ(effect.getParameter(kTubeDist), 0.03f);
    EXPECT_EQ(display(1), "2");
    EXPECT_EQ(display(2), "-6.02");
    EXPECT_EQ(opcodesOf(host.calls()), std::vector<int32_t>{audioMasterUpdateDisplay});
    ASSERT_EQ(spy->values.size(), 3u);
    EXPECT_EQ(spy->values[0].first, 0);
    EXPECT_EQ(spy->values[1].first, 1);
    EXPECT_EQ(spy->values[2].first, 2);

    dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(display(1), "60");
    EXPECT_EQ(display(2), "-27.96");
    dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(display(1), "15");
    EXPECT_EQ(display(2), "-10.46");
}

TEST_F(Bass, EditsLiveInTheCurrentProgram)
{
    dispatch(effSetProgram, 0, 3);
    effect.setParameter(kTubeDist, 0.4f);
    dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(effect.getParameter(kTubeDist), 0.0f);
    dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(effect.getParameter(kTubeDist), 0.4f);
}

TEST_F(Bass, BadProgramNumbersAreIgnored)
{
    dispatch(effSetProgram, 0, 2);
    host.clearCalls();
    dispatch(effSetProgram, 0, 5);
    dispatch(effSetProgram, 0, -1);
    effect.setProgram(-7); // directly, past the dispatcher
    effect.setProgram(99);
    EXPECT_EQ(dispatch(effGetProgram), 2);
    EXPECT_TRUE(host.calls().empty());
    EXPECT_EQ(dispatch(effCopyProgram, -1), 0);
    EXPECT_EQ(dispatch(effCopyProgram, 5), 0);
}

TEST_F(Bass, CopyProgram)
{
    dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(dispatch(effCopyProgram, 4), 1);
    EXPECT_EQ(text(effGetProgramNameIndexed, 4), "Medium");
    dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(effect.getParameter(kTubeDist), 0.15f);
    EXPECT_EQ(effect.getParameter(kCompressor), 0.7f);
    EXPECT_EQ(effect.getParameter(kMix), 1.0f);
}

TEST_F(Bass, ProgramNames)
{
    char init[] = "Init";
    dispatch(effSetProgramName, 0, 0, init);
    EXPECT_EQ(text(effGetProgramName), "Init 1");
    dispatch(effSetProgram, 0, 2);
    dispatch(effSetProgramName, 0, 0, init);
    EXPECT_EQ(text(effGetProgramName), "Init 3");

    char longName[] = "A name that is much longer than the field";
    dispatch(effSetProgramName, 0, 0, longName);
    EXPECT_EQ(text(effGetProgramName), "A name that is much lon"); // the first 23
    EXPECT_EQ(dispatch(effSetProgramName, 0, 0, nullptr), 0);
    EXPECT_EQ(dispatch(effGetProgramName, 0, 0, nullptr), 0);
    EXPECT_EQ(text(effGetProgramName), "A name that is much lon");
}

TEST_F(Bass, SuspendKeepsResumeClearsTheEnvelope)
{
    effect.setParameter(kCompressor, 0.5f);
    float a = 0.9f, b = 0.9f, o0, o1;
    float* ins[] = {&a, &b};
    float* outs[] = {&o0, &o1};
    effect.processReplacing(ins, outs, 1);
    const float reduced = effect.getProcessor()->getState().gain;
    ASSERT_LT(reduced, 1.0f);
    dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(effect.getProcessor()->getState().gain, reduced);
    dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(effect.getProcessor()->getState().gain, 1.0f);
    effect.processReplacing(ins, outs, 1);
    dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(effect.getProcessor()->getState().gain, 1.0f);
    EXPECT_EQ(effect.getProcessor()->getSampleRate(), 96000.0f);
}

} // namespace
