// The bench's yardstick on Wayland, the counterpart of reference.cpp on X:
// the least work the rain's picture needs. Column images as wide as the
// saver's (19 px, 15 px a line as the saver sizes them, lines of one
// colour each, made once) are copied into a full-screen wl_shm buffer 100
// times a second, each falling at its own speed, with damage for the
// columns alone and no other logic. Like the saver's, a column takes a new
// length and speed each time it starts again from the top: its image is made
// once at the greatest length, and a shorter column copies the lower part
// of it. It
// reports its ticks, its first configure (the map) and its first frame (the
// compositor's first frame callback) on standard error in the same lines as
// the saver's bench probes. Runs until killed.
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "tools/bench/reference_columns.h"
#include "xdg-shell-client-protocol.h"

namespace {

using namespace reference;

using Clock = std::chrono::steady_clock;

long long Nanoseconds(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

void Report(const char* marker) {
  std::fprintf(stderr, "%s %lld\n", marker, Nanoseconds(Clock::now()));
}

[[noreturn]] void Fail(const char* why) {
  std::fprintf(stderr, "wayland_reference: %s\n", why);
  std::exit(1);
}

struct Column {
  std::vector<uint32_t> image;  // kColumnWidth pixels a row, kMostLines lines
  int height;                   // its length now, in pixels
  int top;
  int speed;
};

// One shared-memory picture of the screen. It keeps where it last showed
// each column, so that it is brought up to date by the columns' moves alone.
struct Buffer {
  wl_buffer* buffer = nullptr;
  uint32_t* pixels = nullptr;
  bool busy = false;
  std::vector<int> drawn_tops;
  std::vector<int> drawn_bottoms;
};

class Reference {
 public:
  Reference() : display_(wl_display_connect(nullptr)) {
    if (display_ == nullptr) Fail("cannot connect to the Wayland display");
    wl_registry_add_listener(wl_display_get_registry(display_), &kRegistry, this);
    wl_display_roundtrip(display_);
    wl_display_roundtrip(display_);  // the output's modes
    if (compositor_ == nullptr || shm_ == nullptr || shell_ == nullptr)
      Fail("the compositor lacks wl_compositor, wl_shm or xdg_wm_base");
    surface_ = wl_compositor_create_surface(compositor_);
    xdg_surface* shell_surface = xdg_wm_base_get_xdg_surface(shell_, surface_);
    xdg_surface_add_listener(shell_surface, &kShellSurface, this);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(shell_surface);
    xdg_toplevel_add_listener(toplevel, &kToplevel, this);
    xdg_toplevel_set_fullscreen(toplevel, nullptr);
    wl_surface_commit(surface_);
    while (!configured_) {
      if (wl_display_dispatch(display_) < 0) Fail("the display went away");
    }
    // sway leaves the size to the client until the first buffer maps it.
    if (width_ <= 0) {
      width_ = output_width_;
      height_ = output_height_;
    }
    if (width_ <= 0) Fail("no output size");
    Report("bench-first-map");
    for (Buffer& buffer : buffers_) MakeBuffer(buffer);
    for (int i = 0; i <= width_ / kColumnWidth; ++i) columns_.push_back(NewColumn());
  }

  void Run() {
    long long ticks = 0;
    auto next = Clock::now();
    for (;;) {
      const auto start = Clock::now();
      Tick();
      std::fprintf(stderr, "bench-tick %lld %lld %lld\n", ++ticks, Nanoseconds(start),
                   Nanoseconds(Clock::now()));
      next += kInterval;
      DispatchUntil(next);
    }
  }

 private:
  void MakeBuffer(Buffer& buffer) {
    const int stride = width_ * 4;
    const size_t size = static_cast<size_t>(stride) * static_cast<size_t>(height_);
    const int fd = ::memfd_create("wayland-reference", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) Fail("no shared memory");
    void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) Fail("cannot map the shared memory");
    buffer.pixels = static_cast<uint32_t*>(memory);  // zero: black
    wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<int32_t>(size));
    buffer.buffer =
        wl_shm_pool_create_buffer(pool, 0, width_, height_, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    ::close(fd);
    wl_buffer_add_listener(buffer.buffer, &kBufferListener, &buffer);
  }

  Column NewColumn() {
    Column column{{}, 0, 0, 0};
    column.image.resize(static_cast<size_t>(kColumnWidth * kImageHeight));
    for (int line = 0; line < kMostLines; ++line) {
      std::fill_n(column.image.begin() + line * kLineHeight * kColumnWidth,
                  kLineHeight * kColumnWidth, LineColor(line));
    }
    Restart(column, random_);
    return column;
  }

  // The last column stands partly off the right edge.
  size_t VisibleBytes(int x) const {
    return static_cast<size_t>(std::min(kColumnWidth, width_ - x)) * 4;
  }

  void FillBlack(Buffer& buffer, int x, int from, int to) {
    for (int y = std::max(from, 0); y < std::min(to, height_); ++y)
      std::memset(buffer.pixels + y * width_ + x, 0, VisibleBytes(x));
  }

  // Where the buffer last showed the column and shows it no more goes black,
  // then the column is copied in where it is now.
  void DrawColumn(Buffer& buffer, size_t index) {
    const Column& column = columns_[index];
    const int x = static_cast<int>(index) * kColumnWidth;
    const int old_top = buffer.drawn_tops[index];
    const int old_bottom = buffer.drawn_bottoms[index];
    const int bottom = column.top + column.height;
    const uint32_t* image = column.image.data() + (kImageHeight - column.height) * kColumnWidth;
    FillBlack(buffer, x, old_top, std::min(old_bottom, column.top));
    FillBlack(buffer, x, std::max(old_top, bottom), old_bottom);
    for (int y = std::max(column.top, 0); y < std::min(bottom, height_); ++y) {
      std::memcpy(buffer.pixels + y * width_ + x, image + (y - column.top) * kColumnWidth,
                  VisibleBytes(x));
    }
    const int damage_top = std::max(std::min(old_top, column.top), 0);
    const int damage_bottom = std::min(std::max(old_bottom, bottom), height_);
    if (damage_bottom > damage_top)
      wl_surface_damage_buffer(surface_, x, damage_top, kColumnWidth, damage_bottom - damage_top);
    buffer.drawn_tops[index] = column.top;
    buffer.drawn_bottoms[index] = bottom;
  }

  // A tick that finds both buffers with the compositor moves nothing.
  void Tick() {
    for (Column& column : columns_) {
      column.top += column.speed;
      if (column.top > height_) Restart(column, random_);
    }
    Buffer* free = nullptr;
    for (Buffer& buffer : buffers_) {
      if (!buffer.busy) free = &buffer;
    }
    if (free == nullptr) return;
    const bool first = free->drawn_tops.empty();
    if (first) {
      free->drawn_tops.assign(columns_.size(), -height_);
      free->drawn_bottoms.assign(columns_.size(), -height_);
      wl_surface_damage_buffer(surface_, 0, 0, width_, height_);
    }
    for (size_t i = 0; i < columns_.size(); ++i) DrawColumn(*free, i);
    if (!framed_ && frame_ == nullptr) {
      frame_ = wl_surface_frame(surface_);
      wl_callback_add_listener(frame_, &kFrameListener, this);
    }
    wl_surface_attach(surface_, free->buffer, 0, 0);
    wl_surface_commit(surface_);
    free->busy = true;
  }

  void DispatchUntil(Clock::time_point until) {
    for (;;) {
      while (wl_display_prepare_read(display_) != 0) wl_display_dispatch_pending(display_);
      wl_display_flush(display_);
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
      pollfd fd{wl_display_get_fd(display_), POLLIN, 0};
      if (left.count() > 0 && ::poll(&fd, 1, static_cast<int>(left.count())) > 0) {
        if (wl_display_read_events(display_) < 0) Fail("the display went away");
      } else {
        wl_display_cancel_read(display_);
      }
      wl_display_dispatch_pending(display_);
      if (Clock::now() >= until) return;
    }
  }

  static void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                     uint32_t) {
    auto* self = static_cast<Reference*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
      self->compositor_ = static_cast<wl_compositor*>(
          wl_registry_bind(registry, name, &wl_compositor_interface, 4));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
      self->shm_ = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
      self->shell_ =
          static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
      xdg_wm_base_add_listener(self->shell_, &kShell, self);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0 && self->output_ == nullptr) {
      self->output_ =
          static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 1));
      wl_output_add_listener(self->output_, &kOutput, self);
    }
  }

  static const wl_registry_listener kRegistry;
  static const xdg_wm_base_listener kShell;
  static const xdg_surface_listener kShellSurface;
  static const xdg_toplevel_listener kToplevel;
  static const wl_buffer_listener kBufferListener;
  static const wl_callback_listener kFrameListener;
  static const wl_output_listener kOutput;

  static void OutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height,
                         int32_t) {
    auto* self = static_cast<Reference*>(data);
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    self->output_width_ = width;
    self->output_height_ = height;
  }

  static void Configure(void* data, xdg_surface* surface, uint32_t serial) {
    xdg_surface_ack_configure(surface, serial);
    static_cast<Reference*>(data)->configured_ = true;
  }

  // Full screen: the output's size, once.
  static void ConfigureToplevel(void* data, xdg_toplevel*, int32_t width, int32_t height,
                                wl_array*) {
    auto* self = static_cast<Reference*>(data);
    if (width > 0 && self->width_ <= 0) {
      self->width_ = width;
      self->height_ = height;
    }
  }

  static void FrameDone(void* data, wl_callback* callback, uint32_t) {
    auto* self = static_cast<Reference*>(data);
    wl_callback_destroy(callback);
    self->frame_ = nullptr;
    self->framed_ = true;
    Report("bench-first-frame");
  }

  wl_display* display_;
  wl_compositor* compositor_ = nullptr;
  wl_shm* shm_ = nullptr;
  xdg_wm_base* shell_ = nullptr;
  wl_output* output_ = nullptr;
  int output_width_ = 0;
  int output_height_ = 0;
  wl_surface* surface_ = nullptr;
  wl_callback* frame_ = nullptr;
  bool configured_ = false;
  bool framed_ = false;
  int width_ = 0;
  int height_ = 0;
  std::array<Buffer, 2> buffers_;
  std::vector<Column> columns_;
  std::mt19937 random_{std::random_device{}()};
};

