// PlugView: the platform view a frame puts into the host's parent view. The
// window thread calls its Draw and MouseDown, which forward into the frame.
#pragma once

#include "platform/api/View.h"

class CFrame;

class PlugView : public BView {
public:
    PlugView(BRect frame, CFrame* owner);

    // Redraws the whole frame whatever the update rectangle.
    void Draw(BRect updateRect) override;
    // Hands the press to the frame, except a secondary click into a window
    // in the background, which only brings the window forward.
    void MouseDown(BPoint where) override;

    // The frame's destructor cuts the link, with the window locked, so a
    // draw or press arriving later does nothing.
    void detachFrame() { ownerFrame = nullptr; }
    CFrame* getFrame() const { return ownerFrame; }

private:
    CFrame* ownerFrame;
};
