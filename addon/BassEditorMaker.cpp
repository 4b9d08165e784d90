// BassEditorMaker: the bass editor over a chosen window back end.
#include "addon/BassEditorMaker.h"

#include <new>

#include "editor/ZeltoBassEditor.h"
#include "effect/ZeltoBass.h"
#include "platform/backends/headless/HeadlessBackend.h"

AEffEditor* BassEditorMaker::makeEditor(AudioEffect* effect) const
{
    // The effect is a sink itself: setParameter, which tells the host nothing.
    ParameterSink& sink = patchWrites ? *patchWrites : *effect;
    return new (std::nothrow) ZeltoBassEditor(static_cast<ZeltoBass*>(effect), adoptWindow, sink);
}

const EditorMaker& headlessBassEditor()
{
    static constexpr BassEditorMaker maker{adoptHeadlessHandle};
    return maker;
}
