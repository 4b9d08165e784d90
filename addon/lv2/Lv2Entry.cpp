// The LV2 binary's one export: the descriptor of the effect's plug-in, whose
// functions forward to Lv2Plugin. No extension data and no features needed.
#include <lv2/core/lv2.h>

#include "Lv2Plugin.h"
#include "Lv2Ports.h"

namespace {

Lv2Plugin* self(LV2_Handle handle)
{
    return static_cast<Lv2Plugin*>(handle);
}

LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const*)
{
    return Lv2Plugin::create(rate);
}

void connectPort(LV2_Handle h, uint32_t port, void* data)
{
    self(h)->connect(port, data);
}

void activate(LV2_Handle h)
{
    self(h)->activate();
}

void run(LV2_Handle h, uint32_t frames)
{
    self(h)->run(frames);
}

void deactivate(LV2_Handle h)
{
    self(h)->deactivate();
}

void cleanup(LV2_Handle h)
{
    delete self(h);
}

const void* extensionData(const char*)
{
    return nullptr;
}

const LV2_Descriptor kDescriptor = {kLv2PluginUri, instantiate, connectPort, activate,
                                    run,           deactivate,  cleanup,     extensionData};

} // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}
