// The add-on's one export for Linux hosts, which call this name and hand the
// editor their parent X11 window's id.
#include "addon/BassEditorMaker.h"
#include "addon/EffectFactory.h"
#include "platform/backends/x11/X11Backend.h"

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(HostCallback host)
{
    static constexpr BassEditorMaker editor{x11WindowAdopter()};
    return createZeltoBass(host, &editor);
}
