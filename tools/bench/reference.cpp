// The bench's yardstick: the least work the rain's picture needs. Column
// images as large as the saver's (19 px wide and 15 px high per line: the
// saver sizes a column by its line count, 15 pixels a line whatever its
// font), in rows of one colour each, drawn once into pixmaps on the X
// server, are blitted to a black full-screen window 100 times a second,
// each falling at its own speed, with no other logic. Like the saver's,
// a column takes a new length and speed each time it starts again from the
// top: its image is drawn once at the greatest length, and a shorter column
// copies the lower part of it. It reports its ticks, its first map and its
// first frame on standard error in the same lines as the saver's bench
// probes. Runs until killed.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "tools/bench/reference_columns.h"

namespace {

using namespace reference;

long long Nanoseconds(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

struct Column {
  xcb_pixmap_t image;  // kMostLines lines
  int height;          // its length now, in pixels
  int top;
  int speed;
};

class Reference {
 public:
  Reference() : connection_(xcb_connect(nullptr, nullptr)) {
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    width_ = screen_->width_in_pixels;
    height_ = screen_->height_in_pixels;
    window_ = xcb_generate_id(connection_);
    const uint32_t values[] = {screen_->black_pixel, 1, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen_->root, 0, 0,
                      static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    gc_ = xcb_generate_id(connection_);
    const uint32_t gc_values[] = {screen_->black_pixel, 0};
    xcb_create_gc(connection_, gc_, window_, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES,
                  gc_values);
    // Mapped before anything is drawn, and the map seen: the least a first
    // map can wait for.
    xcb_map_window(connection_, window_);
    xcb_flush(connection_);
    while (!mapped_) {
      xcb_generic_event_t* event = xcb_wait_for_event(connection_);
      if (event == nullptr) std::exit(1);  // the server went away
      if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) ReportFirstMap();
      std::free(event);
    }
    // As many as the saver lays out: one more than fit whole.
    for (int i = 0; i <= width_ / kColumnWidth; ++i) columns_.push_back(NewColumn());
    xcb_flush(connection_);
  }

  void Run() {
    long long ticks = 0;
    auto next = std::chrono::steady_clock::now();
    for (;;) {
      const auto start = std::chrono::steady_clock::now();
      Tick();
      std::fprintf(stderr, "bench-tick %lld %lld %lld\n", ++ticks, Nanoseconds(start),
                   Nanoseconds(std::chrono::steady_clock::now()));
      ReportFirstFrame();
      next += kInterval;
      std::this_thread::sleep_until(next);
    }
  }

 private:
  Column NewColumn() {
    Column column{xcb_generate_id(connection_), 0, 0, 0};
    xcb_create_pixmap(connection_, screen_->root_depth, column.image, window_, kColumnWidth,
                      kImageHeight);
    for (int line = 0; line < kMostLines; ++line) {
      const uint32_t color = LineColor(line);
      xcb_change_gc(connection_, gc_, XCB_GC_FOREGROUND, &color);
      const xcb_rectangle_t rect{0, static_cast<int16_t>(line * kLineHeight), kColumnWidth,
                                 kLineHeight};
      xcb_poly_fill_rectangle(connection_, column.image, gc_, 1, &rect);
    }
    xcb_change_gc(connection_, gc_, XCB_GC_FOREGROUND, &screen_->black_pixel);
    Restart(column, random_);
    return column;
  }

  void Tick() {
    for (size_t i = 0; i < columns_.size(); ++i) {
      Column& column = columns_[i];
      const int x = static_cast<int>(i) * kColumnWidth;
      const int old_top = column.top;
      column.top += column.speed;
      // Black where the column was and is no more, then the column itself.
      const int vacated_from = std::max(old_top, 0);
      const int vacated_to = std::min(column.top, height_);
      if (vacated_to > vacated_from) {
        const xcb_rectangle_t rect{static_cast<int16_t>(x), static_cast<int16_t>(vacated_from),
                                   kColumnWidth, static_cast<uint16_t>(vacated_to - vacated_from)};
        xcb_poly_fill_rectangle(connection_, window_, gc_, 1, &rect);
      }
      const int source_y = std::max(0, -column.top);
      const int target_y = std::max(column.top, 0);
      const int visible = std::min(column.height - source_y, height_ - target_y);
      if (visible > 0) {
        const int image_y = kImageHeight - column.height + source_y;
        xcb_copy_area(connection_, column.image, window_, gc_, 0, static_cast<int16_t>(image_y),
                      static_cast<int16_t>(x), static_cast<int16_t>(target_y), kColumnWidth,
                      static_cast<uint16_t>(visible));
      }
      if (column.top > height_) Restart(column, random_);
    }
    xcb_flush(connection_);
  }

  void ReportFirstMap() {
    mapped_ = true;
    std::fprintf(stderr, "bench-first-map %lld\n", Nanoseconds(std::chrono::steady_clock::now()));
  }

  // The first tick after the map, once the server has drawn it.
  void ReportFirstFrame() {
    if (!mapped_ || framed_) return;
    framed_ = true;
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    std::fprintf(stderr, "bench-first-frame %lld\n", Nanoseconds(std::chrono::steady_clock::now()));
  }

  xcb_connection_t* connection_;
  xcb_screen_t* screen_;
  xcb_window_t window_;
  xcb_gcontext_t gc_;
  int width_;
  int height_;
  std::vector<Column> columns_;
  std::mt19937 random_{std::random_device{}()};
  bool mapped_ = false;
  bool framed_ = false;
};

}  // namespace

int main() {
  Reference reference;
  reference.Run();
}
