// The C records that cross the boundary between a host and the plug-in: the
// AEffect record, the host callback, ERect, VstPinProperties, the flag bits and
// the opcode numbers. Plain C layout, no behaviour; both sides include it.
#pragma once

#include <cstddef>
#include <cstdint>

struct AEffect;

// Integers that carry pointers in some opcodes (the dispatcher's and the host
// callback's `value` argument and result) are pointer-sized; every other
// integer is 32-bit. Built with -m32 this gives the protocol's original
// layout, on x86-64 the natural one that 64-bit hosts expect.
using VstIntPtr = intptr_t;

// Supplied by the host; may be called from any host thread. `effect` is null
// only in the version query that main_plugin makes before an effect exists.
using HostCallback = VstIntPtr (*)(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr value,
                                   void* ptr, float opt);

using DispatcherProc = VstIntPtr (*)(AEffect* effect, int32_t opcode, int32_t index,
                                     VstIntPtr value, void* ptr, float opt);
using ProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs,
                             int32_t sampleFrames);
using SetParameterProc = void (*)(AEffect* effect, int32_t index, float value);
using GetParameterProc = float (*)(AEffect* effect, int32_t index);

// Owned by the effect object (embedded in it); lives exactly as long as the
// effect. The host reads it and calls through its function pointers.
struct AEffect {
    int32_t magic; // kEffectMagic
    DispatcherProc dispatcher;
    ProcessProc process;
    SetParameterProc setParameter;
    GetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags; // kFlag... bits
    VstIntPtr reserved1;
    VstIntPtr reserved2;
    int32_t initialDelay; // samples
    int32_t realtimeQualities;
    int32_t offlineQualities;
    float ioRatio;
    void* object;     // back-pointer to the AudioEffect; never dereferenced by a host
    void* user;       // the host's own
    int32_t uniqueID; // four-character code, first character most significant
    int32_t version;
    ProcessProc processReplacing;
    char future[60];
};

// "VstP" read as a big-endian code.
constexpr int32_t kEffectMagic = 0x56737450;

// Four characters as a 32-bit code whose most significant byte is the first.
constexpr int32_t fourCharCode(const char (&c)[5])
{
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(c[0])) << 24) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(c[1])) << 16) |
                                (static_cast<uint32_t>(static_cast<unsigned char>(c[2])) << 8) |
                                static_cast<uint32_t>(static_cast<unsigned char>(c[3])));
}

enum EffectFlags : int32_t {
    kFlagHasEditor = 0x001,
    kFlagHasClip = 0x002,
    kFlagHasVu = 0x004,
    kFlagCanMono = 0x008,
    kFlagCanReplacing = 0x010,
    kFlagProgramChunks = 0x020,
    kFlagIsSynth = 0x100,
    kFlagNoTail = 0x200,
    kFlagAsync = 0x400,
    kFlagExternalBuffer = 0x800,
};

// Editor rectangle in pixels. Note the order: bottom before right, unlike the
// toolkit's own rectangle type, so conversions are explicit.
struct ERect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// Owned by the host. The plug-in writes only `label` and `pinFlags`; whatever
// the host's record has beyond them is neither read nor written.
struct VstPinProperties {
    char label[64];   // zero-terminated, at most 63 characters
    int32_t pinFlags; // 1 = active, 2 = one of a stereo pair
};

constexpr int32_t kPinIsActive = 1;
constexpr int32_t kPinIsStereo = 2;

// Protocol records passed through by pointer only; their layout is the host's.
struct VstEvents;
struct VstOfflineTask;
struct VstAudioFile;
struct VstSpeakerArrangement;
struct VstVariableIo;
struct VstWindow;
struct VstParameterProperties;
using VstOfflineOption = int32_t;

// Dispatcher opcodes (host → plug-in).
enum EffectOpcodes : int32_t {
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effGetVu = 9,
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditDraw = 16,
    effEditMouse = 17,
    effEditKey = 18,
    effEditIdle = 19,
    effEditTop = 20,
    effEditSleep = 21,
    effIdentify = 22,
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetNumProgramCategories = 28,
    effGetProgramNameIndexed = 29,
    effCopyProgram = 30,
    effConnectInput = 31,
    effConnectOutput = 32,
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effGetCurrentPosition = 36,
    effGetDestinationBuffer = 37,
    effOfflineNotify = 38,
    effOfflinePrepare = 39,
    effOfflineRun = 40,
    effProcessVarIo = 41,
    effSetSpeakerArrangement = 42,
    effSetBlockSizeAndSampleRate = 43,
    effSetBypass = 44,
    effGetEffectName = 45,
    effGetErrorText = 46,
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51,
    effGetTailSize = 52,
    effIdle = 53,
    effGetIcon = 54,
    effSetViewPosition = 55,
    effGetParameterProperties = 56,
    effKeysRequired = 57,
    effGetVstVersion = 58,
};

// Host callback opcodes (plug-in → host).
enum HostOpcodes : int32_t {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterPinConnected = 4,
    audioMasterWantMidi = 6,
    audioMasterGetTime = 7,
    audioMasterProcessEvents = 8,
    audioMasterTempoAt = 10,
    audioMasterGetNumAutomatableParameters = 11,
    audioMasterGetParameterQuantization = 12,
    audioMasterIOChanged = 13,
    audioMasterNeedIdle = 14,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetInputLatency = 18,
    audioMasterGetOutputLatency = 19,
    audioMasterGetPreviousPlug = 20,
    audioMasterGetNextPlug = 21,
    audioMasterWillReplaceOrAccumulate = 22,
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetAutomationState = 24,
    audioMasterOfflineStart = 25,
    audioMasterOfflineRead = 26,
    audioMasterOfflineWrite = 27,
    audioMasterOfflineGetCurrentPass = 28,
    audioMasterOfflineGetCurrentMetaPass = 29,
    audioMasterSetOutputSampleRate = 30,
    audioMasterGetSpeakerArrangement = 31,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterVendorSpecific = 35,
    audioMasterCanDo = 37,
    audioMasterGetLanguage = 38,
    audioMasterOpenWindow = 39,
    audioMasterCloseWindow = 40,
    audioMasterGetDirectory = 41,
    audioMasterUpdateDisplay = 42,
};

// The add-on's one export. Host thread; returns the new effect's record, owned
// by the effect until the host dispatches effClose, or null.
using MainPluginProc = AEffect* (*)(HostCallback host);
