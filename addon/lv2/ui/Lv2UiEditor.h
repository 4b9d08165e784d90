// Lv2UiEditor: the bass editor as an LV2 UI shows it. Every change must reach
// the host there, so a held control becomes a touch gesture and the kick
// button's random patch becomes port writes, told to the LV2 UI instance.
#pragma once

#include <cstdint>

#include "editor/ZeltoBassEditor.h"
#include "plugin/EditorMaker.h"

class Lv2Ui;

class Lv2UiEditor final : public ZeltoBassEditor {
public:
    Lv2UiEditor(ZeltoBass* effect, Lv2Ui& ui);

    // Window thread, window locked.
    void valueChanged(CDrawContext* context, CControl* control) override;
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
