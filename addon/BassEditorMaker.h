// BassEditorMaker: makes the bass effect's editor over the windows of one
// back end, chosen by the add-on that assembles the effect.
#pragma once

#include "platform/api/WindowAdopter.h"
#include "plugin/EditorMaker.h"

class BassEditorMaker final : public EditorMaker {
public:
    explicit constexpr BassEditorMaker(WindowAdopter adoptWindow) : adoptWindow(adoptWindow) {}
    AEffEditor* makeEditor(AudioEffect* effect) const override;

private:
    WindowAdopter adoptWindow;
};

// The editor for hosts of our own platform: the editor opcode hands it a
// headless window record.
const EditorMaker& headlessBassEditor();
