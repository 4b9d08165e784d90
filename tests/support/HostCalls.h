// The host's side for tests, on the command-line host's own HostRecorder:
// an effect opened from an entry point with a recorder answering from its
// first call, and the recorder's log read the ways the tests ask.
#pragma once

#include <cstdint>
#include <vector>

#include "host/driver/addon/HostRecorder.h"

// Runs `entry` with `host` answering, then binds the effect (or null) to it,
// so no later call on this thread reaches `host` by mistake.
inline AEffect* openEffect(HostRecorder& host, MainPluginProc entry)
{
    host.beginLoading();
    AEffect* effect = entry(HostRecorder::callback);
    host.attach(effect);
    return effect;
}

// The opcodes of the calls, in the order they arrived.
inline std::vector<int32_t> opcodesOf(const std::vector<HostCall>& calls)
{
    std::vector<int32_t> opcodes;
    for (const HostCall& call : calls)
        opcodes.push_back(call.opcode);
    return opcodes;
}

struct Automation {
    int32_t index;
    float value;
};

// The automations logged so far, in order; empties the log. Read it once the
// threads that automate are done.
inline std::vector<Automation> takeAutomations(HostRecorder& host)
{
    std::vector<Automation> automations;
    for (const HostCall& call : host.calls())
        if (call.opcode == audioMasterAutomate)
            automations.push_back({call.index, call.opt});
    host.clearCalls();
    return automations;
}
