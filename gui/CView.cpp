// CView: the redraw protocol every view shares.
#include "gui/CView.h"

#include "gui/CFrame.h"

CView::CView(const CRect& rect) : size(rect), mouseableArea(rect) {}

void CView::update(CDrawContext* context)
{
    if (isDirty()) {
        draw(context);
        setDirty(false);
    }
}

void CView::redraw()
{
    if (parent)
        parent->draw(this);
}
