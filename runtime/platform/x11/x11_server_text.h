// Text drawn by the X server: each mask goes to the server once, as a glyph
// of an alpha-only glyph set, and a printed line is one small request that
// composites it in a solid colour. A column of hundreds of lines then sends
// a few kilobytes instead of its image.
#pragma once

#include <xcb/render.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include "runtime/platform/x11/x11_text_masks.h"

namespace rt::x11 {

class ServerText {
 public:
  // Nothing when the server lacks the rendering extension or a picture
  // format for the window's visual.
  static std::unique_ptr<ServerText> For(xcb_connection_t* connection, xcb_visualid_t visual);
  ServerText(xcb_connection_t* connection, xcb_render_pictformat_t window_format,
             xcb_render_pictformat_t alpha_format);
  ~ServerText();
  ServerText(const ServerText&) = delete;
  ServerText& operator=(const ServerText&) = delete;

  xcb_render_pictformat_t window_format() const { return window_format_; }
  // Fills the rectangle of the picture with the pixel (0xRRGGBB).
  void Fill(xcb_render_picture_t target, int x, int y, int width, int height, uint32_t pixel) const;
  // Draws the text in the font and the pixel's colour, the line's top-left
  // corner at (x, line_top).
  void Draw(xcb_render_picture_t target, TextFont& font, const std::string& text, int x,
            int line_top, uint32_t pixel);

 private:
  // The glyph of the text's mask, sent to the server on first use; none
  // (0) for a text without ink.
  uint32_t GlyphFor(TextFont& font, const std::string& text);
  xcb_render_picture_t SourceFor(uint32_t pixel);

  xcb_connection_t* connection_;
  xcb_render_pictformat_t window_format_;
  xcb_render_pictformat_t alpha_format_;
  xcb_render_glyphset_t glyphs_;
  std::map<std::pair<const TextFont*, std::string>, uint32_t> glyph_ids_;
  uint32_t last_glyph_id_ = 0;
  std::unordered_map<uint32_t, xcb_render_picture_t> sources_;
};

}  // namespace rt::x11
