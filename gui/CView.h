// CView: the base of every element of the editor window (the frame and every
// control). It carries the view's place, its mouse and transparency switches
// and its dirty flag, and defines the redraw protocol: update draws a dirty
// view and marks it clean.
#pragma once

#include "gui/CRect.h"

class CDrawContext;
class CFrame;

class CView {
public:
    explicit CView(const CRect& size);
    virtual ~CView() = default;
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

    virtual void draw(CDrawContext* /*context*/) {}
    virtual void mouse(CDrawContext* /*context*/, CPoint& /*where*/) {}
    // Draws the view when it is dirty, then marks it clean; both calls are
    // virtual so a control's own dirty test decides.
    virtual void update(CDrawContext* context);
    virtual void looseFocus() {}
    virtual void takeFocus() {}
    virtual bool isDirty() { return dirty; }
    virtual void setDirty(bool flag) { dirty = flag; }
    virtual void setMouseEnabled(bool flag) { mouseEnabled = flag; }
    virtual bool getMouseEnabled() { return mouseEnabled; }
    virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    virtual CRect& getMouseableArea(CRect& rect)
    {
        rect = mouseableArea;
        return rect;
    }
    virtual void setTransparency(bool flag) { transparencyEnabled = flag; }
    virtual bool getTransparency() { return transparencyEnabled; }

    // Asks the view's frame to draw it now; a view never added draws nothing.
    void redraw();

    CFrame* getParent() const { return parent; }
    void setParent(CFrame* frame) { parent = frame; }

    CRect size;
    CRect mouseableArea;
    CFrame* parent = nullptr; // not owned
    bool dirty = true;
    bool mouseEnabled = true;
    bool transparencyEnabled = false;
};
