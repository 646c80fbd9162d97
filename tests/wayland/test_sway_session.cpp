// The headless compositor the Wayland tests stand on: each output at the set
// size and black, each visible to grim on its own.
#include <gtest/gtest.h>

#include "tests/support/sway_session.h"

namespace {

TEST(SwaySession, GivesEachOutputAtTheSetSize) {
  if (!SwaySession::Available()) GTEST_SKIP() << SwaySession::kSkipMessage;
  SwaySession session({.count = 2, .width = 640, .height = 480});
  ASSERT_TRUE(session.Start()) << session.Log();
  const QImage whole = session.Screenshot();
  EXPECT_EQ(whole.size(), QSize(2 * 640, 480));
  EXPECT_EQ(whole.pixel(2 * 640 - 1, 480 - 1) & 0xFFFFFF, 0u) << "not a black background";
  for (const std::string& output : session.OutputNames())
    EXPECT_EQ(session.Screenshot(output).size(), QSize(640, 480)) << output;
}

}  // namespace
