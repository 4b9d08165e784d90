// BView: a rectangle of a window or of a bitmap that draws itself and takes
// mouse presses, with its drawing state (colours, mode, pen, font, clipping)
// and its child views, keys while it holds its window's focus. Drawing
// happens at once into the host's pixels; the pixel rules are those of
// Shapes.h, FontFace.h and Compositor.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/Font.h"
#include "platform/api/GraphicsDefs.h"
#include "platform/api/OS.h"
#include "platform/api/Rect.h"
#include "platform/api/Region.h"

class BBitmap;
class BWindow;
class ViewHost;
struct PaintTarget;
struct PaintStyle;

// Resizing modes: B_FOLLOW_ALL grows and shrinks with the parent on both
// axes; every other mode keeps the size and the top-left corner.
inline constexpr uint32_t B_FOLLOW_NONE = 0;
inline constexpr uint32_t B_FOLLOW_ALL = 0x1234;
// Flags: only views with B_WILL_DRAW get Draw.
inline constexpr uint32_t B_WILL_DRAW = 0x20000000;

class BView {
public:
    BView(BRect frame, const char* name, uint32_t resizingMode, uint32_t flags);
    // Deletes the children. Remove a view (RemoveSelf) before deleting it to
    // get DetachedFromWindow; a view deleted while attached leaves quietly,
    // taking the window's focus with it when it or a child held it.
    virtual ~BView();
    BView(const BView&) = delete;
    BView& operator=(const BView&) = delete;

    // Hooks, called on the window's thread with the window locked.
    virtual void Draw(BRect updateRect);
    virtual void MouseDown(BPoint where);
    // A key while this view is the window's focus; bytes is one character's
    // UTF-8 (or a key code of InterfaceDefs.h). Does nothing here.
    virtual void KeyDown(const char* bytes, int32_t numBytes);
    virtual void AttachedToWindow();
    virtual void DetachedFromWindow();

    // State. Colours and modes apply to the next primitive.
    void SetHighColor(rgb_color color) { high_ = color; }
    rgb_color HighColor() const { return high_; }
    void SetLowColor(rgb_color color) { low_ = color; }
    rgb_color LowColor() const { return low_; }
    // The colour the window erases the view with before Draw; B_TRANSPARENT_COLOR erases nothing.
    void SetViewColor(rgb_color color) { viewColor_ = color; }
    rgb_color ViewColor() const { return viewColor_; }
    void SetDrawingMode(drawing_mode mode) { mode_ = mode; }
    drawing_mode DrawingMode() const { return mode_; }
    // Rounded to whole pixels, at least 1.
    void SetPenSize(float size) { penSize_ = size; }
    float PenSize() const { return penSize_; }
    void MovePenTo(BPoint where) { pen_ = where; }
    BPoint PenLocation() const { return pen_; }

    // Primitives, in view coordinates (whole numbers are pixel centres).
    void StrokeLine(BPoint to, pattern p = B_SOLID_HIGH);
    void StrokeLine(BPoint from, BPoint to, pattern p = B_SOLID_HIGH);
    void StrokeRect(BRect rect, pattern p = B_SOLID_HIGH);
    void FillRect(BRect rect, pattern p = B_SOLID_HIGH);
    void FillPolygon(const BPoint* points, int32_t count, pattern p = B_SOLID_HIGH);
    void StrokeArc(BRect rect, float startDegrees, float extentDegrees, pattern p = B_SOLID_HIGH);
    void FillArc(BRect rect, float startDegrees, float extentDegrees, pattern p = B_SOLID_HIGH);
    void StrokeEllipse(BRect rect, pattern p = B_SOLID_HIGH);
    void FillEllipse(BRect rect, pattern p = B_SOLID_HIGH);

    // The region is in view coordinates and copied; null removes the constraint.
    void ConstrainClippingRegion(BRegion* region);

    void SetFont(const BFont* font, uint32_t mask = 0xFFFFFFFF);
    void GetFont(BFont* font) const;
    void SetFontSize(float size) { font_.SetSize(size); }
    float StringWidth(const char* string) const { return font_.StringWidth(string); }
    void GetFontHeight(font_height* height) const { font_.GetHeight(height); }
    // High colour; the pen moves to the end of the text.
    void DrawString(const char* string, BPoint baselineOrigin);
    void DrawString(const char* string) { DrawString(string, pen_); }

