// CFrame: the view array, drawing, press routing, idle redraws and the
// binding to the host's window.
#include "gui/CFrame.h"

#include <cstdlib>
#include <cstring>

#include "gui/AEffGUIEditor.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/PlugView.h"
#include "platform/api/View.h"
#include "platform/api/Window.h"
#include "plugin/AudioEffectX.h"

namespace {

constexpr size_t kWindowRecordSize = 256;
constexpr long kGrowth = 10;

void put16(char* record, size_t at, long value)
{
    const auto v = static_cast<int16_t>(value);
    std::memcpy(record + at, &v, 2);
}

BView* parentView(void* systemWindow)
{
    return static_cast<BView*>(systemWindow);
}

} // namespace

CFrame::CFrame(CRect& rect, void* parentWindow, AEffGUIEditor* owner)
    : CView(rect), editor(owner), systemWindow(parentWindow), openFlag(true)
{
    initFrame(parentWindow);
}

CFrame::CFrame(CRect& rect, char* title, AEffGUIEditor* owner, long style)
    : CView(rect), editor(owner), ownWindow(true)
{
    vstWindow = static_cast<char*>(std::calloc(1, kWindowRecordSize));
    if (!vstWindow)
        return;
    if (title)
        std::strncpy(vstWindow, title, 127); // the title field is 128 bytes
    put16(vstWindow, 128, size.left);
    put16(vstWindow, 130, size.top);
    put16(vstWindow, 132, size.right - size.left);
    put16(vstWindow, 134, size.bottom - size.top);
    const auto styleWord = static_cast<int32_t>(style);
    std::memcpy(vstWindow + 136, &styleWord, 4);
}

CFrame::~CFrame()
{
    if (editView) {
        editView->looseFocus();
        editView = nullptr;
    }
    for (long i = 0; i < viewCount; i++)
        delete views[i];
    std::free(views);
    views = nullptr;
    viewCount = maxViews = 0;
    setBackground(nullptr);
    if (ownWindow)
        close();
    std::free(vstWindow);
    // The platform view stays in the host's parent until the host removes
    // it; from now on its callbacks find no frame.
    if (plugView)
        plugView->detachFrame();
    CBitmap::closeResource();
}

bool CFrame::initFrame(void* parentWindow)
{
    BView* parent = parentView(parentWindow);
    if (!parent)
        return false;
    BRect bounds = parent->Frame();
    bounds.OffsetTo(B_ORIGIN);
    plugView = new PlugView(bounds, this);
    parent->AddChild(plugView);
    return true;
}

bool CFrame::open(CPoint* point)
{
    if (!ownWindow)
        return false;
    if (openFlag) {
        if (plugView && plugView->Window())
            plugView->Window()->Activate();
        return false;
    }
    if (vstWindow) {
        if (point) {
            put16(vstWindow, 128, point->h);
            put16(vstWindow, 130, point->v);
        }
        auto* effect = editor ? dynamic_cast<AudioEffectX*>(editor->getEffect()) : nullptr;
        systemWindow =
            effect ? effect->openWindow(reinterpret_cast<VstWindow*>(vstWindow)) : nullptr;
    }
    if (systemWindow && initFrame(systemWindow))
        openFlag = true;
    return openFlag;
}

bool CFrame::close()
{
    if (!ownWindow || !openFlag || !systemWindow)
        return false;
    auto* effect = editor ? dynamic_cast<AudioEffectX*>(editor->getEffect()) : nullptr;
    if (effect)
        effect->closeWindow(reinterpret_cast<VstWindow*>(vstWindow));
    systemWindow = nullptr;
    return true;
}

void CFrame::draw(CDrawContext* context)
{
    firstDraw = false;
    if (background) {
        CRect whole{0, 0, background->getWidth(), background->getHeight()};
        background->draw(context, whole, CPoint{0, 0});
    }
    for (long i = 0; i < viewCount; i++) {
        const bool wasDirty = views[i]->isDirty();
        views[i]->draw(context);
        views[i]->setDirty(wasDirty);
    }
    if (modalView)
        modalView->draw(context);
}

