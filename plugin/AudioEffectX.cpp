// AudioEffectX: dispatcher opcodes 25..58 and the host-callback wrappers.
#include "AudioEffectX.h"

const char* const hostCanDos[13] = {
    "sendVstEvents",
    "sendVstMidiEvent",
    "sendVstTimeInfo",
    "receiveVstEvents",
    "receiveVstMidiEvent",
    "receiveVstTimeInfo",
    "reportConnectionChanges",
    "acceptIOChanges",
    "sizeWindow",
    "asyncProcessing",
    "offline",
    "supplyIdle",
    "supportShell",
};

const char* const plugCanDos[23] = {
    "sendVstEvents",
    "sendVstMidiEvent",
    "sendVstTimeInfo",
    "receiveVstEvents",
    "receiveVstMidiEvent",
    "receiveVstTimeInfo",
    "offline",
    "plugAsChannelInsert",
    "plugAsSend",
    "mixDryWet",
    "noRealTime",
    "multipass",
    "metapass",
    "1in1out",
    "1in2out",
    "2in1out",
    "2in2out",
    "2in4out",
    "4in2out",
    "4in4out",
    "4in8out",
    "8in4out",
    "8in8out",
};

VstIntPtr AudioEffectX::dispatcher(int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                                   float opt)
{
    char* text = static_cast<char*>(ptr);
    auto pins = static_cast<VstPinProperties*>(ptr);
    auto speakers = static_cast<VstSpeakerArrangement*>(ptr);
    auto task = static_cast<VstOfflineTask*>(ptr);
    int32_t v32 = static_cast<int32_t>(value);

    switch (opcode) {
    case effProcessEvents: return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
    case effString2Parameter: return text && string2parameter(index, text) ? 1 : 0;
    case effGetNumProgramCategories: return getNumCategories();
    // The category travels in `value`, the program index in `index`.
    case effGetProgramNameIndexed: return text && getProgramNameIndexed(v32, index, text) ? 1 : 0;
    case effCopyProgram: return copyProgram(index) ? 1 : 0;
    case effConnectInput: inputConnected(index, value != 0); return 1;
    case effConnectOutput: outputConnected(index, value != 0); return 1;
    case effGetInputProperties: return pins && getInputProperties(index, pins) ? 1 : 0;
    case effGetOutputProperties: return pins && getOutputProperties(index, pins) ? 1 : 0;
    case effGetPlugCategory: return getPlugCategory();
    case effGetCurrentPosition: return reportCurrentPosition();
    case effGetDestinationBuffer: return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
    case effOfflineNotify:
        return offlineNotify(static_cast<VstAudioFile*>(ptr), v32, index != 0) ? 1 : 0;
    case effOfflinePrepare: return offlinePrepare(task, v32) ? 1 : 0;
    case effOfflineRun: return offlineRun(task, v32) ? 1 : 0;
    case effProcessVarIo: return processVariableIo(static_cast<VstVariableIo*>(ptr)) ? 1 : 0;
    // `value` carries the input arrangement's pointer.
    case effSetSpeakerArrangement:
        return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value), speakers) ? 1
                                                                                                : 0;
    case effSetBlockSizeAndSampleRate: setBlockSizeAndSampleRate(v32, opt); return 1;
    case effSetBypass: return setBypass(value != 0) ? 1 : 0;
    case effGetEffectName: return text && getEffectName(text) ? 1 : 0;
    case effGetErrorText: return text && getErrorText(text) ? 1 : 0;
    case effGetVendorString: return text && getVendorString(text) ? 1 : 0;
    case effGetProductString: return text && getProductString(text) ? 1 : 0;
    case effGetVendorVersion: return getVendorVersion();
    case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
    case effCanDo: return canDo(text);
    case effGetTailSize: return getGetTailSize();
    case effIdle: return fxIdle();
    case effGetIcon: return reinterpret_cast<VstIntPtr>(getIcon());
    case effSetViewPosition: return setViewPosition(index, v32) ? 1 : 0;
    case effGetParameterProperties:
        return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)) ? 1 : 0;
    case effKeysRequired: return keysRequired() ? 0 : 1; // inverted on purpose
    case effGetVstVersion: return getVstVersion();
    default: return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

void AudioEffectX::setBlockSizeAndSampleRate(int32_t size, float rate)
{
    blockSize = size;
    if (isUsableSampleRate(rate))
        sampleRate = rate;
}

void AudioEffectX::wantEvents(int32_t filter)
{
    callHost(audioMasterWantMidi, 0, filter);
}

