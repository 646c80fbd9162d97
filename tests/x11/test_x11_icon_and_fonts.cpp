// What the X backend reads without a toolkit, against Qt reading the same:
// the window's icon from the icon file, and the rain's font from the carried
// glyphs (line height, and ink for every character the rain prints).
#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <string>

#include "runtime/language/conversions.h"
#include "runtime/platform/desktop/text_masks.h"
#include "runtime/platform/linux/carried_font.h"
#include "runtime/platform/x11/x11_assets.h"
#include "runtime/platform/x11/x11_icon.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(X11Icon, DecodesTheIconFileAsQtDoes) {
  const std::string file = ReadFile(std::string(KELVORA_ASSETS_DIR) + "/kelvora.ico");
  ASSERT_EQ(rt::x11::AssetBytes("kelvora.ico"), file) << "the program carries the file as it is";
  const std::vector<uint32_t> icon = rt::x11::IconCardinals(file);
  const QImage reference =
      QImage::fromData(QByteArray(file.data(), static_cast<qsizetype>(file.size())), "ICO")
          .convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(reference.isNull());
  ASSERT_EQ(icon.size(), 2u + static_cast<size_t>(reference.width() * reference.height()));
  EXPECT_EQ(icon[0], static_cast<uint32_t>(reference.width()));
  EXPECT_EQ(icon[1], static_cast<uint32_t>(reference.height()));
  int differing = 0;
  for (int y = 0; y < reference.height(); ++y) {
    for (int x = 0; x < reference.width(); ++x) {
      const uint32_t ours = icon[2 + static_cast<size_t>(y * reference.width() + x)];
      const uint32_t theirs = reference.pixel(x, y);
      // Fully transparent pixels may differ in their hidden colour.
      if (ours != theirs && (ours >> 24 != 0 || theirs >> 24 != 0)) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST(X11Icon, BrokenFilesGiveNoIcon) {
  const std::string file(rt::x11::AssetBytes("kelvora.ico"));
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"header only", file.substr(0, 6)},
      {"cut in the directory", file.substr(0, 12)},
      {"cut in the image", file.substr(0, file.size() / 2)},
      {"a cursor file", file.substr(0, 2) + '\2' + file.substr(3)},
  };
  for (const auto& c : cases) EXPECT_TRUE(rt::x11::IconCardinals(c.bytes).empty()) << c.name;
}

class X11Font : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "x11_tests";
    static char* argv[] = {name, nullptr};
    application_ = new QGuiApplication(argc, argv);
    const std::string_view carried = rt::linux_program::CarriedFont();
    carried_families_ =
        QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFontFromData(
            QByteArray(carried.data(), static_cast<qsizetype>(carried.size()))));
  }
  static inline QStringList carried_families_;
  static inline QGuiApplication* application_ = nullptr;
  const rt::FontDesign rain_font_{"MS Sans Serif", 8.25f, 700};
};

TEST_F(X11Font, TheCarriedGlyphsAreTheFamilyTheProgramAsksFor) {
  EXPECT_EQ(carried_families_, QStringList{rt::linux_program::kCarriedFontFamily});
}

TEST_F(X11Font, LinesAreAsHighAsQtMakesThemFromTheCarriedGlyphs) {
  QFont reference(rt::linux_program::kCarriedFontFamily);
  reference.setPointSizeF(rain_font_.points);
  reference.setWeight(static_cast<QFont::Weight>(rain_font_.weight));
  EXPECT_EQ(rt::desktop::TextFont::For(rain_font_, 96)->LineHeight(),
            QFontMetrics(reference).height());
}

TEST_F(X11Font, EveryCharacterOfTheRainHasInkWithinItsLine) {
  const auto font = rt::desktop::TextFont::For(rain_font_, 96);
  for (int code = 0xA1; code <= 0xDF; ++code) {
    const rt::desktop::TextMask& mask = font->MaskFor(rt::Chr(code));
    int ink = 0;
    for (const uint8_t coverage : mask.coverage) ink += coverage > 0 ? 1 : 0;
    EXPECT_GT(ink, 2) << code;
    EXPECT_GE(mask.top, 0) << code;
    EXPECT_LE(mask.top + mask.height, font->LineHeight() + 1) << code;
  }
  EXPECT_TRUE(font->MaskFor(" ").coverage.empty() ||
              *std::max_element(font->MaskFor(" ").coverage.begin(),
                                font->MaskFor(" ").coverage.end()) == 0);
}

}  // namespace
