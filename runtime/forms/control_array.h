// A control array: elements addressed by a 16-bit index. The design gives
// some elements; Load adds a hidden copy of the lowest design element with
// its property values as they stand, Unload removes a loaded one.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>

#include "runtime/language/runtime_error.h"

namespace rt {

class Form;

template <class T>
class ControlArray {
 public:
  explicit ControlArray(Form& form) : form_(form) {}

  // A design element, created with the form from the element's design.
  template <class... Design>
  void AddDesignElement(int16_t index, const Design&... design) {
    elements_[index] = std::make_unique<T>(form_, design...);
    design_indexes_.insert(index);
  }

  T& operator()(int16_t index) const {
    const auto found = elements_.find(index);
    if (found == elements_.end()) Raise(kElementMissing);
    return *found->second;
  }

  void Load(int16_t index) {
    if (elements_.contains(index)) Raise(kAlreadyLoaded);
    const T& model = *elements_.at(*design_indexes_.begin());
    elements_[index] = std::make_unique<T>(form_, model);
  }

  void Unload(int16_t index) {
    if (design_indexes_.contains(index)) Raise(kCannotUnloadDesignElement);
    if (elements_.erase(index) == 0) Raise(kElementMissing);
  }

  int16_t LBound() const { return elements_.begin()->first; }
  int16_t UBound() const { return elements_.rbegin()->first; }

 private:
  Form& form_;
  std::map<int16_t, std::unique_ptr<T>> elements_;
  std::set<int16_t> design_indexes_;
};

}  // namespace rt
