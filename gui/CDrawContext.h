// CDrawContext: the toolkit's one way to draw and to ask for the mouse. Bound
// to one platform view for one piece of work; the setters only store, each
// drawing operation pushes what it needs to the view and makes one call.
#pragma once

#include <cstdint>

#include "gui/CColor.h"
#include "gui/CDrawStyle.h"
#include "gui/CFont.h"
#include "gui/CPoint.h"
#include "gui/CRect.h"
#include "platform/api/Font.h"

class BView;
class CFrame;

class CDrawContext {
public:
    // A non-null systemContext is a BView; its window stays locked for the
    // context's whole life. `window` is stored and never used.
    CDrawContext(CFrame* frame, void* systemContext, void* window);
    virtual ~CDrawContext();
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;

    void setLineWidth(int width) { lineWidth = width; }
    void setLineStyle(CLineStyle style) { lineStyle = style; }
    void setDrawMode(CDrawMode mode) { drawMode = mode; }
    void setFrameColor(CColor color) { frameColor = color; }
    void setFillColor(CColor color) { fillColor = color; }
    void setFontColor(CColor color) { fontColor = color; }
    void moveTo(CPoint& point) { penPosition = point; }

    void setFont(CFont fontID, int size = 0);
    int32_t getStringWidth(const char* string);
    void drawString(const char* string, CRect& rect, short opaque = false,
                    CHoriTxtAlign hAlign = kCenterText);

    void lineTo(CPoint& point);
    void polyLine(CPoint* points, int count);
    void drawRect(CRect& rect);
    void fillRect(CRect& rect);
    void fillPolygon(CPoint* points, int count);
    void drawArc(CRect& rect, CPoint& point1, CPoint& point2);
    void fillArc(CRect& rect, CPoint& point1, CPoint& point2);
    void drawEllipse(CRect& rect);
    void fillEllipse(CRect& rect);
    void drawPoint(CPoint& point, CColor color);

    void setClipRect(const CRect& rect);
    void resetClipRect();

    // The pointer, live. A tracking pass asks for the buttons, then for the
    // location: the location asked next after the buttons is that same
    // reading's, so a pass costs one round trip to an X server.
    void getMouseLocation(CPoint& point);
    int32_t getMouseButtons();

    // Angle of p around m in 1/64 degree, counter-clockwise from three o'clock.
    static int32_t convertPoint2Angle(CPoint& m, CPoint& p);

    BView* getPlatformView() const { return platformView; }
    CFrame* getFrame() const { return frame; }
    const CRect& getClipRect() const { return clipRect; }
    const CPoint& getPenPosition() const { return penPosition; }
    int32_t getFontSize() const { return fontSize; }
    const BFont& getFont() const { return font; }

    void* systemContext;
    void* windowHandle;

protected:
    // For contexts that bring their own view (the offscreen context).
    void setPlatformView(BView* view) { platformView = view; }
    // Drawing with nothing locked is refused: the lock failed or never came.
    bool canDraw() const { return platformView != nullptr; }

    CFrame* frame;
    int32_t fontSize = 12; // set by setFont; no text is drawn before it
    CColor fontColor = colorWhite;
    CPoint penPosition;
    int32_t lineWidth = 1;
    CColor frameColor = colorWhite;
    CColor fillColor = colorBlack;
    CLineStyle lineStyle = kLineSolid;
    CDrawMode drawMode = kCopyMode;
    CRect clipRect;
    BView* platformView = nullptr;
    BFont font;

private:
    void lineFromTo(CPoint& start, CPoint& end);
    void applyShapeState(CColor color, int32_t penWidth);
    void applyShapeState(CColor color);
    void arcAngles(CRect& rect, CPoint& point1, CPoint& point2, int32_t& start, int32_t& extent);
    CRect defaultClipRect() const;

    bool locked = false; // the destructor unlocks only a lock it holds
    // The location of the last buttons' reading, until it is asked for.
    CPoint readLocation;
    bool locationRead = false;
};
