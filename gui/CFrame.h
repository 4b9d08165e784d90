// CFrame: the root of an editor's view tree. It holds the controls, draws
// its background and them, routes each press to one view, redraws dirty
// views on idle, and binds the tree to the host's window through a PlugView.
#pragma once

#include <cstdint>

#include "gui/CView.h"

class AEffGUIEditor;
class CBitmap;
class PlugView;

class CFrame : public CView {
public:
    // Attached form: a PlugView covering the host's parent view (a BView).
    CFrame(CRect& size, void* systemWindow, AEffGUIEditor* editor);
    // Own-window form: the host opens a window for it on open().
    CFrame(CRect& size, char* title, AEffGUIEditor* editor, long style);
    // Deletes the views, releases the background and the shared resource
    // reader, and cuts the PlugView loose so it never calls a deleted frame.
    ~CFrame() override;

    bool initFrame(void* systemWindow);
    bool open(CPoint* point = nullptr);
    bool close();

    void draw(CDrawContext* context) override;
    // Redraws one child, or everything when view is null or not a child.
    void draw(CView* view = nullptr);
    void mouse(CDrawContext* context, CPoint& where) override;
    void update(CDrawContext* context) override;
    // Redraws the dirty views if the window is free; never waits for it.
    void idle();

    bool setSize(long width, long height);
    virtual bool addView(CView* view);
    virtual bool removeView(CView* view);
    virtual bool isChild(CView* view);
    bool setModalView(CView* view);
    void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background; }
    bool getSize(CRect* rect);
    bool getPosition(long& x, long& y);

    AEffGUIEditor* getEditor() const { return editor; }
    void* getSystemWindow() const { return systemWindow; }
    PlugView* getPlugView() const { return plugView; }
    CView* getEditView() const { return editView; }
    void setEditView(CView* view) { editView = view; }
    CView* getModalView() const { return modalView; }
    long getViewCount() const { return viewCount; }
    long getMaxViews() const { return maxViews; }
    CView* getView(long index) const
    {
        return index >= 0 && index < viewCount ? views[index] : nullptr;
    }
    bool isOpen() const { return openFlag; }
    bool isFirstDraw() const { return firstDraw; }

private:
    AEffGUIEditor* editor = nullptr;
    void* systemWindow = nullptr;
    CBitmap* background = nullptr;
    long viewCount = 0;
    long maxViews = 0;
    CView** views = nullptr;
    CView* modalView = nullptr;
    CView* editView = nullptr;
    bool firstDraw = true;
    bool openFlag = false;
    PlugView* plugView = nullptr;
    bool ownWindow = false;
    char* vstWindow = nullptr; // the 256-byte window record of the own-window form
};
