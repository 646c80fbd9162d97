// A surface's buffers in shared memory (XRGB8888, the layout of our
// pixels), each a pixman image for drawing, with what it lacks of the
// newest picture: a buffer the compositor gives back is brought up to date
// where it is stale and no more.
#pragma once

#include <pixman.h>
#include <wayland-client.h>

#include <memory>
#include <vector>

#include "runtime/platform/native.h"

namespace rt::wayland {

class ShmBuffer {
 public:
  // Null when the memory cannot be had.
  static std::unique_ptr<ShmBuffer> Make(wl_shm* shm, int width, int height);
  ~ShmBuffer();
  ShmBuffer(const ShmBuffer&) = delete;
  ShmBuffer& operator=(const ShmBuffer&) = delete;

  wl_buffer* buffer() const { return buffer_; }
  pixman_image_t* image() const { return image_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool busy() const { return busy_; }
  void MarkBusy() { busy_ = true; }
  pixman_region32_t& stale() { return stale_; }

 private:
  ShmBuffer(wl_buffer* buffer, void* memory, size_t bytes, int width, int height);

  wl_buffer* buffer_;
  void* memory_;
  size_t bytes_;
  int width_;
  int height_;
  pixman_image_t* image_;
  bool busy_ = false;  // the compositor holds it
  pixman_region32_t stale_;
};

// The buffers of one surface: two as a rule, a third while both are held.
class BufferSet {
 public:
  // Every buffer is stale in the area (buffer pixels).
  void Stale(const native::PixelRect& area);
  // A buffer the compositor does not hold, of the size; null when none can
  // be had. A new buffer is stale all over.
  ShmBuffer* Free(wl_shm* shm, int width, int height);

 private:
  std::vector<std::unique_ptr<ShmBuffer>> buffers_;
};

}  // namespace rt::wayland
