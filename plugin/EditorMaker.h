// EditorMaker: how an effect gets its editor without knowing it. The add-on
// that assembles the effect hands its constructor a maker (or none), so the
// effect still creates its editor itself, in its own order of construction.
#pragma once

class AEffEditor;
class AudioEffect;

class EditorMaker {
public:
    // A new editor attached to `effect`, which owns it from then on; null
    // when it cannot be allocated.
    virtual AEffEditor* makeEditor(AudioEffect* effect) const = 0;

protected:
    ~EditorMaker() = default;
};