void CFrame::draw(CView* view)
{
    if (view && !isChild(view))
        view = nullptr;
    if (!plugView)
        return; // nothing to draw on
    CDrawContext context(this, plugView, nullptr);
    if (view)
        view->draw(&context);
    else
        draw(&context);
}

void CFrame::mouse(CDrawContext* context, CPoint& where)
{
    if (editView && !editView->size.pointInside(where)) {
        editView->looseFocus();
        editView = nullptr;
    }
    if (modalView) {
        if (modalView->size.pointInside(where))
            modalView->mouse(context, where);
        return;
    }
    for (long i = viewCount - 1; i >= 0; i--) {
        CView* view = views[i];
        if (view->getMouseEnabled() && view->size.pointInside(where)) {
            view->mouse(context, where);
            return;
        }
    }
}

void CFrame::update(CDrawContext* context)
{
    if (!openFlag)
        return;
    if (modalView) {
        modalView->update(context);
        return;
    }
    for (long i = 0; i < viewCount; i++)
        views[i]->update(context);
}

void CFrame::idle()
{
    if (!openFlag || firstDraw || !plugView)
        return;
    if (plugView->LockLooperWithTimeout(0) != B_OK)
        return;
    {
        CDrawContext context(this, plugView, nullptr);
        update(&context);
    }
    plugView->UnlockLooper();
}

bool CFrame::setSize(long width, long height)
{
    if (!openFlag || !plugView)
        return false;
    if (width == size.right - size.left && height == size.bottom - size.top)
        return false;
    size.right = static_cast<int32_t>(size.left + width);
    size.bottom = static_cast<int32_t>(size.top + height);
    BView* parent = plugView->Parent();
    BWindow* window = plugView->Window();
    if (parent)
        parent->SetResizingMode(B_FOLLOW_ALL);
    const BRect frameRect = plugView->Frame();
    if (window)
        window->ResizeBy(static_cast<float>(width) - (frameRect.right - frameRect.left) - 1,
                         static_cast<float>(height) - (frameRect.bottom - frameRect.top) - 1);
    if (parent)
        parent->SetResizingMode(0);
    return true;
}

bool CFrame::addView(CView* view)
{
    if (viewCount == maxViews) {
        const long grown = maxViews + kGrowth;
        void* memory = std::realloc(views, static_cast<size_t>(grown) * sizeof(CView*));
        if (!memory)
            return false;
        views = static_cast<CView**>(memory);
        maxViews = grown;
    }
    views[viewCount++] = view;
    view->setParent(this);
    return true;
}

bool CFrame::removeView(CView* view)
{
    for (long i = 0; i < viewCount; i++) {
        if (views[i] == view) {
            std::memmove(views + i, views + i + 1,
                         static_cast<size_t>(viewCount - i - 1) * sizeof(CView*));
            viewCount--;
            break;
        }
    }
    return true;
}

bool CFrame::isChild(CView* view)
{
    for (long i = 0; i < viewCount; i++)
        if (views[i] == view)
            return true;
    return false;
}

bool CFrame::setModalView(CView* view)
{
    if (view && modalView)
        return false;
    modalView = view;
    return true;
}

void CFrame::setBackground(CBitmap* bitmap)
{
    if (background)
        background->forget();
    background = bitmap;
    if (background)
        background->remember();
}

bool CFrame::getSize(CRect* rect)
{
    if (!openFlag || !plugView || !rect)
        return false;
    const BRect f = plugView->Frame();
    auto l = static_cast<int32_t>(f.left), t = static_cast<int32_t>(f.top);
    auto r = static_cast<int32_t>(f.right + 1), b = static_cast<int32_t>(f.bottom + 1);
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    *rect = CRect{l, t, r, b};
    return true;
}

bool CFrame::getPosition(long& x, long& y)
{
    if (!openFlag || !plugView || !plugView->Window())
        return false;
    const BRect f = plugView->Window()->Frame();
    x = static_cast<long>(f.left);
    y = static_cast<long>(f.top);
    return true;
}
