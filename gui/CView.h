// CView: the base of every element of the editor window. For now it carries
// only the view's rectangle in frame coordinates, which the draw context reads
// from the frame; the redraw and mouse protocol joins it with the controls.
#pragma once

#include "gui/CRect.h"

class CView {
 public:
  explicit CView(const CRect& rect) : size(rect) {}
  virtual ~CView() = default;
  CView(const CView&) = delete;
  CView& operator=(const CView&) = delete;

  CRect size;
};