void* AudioEffectX::getTimeInfo(int32_t filter)
{
    return reinterpret_cast<void*>(callHost(audioMasterGetTime, 0, filter));
}

int32_t AudioEffectX::tempoAt(int32_t position)
{
    return static_cast<int32_t>(callHost(audioMasterTempoAt, 0, position));
}

int32_t AudioEffectX::getNumAutomatableParameters()
{
    return static_cast<int32_t>(callHost(audioMasterGetNumAutomatableParameters));
}

int32_t AudioEffectX::getParameterQuantization()
{
    return static_cast<int32_t>(callHost(audioMasterGetParameterQuantization));
}

bool AudioEffectX::ioChanged()
{
    return callHost(audioMasterIOChanged) != 0;
}
bool AudioEffectX::needIdle()
{
    return callHost(audioMasterNeedIdle) != 0;
}

bool AudioEffectX::sizeWindow(int32_t width, int32_t height)
{
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

// The host's answer is not taken: the effect keeps the rate it was given.
float AudioEffectX::updateSampleRate()
{
    callHost(audioMasterGetSampleRate);
    return sampleRate;
}

int32_t AudioEffectX::updateBlockSize()
{
    callHost(audioMasterGetBlockSize);
    return blockSize;
}

int32_t AudioEffectX::getInputLatency()
{
    return static_cast<int32_t>(callHost(audioMasterGetInputLatency));
}

int32_t AudioEffectX::getOutputLatency()
{
    return static_cast<int32_t>(callHost(audioMasterGetOutputLatency));
}

// The pin number is not sent: the host answers for the whole plug-in.
AEffect* AudioEffectX::getPreviousPlug(int32_t)
{
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* AudioEffectX::getNextPlug(int32_t)
{
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

int32_t AudioEffectX::willProcessReplacing()
{
    return static_cast<int32_t>(callHost(audioMasterWillReplaceOrAccumulate));
}

int32_t AudioEffectX::getCurrentProcessLevel()
{
    return static_cast<int32_t>(callHost(audioMasterGetCurrentProcessLevel));
}

int32_t AudioEffectX::getAutomationState()
{
    return static_cast<int32_t>(callHost(audioMasterGetAutomationState));
}

bool AudioEffectX::offlineStart(VstAudioFile* files, int32_t count, int32_t newCount)
{
    return callHost(audioMasterOfflineStart, newCount, count, files) != 0;
}

bool AudioEffectX::offlineRead(VstOfflineTask* task, VstOfflineOption option, bool readSource)
{
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
}

bool AudioEffectX::offlineWrite(VstOfflineTask* task, VstOfflineOption option)
{
    return callHost(audioMasterOfflineWrite, 0, option, task) != 0;
}

int32_t AudioEffectX::offlineGetCurrentPass()
{
    return callHost(audioMasterOfflineGetCurrentPass) != 0 ? 1 : 0;
}

int32_t AudioEffectX::offlineGetCurrentMetaPass()
{
    return callHost(audioMasterOfflineGetCurrentMetaPass) != 0 ? 1 : 0;
}

void AudioEffectX::setOutputSamplerate(float rate)
{
    callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate);
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement* input,
                                         VstSpeakerArrangement* output)
{
    return callHost(audioMasterGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(input),
                    output) != 0;
}

bool AudioEffectX::getHostVendorString(char* text)
{
    return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool AudioEffectX::getHostProductString(char* text)
{
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

int32_t AudioEffectX::getHostVendorVersion()
{
    return static_cast<int32_t>(callHost(audioMasterGetVendorVersion));
}

int32_t AudioEffectX::hostVendorSpecific(int32_t a, int32_t b, void* p, float f)
{
    return static_cast<int32_t>(callHost(audioMasterVendorSpecific, a, b, p, f));
}

int32_t AudioEffectX::canHostDo(char* text)
{
    return callHost(audioMasterCanDo, 0, 0, text) != 0 ? 1 : 0;
}

int32_t AudioEffectX::getHostLanguage()
{
    return static_cast<int32_t>(callHost(audioMasterGetLanguage));
}

void* AudioEffectX::openWindow(VstWindow* window)
{
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool AudioEffectX::closeWindow(VstWindow* window)
{
    return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

void* AudioEffectX::getDirectory()
{
    return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}

bool AudioEffectX::updateDisplay()
{
    return callHost(audioMasterUpdateDisplay) != 0;
}
