// Plugin: one effect created from an add-on, or from an entry function linked
// into this program, reached only through its AEffect record. Wraps the
// dispatcher calls the commands need, hands the plug-in generous zeroed
// buffers, and closes the effect when it goes away.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "AddOn.h"
#include "HostRecorder.h"
#include "RealtimeHost.h"
#include "plugin/AEffect.h"

class Watchdog;

struct PinInfo {
    bool present = false;
    std::string label;
    int32_t flags = 0;
};

// Which host callback the effect gets: the recorder of the scripted tools,
// or the real-time-safe one of a live host (its calls are then only counted).
enum class HostSide { Recorded, Realtime };

class Plugin {
public:
    // Loads the add-on, calls its entry and opens the effect (effOpen).
    // Throws HostError naming the file if any step fails.
    explicit Plugin(const std::string& path, HostSide side = HostSide::Recorded);
    // The same steps with an entry of this program, no dlopen (a function,
    // or one that binds what the program passes in); `name` stands where
    // messages name the file.
    Plugin(const std::function<AEffect*(HostCallback)>& entry, const std::string& name);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    AEffect& effect() const { return *fx; }
    const std::string& path() const { return file; }
    // The symbol the add-on was entered by; empty for an entry function.
    const std::string& entryName() const { return addOn.entryName(); }
    HostRecorder& recorder() { return host; }
    RealtimeHost& realtimeHost() { return live; }

    VstIntPtr dispatch(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    // An opcode with `ptr`, under `dog`; `what` names it if it hangs
    // ("opcode 19 (editor idle)"), after this effect's file.
    VstIntPtr dispatchWatched(Watchdog& dog, int32_t opcode, const char* what, void* ptr = nullptr);
    // A dispatcher call whose ptr is a text buffer the plug-in fills.
    std::string text(int32_t opcode, int32_t index = 0);

    std::string effectName() { return text(effGetEffectName); }
    std::string vendor() { return text(effGetVendorString); }
    std::string product() { return text(effGetProductString); }
    VstIntPtr vendorVersion() { return dispatch(effGetVendorVersion); }
    PinInfo inputPin(int32_t index) { return pin(effGetInputProperties, index); }
    PinInfo outputPin(int32_t index) { return pin(effGetOutputProperties, index); }

    std::string parameterName(int32_t index) { return text(effGetParamName, index); }
    std::string parameterLabel(int32_t index) { return text(effGetParamLabel, index); }
    std::string parameterDisplay(int32_t index) { return text(effGetParamDisplay, index); }
    float parameter(int32_t index) const { return fx->getParameter(fx, index); }
    void setParameter(int32_t index, float value) { fx->setParameter(fx, index, value); }

    void selectProgram(int32_t index) { dispatch(effSetProgram, 0, index); }
    int32_t currentProgram() { return static_cast<int32_t>(dispatch(effGetProgram)); }
    // Name of program `index`: the indexed query, else select it and ask.
    std::string programName(int32_t index);

    // Suspends, sets rate and block size, resumes: the state a host is in
    // before it starts calling process.
    void prepare(double sampleRate, int32_t blockSize);
    void suspend() { dispatch(effMainsChanged, 0, 0); }
    void resume() { dispatch(effMainsChanged, 0, 1); }

    bool canReplace() const;
    // Channel counts the host allocates: what the record asks for, at least 2.
    int32_t inputChannels() const;
    int32_t outputChannels() const;

    // The file the effect's code came from: the add-on, or this program for
    // an entry function.
    std::string codeFile() const;
    // Empty when that file carries resources after its ELF image, where the
    // toolkit's editors find their pictures; otherwise one line saying they
    // are missing and that stripping removes them (naming the program, as
    // messages about an add-on start with its path).
    std::string missingPictures() const;

private:
    void create(const std::function<AEffect*(HostCallback)>& entry, const std::string& entryName,
                HostSide side);
    PinInfo pin(int32_t opcode, int32_t index);

    std::string file;
    AddOn addOn;
    HostRecorder host;
    RealtimeHost live;
    AEffect* fx = nullptr;
};

// The four characters of a unique ID, non-printable ones shown as '.'.
std::string fourCharText(int32_t code);
