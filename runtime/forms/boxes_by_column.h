// The picture boxes of a form by the pixel columns they span, so that a
// repaint meets only the boxes across its own columns: a tick of the rain
// repaints each of a hundred columns, and each repaint would otherwise test
// every box. The index is built again only after a box came, went or moved
// sideways; moves up and down, the common ones, leave it as it is.
#pragma once

#include <cstddef>
#include <vector>

namespace rt {

class PictureBox;

class BoxesByColumn {
 public:
  void MarkStale() { stale_ = true; }
  // The boxes (of the form's boxes, in z-order) whose columns meet the
  // columns from left up to right, in z-order.
  const std::vector<const PictureBox*>& Across(const std::vector<PictureBox*>& boxes, int left,
                                               int right);

 private:
  struct Span {
    int left;
    int right;
    size_t order;
    const PictureBox* box;
  };

  void Rebuild(const std::vector<PictureBox*>& boxes);

  std::vector<Span> by_left_;
  int widest_ = 0;
  bool stale_ = true;
  std::vector<Span> met_;
  std::vector<const PictureBox*> result_;
};

}  // namespace rt
