// The bass effect behind both entry points.
#include "addon/EffectFactory.h"

#include "effect/ZeltoBass.h"
#include "plugin/CreateEffect.h"

AEffect* createZeltoBass(HostCallback host, const EditorMaker* editor) noexcept
{
    return createEffect<ZeltoBass>(host, editor);
}
