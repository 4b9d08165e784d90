// HostRecorder: the host side of the conversation with a plug-in for the
// scripted tools. Answers as a plain host answers (RealtimeHost::answer) and
// logs every call, up to a cap, so the command-line host can print it and
// tests can assert what a host sees. The plug-in may call from any of its
// threads (an editor's window thread during a drag); each call takes two
// locks and may allocate, so live audio uses RealtimeHost instead.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
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

    // The log keeps the first kLogLimit calls since it was last cleared;
    // later ones are answered and counted, not kept.
    static constexpr size_t kLogLimit = 1 << 16;

    // A copy of the log, in the order the calls arrived; any thread.
    std::vector<HostCall> calls() const;
    // Calls answered but not kept since the log was last cleared.
    uint64_t droppedCalls() const;
    void clearCalls();
    // Called for every host call, on the calling thread, one call at a time
    // and in the order of the log. Set it before the effect is created.
    std::function<void(const HostCall&)> onCall;

    VstIntPtr version = 2400; // the answer to the version query

private:
    mutable std::mutex mutex; // guards log and dropped
    // Held from logging a call until onCall is done with it, so onCall sees
    // the log's order; recursive, as onCall may reach the plug-in again.
    std::recursive_mutex ordering;
    std::vector<HostCall> log;
    uint64_t dropped = 0;
};

// The opcode's name ("automate"), or null for one a plain host does not know.
const char* hostOpcodeName(int32_t opcode);
// One line: "opcode 0 index 1 value 0 opt 0.25 (automate)".
std::string describeHostCall(const HostCall& call);
