// ZeltoBass: construction, parameters, programs and their texts.
#include "ZeltoBass.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "ZeltoBassProc.h"
#include "plugin/AEffEditor.h"
#include "plugin/EditorMaker.h"
#include "plugin/HostText.h"
#include "plugin/OutOfMemory.h"

ZeltoBass::ZeltoBass(HostCallback host, const EditorMaker* editor)
    : AudioEffectX(host, kNumPrograms, kNumParams)
{
    programs = new (std::nothrow) ZeltoBassProgram[kNumPrograms];
    if (programs) {
        programs[1].tubeDist = 0.03f;
        programs[1].compressor = 0.5f;
        copyHostText(programs[1].name, "Light");
        programs[2].tubeDist = 0.15f;
        programs[2].compressor = 0.7f;
        copyHostText(programs[2].name, "Medium");
        programs[3].tubeDist = 0.6f;
        programs[3].compressor = 0.96f;
        copyHostText(programs[3].name, "Heavy");
        copyHostText(programs[kNumPrograms - 1].name, "Click Zelto for Random!");
    }
    processor = new (std::nothrow) ZeltoBassProc;
    setNumInputs(2);
    setNumOutputs(2);
    canMono(true);
    init();
    canProcessReplacing(true);
    noTail(true);
    setUniqueID(fourCharCode("Zb7q"));
    // The seed is for the editor's random patch; without an editor the host's
    // random sequence is left alone.
    if (editor)
        std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (programs)
        setProgram(0); // the host hears updateDisplay before main_plugin returns
    // The editor attaches itself; without a maker the editor flag stays clear.
    const bool editorMissing = editor && !editor->makeEditor(this);
    if (!programs || !processor || editorMissing)
        oome = true;
}

ZeltoBass::~ZeltoBass()
{
    delete[] programs;
    delete processor;
}

void ZeltoBass::init()
{
    if (processor)
        processor->init(sampleRate, &working);
}

void ZeltoBass::setParameter(int32_t index, float value)
{
    ZeltoBassProgram* p = isProgram(currentProgram) ? &programs[currentProgram] : nullptr;
    switch (index) {
    case kMix:
        if (p)
            p->mix = value;
        working.mix.store(value, std::memory_order_relaxed);
        break;
    case kTubeDist:
        if (p)
            p->tubeDist = value;
        working.tubeDist.store(value, std::memory_order_relaxed);
        break;
    case kCompressor:
        if (value > kCompressorLimit)
            value = kCompressorLimit;
        if (p)
            p->compressor = value;
        working.compressor.store(value, std::memory_order_relaxed);
        break;
    default: break;
    }
    if (editor)
        editor->setParameter(index, value); // the value as stored
}

float ZeltoBass::getParameter(int32_t index)
{
    switch (index) {
    case kMix: return working.mix.load(std::memory_order_relaxed);
    case kTubeDist: return working.tubeDist.load(std::memory_order_relaxed);
    case kCompressor: return working.compressor.load(std::memory_order_relaxed);
    default: return 0.0f;
    }
}

void ZeltoBass::process(float** inputs, float** outputs, int32_t sampleFrames)
{
    if (processor)
        processor->process(inputs, outputs, sampleFrames);
}

void ZeltoBass::processReplacing(float** inputs, float** outputs, int32_t sampleFrames)
{
    if (processor)
        processor->processReplacing(inputs, outputs, sampleFrames);
}

// Numbers outside 0..4 are ignored: there is no such program.
void ZeltoBass::setProgram(int32_t program)
{
    if (!isProgram(program))
        return;
    currentProgram = program;
    const ZeltoBassProgram p = programs[program];
    setParameter(kMix, p.mix);
    setParameter(kTubeDist, p.tubeDist);
    setParameter(kCompressor, p.compressor);
    updateDisplay();
}

// Keeps the first 23 characters of a longer name.
void ZeltoBass::setProgramName(char* name)
{
    if (name && isProgram(currentProgram))
        copyHostText(programs[currentProgram].name, name);
}

void ZeltoBass::getProgramName(char* name)
{
    if (!name || !isProgram(currentProgram))
        return;
    const char* n = programs[currentProgram].name;
    if (std::strcmp(n, "Init") == 0) {
        char numbered[48];
        std::snprintf(numbered, sizeof numbered, "%s %d", n, currentProgram + 1);
        copyHostText(name, numbered);
    } else {
        copyHostText(name, n);
    }
}

void ZeltoBass::getParameterLabel(int32_t index, char* label)
{
    if (label)
        copyHostText(label, index == kCompressor ? "dB" : "%");
}

// Integer conversions truncate toward zero and saturate (NaN shows as 0).
void ZeltoBass::getParameterDisplay(int32_t index, char* text)
{
    if (!text)
        return;
    // Formatted at full length first, then cut to what the host's buffer holds.
    char full[64];
    switch (index) {
    case kMix: {
        const double m = getParameter(kMix);
        std::snprintf(full, sizeof full, "%d/%d", saturateToInt32(m * 100.0 + 0.5),
                      saturateToInt32(100.0 - m * 100.0 + 0.5));
        break;
    }
    case kTubeDist:
        std::snprintf(full, sizeof full, "%d",
                      saturateToInt32(static_cast<double>(getParameter(kTubeDist)) * 100.0));
        break;
    case kCompressor: {
        const double c = getParameter(kCompressor);
        std::snprintf(full, sizeof full, "%3.2f",
                      static_cast<double>(static_cast<float>(20.0 * std::log10(1.0 - c))));
        break;
    }
    default: return; // other indices write nothing
    }
    copyHostText(text, full);
}

void ZeltoBass::getParameterName(int32_t index, char* text)
{
    if (!text)
        return;
    switch (index) {
    case kMix: copyHostText(text, "Mix "); break;
    case kTubeDist: copyHostText(text, "Tube Dist"); break;
    case kCompressor: copyHostText(text, "Compressor"); break;
    default: break;
    }
}

void ZeltoBass::setSampleRate(float rate)
{
    if (!isUsableSampleRate(rate))
        return;
    sampleRate = rate;
    init();
    if (processor)
        processor->clear();
}

void ZeltoBass::suspend() {}

void ZeltoBass::resume()
{
    if (processor)
        processor->clear();
}

bool ZeltoBass::getProgramNameIndexed(int32_t, int32_t index, char* text)
{
    if (!text || !isProgram(index))
        return false;
    copyHostText(text, programs[index].name);
    return true;
}

bool ZeltoBass::copyProgram(int32_t destination)
{
    if (!isProgram(destination) || !isProgram(currentProgram))
        return false;
    programs[destination] = programs[currentProgram];
    return true;
}

bool ZeltoBass::getOutputProperties(int32_t index, VstPinProperties* properties)
{
    if (!properties || index < 0 || index > 1)
        return false;
    char label[16];
    std::snprintf(label, sizeof label, "ZB %1d", index + 1);
    copyHostText(properties->label, label, kPinLabelSize);
    properties->pinFlags = kPinIsActive | kPinIsStereo;
    return true;
}

bool ZeltoBass::getEffectName(char* name)
{
    if (!name)
        return false;
    copyHostText(name, "WobrixFree");
    return true;
}

bool ZeltoBass::getVendorString(char* text)
{
    if (!text)
        return false;
    copyHostText(text, "Zelto Audio");
    return true;
}

bool ZeltoBass::getProductString(char* text)
{
    if (!text)
        return false;
    copyHostText(text, "WobrixFree");
    return true;
}
