// BTextView: editing a single line of UTF-8 by byte offsets, and drawing it.
#include "platform/api/TextView.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/api/Utf8.h"

namespace {

// The longest prefix of `text` of at most `max` bytes that ends on a character boundary.
size_t cutAt(const std::string& text, size_t max)
{
    if (text.size() <= max)
        return text.size();
    size_t at = max;
    while (at > 0 && utf8::isContinuation(text[at]))
        --at;
    return at;
}

} // namespace

BTextView::BTextView(BRect frame, const char* name, BRect textRect, uint32_t resizingMode,
                     uint32_t flags)
    : BView(frame, name, resizingMode, flags), textRect_(textRect), leastFrame_(frame)
{
}

void BTextView::SetText(const char* text)
{
    text_.assign(text != nullptr ? text : "");
    text_.resize(cutAt(text_, static_cast<size_t>(maxBytes_)));
    selStart_ = selEnd_ = TextLength();
    changed();
}

void BTextView::Insert(const char* text)
{
    if (text == nullptr)
        return;
    const size_t size = std::strlen(text);
    const size_t kept = text_.size() - static_cast<size_t>(selEnd_ - selStart_);
    const size_t room =
        static_cast<size_t>(maxBytes_) > kept ? static_cast<size_t>(maxBytes_) - kept : 0;
    size_t accepted = 0;
    while (accepted < size) {
        const utf8::Character c = utf8::decode({text + accepted, size - accepted});
        const auto length = static_cast<size_t>(c.length);
        if (c.point == utf8::kBad || accepted + length > room ||
            disallowed_.count(static_cast<uint32_t>(c.point)) != 0)
            break;
        accepted += length;
    }
    if (accepted == 0)
        return;
    replaceSelection(std::string(text, accepted));
}

void BTextView::replaceSelection(const std::string& with)
{
    text_.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selEnd_ - selStart_), with);
    selStart_ = selEnd_ = selStart_ + static_cast<int32_t>(with.size());
    changed();
}

int32_t BTextView::previousBoundary(int32_t offset) const
{
    int32_t at = std::max(offset - 1, 0);
    while (at > 0 && utf8::isContinuation(text_[static_cast<size_t>(at)]))
        --at;
    return at;
}

int32_t BTextView::nextBoundary(int32_t offset) const
{
    int32_t at = std::min(offset + 1, TextLength());
    while (at < TextLength() && utf8::isContinuation(text_[static_cast<size_t>(at)]))
        ++at;
    return at;
}

void BTextView::Select(int32_t start, int32_t finish)
{
    auto snap = [this](int32_t offset) {
        offset = std::clamp(offset, 0, TextLength());
        while (offset > 0 && offset < TextLength() &&
               utf8::isContinuation(text_[static_cast<size_t>(offset)])) {
            --offset;
        }
        return offset;
    };
    start = snap(start);
    finish = snap(finish);
    selStart_ = std::min(start, finish);
    selEnd_ = std::max(start, finish);
    changed();
}

void BTextView::GetSelection(int32_t* start, int32_t* finish) const
{
    if (start != nullptr)
        *start = selStart_;
    if (finish != nullptr)
        *finish = selEnd_;
}

void BTextView::SetMaxBytes(int32_t max)
{
    maxBytes_ = std::max(max, 0);
    if (TextLength() <= maxBytes_)
        return;
    text_.resize(cutAt(text_, static_cast<size_t>(maxBytes_)));
    selStart_ = std::min(selStart_, TextLength());
    selEnd_ = std::min(selEnd_, TextLength());
    changed();
}

void BTextView::SetAlignment(alignment a)
{
    alignment_ = a;
    changed();
}

void BTextView::SetFontAndColor(const BFont* font, uint32_t mask, const rgb_color* color)
{
    SetFont(font, mask);
    if (color != nullptr)
        textColor_ = *color;
    changed();
}

void BTextView::GetFontAndColor(BFont* font, rgb_color* color) const
{
    GetFont(font);
    if (color != nullptr)
        *color = textColor_;
}

void BTextView::MakeResizable(bool resizable, BView*)
{
    if (resizable && !resizable_) {
        leastFrame_ = Frame();
        shifted_ = 0;
        marginLeft_ = textRect_.left;
        marginRight_ = Bounds().right - textRect_.right;
    }
    resizable_ = resizable;
    changed();
}

