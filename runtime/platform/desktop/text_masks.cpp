#include "runtime/platform/desktop/text_masks.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "runtime/language/utf8.h"
#include "runtime/platform/linux/carried_font.h"

namespace rt::desktop {
namespace {

// Far more than the few dozen characters the saver prints; a program that
// prints ever new texts starts the cache again rather than grow it.
constexpr size_t kMaxMasks = 2048;

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    return FT_Init_FreeType(&made) == 0 ? made : nullptr;
  }();
  return library;
}

// Faces stay open for the process's life: a handful of files at most.
FT_Face OpenFace(const std::string& file, int index) {
  static std::map<std::pair<std::string, int>, FT_Face> faces;
  const auto key = std::make_pair(file, index);
  if (const auto found = faces.find(key); found != faces.end()) return found->second;
  FT_Face face = nullptr;
  if (Library() == nullptr || FT_New_Face(Library(), file.c_str(), index, &face) != 0)
    face = nullptr;
  return faces[key] = face;
}

// The carried glyphs, read from the program's own bytes.
FT_Face CarriedFace() {
  static FT_Face face = [] {
    const std::string_view bytes = linux_program::CarriedFont();
    FT_Face opened = nullptr;
    if (Library() == nullptr ||
        FT_New_Memory_Face(Library(), reinterpret_cast<const FT_Byte*>(bytes.data()),
                           static_cast<FT_Long>(bytes.size()), 0, &opened) != 0)
      opened = nullptr;
    return opened;
  }();
  return face;
}

// A font prepared for drawing: the face and how to render it.
struct Rendering {
  FT_Face face = nullptr;
  bool embolden = false;
  FT_Int32 load_flags = FT_LOAD_DEFAULT;
  FT_Render_Mode render_mode = FT_RENDER_MODE_NORMAL;
};

bool BoolOf(const FcPattern* pattern, const char* name, bool fallback) {
  FcBool value = fallback ? FcTrue : FcFalse;
  FcPatternGetBool(pattern, name, 0, &value);
  return value != FcFalse;
}

Rendering RenderingOf(FcPattern* prepared) {
  Rendering rendering;
  FcChar8* file = nullptr;
  int index = 0;
  if (FcPatternGetString(prepared, FC_FILE, 0, &file) != FcResultMatch) return rendering;
  FcPatternGetInteger(prepared, FC_INDEX, 0, &index);
  rendering.face = OpenFace(reinterpret_cast<const char*>(file), index);
  rendering.embolden = BoolOf(prepared, FC_EMBOLDEN, false);
  int hint_style = FC_HINT_SLIGHT;
  FcPatternGetInteger(prepared, FC_HINT_STYLE, 0, &hint_style);
  if (!BoolOf(prepared, FC_HINTING, true) || hint_style == FC_HINT_NONE) {
    rendering.load_flags = FT_LOAD_NO_HINTING;
  } else if (hint_style == FC_HINT_SLIGHT) {
    rendering.load_flags = FT_LOAD_TARGET_LIGHT;
    rendering.render_mode = FT_RENDER_MODE_LIGHT;
  }
  if (!BoolOf(prepared, FC_EMBEDDED_BITMAP, false)) rendering.load_flags |= FT_LOAD_NO_BITMAP;
  if (!BoolOf(prepared, FC_ANTIALIAS, true)) {
    rendering.load_flags |= FT_LOAD_TARGET_MONO;
    rendering.render_mode = FT_RENDER_MODE_MONO;
  }
  return rendering;
}

struct GlyphBits {
  int left;
  int top;
  int width;
  int height;
  std::vector<uint8_t> coverage;
};

GlyphBits CopyBitmap(const FT_Bitmap& bitmap, int left, int top) {
  GlyphBits bits{left, top, static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows), {}};
  bits.coverage.resize(static_cast<size_t>(bits.width) * static_cast<size_t>(bits.height));
  for (int y = 0; y < bits.height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
    for (int x = 0; x < bits.width; ++x) {
      const uint8_t value = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                ? ((row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0)
                                : row[x];
      bits.coverage[static_cast<size_t>(y * bits.width + x)] = value;
    }
  }
  return bits;
}

