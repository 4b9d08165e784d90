// The bass effect behind both entry points.
#include "EffectFactory.h"

#include "plugin/CreateEffect.h"

AEffect* createZeltoBass(HostCallback host, HostWindowKind window) noexcept
{
    return createEffect<ZeltoBass>(host, window);
}
