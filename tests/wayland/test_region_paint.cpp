// Redrawing a region of an output's buffer from the form's picture boxes:
// inside the region every pixel is the topmost box's or, where no box is,
// the back colour; outside it nothing changes. A box drawn over another is
// on top, a region may be several pieces, and the buffer may show the form
// from an offset (a second output).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "runtime/platform/desktop/pixel_color.h"
#include "runtime/platform/wayland/wayland_region_paint.h"
#include "runtime/platform/wayland/wayland_surface.h"

namespace {

using rt::native::PixelRect;

constexpr uint32_t kUntouched = 0x123456;
constexpr uint32_t kBack = 0x000000;
constexpr int32_t kRed = 0x0000FF;  // colours as the forms give them: &H00BBGGRR
constexpr int32_t kGreen = 0x00FF00;

struct Box {
  PixelRect bounds;
  std::unique_ptr<rt::wayland::PixmanSurface> surface;
  uint32_t pixel;
};

// The form's boxes, bottom first, as the forms layer hands them out.
class Boxes : public rt::native::WindowEvents {
 public:
  void Add(const PixelRect& bounds, int32_t color) {
    auto surface = std::make_unique<rt::wayland::PixmanSurface>(nullptr);
    surface->Resize(bounds.width, bounds.height, color);
    boxes_.push_back({bounds, std::move(surface), rt::desktop::PixelOf(color)});
  }
  // The colour the form shows at a point.
  uint32_t At(int x, int y) const {
    uint32_t pixel = kBack;
    for (const Box& box : boxes_) {
      if (x >= box.bounds.x && x < box.bounds.x + box.bounds.width && y >= box.bounds.y &&
          y < box.bounds.y + box.bounds.height)
        pixel = box.pixel;
    }
    return pixel;
  }

  void ForEachBoxIn(const PixelRect& area,
                    const std::function<void(const rt::native::Surface&, const PixelRect&)>& draw)
      const override {
    for (const Box& box : boxes_) {
      const PixelRect meets = rt::native::Intersection(area, box.bounds);
      if (meets.width > 0 && meets.height > 0) draw(*box.surface, box.bounds);
    }
  }
  void ButtonDown(rt::native::PointerButton, int, int, rt::native::Modifiers, uint32_t) override {}
  void ButtonUp(rt::native::PointerButton, int, int, rt::native::Modifiers) override {}
  void PointerMoved(int, int, rt::native::Modifiers) override {}
  void KeyDown(const rt::native::KeyStroke&) override {}
  void CloseRequested() override {}
  void WindowGone() override {}
  void TerminationRequested() override {}

 private:
  std::vector<Box> boxes_;
};

struct Case {
  const char* name;
  std::vector<PixelRect> region;  // in the buffer's pixels
  int origin_x;
  int origin_y;
};

TEST(RegionPaint, EveryPixelOfTheRegionShowsTheFormAndNoOtherChanges) {
  constexpr int kWidth = 40;
  constexpr int kHeight = 30;
  Boxes boxes;
  boxes.Add({5, 5, 10, 10}, kRed);
  boxes.Add({10, 8, 10, 10}, kGreen);  // over the red one
  const Case cases[] = {
      {"the whole buffer", {{0, 0, kWidth, kHeight}}, 0, 0},
      {"a part cutting both boxes", {{7, 6, 8, 5}}, 0, 0},
      {"two pieces, one bare", {{0, 0, 4, 4}, {12, 10, 20, 3}}, 0, 0},
      {"banded like the damage of falling columns", {{6, 0, 2, 30}, {8, 10, 3, 20}}, 0, 0},
      {"a buffer showing the form from an offset", {{0, 0, 20, 20}}, 8, 4},
  };
  for (const Case& test : cases) {
    std::vector<uint32_t> pixels(kWidth * kHeight, kUntouched);
    pixman_image_t* target =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, pixels.data(), kWidth * 4);
    pixman_region32_t region;
    pixman_region32_init(&region);
    for (const PixelRect& rect : test.region)
      pixman_region32_union_rect(&region, &region, rect.x, rect.y,
                                 static_cast<unsigned>(rect.width),
                                 static_cast<unsigned>(rect.height));
    rt::wayland::PaintRegion(target, region, test.origin_x, test.origin_y, kBack, boxes);

    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t expected = pixman_region32_contains_point(&region, x, y, nullptr)
                                      ? boxes.At(x + test.origin_x, y + test.origin_y)
                                      : kUntouched;
        const uint32_t got = pixels[y * kWidth + x] & 0xFFFFFF;
        if (got != expected && ++wrong <= 3)
          ADD_FAILURE() << test.name << ": pixel (" << x << ", " << y << ") is " << std::hex << got
                        << ", not " << expected;
      }
    }
    EXPECT_EQ(wrong, 0) << test.name;
    pixman_region32_fini(&region);
    pixman_image_unref(target);
  }
}

}  // namespace
