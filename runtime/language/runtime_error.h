// Run-time errors of the forms runtime: numbered failures that a handler either
// skips (skip mode) or that end the program with the runtime's message.
#pragma once

#include <stdexcept>
#include <string>

namespace rt {

enum ErrorNumber : int {
  kInvalidCall = 5,
  kOverflow = 6,
  kDivisionByZero = 11,
  kTypeMismatch = 13,
  kElementMissing = 340,
  kAlreadyLoaded = 360,
  kCannotUnloadDesignElement = 362,
  kInvalidPropertyValue = 380,
};

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number);
  int number() const { return number_; }

 private:
  int number_;
};

[[noreturn]] void Raise(int number);

// The runtime's message for an unhandled error: Japanese, with its number.
std::string ErrorMessage(int number);

}  // namespace rt
