// A picture box's image for the Wayland backend: a pixman image in the
// program's memory, text drawn in from FreeType masks, copied into the
// output buffers where the box shows.
#pragma once

#include <pixman.h>

#include <memory>

#include "runtime/platform/desktop/text_masks.h"
#include "runtime/platform/native.h"

namespace rt::wayland {

class PixmanSurface : public native::Surface {
 public:
  explicit PixmanSurface(std::shared_ptr<desktop::TextFont> font);
  ~PixmanSurface() override;
  PixmanSurface(const PixmanSurface&) = delete;
  PixmanSurface& operator=(const PixmanSurface&) = delete;

  void Resize(int width, int height, int32_t back_color) override;
  void Clear(int32_t back_color) override;
  int PrintLine(int y, const std::string& text, int32_t fore_color) override;

  // The image, null while empty.
  const pixman_image_t* image() const { return image_; }
  // Copies part of the image (source in image pixels) into the target.
  void CopyTo(pixman_image_t* target, int source_x, int source_y, int width, int height,
              int target_x, int target_y) const;

 private:
  std::shared_ptr<desktop::TextFont> font_;
  pixman_image_t* image_ = nullptr;  // none while empty
  int width_ = 0;
  int height_ = 0;
};

// Fills part of an image with a pixel (0x00RRGGBB).
void FillRegion(pixman_image_t* target, const pixman_region32_t& region, uint32_t pixel);

}  // namespace rt::wayland
