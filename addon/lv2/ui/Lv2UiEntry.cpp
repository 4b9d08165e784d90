// The LV2 editor's binary: lv2ui_descriptor is its one export.
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstring>

#include "addon/lv2/Lv2Ports.h"
#include "addon/lv2/ui/Lv2Ui.h"
#include "addon/lv2/ui/Lv2UiIds.h"
#include "platform/api/EditorScale.h"

namespace {

const void* feature(const LV2_Feature* const* features, const char* uri)
{
    for (; features != nullptr && *features != nullptr; ++features)
        if (std::strcmp((*features)->URI, uri) == 0)
            return (*features)->data;
    return nullptr;
}

// The host's ui:scaleFactor (a float option, its key mapped through
// urid:map) as an editor scale; 0 when the host gives none.
int32_t scaleFactor(const LV2_Feature* const* features)
{
    const auto* map = static_cast<const LV2_URID_Map*>(feature(features, LV2_URID__map));
    const auto* option =
        static_cast<const LV2_Options_Option*>(feature(features, LV2_OPTIONS__options));
    if (map == nullptr || option == nullptr)
        return 0;
    const LV2_URID key = map->map(map->handle, LV2_UI__scaleFactor);
    const LV2_URID type = map->map(map->handle, LV2_ATOM__Float);
    for (; option->key != 0; ++option)
        if (option->key == key && option->type == type && option->size == sizeof(float) &&
            option->value != nullptr)
            return editor_scale::fromFactor(*static_cast<const float*>(option->value));
    return 0;
}

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features)
{
    if (pluginUri == nullptr || std::strcmp(pluginUri, kLv2PluginUri) != 0)
        return nullptr;
    Lv2UiHost host;
    host.write = write;
    host.controller = controller;
    host.touch = static_cast<const LV2UI_Touch*>(feature(features, LV2_UI__touch));
    host.resize = static_cast<const LV2UI_Resize*>(feature(features, LV2_UI__resize));
    host.parent = const_cast<void*>(feature(features, LV2_UI__parent));
    host.scale = scaleFactor(features);
    return Lv2Ui::create(host, widget);
}

void cleanup(LV2UI_Handle ui)
{
    delete static_cast<Lv2Ui*>(ui);
}

void portEvent(LV2UI_Handle ui, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
    static_cast<Lv2Ui*>(ui)->portEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle ui)
{
    return static_cast<Lv2Ui*>(ui)->idle();
}

int show(LV2UI_Handle ui)
{
    return static_cast<Lv2Ui*>(ui)->show();
}

int hide(LV2UI_Handle ui)
{
    return static_cast<Lv2Ui*>(ui)->hide();
}

const void* extensionData(const char* uri)
{
    static const LV2UI_Idle_Interface idleInterface{idle};
    static const LV2UI_Show_Interface showInterface{show, hide};
    if (std::strcmp(uri, LV2_UI__idleInterface) == 0)
        return &idleInterface;
    if (std::strcmp(uri, LV2_UI__showInterface) == 0)
        return &showInterface;
    return nullptr;
}

const LV2UI_Descriptor kDescriptor{kLv2UiUri, instantiate, cleanup, portEvent, extensionData};

} // namespace

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor*
lv2ui_descriptor(uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}
