// HostRecorder: routing of host calls to their recorder, and its bounded log.
#include "HostRecorder.h"

#include <cstdio>

#include "RealtimeHost.h"

namespace {
thread_local HostRecorder* loadingRecorder = nullptr;
}

void HostRecorder::beginLoading()
{
    loadingRecorder = this;
}

void HostRecorder::attach(AEffect* effect)
{
    if (effect)
        effect->user = this;
    if (loadingRecorder == this)
        loadingRecorder = nullptr;
}

VstIntPtr HostRecorder::callback(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr value,
                                 void* ptr, float opt)
{
    HostRecorder* self =
        (effect && effect->user) ? static_cast<HostRecorder*>(effect->user) : loadingRecorder;
    if (!self)
        return opcode == audioMasterVersion ? 2400 : 0;
    HostCall call{effect, opcode, index, value, opt};
    {
        std::lock_guard<std::recursive_mutex> order(self->ordering);
        {
            std::lock_guard<std::mutex> lock(self->mutex);
            if (self->log.size() < kLogLimit)
                self->log.push_back(call);
            else
                ++self->dropped;
        }
        if (self->onCall)
            self->onCall(call);
    }
    return RealtimeHost::answer(opcode, ptr, self->version);
}

std::vector<HostCall> HostRecorder::calls() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return log;
}

uint64_t HostRecorder::droppedCalls() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return dropped;
}

void HostRecorder::clearCalls()
{
    std::lock_guard<std::mutex> lock(mutex);
    log.clear();
    dropped = 0;
}

const char* hostOpcodeName(int32_t opcode)
{
    switch (opcode) {
    case audioMasterAutomate: return "automate";
    case audioMasterVersion: return "version";
    case audioMasterCurrentId: return "currentId";
    case audioMasterIdle: return "idle";
    case audioMasterPinConnected: return "pinConnected";
    case audioMasterWantMidi: return "wantMidi";
    case audioMasterGetTime: return "getTime";
    case audioMasterProcessEvents: return "processEvents";
    case audioMasterIOChanged: return "ioChanged";
    case audioMasterNeedIdle: return "needIdle";
    case audioMasterSizeWindow: return "sizeWindow";
    case audioMasterGetSampleRate: return "getSampleRate";
    case audioMasterGetBlockSize: return "getBlockSize";
    case audioMasterGetCurrentProcessLevel: return "getCurrentProcessLevel";
    case audioMasterGetAutomationState: return "getAutomationState";
    case audioMasterGetVendorString: return "getVendorString";
    case audioMasterGetProductString: return "getProductString";
    case audioMasterGetVendorVersion: return "getVendorVersion";
    case audioMasterVendorSpecific: return "vendorSpecific";
    case audioMasterCanDo: return "canDo";
    case audioMasterGetLanguage: return "getLanguage";
    case audioMasterOpenWindow: return "openWindow";
    case audioMasterCloseWindow: return "closeWindow";
    case audioMasterGetDirectory: return "getDirectory";
    case audioMasterUpdateDisplay: return "updateDisplay";
    default: return nullptr;
    }
}

std::string describeHostCall(const HostCall& call)
{
    char line[160];
    const char* name = hostOpcodeName(call.opcode);
    std::snprintf(line, sizeof line, "opcode %d index %d value %lld opt %.6g (%s)", call.opcode,
                  call.index, static_cast<long long>(call.value), static_cast<double>(call.opt),
                  name ? name : "?");
    return line;
}