// Fonts fontconfig finds for a character the carried glyphs lack: only a
// text beyond the carried set (an edited caption) looks for them.
class FontconfigFallback {
 public:
  FontconfigFallback(const FontDesign& design, double pixel_size) {
    request_ = FcPatternCreate();
    FcPatternAddString(request_, FC_FAMILY, reinterpret_cast<const FcChar8*>(design.name.c_str()));
    FcPatternAddDouble(request_, FC_PIXEL_SIZE, pixel_size);
    FcPatternAddDouble(request_, FC_WEIGHT, FcWeightFromOpenTypeDouble(design.weight));
    FcConfigSubstitute(nullptr, request_, FcMatchPattern);
    FcDefaultSubstitute(request_);
    FcResult result = FcResultNoMatch;
    fonts_ = FcFontSort(nullptr, request_, FcTrue, nullptr, &result);
  }
  ~FontconfigFallback() {
    if (fonts_ != nullptr) FcFontSetDestroy(fonts_);
    FcPatternDestroy(request_);
  }
  FontconfigFallback(const FontconfigFallback&) = delete;
  FontconfigFallback& operator=(const FontconfigFallback&) = delete;

  // The first font in fontconfig's order that has the character; no face
  // when none has it.
  Rendering FontFor(char32_t character) const {
    for (int i = 0; fonts_ != nullptr && i < fonts_->nfont; ++i) {
      FcCharSet* characters = nullptr;
      if (FcPatternGetCharSet(fonts_->fonts[i], FC_CHARSET, 0, &characters) == FcResultMatch &&
          FcCharSetHasChar(characters, character)) {
        FcPattern* prepared = FcFontRenderPrepare(nullptr, request_, fonts_->fonts[i]);
        const Rendering rendering = RenderingOf(prepared);
        FcPatternDestroy(prepared);
        return rendering;
      }
    }
    return {};
  }

 private:
  FcPattern* request_ = nullptr;
  FcFontSet* fonts_ = nullptr;
};

// The carried glyphs, rendered as Debian's fontconfig defaults render them
// (slight hinting, grey antialiasing) and emboldened for a bold design, as
// the font has no bold face.
class CarriedTextFont : public TextFont {
 public:
  CarriedTextFont(const FontDesign& design, float dots_per_inch)
      : design_(design), pixel_size_(design.points * dots_per_inch / 72.0) {
    carried_.face = CarriedFace();
    carried_.embolden = design.weight > kDemiBold;
    carried_.load_flags = FT_LOAD_TARGET_LIGHT;
    carried_.render_mode = FT_RENDER_MODE_LIGHT;
    const FT_Face face = carried_.face;
    if (face != nullptr && face->units_per_EM > 0) {
      // Lines as high as Windows and Qt make them: from the font's Windows
      // ascent and descent where it has them.
      const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      const bool windows_metrics = os2 != nullptr && os2->version != 0xFFFF;
      const double above = windows_metrics ? os2->usWinAscent : face->ascender;
      const double below = windows_metrics ? os2->usWinDescent : -face->descender;
      const double scale = pixel_size_ / face->units_per_EM;
      ascent_ = static_cast<int>(std::lround(above * scale));
      line_height_ = ascent_ + static_cast<int>(std::lround(below * scale));
    }
  }

  int LineHeight() const override { return line_height_; }

  const TextMask& MaskFor(const std::string& text) override {
    if (const auto found = masks_.find(text); found != masks_.end()) return found->second;
    if (masks_.size() >= kMaxMasks) masks_.clear();
    return masks_.emplace(text, Draw(text)).first->second;
  }

 private:
  static constexpr int kDemiBold = 600;

  const Rendering& FontFor(char32_t character) {
    if (carried_.face != nullptr && FT_Get_Char_Index(carried_.face, character) != 0)
      return carried_;
    if (const auto found = by_character_.find(character); found != by_character_.end())
      return found->second;
    if (!fallback_) fallback_ = std::make_unique<FontconfigFallback>(design_, pixel_size_);
    return by_character_[character] = fallback_->FontFor(character);
  }

