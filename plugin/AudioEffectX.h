// AudioEffectX: the second half of the protocol. Dispatcher opcodes 25..58,
// the host-callback wrappers for opcodes 6..42, more capability flags, and
// neutral defaults for every extended operation. No members of its own.
#pragma once

#include "AudioEffect.h"

// Vocabulary of the capability questions (dispatcher opcode 51, host opcode
// 37). Nothing in this plug-in consults them.
extern const char* const hostCanDos[13];
extern const char* const plugCanDos[23];

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(HostCallback host, int32_t numPrograms, int32_t numParams)
        : AudioEffect(host, numPrograms, numParams)
    {
    }

    VstIntPtr dispatcher(int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                         float opt) override;

    // Host-callback wrappers: they send the opcode and convert the answer;
    // without a callback they make no call and answer the neutral value.
    virtual void wantEvents(int32_t filter = 1);
    virtual void* getTimeInfo(int32_t filter);
    virtual int32_t tempoAt(int32_t position);
    virtual int32_t getNumAutomatableParameters();
    virtual int32_t getParameterQuantization();
    virtual bool ioChanged();
    virtual bool needIdle();
    virtual bool sizeWindow(int32_t width, int32_t height);
    virtual float updateSampleRate();
    virtual int32_t updateBlockSize();
    virtual int32_t getInputLatency();
    virtual int32_t getOutputLatency();
    virtual AEffect* getPreviousPlug(int32_t input);
    virtual AEffect* getNextPlug(int32_t output);
    virtual int32_t willProcessReplacing();
    virtual int32_t getCurrentProcessLevel();
    virtual int32_t getAutomationState();
    virtual bool offlineRead(VstOfflineTask* task, VstOfflineOption option, bool readSource = true);
    virtual bool offlineWrite(VstOfflineTask* task, VstOfflineOption option);
    virtual bool offlineStart(VstAudioFile* files, int32_t count, int32_t newCount);
    virtual int32_t offlineGetCurrentPass();
    virtual int32_t offlineGetCurrentMetaPass();
    virtual void setOutputSamplerate(float rate);
    virtual bool getSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output);
    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual int32_t getHostVendorVersion();
    virtual int32_t hostVendorSpecific(int32_t a, int32_t b, void* p, float f);
    virtual int32_t canHostDo(char* text);
    virtual int32_t getHostLanguage();
    virtual void* openWindow(VstWindow* window);
    virtual bool closeWindow(VstWindow* window);
    virtual void* getDirectory();
    virtual bool updateDisplay();

    // Extended operations with neutral defaults; subclasses override.
    virtual int32_t processEvents(VstEvents*) { return 0; }
    virtual bool canParameterBeAutomated(int32_t) { return true; }
    virtual bool string2parameter(int32_t, char*) { return false; }
    virtual float getChannelParameter(int32_t, int32_t) { return 0.0f; }
    virtual int32_t getNumCategories() { return 1; }
    virtual bool getProgramNameIndexed(int32_t, int32_t, char*) { return false; }
    virtual bool copyProgram(int32_t) { return false; }
    virtual void inputConnected(int32_t, bool) {}
    virtual void outputConnected(int32_t, bool) {}
    virtual bool getInputProperties(int32_t, VstPinProperties*) { return false; }
    virtual bool getOutputProperties(int32_t, VstPinProperties*) { return false; }
    virtual int32_t getPlugCategory() { return (effectRecord.flags & kFlagIsSynth) ? 2 : 0; }
    virtual void wantAsyncOperation(bool state) { setFlag(kFlagAsync, state); }
    virtual void hasExternalBuffer(bool state) { setFlag(kFlagExternalBuffer, state); }
    virtual int32_t reportCurrentPosition() { return 0; }
    virtual float* reportDestinationBuffer() { return nullptr; }
    virtual bool offlineNotify(VstAudioFile*, int32_t, bool) { return false; }
    virtual bool offlinePrepare(VstOfflineTask*, int32_t) { return false; }
    virtual bool offlineRun(VstOfflineTask*, int32_t) { return false; }
    virtual int32_t offlineGetNumPasses() { return 0; }
    virtual int32_t offlineGetNumMetaPasses() { return 0; }
    virtual void isSynth(bool state) { setFlag(kFlagIsSynth, state); }
    virtual void noTail(bool state) { setFlag(kFlagNoTail, state); }
    virtual bool processVariableIo(VstVariableIo*) { return false; }
    virtual bool setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*)
    {
        return false;
    }
    // Stores both members directly: no setSampleRate/setBlockSize override runs.
    // A rate that is not a positive finite number is ignored.
    virtual void setBlockSizeAndSampleRate(int32_t size, float rate);
    virtual bool setBypass(bool) { return false; }
    virtual bool getEffectName(char*) { return false; }
    virtual bool getErrorText(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual int32_t getVendorVersion() { return 0; }
    virtual int32_t vendorSpecific(int32_t, VstIntPtr, void*, float) { return 0; }
    virtual int32_t canDo(char*) { return 0; }
    virtual void* getIcon() { return nullptr; }
    virtual bool setViewPosition(int32_t, int32_t) { return false; }
    virtual int32_t getGetTailSize() { return 0; }
    virtual int32_t fxIdle() { return 0; }
    virtual bool getParameterProperties(int32_t, VstParameterProperties*) { return false; }
    virtual bool keysRequired() { return false; }
    virtual int32_t getVstVersion() { return 2; }
};
