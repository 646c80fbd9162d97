// Picture-box images kept and drawn on the X server, on a real X display:
// text lands in its colour, an image drawn into again or resized keeps what
// it had, and a cleared or grown one takes its back colour.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "runtime/forms/design.h"
#include "runtime/language/conversions.h"
#include "runtime/platform/x11/x11_canvas.h"
#include "runtime/platform/x11/x11_connection.h"
#include "runtime/platform/x11/x11_surface.h"
#include "tests/e2e/harness.h"

namespace {

constexpr int kWidth = 19;
constexpr int kBlack = 0;

class X11Images : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    display_ = std::make_unique<VirtualDisplay>(320, 240);
    ::setenv("DISPLAY", display_->name().c_str(), 1);
  }

  void SetUp() override {
    rt::x11::X11Connection& x = rt::x11::X11Connection::Get();
    window_ = xcb_generate_id(x.xcb());
    xcb_create_window(x.xcb(), XCB_COPY_FROM_PARENT, window_, x.screen()->root, 0, 0, 200, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, x.screen()->root_visual, 0, nullptr);
    xcb_map_window(x.xcb(), window_);
    x.Sync();
    canvas_ = rt::x11::X11Canvas::For(x.xcb(), window_, 0);
    ASSERT_NE(canvas_, nullptr) << "Xvfb lays pixels out as the client images do";
  }

  void TearDown() override {
    surfaces_.clear();
    canvas_.reset();
    xcb_destroy_window(rt::x11::X11Connection::Get().xcb(), window_);
  }

  rt::x11::X11Surface& NewImage(int height) {
    surfaces_.push_back(
        canvas_->CreateSurface(rt::x11::TextFont::For(rt::FontDesign{"IPAGothic", 9, 700}, 96)));
    auto& surface = static_cast<rt::x11::X11Surface&>(*surfaces_.back());
    surface.Resize(kWidth, height, kBlack);
    return surface;
  }

  // The brightest red and green in rows [top, bottom) of the image, as the
  // window shows it once copied there.
  std::pair<int, int> InkOnScreen(const rt::x11::X11Surface& surface, int top, int bottom) {
    surface.CopyTo(0, 0, kWidth, bottom, 0, 0);
    xcb_connection_t* connection = rt::x11::X11Connection::Get().xcb();
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, 0, 0,
                                          kWidth, static_cast<uint16_t>(bottom), ~0u),
                            nullptr);
    int red = 0, green = 0;
    if (reply != nullptr) {
      const auto* pixels = reinterpret_cast<const uint32_t*>(xcb_get_image_data(reply));
      for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          red = std::max(red, static_cast<int>((pixels[y * kWidth + x] >> 16) & 0xFF));
          green = std::max(green, static_cast<int>((pixels[y * kWidth + x] >> 8) & 0xFF));
        }
      }
    }
    std::free(reply);
    return {red, green};
  }

  static inline std::unique_ptr<VirtualDisplay> display_;
  xcb_window_t window_ = XCB_NONE;
  std::unique_ptr<rt::x11::X11Canvas> canvas_;
  std::vector<std::unique_ptr<rt::native::Surface>> surfaces_;
};

TEST_F(X11Images, AnImageDrawnIntoAgainKeepsWhatItHad) {
  rt::x11::X11Surface& image = NewImage(26);
  const int line = image.PrintLine(0, rt::Chr(177), rt::RGB(255, 0, 0));
  image.PrintLine(line, rt::Chr(178), rt::RGB(0, 255, 0));
  image.Resize(kWidth, 3 * line, kBlack);  // a new pixmap, the old one copied in
  const auto [first_red, first_green] = InkOnScreen(image, 0, line);
  const auto [second_red, second_green] = InkOnScreen(image, line, 2 * line);
  const auto [third_red, third_green] = InkOnScreen(image, 2 * line, 3 * line);
  EXPECT_GT(first_red, 100) << "the first line";
  EXPECT_EQ(first_green, 0);
  EXPECT_GT(second_green, 100) << "the second line";
  EXPECT_EQ(second_red, 0);
  EXPECT_EQ(third_red + third_green, 0) << "the new rows in the back colour";
}

TEST_F(X11Images, AClearedImageComesBackInItsColor) {
  rt::x11::X11Surface& image = NewImage(13);
  image.PrintLine(0, rt::Chr(177), rt::RGB(255, 0, 0));
  image.Clear(rt::RGB(0, 255, 0));
  image.Resize(kWidth, 26, rt::RGB(0, 255, 0));
  const auto [red, green] = InkOnScreen(image, 0, 13);  // the rows it had before
  EXPECT_EQ(red, 0) << "the cleared line stays cleared";
  EXPECT_EQ(green, 255);
}

}  // namespace