const wl_registry_listener Reference::kRegistry = {
    .global = &Reference::Global, .global_remove = [](void*, wl_registry*, uint32_t) {}};
const xdg_wm_base_listener Reference::kShell = {
    .ping = [](void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }};
const xdg_surface_listener Reference::kShellSurface = {.configure = &Reference::Configure};
const xdg_toplevel_listener Reference::kToplevel = {
    .configure = &Reference::ConfigureToplevel,
    .close = [](void*, xdg_toplevel*) { std::exit(0); },
    .configure_bounds = [](void*, xdg_toplevel*, int32_t, int32_t) {},
    .wm_capabilities = [](void*, xdg_toplevel*, wl_array*) {}};
const wl_buffer_listener Reference::kBufferListener = {
    .release = [](void* data, wl_buffer*) { static_cast<Buffer*>(data)->busy = false; }};
const wl_callback_listener Reference::kFrameListener = {.done = &Reference::FrameDone};
const wl_output_listener Reference::kOutput = {
    .geometry = [](void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                   const char*, int32_t) {},
    .mode = &Reference::OutputMode,
    .done = [](void*, wl_output*) {},
    .scale = [](void*, wl_output*, int32_t) {},
    .name = [](void*, wl_output*, const char*) {},
    .description = [](void*, wl_output*, const char*) {}};

}  // namespace

int main() {
  Reference reference;
  reference.Run();
}
