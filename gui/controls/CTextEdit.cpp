// The text edit: opening the platform view over the control, the keys and
// focus changes that end the edit, and copying the typed text back.
#include "gui/controls/CTextEdit.h"

#include <cstdio>
#include <cstring>

#include "gui/CDrawContext.h"
#include "gui/CFont.h"
#include "gui/CFrame.h"
#include "gui/PlugView.h"
#include "gui/controls/TextBuffer.h"
#include "platform/api/InterfaceDefs.h"
#include "platform/api/Window.h"

namespace {

// Asks for drawing and for periodic pulses.
constexpr uint32_t kTextViewFlags = B_WILL_DRAW | B_PULSE_NEEDED;
static_assert(kTextViewFlags == 0x30000000);

// Removes the view from its window under the window's lock. The window is
// unlocked directly: once detached, the view no longer reaches its looper.
bool detach(BeTextView* view)
{
    BWindow* window = view->Window();
    if (!window) {
        if (view->Parent())
            view->RemoveSelf();
        return true;
    }
    if (!view->LockLooper())
        return false;
    view->RemoveSelf();
    window->Unlock();
    return true;
}

} // namespace

BeTextView::BeTextView(CTextEdit* editOwner, BRect frame, const char* name, BRect textRect)
    : BTextView(frame, name, textRect, 0, kTextViewFlags), owner(editOwner)
{
}

void BeTextView::KeyDown(const char* bytes, int32_t numBytes)
{
    if (owner && numBytes > 0 && (bytes[0] == B_TAB || bytes[0] == B_ENTER)) {
        handlerDepth++;
        owner->looseFocus();
        leaveHandler();
        return; // the view may be gone
    }
    BTextView::KeyDown(bytes, numBytes);
}

void BeTextView::MakeFocus(bool focus)
{
    handlerDepth++;
    BTextView::MakeFocus(focus);
    if (!focus && owner)
        owner->looseFocus();
    leaveHandler();
}

void BeTextView::release()
{
    if (handlerDepth > 0)
        releasePending = true;
    else
        delete this;
}

bool BeTextView::leaveHandler()
{
    if (--handlerDepth == 0 && releasePending) {
        delete this;
        return true;
    }
    return false;
}

CTextEdit::CTextEdit(const CRect& rect, CControlListener* owner, int32_t controlTag,
                     const char* txt, CBitmap* picture, int32_t displayStyle)
    : CParamDisplay(rect, picture, displayStyle)
{
    listener = owner;
    tag = controlTag;
    copyText255(text, txt ? txt : "");
}

CTextEdit::~CTextEdit()
{
    if (!textView)
        return;
    BeTextView* view = textView;
    textView = nullptr;
    view->forgetOwner();
    if (CFrame* frame = getParent(); frame && frame->getEditView() == this)
        frame->setEditView(nullptr);
    if (detach(view))
        view->release();
    // Otherwise the view stays in its window, which deletes it with its views.
}

void CTextEdit::setText(char* txt)
{
    if (!txt)
        return;
    char next[kParamTextSize];
    copyText255(next, txt);
    if (std::strcmp(next, text) == 0)
        return;
    std::memcpy(text, next, sizeof(text));
    setDirty(true);
}

void CTextEdit::getText(char* txt)
{
    if (txt)
        std::memcpy(txt, text, std::strlen(text) + 1);
}

void CTextEdit::draw(CDrawContext* context)
{
    char shown[kParamTextSize];
    if (editConvertWithData) {
        shown[0] = '\0';
        editConvertWithData(text, shown, convertData);
    } else if (editConvert) {
        shown[0] = '\0';
        editConvert(text, shown);
    } else {
        std::snprintf(shown, sizeof(shown), "%s", text);
    }
    drawText(context, shown, nullptr);
}

void CTextEdit::mouse(CDrawContext* context, CPoint&)
{
    if (!press(context))
        return;
    CFrame* frame = getParent();
    if (!frame || frame->getEditView() == this)
        return;
    frame->setEditView(this);
    takeFocus();
}

void CTextEdit::takeFocus()
{
    CFrame* frame = getParent();
    CRect fs;
    if (textView || !frame || !frame->getPlugView() || !frame->getSize(&fs))
        return;
    PlugView* plugView = frame->getPlugView();
    BRect viewFrame(static_cast<float>(fs.left + size.left), static_cast<float>(fs.top + size.top),
                    static_cast<float>(fs.left + size.right),
                    static_cast<float>(fs.top + size.bottom));
    BRect textRect = viewFrame;
    textRect.OffsetTo(B_ORIGIN);
    textRect.InsetBy(1, 1);
    auto* view = new BeTextView(this, viewFrame, nullptr, textRect);
    if (BWindow* window = plugView->Window())
        window->Activate(true);
    plugView->AddChild(view);

    if (fontId > 7)
        fontId = 0;
    BFont font;
    font.SetFamilyAndStyle(standardFontName[fontId], standardFontStyle[fontId]);
    font.SetSize(static_cast<float>(standardFontSize[fontId]));
    const rgb_color ink{fontColor.red, fontColor.green, fontColor.blue, 255};
    view->SetFontAndColor(&font, B_FONT_FAMILY_AND_STYLE | B_FONT_SIZE, &ink);

    view->SetMaxBytes(kParamTextSize - 1);
    view->SetViewColor(rgb_color{backColor.red, backColor.green, backColor.blue, 255});
    view->SetAlignment(horiAlign == kRightText  ? B_ALIGN_RIGHT
                       : horiAlign == kLeftText ? B_ALIGN_LEFT
                                                : B_ALIGN_CENTER);
    view->SetText(text);
    view->DisallowChar(B_ENTER);
    view->DisallowChar(B_TAB);
    view->MakeResizable(true, nullptr);
    textView = view;
    view->MakeFocus(true);
    view->Select(0, 1000);
}

void CTextEdit::looseFocus()
{
    CFrame* frame = getParent();
    if (!textView || !frame || frame->getEditView() != this)
        return;
    frame->setEditView(nullptr);

    char oldText[kParamTextSize];
    std::memcpy(oldText, text, sizeof(text));
    BeTextView* view = textView;
    copyText255(text, view->Text());
    const bool detached = detach(view);
    view->forgetOwner();
    if (detached)
        view->release();
    // Otherwise the view is still attached: its window deletes it with its views.
    textView = nullptr;

    CDrawContext context(frame, frame->getPlugView(), nullptr);
    if (std::strcmp(oldText, text) != 0)
        notify(&context);
    draw(&context);
}