    void DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination);
    void DrawBitmap(const BBitmap* bitmap, BPoint where);

    // Position in view coordinates, and the buttons held now; checkMessageQueue
    // is ignored, since the pointer is a state rather than a queue. With
    // `modifiers`, the modifier keys of the same reading too (one round trip
    // to an X server where modifiers() would make a second).
    void GetMouse(BPoint* location, uint32_t* buttons, bool checkMessageQueue = true,
                  uint32_t* modifiers = nullptr);
    // Drawing is synchronous: both only mark the picture whole for the host.
    void Flush();
    void Sync();
    // Asks the window to redraw all its views soon, on its own thread.
    void Invalidate();
    void Invalidate(BRect rect);

    // The lock of the window (or the bitmap) the view is attached to.
    bool LockLooper();
    // B_OK, B_TIMED_OUT, or B_BAD_VALUE when the view is attached to nothing.
    status_t LockLooperWithTimeout(bigtime_t timeout);
    void UnlockLooper();

    // Focus: the one view of a window that gets its keys. MakeFocus(true)
    // takes it; the view that held it gets MakeFocus(false) (the virtual one)
    // after the window already names the new view. MakeFocus(false) on the focus
    // view leaves the window without one. A view not in a window changes nothing.
    // When the focus view (or a view above it) leaves its window by RemoveSelf
    // or RemoveChild, the focus view first gets MakeFocus(false) while still
    // attached, and the window has no focus afterwards.
    virtual void MakeFocus(bool focus = true);
    bool IsFocus() const;

    BWindow* Window() const;
    BView* Parent() const { return parent_; }
    const char* Name() const { return name_.c_str(); }
    uint32_t ResizingMode() const { return resizingMode_; }
    void SetResizingMode(uint32_t mode) { resizingMode_ = mode; }
    uint32_t Flags() const { return flags_; }

    // Adds `child` last (on top); a view that already has a parent or host is refused.
    void AddChild(BView* child, BView* before = nullptr);
    bool RemoveChild(BView* child);
    bool RemoveSelf();
    int32_t CountChildren() const { return static_cast<int32_t>(children_.size()); }
    BView* ChildAt(int32_t index) const;

    BRect Bounds() const { return {0, 0, frame_.Width(), frame_.Height()}; }
    BRect Frame() const { return frame_; }
    void MoveTo(float x, float y) { frame_.OffsetTo(x, y); }
    void MoveTo(BPoint where) { frame_.OffsetTo(where); }
    void ResizeTo(float width, float height);
    void ResizeBy(float dx, float dy);
    void ConvertToScreen(BPoint* point) const;
    void ConvertFromScreen(BPoint* point) const;

protected:
    // Draws this view and its children at once, as the window's redraw does:
    // the view colour, Draw, the children. Call it with the window locked.
    void DrawNow();

private:
    friend class BWindow;
    friend class BBitmap;

    void attachTree(ViewHost* host);
    void detachTree(bool notify);
    void unlinkQuietly();
    // This view or one inside it is its host's focus.
    bool holdsFocus() const;
    // Takes the focus away before this view leaves its host (see MakeFocus);
    // false when the focus hook deleted this view.
    void releaseFocus();
    bool releaseFocusBeforeLeaving();
    // The view's (0, 0) in host pixels.
    void originInHost(int32_t* x, int32_t* y) const;
    // Where the view may draw, in host pixels, with or without its own clipping.
    bool paintTarget(bool withConstraint, PaintTarget* target) const;
    bool beginDrawing(PaintTarget* target);
    PaintStyle style(const pattern& p) const;
    int32_t penPixels() const;
    // The window's draw pass: erase, Draw, then the children.
    void drawTree();
    // The innermost view under `point`, given in this view's parent's coordinates.
    BView* viewAt(BPoint point);

    std::string name_;
    BRect frame_;
    uint32_t resizingMode_;
    uint32_t flags_;
    BView* parent_ = nullptr;
    ViewHost* host_ = nullptr;
    std::vector<BView*> children_;

    rgb_color high_{0, 0, 0, 255};
    rgb_color low_{255, 255, 255, 255};
    rgb_color viewColor_{255, 255, 255, 255};
    drawing_mode mode_ = B_OP_COPY;
    float penSize_ = 1;
    BPoint pen_;
    BFont font_;
    std::unique_ptr<BRegion> constraint_;
    // Set while a removal waits on a focus hook, which may delete the view.
    bool* goneFlag_ = nullptr;
};
