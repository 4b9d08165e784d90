// The add-on's one export for Linux hosts, which call this name and hand the
// editor a native window later.
#include "EffectFactory.h"

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(HostCallback host)
{
    return createZeltoBass(host, HostWindowKind::X11Window);
}
