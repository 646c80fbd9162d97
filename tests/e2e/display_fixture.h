// One virtual display per test program run, of the size the suite needs.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "tests/e2e/harness.h"

template <int kWidth, int kHeight>
class OnDisplay : public testing::Test {
 protected:
  static void SetUpTestSuite() { display_ = std::make_unique<VirtualDisplay>(kWidth, kHeight); }
  static void TearDownTestSuite() { display_.reset(); }
  void SetUp() override {
    ASSERT_NE(display_, nullptr) << "no virtual display";
    // The windows of a program that the test before killed go once the
    // server has seen its connection close; until then they would pass for
    // this test's.
    ASSERT_TRUE(WaitUntil([] { return display_->VisibleWindows().empty(); }))
        << "a window of the test before stays";
  }
  static const VirtualDisplay& display() { return *display_; }

  Installation install_;

 private:
  static inline std::unique_ptr<VirtualDisplay> display_;
};
