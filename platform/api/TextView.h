// BTextView: a single line of editable text in a view — the text, a
// selection (byte offsets on character boundaries, UTF-8), a byte limit, a
// set of refused characters, an alignment, a font and a colour, and a view
// that may grow with its text. Keys arrive through KeyDown while the view
// holds its window's focus; presses place the caret.
//
// Every change of the text, the selection or the focus draws the view again
// at once when it is attached (the caller holds the window's lock: key and
// mouse hooks do, and so must anyone else); a detached view only stores.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "platform/api/InterfaceDefs.h"
#include "platform/api/View.h"

class BTextView : public BView {
public:
    // textRect is where the text goes, in the view's own coordinates.
    BTextView(BRect frame, const char* name, BRect textRect, uint32_t resizingMode, uint32_t flags);

    // Replaces the whole text, cut to MaxBytes at a whole character; the
    // selection goes to the end.
    void SetText(const char* text);
    const char* Text() const { return text_.c_str(); }
    int32_t TextLength() const { return static_cast<int32_t>(text_.size()); }
    // Puts text in place of the selection, caret after it. Stops before the
    // first character that is refused or would pass MaxBytes.
    void Insert(const char* text);

    // Byte offsets, clamped to 0 ... TextLength() and moved back to the start
    // of the character they fall in; start and finish may come in either order.
    void Select(int32_t start, int32_t finish);
    void GetSelection(int32_t* start, int32_t* finish) const;
    void SelectAll() { Select(0, TextLength()); }

    // At least 0; the text already held is cut to fit.
    void SetMaxBytes(int32_t max);
    int32_t MaxBytes() const { return maxBytes_; }
    // Characters (code points) that typing and Insert refuse.
    void DisallowChar(uint32_t c) { disallowed_.insert(c); }
    void AllowChar(uint32_t c) { disallowed_.erase(c); }

    void SetAlignment(alignment a);
    alignment Alignment() const { return alignment_; }

    // The view's font takes the parts of `font` named by mask (B_FONT_FAMILY_AND_STYLE,
    // B_FONT_SIZE); a null font keeps it. The text colour changes when `color` is given.
    void SetFontAndColor(const BFont* font, uint32_t mask = 0xFFFFFFFF,
                         const rgb_color* color = nullptr);
    void GetFontAndColor(BFont* font, rgb_color* color) const;

    // Resizable: while the text is wider than the text rectangle, the view
    // (and the rectangle with it) widens to fit, to the right, or both ways
    // for centred text; it never becomes narrower than the frame it had when
    // made resizable. The container view is accepted and not used.
    void MakeResizable(bool resizable, BView* containerView = nullptr);
    bool IsResizable() const { return resizable_; }
    BRect TextRect() const { return textRect_; }

    // Printable UTF-8 inserts in place of the selection; B_BACKSPACE and
    // B_DELETE remove the selection or the character before or after the caret;
    // B_LEFT_ARROW and B_RIGHT_ARROW move the caret one character (a selection
    // collapses to its edge); B_HOME and B_UP_ARROW go to the start, B_END and
    // B_DOWN_ARROW to the end. Any other byte below 32 (B_TAB and B_ENTER
    // included: the view holds one line) and refused characters change nothing.
    void KeyDown(const char* bytes, int32_t numBytes) override;
    // Takes the focus and puts the caret at the character boundary nearest `where`.
    void MouseDown(BPoint where) override;
    // BView::MakeFocus, then draws again: the caret and selection show only while focused.
    void MakeFocus(bool focus = true) override;
    // The view colour, the text in the text colour at the alignment inside the
    // text rectangle, the selection inverted and a one-pixel caret while focused.
    void Draw(BRect updateRect) override;

private:
    // Text's left edge in view coordinates, and the caret's x for a byte offset.
    float textLeft() const;
    float offsetX(int32_t offset) const;
    int32_t previousBoundary(int32_t offset) const;
    int32_t nextBoundary(int32_t offset) const;
    void replaceSelection(const std::string& with);
    // Grows (or shrinks back) a resizable view to its text, then draws.
    void changed();

    std::string text_;
    int32_t selStart_ = 0;
    int32_t selEnd_ = 0;
    int32_t maxBytes_ = INT32_MAX;
    std::set<uint32_t> disallowed_;
    alignment alignment_ = B_ALIGN_LEFT;
    rgb_color textColor_{0, 0, 0, 255};
    BRect textRect_;
    bool resizable_ = false;
    BRect leastFrame_;     // the frame when made resizable
    float marginLeft_ = 0; // from the view's edges to the text rectangle's
    float marginRight_ = 0;
    float shifted_ = 0; // how far centred growth has moved the view left
};