float BTextView::textLeft() const
{
    const float width = StringWidth(text_.c_str());
    switch (alignment_) {
    case B_ALIGN_RIGHT: return std::floor(textRect_.right - width);
    case B_ALIGN_CENTER: return std::floor(textRect_.left + (textRect_.Width() - width) / 2);
    case B_ALIGN_LEFT: break;
    }
    return textRect_.left;
}

float BTextView::offsetX(int32_t offset) const
{
    return textLeft() + StringWidth(text_.substr(0, static_cast<size_t>(offset)).c_str());
}

void BTextView::changed()
{
    if (resizable_) {
        // Room for the caret after the last character.
        const float wanted = std::ceil(StringWidth(text_.c_str())) + 2 + marginLeft_ + marginRight_;
        const float width = std::max(leastFrame_.Width(), wanted);
        const float grow = width - Frame().Width();
        // Centred text grows both ways; the shift is kept so that shrinking
        // back undoes it to the pixel.
        const float shift =
            alignment_ == B_ALIGN_CENTER ? std::floor((width - leastFrame_.Width()) / 2) : 0;
        if (grow != 0 || shift != shifted_) {
            MoveTo(Frame().left - (shift - shifted_), Frame().top);
            shifted_ = shift;
            ResizeTo(width, Frame().Height());
            textRect_.left = marginLeft_;
            textRect_.right = Bounds().right - marginRight_;
            // What the narrower view leaves behind belongs to the views under it.
            if (grow < 0)
                Invalidate();
        }
    }
    if (Window() != nullptr)
        DrawNow();
}

void BTextView::KeyDown(const char* bytes, int32_t numBytes)
{
    if (bytes == nullptr || numBytes <= 0)
        return;
    const bool selection = selStart_ != selEnd_;
    switch (bytes[0]) {
    case B_BACKSPACE:
        if (!selection) {
            if (selStart_ == 0)
                return;
            selStart_ = previousBoundary(selStart_);
        }
        replaceSelection("");
        return;
    case B_DELETE:
        if (!selection) {
            if (selEnd_ == TextLength())
                return;
            selEnd_ = nextBoundary(selEnd_);
        }
        replaceSelection("");
        return;
    case B_LEFT_ARROW: {
        const int32_t to = selection ? selStart_ : previousBoundary(selStart_);
        Select(to, to);
        return;
    }
    case B_RIGHT_ARROW: {
        const int32_t to = selection ? selEnd_ : nextBoundary(selEnd_);
        Select(to, to);
        return;
    }
    case B_HOME:
    case B_UP_ARROW: Select(0, 0); return;
    case B_END:
    case B_DOWN_ARROW: Select(TextLength(), TextLength()); return;
    default: break;
    }
    if (static_cast<uint8_t>(bytes[0]) < 32)
        return;
    const std::string typed(bytes, static_cast<size_t>(numBytes));
    Insert(typed.c_str());
}

void BTextView::MouseDown(BPoint where)
{
    MakeFocus(true);
    int32_t nearest = 0;
    float distance = INFINITY;
    for (int32_t at = 0;; at = nextBoundary(at)) {
        const float d = std::fabs(offsetX(at) - where.x);
        if (d < distance) {
            distance = d;
            nearest = at;
        }
        if (at >= TextLength())
            break;
    }
    Select(nearest, nearest);
}

void BTextView::MakeFocus(bool focus)
{
    const bool was = IsFocus();
    BView::MakeFocus(focus);
    if (IsFocus() != was && Window() != nullptr)
        DrawNow();
}

void BTextView::Draw(BRect)
{
    const rgb_color background = ViewColor();
    if (background != B_TRANSPARENT_COLOR) {
        SetDrawingMode(B_OP_COPY);
        SetHighColor({background.red, background.green, background.blue, 255});
        FillRect(Bounds());
    }
    font_height height;
    GetFontHeight(&height);
    const float top = textRect_.top;
    const float baseline = top + std::ceil(height.ascent);
    const float bottom = baseline + std::ceil(height.descent);
    SetHighColor(textColor_);
    SetDrawingMode(B_OP_OVER);
    DrawString(text_.c_str(), {textLeft(), baseline});
    SetDrawingMode(B_OP_COPY);
    if (!IsFocus())
        return;
    const float from = std::round(offsetX(selStart_));
    if (selStart_ == selEnd_) {
        StrokeLine(BPoint(from, top), BPoint(from, bottom));
        return;
    }
    const float to = std::round(offsetX(selEnd_));
    SetDrawingMode(B_OP_INVERT);
    FillRect(BRect(from, top, to - 1, bottom));
    SetDrawingMode(B_OP_COPY);
}
