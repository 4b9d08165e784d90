// CViewContainer: the child list, drawing (direct or off screen) and routing.
#include "gui/CViewContainer.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/COffscreenContext.h"

CViewContainer::CViewContainer(CRect& rect, CFrame* frame, CBitmap* bitmap, bool offscreen)
    : CView(rect), background(bitmap), offscreenDrawing(offscreen)
{
    parent = frame;
}

CViewContainer::~CViewContainer()
{
    removeAll();
}

void CViewContainer::addView(CView* view)
{
    auto* node = new CCView(view);
    if (view)
        view->setParent(parent); // the frame, not the container
    if (!firstView) {
        firstView = lastView = node;
        return;
    }
    CCView* last = firstView;
    while (last->next)
        last = last->next;
    last->next = node;
    node->previous = last;
    lastView = node;
}

void CViewContainer::addView(CView* view, CRect& area, bool enabled)
{
    if (!view)
        return;
    view->setMouseEnabled(enabled);
    view->setMouseableArea(area);
    addView(view);
}

void CViewContainer::removeView(CView* view)
{
    for (CCView* node = firstView; node; node = node->next) {
        if (node->view != view)
            continue;
        (node->previous ? node->previous->next : firstView) = node->next;
        (node->next ? node->next->previous : lastView) = node->previous;
        delete node->view;
        delete node;
        return;
    }
}

void CViewContainer::removeAll()
{
    CCView* node = firstView;
    while (node) {
        CCView* next = node->next;
        delete node->view;
        delete node;
        node = next;
    }
    firstView = lastView = nullptr;
}

bool CViewContainer::isChild(CView* view)
{
    for (CCView* node = firstView; node; node = node->next)
        if (node->view == view)
            return true;
    return false;
}

void CViewContainer::draw(CDrawContext* context)
{
    // Children draw at their frame coordinates, also off screen, where the
    // picture's (0, 0) lands on the container's corner: right for a container
    // at the frame's origin, shifted for any other (the editor makes none).
    COffscreenContext* offscreen = nullptr;
    CDrawContext* target = context;
    if (offscreenDrawing) {
        offscreen = new COffscreenContext(parent, size.width(), size.height(), colorBlack);
        target = offscreen;
    }
    if (background) {
        CRect where = size;
        background->draw(target, where, CPoint{size.left, size.top});
    }
    for (CCView* node = firstView; node; node = node->next)
        if (node->view)
            node->view->draw(target);
    if (offscreen) {
        CRect screen = size;
        offscreen->copyFrom(context, screen, CPoint{0, 0});
        delete offscreen;
    }
}

void CViewContainer::update(CDrawContext* context)
{
    for (CCView* node = firstView; node; node = node->next) {
        if (node->view && node->view->isDirty()) {
            draw(context);
            return;
        }
    }
}

void CViewContainer::mouse(CDrawContext* context, CPoint& where)
{
    for (CCView* node = lastView; node; node = node->previous) {
        CView* view = node->view;
        if (!view)
            continue;
        CRect area;
        if (view->getMouseEnabled() && view->getMouseableArea(area).pointInside(where)) {
            view->mouse(context, where);
            return;
        }
    }
}

void CViewContainer::takeFocus()
{
    for (CCView* node = firstView; node; node = node->next)
        if (node->view)
            node->view->takeFocus();
}

void CViewContainer::looseFocus()
{
    for (CCView* node = firstView; node; node = node->next)
        if (node->view)
            node->view->looseFocus();
}
