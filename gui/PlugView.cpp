// PlugView: forwarding the platform's draw and press callbacks to the frame.
#include "gui/PlugView.h"

#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "platform/api/GraphicsDefs.h"
#include "platform/api/InterfaceDefs.h"
#include "platform/api/Message.h"
#include "platform/api/Window.h"

PlugView::PlugView(BRect frame, CFrame* owner)
    : BView(frame, nullptr, B_FOLLOW_ALL, B_WILL_DRAW), ownerFrame(owner)
{
    // The frame paints every pixel, so the platform need not erase first.
    SetViewColor(B_TRANSPARENT_COLOR);
}

void PlugView::Draw(BRect /*updateRect*/)
{
    // The window thread holds the window lock here, and the frame's
    // destructor clears ownerFrame under the same lock.
    if (ownerFrame)
        ownerFrame->draw(static_cast<CView*>(nullptr));
}

void PlugView::MouseDown(BPoint where)
{
    if (!ownerFrame)
        return;
    BWindow* window = Window();
    int32_t buttons = 0;
    if (window && window->CurrentMessage())
        window->CurrentMessage()->FindInt32("buttons", &buttons);
    if ((buttons & B_SECONDARY_MOUSE_BUTTON) && window && !window->IsFront() &&
        !window->IsFloating()) {
        window->Activate();
        return;
    }
    CDrawContext context(ownerFrame, this, nullptr);
    CPoint point{static_cast<int32_t>(where.x), static_cast<int32_t>(where.y)};
    ownerFrame->mouse(&context, point);
}
