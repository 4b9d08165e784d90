// Lv2Ui: one instance of the LV2 editor. It holds an effect of its own (no
// audio; the UI never reaches the plug-in instance) whose editor draws on an
// X11 window: a child of the host's ui:parent, or a top-level window of its
// own through ui:showInterface. Values come in through port_event and never
// go back; the editor's edits, gestures and random patches go out through
// write_function and ui:touch, delivered on the host's UI thread (idle).
// Unlike the record add-ons, whose random patch the host is not told of.
#pragma once

#include <lv2/ui/ui.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "addon/lv2/ui/Lv2UiEditor.h"
#include "plugin/AEffect.h"
#include "plugin/ParameterSink.h"

class X11HostWindow;

// What the host offers the UI.
struct Lv2UiHost {
    LV2UI_Write_Function write = nullptr;
    LV2UI_Controller controller = nullptr;
    const LV2UI_Touch* touch = nullptr;   // optional
    const LV2UI_Resize* resize = nullptr; // optional
    void* parent = nullptr;               // ui:parent, the X window id; null: top-level
    int32_t scale = 0;                    // the host's ui:scaleFactor as a scale; 0: not given
};

class Lv2Ui final : public ParameterSink {
public:
    // Embedded, the editor is open and *widget is its window's id; without a
    // parent, *widget is null until show. Null when it cannot be made.
    static Lv2Ui* create(const Lv2UiHost& host, LV2UI_Widget* widget);
    ~Lv2Ui();
    Lv2Ui(const Lv2Ui&) = delete;
    Lv2Ui& operator=(const Lv2Ui&) = delete;

    // Host UI thread. A control port's float moves its control; nothing is
    // written back.
    void portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);
    // Delivers the editor's writes and touches, then the editor's idle; 1
    // once the user closed the top-level window.
    int idle();
    int show();
    int hide();

    // Window thread: the kick button's random patch. The UI's effect takes
    // the value (the editor shows it) and the host is told, each value as
    // one gesture of its port so that it is recorded as a user's edit.
    void setParameter(int32_t index, float value) override;

    // The scale the host asked for (0: none), for the editor's adopter.
    int32_t scale() const { return host.scale; }

    // Window thread: queued for the next idle.
    void edited(int32_t parameter, float value);
    void touched(int32_t parameter, bool grabbed);

private:
    struct Message {
        uint32_t port;
        bool isTouch;
        bool grabbed;
        float value;
    };
    explicit Lv2Ui(const Lv2UiHost& host);
    static VstIntPtr hostCallback(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr value,
                                  void* ptr, float opt);
    bool openEditor(void* parent);
    void closeEditor();
    void deliver();
    void queue(const Message& message);

    Lv2UiHost host;
    Lv2UiEditorMaker maker{*this};
    AEffect* effect = nullptr;
    std::unique_ptr<X11HostWindow> topLevel;
    bool editorOpen = false;

    std::mutex queueLock;
    std::vector<Message> queued;     // under queueLock
    std::vector<Message> delivering; // host UI thread only
};
