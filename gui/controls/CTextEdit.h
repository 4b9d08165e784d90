// CTextEdit: a parameter display whose text the user types in place. A
// primary click lays a platform text view (BeTextView) over the control,
// filled with the text, all selected and holding the keyboard focus; Tab,
// Enter, a click elsewhere or any loss of focus ends the edit, copies the
// text back, tells the listener when it changed and redraws the control.
// The control's float value is never touched: a listener calls getText.
#pragma once

#include <cstdint>

#include "gui/controls/CParamDisplay.h"
#include "platform/api/TextView.h"

class CTextEdit;

// Turns the committed text into the string shown (at most 255 characters).
using CTextEditConvert = void (*)(char* text, char* display);
using CTextEditConvertWithData = void (*)(char* text, char* display, void* data);

// The platform view of an open edit. It reports Tab, Enter and the loss of
// focus to its owner, and is never deleted inside its own handlers.
class BeTextView : public BTextView {
public:
    BeTextView(CTextEdit* owner, BRect frame, const char* name, BRect textRect);

    // Tab and Enter end the edit and go no further; every other key edits.
    void KeyDown(const char* bytes, int32_t numBytes) override;
    // Losing the focus ends the edit.
    void MakeFocus(bool focus = true) override;

    // The owner lets go: no more calls into it.
    void forgetOwner() { owner = nullptr; }
    CTextEdit* getOwner() const { return owner; }
    // Deletes the view (it must be detached), at once or, when one of its
    // handlers is running, as soon as the outermost one returns.
    void release();

private:
    // Ends a handler; the last one out carries out a pending release.
    // Returns true when the view is gone.
    bool leaveHandler();

    CTextEdit* owner;
    int32_t handlerDepth = 0;
    bool releasePending = false;
};

class CTextEdit : public CParamDisplay {
public:
    // txt may be null (an empty text); texts beyond 255 bytes keep the first
    // 255, cut at a character boundary.
    CTextEdit(const CRect& size, CControlListener* listener, int32_t tag, const char* txt,
              CBitmap* background, int32_t style);
    // An edit still open is closed without a notification: its platform view
    // is removed and deleted first (left to its window when the window cannot
    // be locked, so it is never deleted while attached).
    ~CTextEdit() override;

    // Marks the control dirty only when the text changes.
    virtual void setText(char* txt);
    // The caller provides 256 bytes.
    virtual void getText(char* txt);
    virtual void setTextEditConvert(CTextEditConvert convert) { editConvert = convert; }
    virtual void setTextEditConvert(CTextEditConvertWithData convert, void* data)
    {
        editConvertWithData = convert;
        convertData = data;
    }

    void draw(CDrawContext* context) override;
    // A primary click opens the edit, unless it is open already.
    void mouse(CDrawContext* context, CPoint& where) override;
    void takeFocus() override;
    // Ends the edit, once: a second call while the first runs returns at once.
    void looseFocus() override;

    // The platform view while an edit is open, else null.
    BeTextView* getTextView() const { return textView; }
    bool isEditing() const { return textView != nullptr; }

private:
    BeTextView* textView = nullptr;
    char text[kParamTextSize] = {};
    CTextEditConvert editConvert = nullptr;
    CTextEditConvertWithData editConvertWithData = nullptr;
};
