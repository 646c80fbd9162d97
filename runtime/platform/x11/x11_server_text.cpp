#include "runtime/platform/x11/x11_server_text.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace rt::x11 {
namespace {

// Solid colours and glyphs kept on the server; a rain colour's gradient
// needs a few hundred colours and the rain under a hundred glyphs, so the
// caches are only emptied if something asks for far more.
constexpr size_t kMostSources = 4096;
constexpr size_t kMostGlyphs = 4096;

xcb_render_color_t ColorOf(uint32_t pixel) {
  const auto channel = [&](int shift) {
    return static_cast<uint16_t>(((pixel >> shift) & 0xFF) * 0x101);
  };
  return {channel(16), channel(8), channel(0), 0xFFFF};
}

xcb_render_pictformat_t AlphaFormat(const xcb_render_query_pict_formats_reply_t& formats) {
  for (auto format = xcb_render_query_pict_formats_formats_iterator(&formats); format.rem;
       xcb_render_pictforminfo_next(&format)) {
    const xcb_render_directformat_t& direct = format.data->direct;
    if (format.data->type == XCB_RENDER_PICT_TYPE_DIRECT && format.data->depth == 8 &&
        direct.alpha_mask == 0xFF && direct.red_mask == 0 && direct.green_mask == 0 &&
        direct.blue_mask == 0)
      return format.data->id;
  }
  return XCB_NONE;
}

xcb_render_pictformat_t VisualFormat(const xcb_render_query_pict_formats_reply_t& formats,
                                     xcb_visualid_t visual) {
  for (auto screen = xcb_render_query_pict_formats_screens_iterator(&formats); screen.rem;
       xcb_render_pictscreen_next(&screen)) {
    for (auto depth = xcb_render_pictscreen_depths_iterator(screen.data); depth.rem;
         xcb_render_pictdepth_next(&depth)) {
      for (auto candidate = xcb_render_pictdepth_visuals_iterator(depth.data); candidate.rem;
           xcb_render_pictvisual_next(&candidate)) {
        if (candidate.data->visual == visual) return candidate.data->format;
      }
    }
  }
  return XCB_NONE;
}

}  // namespace

std::unique_ptr<ServerText> ServerText::For(xcb_connection_t* connection, xcb_visualid_t visual) {
  const xcb_query_extension_reply_t* render = xcb_get_extension_data(connection, &xcb_render_id);
  if (render == nullptr || render->present == 0) return nullptr;
  xcb_render_query_pict_formats_reply_t* formats = xcb_render_query_pict_formats_reply(
      connection, xcb_render_query_pict_formats(connection), nullptr);
  if (formats == nullptr) return nullptr;
  const xcb_render_pictformat_t window = VisualFormat(*formats, visual);
  const xcb_render_pictformat_t alpha = AlphaFormat(*formats);
  std::free(formats);
  if (window == XCB_NONE || alpha == XCB_NONE) return nullptr;
  return std::make_unique<ServerText>(connection, window, alpha);
}

ServerText::ServerText(xcb_connection_t* connection, xcb_render_pictformat_t window_format,
                       xcb_render_pictformat_t alpha_format)
    : connection_(connection),
      window_format_(window_format),
      alpha_format_(alpha_format),
      glyphs_(xcb_generate_id(connection)) {
  xcb_render_create_glyph_set(connection_, glyphs_, alpha_format_);
}

ServerText::~ServerText() {
  for (const auto& [pixel, source] : sources_) xcb_render_free_picture(connection_, source);
  xcb_render_free_glyph_set(connection_, glyphs_);
}

void ServerText::Fill(xcb_render_picture_t target, int x, int y, int width, int height,
                      uint32_t pixel) const {
  if (width <= 0 || height <= 0) return;
  const xcb_rectangle_t rect{static_cast<int16_t>(x), static_cast<int16_t>(y),
                             static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
  xcb_render_fill_rectangles(connection_, XCB_RENDER_PICT_OP_SRC, target, ColorOf(pixel), 1, &rect);
}

void ServerText::Draw(xcb_render_picture_t target, desktop::TextFont& font, const std::string& text,
                      int x, int line_top, uint32_t pixel) {
  const uint32_t glyph = GlyphFor(font, text);
  if (glyph == 0) return;
  // One run of one glyph, its origin at the line's top-left corner, as the
  // protocol lays a run out: a count, padding, the origin, the glyph ids.
  struct {
    uint8_t count;
    uint8_t pad[3];
    int16_t x;
    int16_t y;
    uint32_t id;
  } command{1, {}, static_cast<int16_t>(x), static_cast<int16_t>(line_top), glyph};
  // No mask format: a lone glyph overlaps nothing, and the server then draws
  // it straight instead of through a mask pixmap made for the request.
  xcb_render_composite_glyphs_32(connection_, XCB_RENDER_PICT_OP_OVER, SourceFor(pixel), target,
                                 XCB_NONE, glyphs_, 0, 0, sizeof command,
                                 reinterpret_cast<const uint8_t*>(&command));
}

uint32_t ServerText::GlyphFor(desktop::TextFont& font, const std::string& text) {
  auto key = std::make_pair(static_cast<const desktop::TextFont*>(&font), text);
  const auto found = glyph_ids_.find(key);
  if (found != glyph_ids_.end()) return found->second;
  const desktop::TextMask& mask = font.MaskFor(text);
  if (mask.width <= 0 || mask.height <= 0) return glyph_ids_[std::move(key)] = 0;
  if (glyph_ids_.size() >= kMostGlyphs) {
    xcb_render_free_glyph_set(connection_, glyphs_);
    xcb_render_create_glyph_set(connection_, glyphs_, alpha_format_);
    glyph_ids_.clear();
  }
  const uint32_t id = ++last_glyph_id_;
  // The server takes an alpha glyph's rows padded to four bytes.
  const std::vector<uint8_t> rows = desktop::PaddedRows(mask);
  const xcb_render_glyphinfo_t info{static_cast<uint16_t>(mask.width),
                                    static_cast<uint16_t>(mask.height),
                                    static_cast<int16_t>(-mask.left),
                                    static_cast<int16_t>(-mask.top),
                                    0,
                                    0};
  xcb_render_add_glyphs(connection_, glyphs_, 1, &id, &info, static_cast<uint32_t>(rows.size()),
                        rows.data());
  glyph_ids_.emplace(std::move(key), id);
  return id;
}

xcb_render_picture_t ServerText::SourceFor(uint32_t pixel) {
  const auto found = sources_.find(pixel);
  if (found != sources_.end()) return found->second;
  if (sources_.size() >= kMostSources) {
    for (const auto& [old_pixel, source] : sources_) xcb_render_free_picture(connection_, source);
    sources_.clear();
  }
  const xcb_render_picture_t source = xcb_generate_id(connection_);
  xcb_render_create_solid_fill(connection_, source, ColorOf(pixel));
  sources_.emplace(pixel, source);
  return source;
}

}  // namespace rt::x11
