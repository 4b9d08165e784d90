// RealtimeHost: the host callback for live use. A plug-in may call it from
// its audio thread, so it answers as a plain host answers with no lock, no
// allocation and nothing that grows: it keeps only fixed counters and the
// last automation, each an atomic word. The scripted tools record every call
// instead (HostRecorder), and share its answers.
#pragma once

#include <atomic>
#include <cstdint>

#include "plugin/AEffect.h"

class RealtimeHost {
public:
    static constexpr VstIntPtr kVersion = 2400; // the answer to the version query

    struct Automation {
        int32_t index = -1; // -1: none yet
        float value = 0.0f;
    };

    // The callback handed to an entry point; any thread, the audio thread
    // included. It counts into the host bound to the effect (its `user`),
    // or into the one loading on this thread, else only answers.
    static VstIntPtr callback(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr value,
                              void* ptr, float opt);

    // What a plain host answers: the version, 1 for a display update, the
    // vendor's and product's names written into `ptr` (at most 24 bytes),
    // the vendor's version; 0 for everything else.
    static VstIntPtr answer(int32_t opcode, void* ptr, VstIntPtr version);

    // Makes this host count the calls made on this thread until attach.
    void beginLoading();
    // Binds an effect's later calls to this host (sets its `user`).
    void attach(AEffect* effect);

    // Any thread, at any time; each read is one atomic load.
    uint64_t calls() const { return callCount.load(std::memory_order_relaxed); }
    uint64_t automations() const { return automationCount.load(std::memory_order_relaxed); }
    // The last automation as one pair, never half of one and half another.
    Automation lastAutomation() const;

private:
    void count(int32_t opcode, int32_t index, float opt);

    std::atomic<uint64_t> callCount{0};
    std::atomic<uint64_t> automationCount{0};
    std::atomic<uint64_t> lastPair{UINT64_MAX}; // index in the high word, value's bits low
    static_assert(std::atomic<uint64_t>::is_always_lock_free);
};
