// Lv2UiEditor: the bass editor as an LV2 UI shows it. Every change must reach
// the host there: a held control becomes a touch gesture, and the kick
// button's random patch is written into the LV2 UI instance, which tells the
// host.
#pragma once

#include <cstdint>

#include "editor/ZeltoBassEditor.h"
#include "plugin/EditorMaker.h"

class Lv2Ui;

class Lv2UiEditor final : public ZeltoBassEditor {
public:
    Lv2UiEditor(ZeltoBass* effect, Lv2Ui& ui);

    // Window thread, window locked.
    void controlBeginEdit(CControl* control) override;
    void controlEndEdit(CControl* control) override;

private:
    Lv2Ui& ui;
};

// Makes an Lv2UiEditor for the UI instance's own effect.
class Lv2UiEditorMaker final : public EditorMaker {
public:
    explicit Lv2UiEditorMaker(Lv2Ui& ui) : ui(ui) {}
    AEffEditor* makeEditor(AudioEffect* effect) const override;

private:
    Lv2Ui& ui;
};
