// The steps behind both entry points: ask the host's version, build the
// effect, hand back its record.
#include "EffectFactory.h"

#include <new>

#include "plugin/OutOfMemory.h"

AEffect* createZeltoBass(HostCallback host, HostWindowKind window) noexcept
{
    // A host that cannot answer the version query cannot be served.
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    ZeltoBass* effect = nullptr;
    try {
        effect = new (std::nothrow) ZeltoBass(host, window);
    } catch (...) {
        // Construction threw: `new` has freed the storage and the members
        // built so far are destroyed. Nothing crosses back to the host.
        return nullptr;
    }
    if (!effect)
        return nullptr;
    if (oome) {
        delete effect;
        return nullptr;
    }
    return effect->getAeffect();
}
