// CViewContainer: a view holding other views in a doubly linked list. It
// draws them over a background, optionally composed off screen first, and
// routes presses to the topmost child whose mouseable area holds the point.
#pragma once

#include "gui/CView.h"

class CBitmap;

// One node of a container's child list; the container owns node and view.
struct CCView {
    explicit CCView(CView* pView) : view(pView) {}
    CView* view;
    CCView* next = nullptr;
    CCView* previous = nullptr;
};

class CViewContainer : public CView {
public:
    // The background is borrowed: the container takes no reference.
    CViewContainer(CRect& size, CFrame* parent, CBitmap* background, bool offscreenDrawing = false);
    ~CViewContainer() override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where) override;
    // Redraws everything as soon as one child is dirty.
    void update(CDrawContext* context) override;
    void looseFocus() override;
    void takeFocus() override;

    // Children take the container's frame as their parent.
    virtual void addView(CView* view);
    virtual void addView(CView* view, CRect& mouseableArea, bool mouseEnabled = true);
    // Deletes the view; a view not in the list changes nothing.
    virtual void removeView(CView* view);
    virtual void removeAll();
    virtual bool isChild(CView* view);

    CCView* getFirstView() const { return firstView; }
    CCView* getLastView() const { return lastView; }

private:
    CCView* firstView = nullptr;
    CCView* lastView = nullptr;
    CBitmap* background;
    bool offscreenDrawing;
};
