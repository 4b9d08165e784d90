// CControl: the base of every value-carrying widget: one float value with its
// range, the value at last draw, a default, a tag, a listener, a background
// picture, and the press and tracking loop that every pressed control runs.
// Also the control style bits, one number space for all, and the axis.
#pragma once

#include <concepts>
#include <cstdint>
#include <type_traits>

#include "gui/CPoint.h"
#include "gui/CView.h"
#include "gui/MouseButtons.h"
#include "gui/controls/CControlListener.h"

class CBitmap;

inline constexpr int32_t kStyleHorizontal = 0x1;
inline constexpr int32_t kStyleTextShadow = 0x4;
inline constexpr int32_t kStyleMinLeft = 0x8;
inline constexpr int32_t kStyleMinRight = 0x10;
inline constexpr int32_t kStyleMinTop = 0x20;
inline constexpr int32_t kStyleMinBottom = 0x40;
inline constexpr int32_t kStyleSunken = 0x80;
inline constexpr int32_t kStyleRaised = 0x100;
inline constexpr int32_t kStyleMenuOnTop = 0x200;
inline constexpr int32_t kStyleMarkCurrent = 0x400;
inline constexpr int32_t kStyleNoText = 0x800;
inline constexpr int32_t kStyleNoDraw = 0x1000;

// The direction a control lays its positions along.
enum class Axis : uint8_t { Horizontal, Vertical };

constexpr Axis axisOf(int32_t style)
{
    return (style & kStyleHorizontal) ? Axis::Horizontal : Axis::Vertical;
}

constexpr int32_t along(const CPoint& p, Axis axis)
{
    return axis == Axis::Vertical ? p.v : p.h;
}

// Shift moves a slider at a tenth of the mouse's speed.
inline constexpr double kFineDivisor = 10.0;

class CControl : public CView {
public:
    // Takes a reference on the background; the listener is borrowed and must
    // outlive the control.
    CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);
    // Gives the background's reference back.
    ~CControl() override;

    void draw(CDrawContext* context) override = 0;
    // Dirty when the value moved since the last draw (NaN always counts as
    // moved) or when the flag is set.
    bool isDirty() override;
    // Setting also moves oldValue away from value, so the value test agrees;
    // clearing makes the current value the drawn one.
    void setDirty(bool flag) override;

    // Keeps the frame redrawing and paces a tracking loop; once per pass.
    virtual void doIdleStuff();
    // The setters only store: no clamping, no dirty flag, no notification.
    virtual void setValue(float newValue) { value = newValue; }
    virtual float getValue() { return value; }
    virtual void setMin(float newMin) { minValue = newMin; }
    virtual float getMin() { return minValue; }
    virtual void setMax(float newMax) { maxValue = newMax; }
    virtual float getMax() { return maxValue; }
    virtual void setOldValue(float newOld) { oldValue = newOld; }
    virtual float getOldValue() { return oldValue; }
    virtual void setDefaultValue(float newDefault) { defaultValue = newDefault; }
    virtual float getDefaultValue() { return defaultValue; }
    // Moves the control's reference to the new picture; does not mark it dirty.
    virtual void setBackground(CBitmap* bitmap);
    virtual CBitmap* getBackground() { return background; }

    int32_t getTag() const { return tag; }
    CControlListener* getListener() const { return listener; }

protected:
    // What ends a drag. Each pass works with one state word, read at its top.
    enum class DragEnd : uint8_t {
        // Knobs: the pass whose word lacks the primary button is the last.
        Release,
        // Sliders: a word without the primary button makes no pass; one
        // other than a plain or fine drag makes the last.
        ReleaseOrOther,
        // Kick button, rocker: a word with no button or key makes no pass.
        AllUp,
        // Switches, movie button: a word other than the click's makes no pass.
        Change,
    };
    // How the loop holds the value the control computes for a pass.
    enum class DragLimits : uint8_t {
        None,  // the control's own rules keep it in range
        Unit,  // 0 ... 1; NaN counts as 0
        Range, // minValue ... maxValue as they are at each pass
    };
    struct DragRules {
        DragEnd end;
        DragLimits limits = DragLimits::None;
        int32_t click = 0; // the press's word, for DragEnd::Change
    };
    // A borrowed float (const CPoint& where, int32_t state): the value under
    // the mouse for one pass, before the limits. The callable stays the
    // caller's and outlives the drag, so nothing is copied or allocated.
    class ValueAt {
    public:
        template <class F>
        requires(!std::same_as<std::remove_cvref_t<F>, ValueAt>)
            ValueAt(F&& f) // not explicit: a lambda passes as it is
            : object(&f), call([](void* o, const CPoint& where, int32_t state) -> float {
                  return (*static_cast<std::remove_reference_t<F>*>(o))(where, state);
              })
        {
        }
        float operator()(const CPoint& where, int32_t state) const
        {
            return call(object, where, state);
        }

    private:
        void* object;
        float (*call)(void*, const CPoint&, int32_t);
    };

    // The start of every press: the state word of a press this control acts
    // on, or 0 when its mouse is off or none of the buttons is down.
    int32_t press(CDrawContext* context, int32_t buttons = kMousePrimary);
    // The default click restores the default value, telling the listener
    // only if that changed it; true when the press was one.
    bool restoreDefault(CDrawContext* context, int32_t state);
    // The one tracking loop. A pass: value from the point and its word, the
    // limits, the listener told when the control is dirty, the next point
    // read into where, and the frame's idle. first, when not 0, is the
    // already read word of the first pass; else every pass reads its own.
    // Returns the number of passes made.
    int32_t track(CDrawContext* context, CPoint& where, const DragRules& rules, ValueAt valueAt,
                  int32_t first = 0);
    // A plain or a fine primary drag, the only words a slider tracks.
    static bool plainOrFineDrag(int32_t state);

    // Tells the listener, if the control has one.
    void notify(CDrawContext* context);
    // A picture of the control, see-through where white when the view's
    // transparency is on.
    void drawPicture(CBitmap* bitmap, CDrawContext* context, CRect& rect, const CPoint& from);
    // Swaps a held picture for another, keeping the reference counts right
    // even when both are the same.
    static void replacePicture(CBitmap*& held, CBitmap* bitmap);

    CControlListener* listener;
    int32_t tag;
    float oldValue = 1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float minValue = 0.0f;
    float maxValue = 1.0f;
    CBitmap* background = nullptr;

private:
    // Whether a word read at the top of a pass makes that pass.
    static bool makesPass(const DragRules& rules, int32_t state);
    // Whether the pass that worked with this word is the last.
    static bool lastPass(DragEnd end, int32_t state);
    float limited(float v, DragLimits limits) const;
};
