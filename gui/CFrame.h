// CFrame: the top view of an editor window. For now only its size, which
// every draw context of the window starts from as its clip rectangle.
#pragma once

#include "gui/CView.h"

class CFrame : public CView {
 public:
  using CView::CView;
};
