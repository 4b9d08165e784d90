// RealtimeHost: routing a call to its host, the counters, and the answers
// every host of ours gives.
#include "RealtimeHost.h"

#include <bit>
#include <cstring>

namespace {
// A pointer with static initialisation: reading it takes no lock and
// allocates nothing, on any thread.
thread_local RealtimeHost* loadingHost = nullptr;
} // namespace

void RealtimeHost::beginLoading()
{
    loadingHost = this;
}

void RealtimeHost::attach(AEffect* effect)
{
    if (effect)
        effect->user = this;
    if (loadingHost == this)
        loadingHost = nullptr;
}

VstIntPtr RealtimeHost::callback(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr,
                                 void* ptr, float opt)
{
    RealtimeHost* self =
        (effect && effect->user) ? static_cast<RealtimeHost*>(effect->user) : loadingHost;
    if (self)
        self->count(opcode, index, opt);
    return answer(opcode, ptr, kVersion);
}

void RealtimeHost::count(int32_t opcode, int32_t index, float opt)
{
    callCount.fetch_add(1, std::memory_order_relaxed);
    if (opcode != audioMasterAutomate)
        return;
    const uint64_t pair =
        static_cast<uint64_t>(static_cast<uint32_t>(index)) << 32 | std::bit_cast<uint32_t>(opt);
    lastPair.store(pair, std::memory_order_relaxed);
    automationCount.fetch_add(1, std::memory_order_relaxed);
}

RealtimeHost::Automation RealtimeHost::lastAutomation() const
{
    const uint64_t pair = lastPair.load(std::memory_order_relaxed);
    if (pair == UINT64_MAX)
        return {};
    return {static_cast<int32_t>(pair >> 32), std::bit_cast<float>(static_cast<uint32_t>(pair))};
}

VstIntPtr RealtimeHost::answer(int32_t opcode, void* ptr, VstIntPtr version)
{
    switch (opcode) {
    case audioMasterVersion: return version;
    case audioMasterAutomate: return 0; // accepted
    case audioMasterUpdateDisplay: return 1;
    case audioMasterGetVendorString:
        if (ptr)
            std::strcpy(static_cast<char*>(ptr), "Zelto Audio");
        return ptr ? 1 : 0;
    case audioMasterGetProductString:
        if (ptr)
            std::strcpy(static_cast<char*>(ptr), "wobrix-host");
        return ptr ? 1 : 0;
    case audioMasterGetVendorVersion: return 1;
    default: return 0;
    }
}