  TextMask Draw(const std::string& text) {
    std::vector<GlyphBits> glyphs;
    FT_Pos pen = 0;  // 26.6
    for (size_t at = 0; at < text.size();) {
      const size_t length = Utf8PrefixBytes(text.substr(at), 1);
      const char32_t character = DecodeFirstUtf8(text.substr(at, length));
      at += std::max<size_t>(length, 1);
      const Rendering& font = FontFor(character);
      FT_Face face = font.face;
      if (face == nullptr) continue;
      FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(pixel_size_ * 64)), 72, 72);
      if (FT_Load_Glyph(face, FT_Get_Char_Index(face, character), font.load_flags) != 0) continue;
      if (font.embolden) FT_GlyphSlot_Embolden(face->glyph);
      if (FT_Render_Glyph(face->glyph, font.render_mode) == 0) {
        glyphs.push_back(CopyBitmap(face->glyph->bitmap,
                                    static_cast<int>(pen >> 6) + face->glyph->bitmap_left,
                                    ascent_ - face->glyph->bitmap_top));
      }
      pen += face->glyph->advance.x;
    }
    return Compose(glyphs);
  }

  static TextMask Compose(const std::vector<GlyphBits>& glyphs) {
    TextMask mask;
    if (glyphs.empty()) return mask;
    int right = glyphs[0].left, bottom = glyphs[0].top;
    mask.left = glyphs[0].left;
    mask.top = glyphs[0].top;
    for (const GlyphBits& glyph : glyphs) {
      mask.left = std::min(mask.left, glyph.left);
      mask.top = std::min(mask.top, glyph.top);
      right = std::max(right, glyph.left + glyph.width);
      bottom = std::max(bottom, glyph.top + glyph.height);
    }
    mask.width = right - mask.left;
    mask.height = bottom - mask.top;
    mask.coverage.assign(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height), 0);
    for (const GlyphBits& glyph : glyphs) {
      for (int y = 0; y < glyph.height; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
          uint8_t& cell = mask.coverage[static_cast<size_t>(
              (glyph.top - mask.top + y) * mask.width + glyph.left - mask.left + x)];
          cell = std::max(cell, glyph.coverage[static_cast<size_t>(y * glyph.width + x)]);
        }
      }
    }
    return mask;
  }

  FontDesign design_;
  double pixel_size_;
  Rendering carried_;
  std::unique_ptr<FontconfigFallback> fallback_;
  int ascent_ = 0;
  int line_height_ = 0;
  std::unordered_map<char32_t, Rendering> by_character_;
  std::unordered_map<std::string, TextMask> masks_;
};

}  // namespace

size_t PaddedStride(const TextMask& mask) {
  return (static_cast<size_t>(mask.width) + 3) & ~size_t{3};
}

std::vector<uint8_t> PaddedRows(const TextMask& mask) {
  const size_t stride = PaddedStride(mask);
  std::vector<uint8_t> rows(stride * static_cast<size_t>(mask.height));
  for (int row = 0; row < mask.height; ++row) {
    std::copy_n(mask.coverage.data() + static_cast<ptrdiff_t>(row) * mask.width, mask.width,
                rows.data() + static_cast<ptrdiff_t>(row) * static_cast<ptrdiff_t>(stride));
  }
  return rows;
}

std::shared_ptr<TextFont> TextFont::For(const FontDesign& design, float dots_per_inch) {
  // Fonts are few and shared by every box of one design.
  static std::map<std::tuple<std::string, float, int, float>, std::shared_ptr<TextFont>> fonts;
  const auto key = std::make_tuple(design.name, design.points, design.weight, dots_per_inch);
  std::shared_ptr<TextFont>& font = fonts[key];
  if (!font) font = std::make_shared<CarriedTextFont>(design, dots_per_inch);
  return font;
}

}  // namespace rt::desktop
