// createEffect: the steps behind every entry point. Ask the host's version,
// build the effect, hand back its record. Never throws: every failure
// answers null, with nothing left allocated.
#pragma once

#include <new>
#include <utility>

#include "plugin/AEffect.h"
#include "plugin/OutOfMemory.h"

template <class Effect, class... Args>
AEffect* createEffect(HostCallback host, Args&&... args) noexcept
{
    // A host that cannot answer the version query cannot be served.
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    Effect* effect = nullptr;
    try {
        effect = new (std::nothrow) Effect(host, std::forward<Args>(args)...);
    } catch (...) {
        // Construction threw: `new` has freed the storage and the members
        // built so far are destroyed. Nothing crosses back to the host.
        return nullptr;
    }
    if (!effect)
        return nullptr;
    // A part the constructor could not allocate was noted, not thrown.
    if (oome) {
        delete effect;
        return nullptr;
    }
    return effect->getAeffect();
}
