// Lv2Ui: the LV2 editor's instance: its own effect and editor, the X11
// window, and the messages between the editor and the host.
#include "addon/lv2/ui/Lv2Ui.h"

#include <cstdio>
#include <new>
#include <string>

#include "addon/EffectFactory.h"
#include "addon/lv2/Lv2Ports.h"
#include "platform/backends/x11/X11Backend.h"
#include "platform/backends/x11/X11HostWindow.h"

namespace {

// The version our effects expect of a host that can serve them.
constexpr VstIntPtr kHostVersion = 2400;
// How long a top-level window may take to be shown.
constexpr bigtime_t kShowTimeout = 5000000;
// A host that never idles must not make the queue grow without end.
constexpr size_t kMostQueued = 4096;

uint32_t portOf(int32_t parameter)
{
    for (uint32_t port = kFirstLv2Control; port < kFirstLv2Control + kNumLv2Controls; ++port)
        if (kLv2Ports[port].parameter == parameter)
            return port;
    return kNumLv2Ports;
}

} // namespace

Lv2Ui::Lv2Ui(const Lv2UiHost& host) : host(host) {}

Lv2Ui* Lv2Ui::create(const Lv2UiHost& host, LV2UI_Widget* widget)
{
    if (host.write == nullptr || widget == nullptr)
        return nullptr;
    auto ui = std::unique_ptr<Lv2Ui>(new (std::nothrow) Lv2Ui(host));
    if (!ui)
        return nullptr;
    ui->effect = createZeltoBass(hostCallback, &ui->maker);
    if (ui->effect == nullptr)
        return nullptr;
    ui->effect->user = ui.get();
    *widget = nullptr;
    if (host.parent != nullptr) {
        if (!ui->openEditor(host.parent))
            return nullptr;
        *widget = reinterpret_cast<LV2UI_Widget>(static_cast<uintptr_t>(lastAdoptedX11Window()));
    }
    return ui.release();
}

Lv2Ui::~Lv2Ui()
{
    closeEditor();
    if (effect != nullptr)
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

VstIntPtr Lv2Ui::hostCallback(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr, void*,
                              float)
{
    if (opcode == audioMasterVersion)
        return kHostVersion;
    auto* ui = effect != nullptr ? static_cast<Lv2Ui*>(effect->user) : nullptr;
    // The effect holds the value as it applies it (the compressor capped),
    // which is in the port's range.
    if (opcode == audioMasterAutomate && ui != nullptr)
        ui->edited(index, effect->getParameter(effect, index));
    return 0;
}

bool Lv2Ui::openEditor(void* parent)
{
    editorOpen = effect->dispatcher(effect, effEditOpen, 0, 0, parent, 0.0f) == 1;
    if (!editorOpen)
        return false;
    ERect* rect = nullptr;
    if (host.resize != nullptr &&
        effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f) != 0 && rect != nullptr)
        host.resize->ui_resize(host.resize->handle, rect->right - rect->left,
                               rect->bottom - rect->top);
    return true;
}

void Lv2Ui::closeEditor()
{
    if (editorOpen)
        effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    editorOpen = false;
    // What the editor said before it closed still reaches the host, so a
    // gesture that was begun is also ended.
    deliver();
}

void Lv2Ui::portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
    if (port < kFirstLv2Control || port >= kFirstLv2Control + kNumLv2Controls ||
        size != sizeof(float) || format != 0 || buffer == nullptr)
        return;
    // The effect's setParameter tells the editor, never the host.
    effect->setParameter(effect, kLv2Ports[port].parameter, *static_cast<const float*>(buffer));
}

int Lv2Ui::idle()
{
    deliver();
    if (topLevel && topLevel->closeRequested()) {
        hide();
        return 1;
    }
    if (editorOpen)
        effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
    deliver();
    return 0;
}

int Lv2Ui::show()
{
    if (editorOpen)
        return 0;
    ERect* rect = nullptr;
    if (effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f) == 0 || rect == nullptr)
        return 1;
    std::string whyNot;
    topLevel =
        X11HostWindow::open({"WobrixFree", "wobrixfree", "WobrixFree"}, rect->right - rect->left,
                            rect->bottom - rect->top, kShowTimeout, &whyNot);
    if (!topLevel) {
        std::fprintf(stderr, "WobrixFree: cannot show the editor: %s\n", whyNot.c_str());
        return 1;
    }
    if (!openEditor(reinterpret_cast<void*>(static_cast<uintptr_t>(topLevel->id())))) {
        topLevel.reset();
        return 1;
    }
    return 0;
}

int Lv2Ui::hide()
{
    // An embedded editor lives as long as the UI; only a shown window hides.
    if (!topLevel)
        return 0;
    closeEditor();
    topLevel.reset();
    return 0;
}

void Lv2Ui::setParameter(int32_t index, float value)
{
    effect->setParameter(effect, index, value);
    touched(index, true);
    edited(index, effect->getParameter(effect, index));
    touched(index, false);
}

void Lv2Ui::edited(int32_t parameter, float value)
{
    queue({portOf(parameter), false, false, value});
}

void Lv2Ui::touched(int32_t parameter, bool grabbed)
{
    queue({portOf(parameter), true, grabbed, 0.0f});
}

void Lv2Ui::queue(const Message& message)
{
    if (message.port >= kNumLv2Ports)
        return;
    std::lock_guard<std::mutex> hold(queueLock);
    if (queued.size() < kMostQueued)
        queued.push_back(message);
}

void Lv2Ui::deliver()
{
    {
        std::lock_guard<std::mutex> hold(queueLock);
        delivering.swap(queued);
    }
    for (const Message& m : delivering) {
        if (!m.isTouch)
            host.write(host.controller, m.port, sizeof(float), 0, &m.value);
        else if (host.touch != nullptr)
            host.touch->touch(host.touch->handle, m.port, m.grabbed);
    }
    delivering.clear();
}
