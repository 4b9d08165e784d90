// The add-on's one export for hosts of our own platform, which hand the
// editor a headless window record.
#include "addon/BassEditorMaker.h"
#include "addon/EffectFactory.h"

extern "C" __attribute__((visibility("default"))) AEffect* main_plugin(HostCallback host)
{
    return createZeltoBass(host, &headlessBassEditor());
}
