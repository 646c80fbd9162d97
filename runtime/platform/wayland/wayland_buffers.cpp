#include "runtime/platform/wayland/wayland_buffers.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

namespace rt::wayland {
namespace {

constexpr size_t kMostBuffers = 3;

}  // namespace

std::unique_ptr<ShmBuffer> ShmBuffer::Make(wl_shm* shm, int width, int height) {
  const int stride = width * 4;
  const auto bytes = static_cast<size_t>(stride) * static_cast<size_t>(height);
  const int fd = ::memfd_create("kelvora-buffer", MFD_CLOEXEC);
  if (fd < 0) return nullptr;
  void* memory = MAP_FAILED;
  if (::ftruncate(fd, static_cast<off_t>(bytes)) == 0)
    memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (memory == MAP_FAILED) {
    ::close(fd);
    return nullptr;
  }
  wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(bytes));
  wl_buffer* buffer =
      wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
  wl_shm_pool_destroy(pool);
  ::close(fd);
  return std::unique_ptr<ShmBuffer>(new ShmBuffer(buffer, memory, bytes, width, height));
}

ShmBuffer::ShmBuffer(wl_buffer* buffer, void* memory, size_t bytes, int width, int height)
    : buffer_(buffer),
      memory_(memory),
      bytes_(bytes),
      width_(width),
      height_(height),
      image_(pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height,
                                      static_cast<uint32_t*>(memory), width * 4)) {
  static const wl_buffer_listener listener = {
      [](void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->busy_ = false; }};
  wl_buffer_add_listener(buffer_, &listener, this);
  pixman_region32_init_rect(&stale_, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height));
}

ShmBuffer::~ShmBuffer() {
  pixman_region32_fini(&stale_);
  pixman_image_unref(image_);
  wl_buffer_destroy(buffer_);
  ::munmap(memory_, bytes_);
}

void BufferSet::Stale(const native::PixelRect& area) {
  for (const auto& buffer : buffers_) {
    pixman_region32_union_rect(&buffer->stale(), &buffer->stale(), area.x, area.y,
                               static_cast<unsigned>(area.width),
                               static_cast<unsigned>(area.height));
  }
}

ShmBuffer* BufferSet::Free(wl_shm* shm, int width, int height) {
  // Buffers of another size are dropped once the compositor gives them back.
  std::erase_if(buffers_, [&](const auto& buffer) {
    return !buffer->busy() && (buffer->width() != width || buffer->height() != height);
  });
  for (const auto& buffer : buffers_) {
    if (!buffer->busy()) return buffer.get();
  }
  if (buffers_.size() >= kMostBuffers || width <= 0 || height <= 0) return nullptr;
  std::unique_ptr<ShmBuffer> made = ShmBuffer::Make(shm, width, height);
  if (!made) return nullptr;
  buffers_.push_back(std::move(made));
  return buffers_.back().get();
}

}  // namespace rt::wayland
