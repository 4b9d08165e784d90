// The host interface: the record a base effect fills, the trampolines with
// their close handling, every dispatcher opcode by group, and every
// host-callback wrapper with and without a host.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "plugin/AEffEditor.h"
#include "plugin/AudioEffectX.h"

namespace {

// What the fake host saw last, and what it answers.
struct FakeHost {
    static inline std::vector<std::vector<VstIntPtr>> calls; // opcode, index, value, ptr
    static inline std::vector<float> opts;
    static inline VstIntPtr answer = 0;
    static VstIntPtr callback(AEffect*, int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                              float opt)
    {
        calls.push_back({opcode, index, value, reinterpret_cast<VstIntPtr>(ptr)});
        opts.push_back(opt);
        return answer;
    }
    static void reset(VstIntPtr a = 0)
    {
        calls.clear();
        opts.clear();
        answer = a;
    }
};

// Records which virtual operation a dispatcher call reached, with arguments.
class SpyEffect : public AudioEffectX {
public:
    explicit SpyEffect(HostCallback host = FakeHost::callback) : AudioEffectX(host, 3, 4) {}
    ~SpyEffect() override { lifeLog += "destroyed;"; }
    static inline std::string lifeLog;
    std::string log;
    float vu = 0.0f;
    bool keys = false;

