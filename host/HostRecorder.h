// HostRecorder: the host side of the conversation with a plug-in. Answers the
// host opcodes a plain host answers and logs every call, so the command-line
// host can print it and tests can assert what a host sees.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "plugin/AEffect.h"

struct HostCall {
    AEffect* effect;
    int32_t opcode;
    int32_t index;
    VstIntPtr value;
    float opt;
};

class HostRecorder {
public:
    // The callback handed to an entry point. It finds its recorder through
    // the record's `user` field, or, while the entry point is still running,
    // through the recorder that is loading on this thread.
    static VstIntPtr callback(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr value,
                              void* ptr, float opt);

    // Makes this recorder answer the calls made on this thread until attach.
    void beginLoading();
    // Binds an effect's later calls to this recorder (sets its `user`).
    void attach(AEffect* effect);

    std::vector<HostCall> calls() const;
    void clearCalls();
    // Called for every host call, on the calling thread.
    std::function<void(const HostCall&)> onCall;

    VstIntPtr version = 2400;  // the answer to the version query

private:
    VstIntPtr answer(const HostCall& call, void* ptr);

    mutable std::mutex mutex;
    std::vector<HostCall> log;
};
