#include "runtime/platform/wayland/wayland_surface.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "runtime/platform/desktop/pixel_color.h"

namespace rt::wayland {
namespace {

// As many as the font keeps masks: a program that prints ever new texts
// starts again rather than grow.
constexpr size_t kMaxGlyphs = 2048;

pixman_color_t ColorOf(uint32_t pixel) {
  const auto channel = [&](int shift) {
    return static_cast<uint16_t>((pixel >> shift & 0xFF) * 0x101);
  };
  return {channel(16), channel(8), channel(0), 0xFFFF};
}

// A mask as a pixman image, which wants its rows padded to whole words.
class Glyph {
 public:
  explicit Glyph(const desktop::TextMask& mask)
      : rows_(desktop::PaddedRows(mask)),
        image_(pixman_image_create_bits(PIXMAN_a8, mask.width, mask.height,
                                        reinterpret_cast<uint32_t*>(rows_.data()),
                                        static_cast<int>(desktop::PaddedStride(mask)))) {}
  ~Glyph() { pixman_image_unref(image_); }
  Glyph(const Glyph&) = delete;
  Glyph& operator=(const Glyph&) = delete;
  pixman_image_t* image() const { return image_; }

 private:
  std::vector<uint8_t> rows_;
  pixman_image_t* image_;
};

pixman_image_t* GlyphFor(desktop::TextFont& font, const desktop::TextMask& mask,
                         const std::string& text) {
  static std::map<std::pair<const desktop::TextFont*, std::string>, std::unique_ptr<Glyph>> glyphs;
  auto& glyph = glyphs[{&font, text}];
  if (!glyph) {
    if (glyphs.size() > kMaxGlyphs) {
      glyphs.clear();
      return GlyphFor(font, mask, text);
    }
    glyph = std::make_unique<Glyph>(mask);
  }
  return glyph->image();
}

void FillRect(pixman_image_t* target, const native::PixelRect& area, uint32_t pixel) {
  if (area.width <= 0 || area.height <= 0) return;
  const pixman_color_t color = ColorOf(pixel);
  const pixman_box32_t box{area.x, area.y, area.x + area.width, area.y + area.height};
  pixman_image_fill_boxes(PIXMAN_OP_SRC, target, &color, 1, &box);
}

}  // namespace

void FillRegion(pixman_image_t* target, const pixman_region32_t& region, uint32_t pixel) {
  int count = 0;
  const pixman_box32_t* boxes = pixman_region32_rectangles(&region, &count);
  if (count == 0) return;
  const pixman_color_t color = ColorOf(pixel);
  pixman_image_fill_boxes(PIXMAN_OP_SRC, target, &color, count, boxes);
}

PixmanSurface::PixmanSurface(std::shared_ptr<desktop::TextFont> font) : font_(std::move(font)) {}

PixmanSurface::~PixmanSurface() {
  if (image_ != nullptr) pixman_image_unref(image_);
}

void PixmanSurface::Resize(int width, int height, int32_t back_color) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  pixman_image_t* old = image_;
  image_ = width > 0 && height > 0
               ? pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, nullptr, 0)
               : nullptr;
  if (image_ != nullptr) {
    // What overlaps the old size stays; the rest takes the back colour.
    FillRect(image_, {0, 0, width, height}, desktop::PixelOf(back_color));
    if (old != nullptr) {
      pixman_image_composite32(PIXMAN_OP_SRC, old, nullptr, image_, 0, 0, 0, 0, 0, 0,
                               std::min(width, width_), std::min(height, height_));
    }
  }
  if (old != nullptr) pixman_image_unref(old);
  width_ = width;
  height_ = height;
}

void PixmanSurface::Clear(int32_t back_color) {
  if (image_ != nullptr) FillRect(image_, {0, 0, width_, height_}, desktop::PixelOf(back_color));
}

int PixmanSurface::PrintLine(int y, const std::string& text, int32_t fore_color) {
  if (text.empty() || image_ == nullptr) return font_->LineHeight();
  const desktop::TextMask& mask = font_->MaskFor(text);
  if (mask.width > 0 && mask.height > 0) {
    const pixman_color_t color = ColorOf(desktop::PixelOf(fore_color));
    pixman_image_t* ink = pixman_image_create_solid_fill(&color);
    pixman_image_composite32(PIXMAN_OP_OVER, ink, GlyphFor(*font_, mask, text), image_, 0, 0, 0, 0,
                             mask.left, y + mask.top, mask.width, mask.height);
    pixman_image_unref(ink);
  }
  return font_->LineHeight();
}

void PixmanSurface::CopyTo(pixman_image_t* target, int source_x, int source_y, int width,
                           int height, int target_x, int target_y) const {
  if (image_ == nullptr) return;
  pixman_image_composite32(PIXMAN_OP_SRC, image_, nullptr, target, source_x, source_y, 0, 0,
                           target_x, target_y, width, height);
}

}  // namespace rt::wayland
