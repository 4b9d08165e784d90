// AudioEffect: record setup, the five trampolines, the base dispatcher and the
// first host-callback wrappers.
#include "AudioEffect.h"

#include <cmath>
#include <cstring>

#include "AEffEditor.h"
#include "HostText.h"

namespace {

AudioEffect* objectOf(AEffect* e)
{
    return static_cast<AudioEffect*>(e->object);
}

// Each trampoline makes one virtual call; the host must pass a live record.
VstIntPtr dispatchEffectClass(AEffect* e, int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                              float opt)
{
    AudioEffect* object = objectOf(e);
    if (opcode == effClose) {
        object->dispatcher(opcode, index, value, ptr, opt); // runs close() first
        delete object;
        return 1;
    }
    return object->dispatcher(opcode, index, value, ptr, opt);
}

float getParameterClass(AEffect* e, int32_t index)
{
    return objectOf(e)->getParameter(index);
}

void setParameterClass(AEffect* e, int32_t index, float value)
{
    objectOf(e)->setParameter(index, value);
}

void processClass(AEffect* e, float** inputs, float** outputs, int32_t sampleFrames)
{
    objectOf(e)->process(inputs, outputs, sampleFrames);
}

void processClassReplacing(AEffect* e, float** inputs, float** outputs, int32_t sampleFrames)
{
    objectOf(e)->processReplacing(inputs, outputs, sampleFrames);
}

} // namespace

AudioEffect::AudioEffect(HostCallback host, int32_t programs, int32_t params)
    : hostCallback(host), numPrograms(programs), numParams(params)
{
    std::memset(&effectRecord, 0, sizeof effectRecord);
    effectRecord.magic = kEffectMagic;
    effectRecord.dispatcher = dispatchEffectClass;
    effectRecord.process = processClass;
    effectRecord.setParameter = setParameterClass;
    effectRecord.getParameter = getParameterClass;
    effectRecord.numPrograms = programs;
    effectRecord.numParams = params;
    effectRecord.numInputs = 1;
    effectRecord.numOutputs = 2;
    effectRecord.ioRatio = 1.0f;
    effectRecord.object = this;
    effectRecord.uniqueID = fourCharCode("NoEf");
    effectRecord.version = 1;
    effectRecord.processReplacing = processClassReplacing;
}

AudioEffect::~AudioEffect()
{
    delete editor;
}

void AudioEffect::setEditor(AEffEditor* newEditor)
{
    // The effect owns its editor, so one replaced by another goes.
    if (editor != newEditor)
        delete editor;
    editor = newEditor;
    setFlag(kFlagHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(int32_t bit, bool state)
{
    if (state)
        effectRecord.flags |= bit;
    else
        effectRecord.flags &= ~bit;
}

bool AudioEffect::isUsableSampleRate(float rate)
{
    return std::isfinite(rate) && rate > 0.0f;
}

void AudioEffect::setSampleRate(float rate)
{
    if (isUsableSampleRate(rate))
        sampleRate = rate;
}

void AudioEffect::setParameter(int32_t, float) {}
float AudioEffect::getParameter(int32_t)
{
    return 0.0f;
}

void AudioEffect::setParameterAutomated(int32_t index, float value)
{
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::processReplacing(float**, float**, int32_t) {}

void AudioEffect::getParameterLabel(int32_t, char* text)
{
    text[0] = 0;
}
void AudioEffect::getParameterDisplay(int32_t, char* text)
{
    text[0] = 0;
}
void AudioEffect::getParameterName(int32_t, char* text)
{
    text[0] = 0;
}
int32_t AudioEffect::getChunk(void**, bool)
{
    return 0;
}
int32_t AudioEffect::setChunk(void*, int32_t, bool)
{
    return 0;
}

VstIntPtr AudioEffect::dispatcher(int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                                  float opt)
{
    switch (opcode) {
    case effOpen: open(); return 0;
    case effClose: close(); return 0;
    case effSetProgram:
        // Programs are 0..numPrograms-1; anything else is ignored.
        if (value >= 0 && value < numPrograms)
            setProgram(static_cast<int32_t>(value));
        return 0;
    case effGetProgram: return getProgram();
    // A null text pointer from the host: write nothing, answer 0.
    case effSetProgramName:
        if (ptr)
            setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        if (ptr)
            getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        if (ptr)
            getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        if (ptr)
            getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        if (ptr)
            getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effGetVu: return saturateToInt32(static_cast<double>(getVu()) * 32767.0);
    case effSetSampleRate: setSampleRate(opt); return 0;
    case effSetBlockSize: setBlockSize(static_cast<int32_t>(value)); return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        if (editor && ptr)
            return editor->getRect(static_cast<ERect**>(ptr));
        return 0;
    case effEditOpen: return editor ? editor->open(ptr) : 0;
    case effEditClose:
        if (editor)
            editor->close();
        return 0;
    case effEditIdle:
        if (editor)
            editor->idle();
        return 0;
    case effIdentify: return fourCharCode("NvEf");
    case effGetChunk: return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk: return setChunk(ptr, static_cast<int32_t>(value), index != 0);
    default: return 0;
    }
}

VstIntPtr AudioEffect::callHost(int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                                float opt)
{
    if (!hostCallback)
        return 0;
    return hostCallback(&effectRecord, opcode, index, value, ptr, opt);
}

int32_t AudioEffect::getMasterVersion()
{
    if (!hostCallback)
        return 1;
    VstIntPtr v = callHost(audioMasterVersion);
    return v == 0 ? 1 : static_cast<int32_t>(v);
}

int32_t AudioEffect::getCurrentUniqueId()
{
    return static_cast<int32_t>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle()
{
    callHost(audioMasterIdle);
}

// The host answers 0 for a connected pin.
bool AudioEffect::isInputConnected(int32_t input)
{
    return !hostCallback || callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(int32_t output)
{
    return !hostCallback || callHost(audioMasterPinConnected, output, 1) == 0;
}
