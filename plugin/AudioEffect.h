// AudioEffect: the base of every effect. Owns the AEffect record the host sees,
// keeps the host callback, rate, block size and counts, and turns numbered
// dispatcher calls 0..24 into virtual operations with neutral defaults.
#pragma once

#include <cstdint>

#include "AEffect.h"
#include "ParameterSink.h"
#include "Relaxed.h"

class AEffEditor;

class AudioEffect : public ParameterSink {
public:
    AudioEffect(HostCallback host, int32_t numPrograms, int32_t numParams);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    // The record handed to the host; its `object` points back here.
    AEffect* getAeffect() { return &effectRecord; }

    // Parameters: any host thread.
    void setParameter(int32_t index, float value) override;
    virtual float getParameter(int32_t index);
    // Stores the value, then tells the host (opcode 0) the value as passed in.
    virtual void setParameterAutomated(int32_t index, float value);

    // Audio thread. `process` adds into the outputs, `processReplacing`
    // overwrites them.
    virtual void process(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames);

    // Host thread; one flat switch, unknown opcodes answer 0.
    virtual VstIntPtr dispatcher(int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                                 float opt);

    virtual void open() {}
    virtual void close() {}
    virtual int32_t getProgram() { return currentProgram; }
    virtual void setProgram(int32_t program) { currentProgram = program; }
    // Text arguments are host buffers of at least 24 bytes.
    virtual void setProgramName(char* name) { name[0] = 0; }
    virtual void getProgramName(char* name) { name[0] = 0; }
    virtual void getParameterLabel(int32_t index, char* text);
    virtual void getParameterDisplay(int32_t index, char* text);
    virtual void getParameterName(int32_t index, char* text);
    virtual float getVu() { return 0.0f; }
    virtual int32_t getChunk(void** data, bool isPreset);
    virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset);
    // Rates that are not a positive finite number are ignored.
    virtual void setSampleRate(float rate);
    virtual void setBlockSize(int32_t size) { blockSize = size; }
    virtual void suspend() {}
    virtual void resume() {}

    // Record setters.
    virtual void setUniqueID(int32_t id) { effectRecord.uniqueID = id; }
    virtual void setNumInputs(int32_t n) { effectRecord.numInputs = n; }
    virtual void setNumOutputs(int32_t n) { effectRecord.numOutputs = n; }
    virtual void hasVu(bool state) { setFlag(kFlagHasVu, state); }
    virtual void hasClip(bool state) { setFlag(kFlagHasClip, state); }
    virtual void canMono(bool state) { setFlag(kFlagCanMono, state); }
    virtual void canProcessReplacing(bool state) { setFlag(kFlagCanReplacing, state); }
    virtual void programsAreChunks(bool state) { setFlag(kFlagProgramChunks, state); }
    virtual void setRealtimeQualities(int32_t q) { effectRecord.realtimeQualities = q; }
    virtual void setOfflineQualities(int32_t q) { effectRecord.offlineQualities = q; }
    virtual void setInitialDelay(int32_t samples) { effectRecord.initialDelay = samples; }

    virtual float getSampleRate() { return sampleRate; }
    virtual int32_t getBlockSize() { return blockSize; }

    // Host-callback wrappers; without a callback they make no call.
    virtual int32_t getMasterVersion();
    virtual int32_t getCurrentUniqueId();
    virtual void masterIdle();
    virtual bool isInputConnected(int32_t input);
    virtual bool isOutputConnected(int32_t output);

    // Value-to-text conversions into a caller's buffer of at least 24 bytes;
    // at most 8 visible characters.
    virtual void dB2string(float value, char* text);
    virtual void Hz2string(float samples, char* text);
    virtual void ms2string(float samples, char* text);
    virtual void float2string(float value, char* text);
    virtual void long2string(int32_t value, char* text);

    // The editor base attaches itself here and sets kFlagHasEditor; from then
    // on the effect owns it and deletes it in its destructor.
    void setEditor(AEffEditor* newEditor);
    AEffEditor* getEditor() { return editor; }

    // True for a sample rate the effect can run at.
    static bool isUsableSampleRate(float rate);

protected:
    // Sends one host opcode, or answers 0 without a callback.
    VstIntPtr callHost(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    void setFlag(int32_t bit, bool state);

    float sampleRate = 44100.0f;
    AEffEditor* editor = nullptr; // owned
    HostCallback hostCallback;    // may be null
    int32_t numPrograms;
    int32_t numParams;
    Relaxed<int32_t> currentProgram = 0; // read by setParameter on any thread
    int32_t blockSize = 1024;
    AEffect effectRecord;
};
