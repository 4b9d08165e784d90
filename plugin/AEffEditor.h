// The editor interface the effect knows: the host's editor opcodes arrive at
// the effect's dispatcher and go on to these operations. The toolkit's editor
// base derives from it, so the host interface needs no GUI to build.
#pragma once

#include <atomic>
#include <cstdint>

#include "AEffect.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    // host thread; *rect receives a pointer into the editor, valid for its life
    virtual int32_t getRect(ERect** rect)
    {
        if (rect)
            *rect = nullptr;
        return 0;
    }
    // host thread; ptr is the host's window handle
    virtual int32_t open(void* ptr)
    {
        systemWindow = ptr;
        return 0;
    }
    virtual void close() {}
    virtual void idle()
    {
        if (updateFlag.exchange(0, std::memory_order_relaxed))
            update();
    }
    virtual void update() {}
    // any thread
    virtual void postUpdate() { updateFlag.store(1, std::memory_order_relaxed); }
    // any thread; the effect calls it on every parameter write. The toolkit's
    // editor moves its controls; this interface has nothing to move.
    virtual void setParameter(int32_t /*index*/, float /*value*/) {}

    AudioEffect* getEffect() const { return effect; }

protected:
    AudioEffect* effect; // not owned: the effect owns the editor
    void* systemWindow = nullptr;
    // Raised from any thread, lowered by the idle; a relaxed atomic, since it
    // orders nothing else.
    std::atomic<long> updateFlag{0};
};
