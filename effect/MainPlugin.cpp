// The add-on's one export for hosts of our own platform.
#include "EffectFactory.h"

extern "C" __attribute__((visibility("default"))) AEffect* main_plugin(HostCallback host)
{
    return createZeltoBass(host, HostWindowKind::PlatformView);
}
