#include "runtime/forms/boxes_by_column.h"

#include <algorithm>

#include "runtime/forms/picture_box.h"

namespace rt {

void BoxesByColumn::Rebuild(const std::vector<PictureBox*>& boxes) {
  by_left_.clear();
  widest_ = 0;
  for (size_t order = 0; order < boxes.size(); ++order) {
    const native::PixelRect bounds = boxes[order]->PixelBounds();
    by_left_.push_back({bounds.x, bounds.x + bounds.width, order, boxes[order]});
    widest_ = std::max(widest_, bounds.width);
  }
  std::sort(by_left_.begin(), by_left_.end(),
            [](const Span& a, const Span& b) { return a.left < b.left; });
  stale_ = false;
}

const std::vector<const PictureBox*>& BoxesByColumn::Across(const std::vector<PictureBox*>& boxes,
                                                            int left, int right) {
  if (stale_) Rebuild(boxes);
  // A box meets the columns when it starts before their end and ends after
  // their start; none is wider than the widest.
  auto span = std::upper_bound(by_left_.begin(), by_left_.end(), left - widest_,
                               [](int x, const Span& s) { return x < s.left; });
  met_.clear();
  for (; span != by_left_.end() && span->left < right; ++span) {
    if (span->right > left) met_.push_back(*span);
  }
  std::sort(met_.begin(), met_.end(),
            [](const Span& a, const Span& b) { return a.order < b.order; });
  result_.clear();
  for (const Span& met : met_) result_.push_back(met.box);
  return result_;
}

}  // namespace rt
