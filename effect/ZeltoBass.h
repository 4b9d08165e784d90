// ZeltoBass: the bass effect the host talks to. Declares its shape (5 programs,
// 6 parameters, stereo in and out), owns its programs and processor, names and
// formats its parameters, and forwards audio blocks to the processor.
#pragma once

#include "ZeltoBassParams.h"
#include "ZeltoBassProgram.h"
#include "plugin/AudioEffectX.h"

class EditorMaker;
class ZeltoBassProc;

enum ZeltoBassParam : int32_t { kMix = 0, kTubeDist = 1, kCompressor = 2, kNumParams = 6 };
inline constexpr int32_t kNumPrograms = 5;
inline constexpr float kCompressorLimit = 0.99f;

class ZeltoBass : public AudioEffectX {
public:
    // The editor comes from `editor`, the maker of the add-on that assembles
    // the effect; without one there is no editor.
    explicit ZeltoBass(HostCallback host, const EditorMaker* editor = nullptr);
    ~ZeltoBass() override;

    // Any host thread; the audio thread reads the working values per block.
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;

    // Audio thread.
    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;

    // Host thread. Text arguments are host buffers of at least 24 bytes.
    void setProgram(int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(int32_t index, char* label) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void getParameterName(int32_t index, char* text) override;
    void setSampleRate(float rate) override;
    void suspend() override;
    void resume() override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
    bool copyProgram(int32_t destination) override;
    bool getOutputProperties(int32_t index, VstPinProperties* properties) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override { return 1; }
    int32_t canDo(char*) override { return -1; }

    // Hands the sample rate to the processor.
    virtual void init();

    // For tests and tools: the processor, or null when its allocation failed.
    const ZeltoBassProc* getProcessor() const { return processor; }

private:
    bool isProgram(int32_t index) const { return programs && index >= 0 && index < numPrograms; }

    ZeltoBassParams working;              // read by the processor per block
    ZeltoBassProgram* programs = nullptr; // owned, numPrograms entries
    ZeltoBassProc* processor = nullptr;   // owned
};