    void note(const std::string& s) { log += s + ";"; }
    void process(float**, float**, int32_t n) override { note("process " + std::to_string(n)); }
    void processReplacing(float**, float**, int32_t n) override
    {
        note("replacing " + std::to_string(n));
    }
    void setParameter(int32_t i, float v) override
    {
        note("set " + std::to_string(i) + " " + std::to_string(v));
    }
    float getParameter(int32_t i) override { return 0.5f * static_cast<float>(i); }
    void open() override { note("open"); }
    void close() override { lifeLog += "close;"; }
    void setProgram(int32_t p) override
    {
        note("setProgram " + std::to_string(p));
        AudioEffectX::setProgram(p);
    }
    void getParameterName(int32_t i, char* t) override
    {
        note("name " + std::to_string(i));
        std::strcpy(t, "N");
    }
    float getVu() override { return vu; }
    void setSampleRate(float) override { note("setSampleRate"); }
    void setBlockSize(int32_t) override { note("setBlockSize"); }
    void suspend() override { note("suspend"); }
    void resume() override { note("resume"); }
    int32_t setChunk(void*, int32_t size, bool preset) override
    {
        note("setChunk " + std::to_string(size) + (preset ? " preset" : " bank"));
        return 7;
    }
    bool getProgramNameIndexed(int32_t category, int32_t index, char*) override
    {
        note("indexed " + std::to_string(category) + " " + std::to_string(index));
        return true;
    }
    void inputConnected(int32_t i, bool s) override
    {
        note("in " + std::to_string(i) + (s ? " on" : " off"));
    }
    bool keysRequired() override { return keys; }
    bool setViewPosition(int32_t x, int32_t y) override
    {
        note("view " + std::to_string(x) + " " + std::to_string(y));
        return true;
    }
    int32_t getGetTailSize() override { return 52; }
    int32_t fxIdle() override { return 53; }
    void* getIcon() override { return reinterpret_cast<void*>(54); }
    AEffect* record() { return getAeffect(); }
};

class SpyEditor : public AEffEditor {
public:
    using AEffEditor::AEffEditor;
    std::string log;
    ERect rect{0, 0, 10, 20};
    int32_t getRect(ERect** r) override
    {
        *r = &rect;
        log += "rect;";
        return 1;
    }
    int32_t open(void* p) override
    {
        log += p ? "open;" : "open null;";
        return 1;
    }
    void close() override { log += "close;"; }
    void idle() override { log += "idle;"; }
};

VstIntPtr dispatch(SpyEffect& e, int32_t op, int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0)
{
    return e.record()->dispatcher(e.record(), op, index, value, ptr, opt);
}

TEST(Record, BaseConstructorFillsTheRecord)
{
    SpyEffect e;
    const AEffect* r = e.record();
    EXPECT_EQ(r->magic, 0x56737450);
    EXPECT_EQ(r->numPrograms, 3);
    EXPECT_EQ(r->numParams, 4);
    EXPECT_EQ(r->numInputs, 1);
    EXPECT_EQ(r->numOutputs, 2);
    EXPECT_EQ(r->flags, 0);
    EXPECT_EQ(r->ioRatio, 1.0f);
    EXPECT_EQ(r->object, &e);
    EXPECT_EQ(r->user, nullptr);
    EXPECT_EQ(r->uniqueID, 0x4E6F4566);
    EXPECT_EQ(r->version, 1);
    for (char c : r->future)
        EXPECT_EQ(c, 0);
    EXPECT_EQ(e.getSampleRate(), 44100.0f);
    EXPECT_EQ(e.getBlockSize(), 1024);
}

TEST(Record, FlagSettersTouchOnlyTheirBit)
{
    SpyEffect e;
    e.canMono(true);
    e.noTail(true);
    e.isSynth(true);
    EXPECT_EQ(e.record()->flags, 0x308);
    EXPECT_EQ(e.getPlugCategory(), 2);
    e.isSynth(false);
    e.hasVu(true);
    e.hasClip(true);
    e.programsAreChunks(true);
    e.wantAsyncOperation(true);
    e.hasExternalBuffer(true);
    e.canProcessReplacing(true);
    EXPECT_EQ(e.record()->flags, 0xE3E);
    EXPECT_EQ(e.getPlugCategory(), 0);
    e.hasVu(false);
    e.canMono(false);
    EXPECT_EQ(e.record()->flags, 0xE32);
}

TEST(Trampolines, CloseRunsBeforeDestructionAndAnswersOne)
{
    auto* e = new SpyEffect;
    SpyEffect::lifeLog.clear();
    AEffect* r = e->record();
    EXPECT_EQ(r->dispatcher(r, effClose, 0, 0, nullptr, 0), 1);
    EXPECT_EQ(SpyEffect::lifeLog, "close;destroyed;");
}

TEST(Trampolines, EachMakesOneCall)
{
    SpyEffect e;
    AEffect* r = e.record();
    EXPECT_EQ(r->getParameter(r, 3), 1.5f);
    r->setParameter(r, 1, 0.25f);
    r->process(r, nullptr, nullptr, 5);
    r->processReplacing(r, nullptr, nullptr, 6);
    EXPECT_EQ(e.log, "set 1 0.250000;process 5;replacing 6;");
}

TEST(BaseOpcodes, ProgramsAndTexts)
{
    SpyEffect e;
    dispatch(e, effSetProgram, 0, 2);
    dispatch(e, effSetProgram, 0, 3);  // == numPrograms: ignored
    dispatch(e, effSetProgram, 0, -1); // no such program
    EXPECT_EQ(dispatch(e, effGetProgram), 2);
    EXPECT_EQ(e.log, "setProgram 2;");

    char text[24] = "abc";
    dispatch(e, effSetProgramName, 0, 0, text);
    EXPECT_STREQ(text, "") << "the base clears the caller's text";
    std::strcpy(text, "xyz");
    dispatch(e, effGetParamLabel, 1, 0, text);
    EXPECT_STREQ(text, "");
    dispatch(e, effGetParamName, 2, 0, text);
    EXPECT_STREQ(text, "N");
    e.log.clear();
    for (int32_t op : {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
                       effGetParamName})
        EXPECT_EQ(dispatch(e, op, 0, 0, nullptr), 0);
    EXPECT_EQ(e.log, "") << "a null text pointer reaches no operation";
}

TEST(BaseOpcodes, VuRateBlockMains)
{
    SpyEffect e;
    EXPECT_EQ(dispatch(e, effGetVu), 0);
    e.vu = 0.5f;
    EXPECT_EQ(dispatch(e, effGetVu), 16383);
    e.vu = 1e12f;
    EXPECT_EQ(dispatch(e, effGetVu), 2147483647);
    e.vu = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(dispatch(e, effGetVu), 0);
    dispatch(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    dispatch(e, effSetBlockSize, 0, 512);
    dispatch(e, effMainsChanged, 0, 0);
    dispatch(e, effMainsChanged, 0, 1);
    dispatch(e, effMainsChanged, 0, -1);
    EXPECT_EQ(e.log, "setSampleRate;setBlockSize;suspend;resume;resume;");
}

TEST(BaseOpcodes, EditorOpcodesWithAndWithoutEditor)
{
    SpyEffect e;
    ERect* rect = reinterpret_cast<ERect*>(0x1);
    EXPECT_EQ(dispatch(e, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x1)) << "untouched without an editor";
    EXPECT_EQ(dispatch(e, effEditOpen, 0, 0, &e), 0);
    EXPECT_EQ(dispatch(e, effEditClose), 0);
    EXPECT_EQ(dispatch(e, effEditIdle), 0);

    auto* editor = new SpyEditor(&e);
    e.setEditor(editor); // the effect owns it from here
    EXPECT_EQ(e.record()->flags & kFlagHasEditor, kFlagHasEditor);
    EXPECT_EQ(dispatch(e, effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect, &editor->rect);
    EXPECT_EQ(dispatch(e, effEditGetRect, 0, 0, nullptr), 0);
    EXPECT_EQ(dispatch(e, effEditOpen, 0, 0, &e), 1);
    EXPECT_EQ(dispatch(e, effEditIdle), 0);
    EXPECT_EQ(dispatch(e, effEditClose), 0);
    EXPECT_EQ(editor->log, "rect;open;idle;close;");
}

TEST(BaseOpcodes, IdentifyChunksAndUnknown)
{
    SpyEffect e;
    EXPECT_EQ(dispatch(e, effIdentify, 9, 9, &e, 9.0f), 0x4E764566);
    EXPECT_EQ(dispatch(e, effGetChunk, 0, 0, nullptr), 0);
    EXPECT_EQ(dispatch(e, effSetChunk, 1, 64, &e), 7);
    EXPECT_EQ(dispatch(e, effSetChunk, 0, 32, &e), 7);
    EXPECT_EQ(e.log, "setChunk 64 preset;setChunk 32 bank;");
    for (int32_t op : {16, 17, 18, 20, 21, 59, 60, 1000, -1})
        EXPECT_EQ(dispatch(e, op, 1, 1, &e, 1.0f), 0) << op;
}

TEST(ExtendedOpcodes, Defaults)
{
    SpyEffect e;
    char text[64] = "keep";
    EXPECT_EQ(dispatch(e, effProcessEvents), 0);
    EXPECT_EQ(dispatch(e, effCanBeAutomated, 5), 1);
    EXPECT_EQ(dispatch(e, effString2Parameter, 0, 0, text), 0);
    EXPECT_EQ(dispatch(e, effGetNumProgramCategories), 1);
    EXPECT_EQ(dispatch(e, effCopyProgram, 1), 0);
    EXPECT_EQ(dispatch(e, effConnectOutput, 0, 0), 1);
    EXPECT_EQ(dispatch(e, effGetInputProperties, 0, 0, text), 0);
    EXPECT_EQ(dispatch(e, effGetOutputProperties, 0, 0, text), 0);
    EXPECT_EQ(dispatch(e, effGetPlugCategory), 0);
    EXPECT_EQ(dispatch(e, effGetCurrentPosition), 0);
    EXPECT_EQ(dispatch(e, effGetDestinationBuffer), 0);
    for (int32_t op : {effOfflineNotify, effOfflinePrepare, effOfflineRun, effProcessVarIo,
                       effSetSpeakerArrangement, effSetBypass, effGetEffectName, effGetErrorText,
                       effGetVendorString, effGetProductString, effGetVendorVersion,
                       effVendorSpecific, effCanDo, effGetParameterProperties})
        EXPECT_EQ(dispatch(e, op, 0, 0, text), 0) << op;
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(dispatch(e, effGetVstVersion), 2);
}

TEST(ExtendedOpcodes, ArgumentsReachTheirOperations)
{
    SpyEffect e;
    char text[24];
    EXPECT_EQ(dispatch(e, effGetProgramNameIndexed, 4, 9, text), 1); // value is the category
    EXPECT_EQ(dispatch(e, effGetProgramNameIndexed, 4, 9, nullptr), 0);
    EXPECT_EQ(dispatch(e, effConnectInput, 3, 0), 1);
    EXPECT_EQ(dispatch(e, effConnectInput, 2, 5), 1);
    EXPECT_EQ(dispatch(e, effSetViewPosition, 11, 22), 1);
    EXPECT_EQ(e.log, "indexed 9 4;in 3 off;in 2 on;view 11 22;");
    // The exact pairing of 52..55.
    EXPECT_EQ(dispatch(e, effGetTailSize), 52);
    EXPECT_EQ(dispatch(e, effIdle), 53);
    EXPECT_EQ(dispatch(e, effGetIcon), 54);
    // Keys: inverted.
    EXPECT_EQ(dispatch(e, effKeysRequired), 1);
    e.keys = true;
    EXPECT_EQ(dispatch(e, effKeysRequired), 0);
    // Below 25 still reaches the base.
    EXPECT_EQ(dispatch(e, effSetChunk, 0, 3, text), 7);
}

TEST(ExtendedOpcodes, BlockSizeAndSampleRateBypassTheSetters)
{
    SpyEffect e;
    EXPECT_EQ(dispatch(e, effSetBlockSizeAndSampleRate, 0, 512, nullptr, 48000.0f), 1);
    EXPECT_EQ(e.getBlockSize(), 512);
    EXPECT_EQ(e.getSampleRate(), 48000.0f);
    EXPECT_EQ(e.log, "");
}

// Every wrapper: the opcode, index and value it sends, and its answer with
// the host answering `answer` and with no host at all.
TEST(HostWrappers, SendTheirOpcodesAndConvertAnswers)
{
    SpyEffect e;
    SpyEffect alone(nullptr);
    char text[64];

    struct Case {
        const char* name;
        std::function<VstIntPtr(SpyEffect&)> call;
        int32_t opcode, index;
        VstIntPtr value;
        VstIntPtr hostAnswer, result, resultWithoutHost;
    };
    auto* marker = reinterpret_cast<VstOfflineTask*>(0x40);
    const std::vector<Case> cases = {
        {"getMasterVersion", [](SpyEffect& s) { return s.getMasterVersion(); }, 1, 0, 0, 0, 1, 1},
        {"getMasterVersion", [](SpyEffect& s) { return s.getMasterVersion(); }, 1, 0, 0, 2400, 2400,
         1},
        {"getCurrentUniqueId", [](SpyEffect& s) { return s.getCurrentUniqueId(); }, 2, 0, 0, 9, 9,
         0},
        {"isInputConnected", [](SpyEffect& s) { return s.isInputConnected(3); }, 4, 3, 0, 0, 1, 1},
        {"isInputConnected", [](SpyEffect& s) { return s.isInputConnected(3); }, 4, 3, 0, 1, 0, 1},
        {"isOutputConnected", [](SpyEffect& s) { return s.isOutputConnected(1); }, 4, 1, 1, 0, 1,
         1},
        {"getTimeInfo", [](SpyEffect& s) { return reinterpret_cast<VstIntPtr>(s.getTimeInfo(5)); },
         7, 0, 5, 77, 77, 0},
        {"tempoAt", [](SpyEffect& s) { return s.tempoAt(99); }, 10, 0, 99, 120, 120, 0},
        {"getNumAutomatableParameters",
         [](SpyEffect& s) { return s.getNumAutomatableParameters(); }, 11, 0, 0, 4, 4, 0},
        {"getParameterQuantization", [](SpyEffect& s) { return s.getParameterQuantization(); }, 12,
         0, 0, 8, 8, 0},
        {"ioChanged", [](SpyEffect& s) { return VstIntPtr(s.ioChanged()); }, 13, 0, 0, 5, 1, 0},
        {"needIdle", [](SpyEffect& s) { return VstIntPtr(s.needIdle()); }, 14, 0, 0, 0, 0, 0},
        {"sizeWindow", [](SpyEffect& s) { return VstIntPtr(s.sizeWindow(340, 262)); }, 15, 340, 262,
         1, 1, 0},
        {"updateSampleRate", [](SpyEffect& s) { return VstIntPtr(s.updateSampleRate()); }, 16, 0, 0,
         96000, 44100, 44100},
        {"updateBlockSize", [](SpyEffect& s) { return VstIntPtr(s.updateBlockSize()); }, 17, 0, 0,
         64, 1024, 1024},
        {"getInputLatency", [](SpyEffect& s) { return s.getInputLatency(); }, 18, 0, 0, 3, 3, 0},
        {"getOutputLatency", [](SpyEffect& s) { return s.getOutputLatency(); }, 19, 0, 0, 4, 4, 0},
        {"getPreviousPlug",
         [](SpyEffect& s) { return reinterpret_cast<VstIntPtr>(s.getPreviousPlug(7)); }, 20, 0, 0,
         64, 64, 0},
        {"getNextPlug", [](SpyEffect& s) { return reinterpret_cast<VstIntPtr>(s.getNextPlug(7)); },
         21, 0, 0, 64, 64, 0},
        {"willProcessReplacing", [](SpyEffect& s) { return s.willProcessReplacing(); }, 22, 0, 0, 2,
         2, 0},
        {"getCurrentProcessLevel", [](SpyEffect& s) { return s.getCurrentProcessLevel(); }, 23, 0,
         0, 2, 2, 0},
        {"getAutomationState", [](SpyEffect& s) { return s.getAutomationState(); }, 24, 0, 0, 3, 3,
         0},
        {"offlineStart", [](SpyEffect& s) { return VstIntPtr(s.offlineStart(nullptr, 2, 3)); }, 25,
         3, 2, 1, 1, 0},
        {"offlineRead", [=](SpyEffect& s) { return VstIntPtr(s.offlineRead(marker, 6, false)); },
         26, 0, 6, 1, 1, 0},
        {"offlineWrite", [=](SpyEffect& s) { return VstIntPtr(s.offlineWrite(marker, 6)); }, 27, 0,
         6, 0, 0, 0},
        {"offlineGetCurrentPass", [](SpyEffect& s) { return s.offlineGetCurrentPass(); }, 28, 0, 0,
         9, 1, 0},
        {"offlineGetCurrentMetaPass", [](SpyEffect& s) { return s.offlineGetCurrentMetaPass(); },
         29, 0, 0, 9, 1, 0},
        {"getHostVendorString",
         [&](SpyEffect& s) { return VstIntPtr(s.getHostVendorString(text)); }, 32, 0, 0, 1, 1, 0},
        {"getHostProductString",
         [&](SpyEffect& s) { return VstIntPtr(s.getHostProductString(text)); }, 33, 0, 0, 1, 1, 0},
        {"getHostVendorVersion", [](SpyEffect& s) { return s.getHostVendorVersion(); }, 34, 0, 0, 5,
         5, 0},
        {"hostVendorSpecific", [](SpyEffect& s) { return s.hostVendorSpecific(1, 2, nullptr, 0); },
         35, 1, 2, 6, 6, 0},
        {"canHostDo", [&](SpyEffect& s) { return s.canHostDo(text); }, 37, 0, 0, -1, 1, 0},
        {"getHostLanguage", [](SpyEffect& s) { return s.getHostLanguage(); }, 38, 0, 0, 2, 2, 0},
        {"openWindow",
         [](SpyEffect& s) { return reinterpret_cast<VstIntPtr>(s.openWindow(nullptr)); }, 39, 0, 0,
         32, 32, 0},
        {"closeWindow", [](SpyEffect& s) { return VstIntPtr(s.closeWindow(nullptr)); }, 40, 0, 0, 1,
         1, 0},
        {"getDirectory", [](SpyEffect& s) { return reinterpret_cast<VstIntPtr>(s.getDirectory()); },
         41, 0, 0, 16, 16, 0},
        {"updateDisplay", [](SpyEffect& s) { return VstIntPtr(s.updateDisplay()); }, 42, 0, 0, 1, 1,
         0},
    };
    for (const Case& c : cases) {
        FakeHost::reset(c.hostAnswer);
        EXPECT_EQ(c.call(e), c.result) << c.name;
        ASSERT_EQ(FakeHost::calls.size(), 1u) << c.name;
        EXPECT_EQ(FakeHost::calls[0][0], c.opcode) << c.name;
        EXPECT_EQ(FakeHost::calls[0][1], c.index) << c.name;
        EXPECT_EQ(FakeHost::calls[0][2], c.value) << c.name;
        FakeHost::reset(c.hostAnswer);
        EXPECT_EQ(c.call(alone), c.resultWithoutHost) << c.name << " without a host";
        EXPECT_TRUE(FakeHost::calls.empty());
    }
}

TEST(HostWrappers, CallsWithoutAnswers)
{
    SpyEffect e;
    FakeHost::reset();
    e.setParameterAutomated(1, 0.25f);
    e.masterIdle();
    e.wantEvents(3);
    e.setOutputSamplerate(22050.0f);
    ASSERT_EQ(FakeHost::calls.size(), 4u);
    EXPECT_EQ(e.log, "set 1 0.250000;") << "stored before the host hears of it";
    EXPECT_EQ(FakeHost::calls[0], (std::vector<VstIntPtr>{0, 1, 0, 0}));
    EXPECT_EQ(FakeHost::opts[0], 0.25f);
    EXPECT_EQ(FakeHost::calls[1][0], 3);
    EXPECT_EQ(FakeHost::calls[2], (std::vector<VstIntPtr>{6, 0, 3, 0}));
    EXPECT_EQ(FakeHost::calls[3][0], 30);
    EXPECT_EQ(FakeHost::opts[3], 22050.0f);

    SpyEffect alone(nullptr);
    alone.setParameterAutomated(2, 0.5f); // stored, nobody told
    EXPECT_EQ(alone.log, "set 2 0.500000;");
}

} // namespace
