// Lv2UiEditor: the editor's gestures told to the LV2 UI.
#include "addon/lv2/ui/Lv2UiEditor.h"

#include <new>

#include "addon/lv2/ui/Lv2Ui.h"
#include "effect/ZeltoBass.h"
#include "gui/controls/CControl.h"
#include "platform/backends/x11/X11Backend.h"

Lv2UiEditor::Lv2UiEditor(ZeltoBass* effect, Lv2Ui& ui)
    : ZeltoBassEditor(effect, x11WindowAdopter(ui.scale()), ui), ui(ui)
{
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
