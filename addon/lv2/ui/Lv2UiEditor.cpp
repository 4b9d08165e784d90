// Lv2UiEditor: the editor's gestures and random patches told to the LV2 UI.
#include "addon/lv2/ui/Lv2UiEditor.h"

#include <new>

#include "addon/lv2/ui/Lv2Ui.h"
#include "effect/ZeltoBass.h"
#include "gui/controls/CControl.h"
#include "platform/backends/x11/X11Backend.h"

Lv2UiEditor::Lv2UiEditor(ZeltoBass* effect, Lv2Ui& ui)
    : ZeltoBassEditor(effect, adoptX11Window), ui(ui)
{
}

void Lv2UiEditor::valueChanged(CDrawContext* context, CControl* control)
{
    const bool patchDue = control && control->getTag() == kRandomTag && getRandomPhase();
    ZeltoBassEditor::valueChanged(context, control);
    if (!patchDue)
        return;
    // The patch went to the UI's own effect only; each value becomes one
    // gesture of its port, so hosts record it as a user's edit.
    for (int32_t parameter = 0; parameter < kEditorParams; ++parameter) {
        ui.touched(parameter, true);
        ui.edited(parameter, effect->getParameter(parameter));
        ui.touched(parameter, false);
    }
}

void Lv2UiEditor::controlBeginEdit(CControl* control)
{
    if (control->getTag() >= 0 && control->getTag() < kEditorParams)
        ui.touched(control->getTag(), true);
}

void Lv2UiEditor::controlEndEdit(CControl* control)
{
    if (control->getTag() >= 0 && control->getTag() < kEditorParams)
        ui.touched(control->getTag(), false);
}

AEffEditor* Lv2UiEditorMaker::makeEditor(AudioEffect* effect) const
{
    return new (std::nothrow) Lv2UiEditor(static_cast<ZeltoBass*>(effect), ui);
}
