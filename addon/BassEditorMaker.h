// BassEditorMaker: makes the bass effect's editor over the windows of one
// back end, and chooses where its random patch writes, for the add-on that
// assembles the effect.
#pragma once

#include "platform/api/WindowAdopter.h"
#include "plugin/EditorMaker.h"

class ParameterSink;

class BassEditorMaker final : public EditorMaker {
public:
    // The kick button's random patch goes to `patchWrites`, which outlives
    // every editor made; null writes it straight into the effect, the host
    // not told (both add-ons for hosts of this protocol). A format whose
    // every change must reach the host hands a sink that tells it.
    explicit constexpr BassEditorMaker(WindowAdopter adoptWindow,
                                       ParameterSink* patchWrites = nullptr)
        : adoptWindow(adoptWindow), patchWrites(patchWrites)
    {
    }
    AEffEditor* makeEditor(AudioEffect* effect) const override;

private:
    WindowAdopter adoptWindow;
    ParameterSink* patchWrites;
};

// The editor for hosts of our own platform: the editor opcode hands it a
// headless window record.
const EditorMaker& headlessBassEditor();
