// The add-on's one export for Linux hosts, which call this name and hand the
// editor a native window later. Our editor cannot take one yet, so this
// add-on has none: its editor flag stays clear and the editor opcodes answer
// 0, and a native handle is never taken for one of our records.
#include "addon/EffectFactory.h"

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(HostCallback host)
{
    return createZeltoBass(host, nullptr);
}
