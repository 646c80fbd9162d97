// The committed pictures: their formats and byte sizes, and that the
// committed generator makes them again. A picture that is missing or short
// stops its checks at the size, before any byte of it is read.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "gtest/gtest-spi.h"
#include "tests/support/temp_dir.h"

namespace {

uint32_t Le16(const std::string& bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8;
}

uint32_t Le32(const std::string& bytes, size_t at) {
  return Le16(bytes, at) | Le16(bytes, at + 2) << 16;
}

uint32_t Be16(const std::string& bytes, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) << 8 |
         static_cast<uint8_t>(bytes[at + 1]);
}

std::string Asset(const std::string& folder, const char* name) {
  return ReadFile(folder + "/" + name);
}

void ExpectBitmap(const std::string& bmp) {
  ASSERT_EQ(bmp.size(), 565038u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(Le32(bmp, 2), 565038u);
  EXPECT_EQ(Le32(bmp, 10), 54u);
  EXPECT_EQ(Le32(bmp, 18), 471u);
  EXPECT_EQ(Le32(bmp, 22), 399u);
  EXPECT_EQ(Le16(bmp, 28), 24u);
  EXPECT_EQ(Le32(bmp, 30), 0u) << "uncompressed";
}

// One image of an icon (type 1) or cursor (type 2) file.
void ExpectIconFile(const std::string& file, uint32_t type, size_t size, uint32_t colors,
                    uint32_t bits) {
  ASSERT_EQ(file.size(), size);
  EXPECT_EQ(Le16(file, 0), 0u);
  EXPECT_EQ(Le16(file, 2), type);
  EXPECT_EQ(Le16(file, 4), 1u) << "one image";
  EXPECT_EQ(static_cast<uint8_t>(file[6]), 32);
  EXPECT_EQ(static_cast<uint8_t>(file[7]), 32);
  EXPECT_EQ(static_cast<uint8_t>(file[8]), colors);
  EXPECT_EQ(Le32(file, 14), size - 22);
  EXPECT_EQ(Le32(file, 18), 22u);
  EXPECT_EQ(Le16(file, 22 + 14), bits) << "bits per pixel of the image";
}

void ExpectButtonJpeg(const std::string& jpg) {
  EXPECT_GE(jpg.size(), 1000u);
  EXPECT_LE(jpg.size(), 1400u) << "about 1.2 KB";
  ASSERT_GT(jpg.size(), 20u);
  EXPECT_EQ(Be16(jpg, 0), 0xFFD8u);
  EXPECT_EQ(jpg.substr(6, 5), std::string("JFIF\0", 5));
  const size_t sof = jpg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos) << "baseline";
  ASSERT_GT(jpg.size(), sof + 9) << "a whole frame header";
  EXPECT_EQ(jpg.find("\xFF\xC2"), std::string::npos) << "not progressive";
  EXPECT_EQ(Be16(jpg, sof + 5), 34u);
  EXPECT_EQ(Be16(jpg, sof + 7), 120u);
  EXPECT_EQ(static_cast<uint8_t>(jpg[sof + 9]), 3) << "three components";
}

// The .scr's icon: 16, 32, 48 and 256 pixels, its 32-pixel image the window
// icon's own, and the 256-pixel one a PNG, as Explorer takes it.
void ExpectProgramIcon(const std::string& ico, const std::string& window_icon) {
  ASSERT_GT(ico.size(), 6u + 4 * 16);
  ASSERT_GT(window_icon.size(), 22u);
  ASSERT_EQ(Le16(ico, 4), 4u);
  const int sizes[] = {16, 32, 48, 256};
  for (size_t i = 0; i < 4; ++i) {
    const size_t entry = 6 + 16 * i;
    EXPECT_EQ(static_cast<uint8_t>(ico[entry]), sizes[i] % 256) << i;
    const std::string image = ico.substr(Le32(ico, entry + 12), Le32(ico, entry + 8));
    if (sizes[i] == 32) {
      EXPECT_EQ(image, window_icon.substr(22)) << "the window icon's image";
    } else if (sizes[i] == 256) {
      EXPECT_EQ(image.substr(1, 3), "PNG");
    }
  }
}

// Each picture is checked on its own: one that fails does not hide the
// others, and the cursor's hot spot is read only from a whole file.
void ExpectAllPictures(const std::string& folder) {
  SCOPED_TRACE(folder);
  EXPECT_NO_FATAL_FAILURE(ExpectBitmap(Asset(folder, "background.bmp"))) << "background.bmp";
  EXPECT_NO_FATAL_FAILURE(ExpectIconFile(Asset(folder, "kelvora.ico"), 1, 2238, 0, 8))
      << "kelvora.ico";
  EXPECT_NO_FATAL_FAILURE(ExpectButtonJpeg(Asset(folder, "button.jpg"))) << "button.jpg";
  EXPECT_NO_FATAL_FAILURE(
      ExpectProgramIcon(Asset(folder, "kelvora-program.ico"), Asset(folder, "kelvora.ico")))
      << "kelvora-program.ico";
  const std::string cursor = Asset(folder, "hand.cur");
  ASSERT_NO_FATAL_FAILURE(ExpectIconFile(cursor, 2, 766, 16, 4)) << "hand.cur";
  EXPECT_EQ(Le16(cursor, 10), 12u) << "hot spot x";
  EXPECT_EQ(Le16(cursor, 12), 1u) << "hot spot y";
}

TEST(Assets, CommittedPicturesHaveTheirFormatsAndSizes) { ExpectAllPictures(KELVORA_ASSETS_DIR); }

// A folder without the pictures fails each check cleanly: no byte is read
// beyond a file's end (the ASan build would stop on one).
TEST(Assets, MissingPicturesFailWithoutReadingThem) {
  TempDir empty;
  testing::TestPartResultArray failures;
  {
    testing::ScopedFakeTestPartResultReporter reporter(
        testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
    ExpectAllPictures(empty.path().string());
  }
  for (const char* name : {"background.bmp", "kelvora.ico", "button.jpg", "hand.cur"}) {
    bool named = false;
    for (int i = 0; i < failures.size(); ++i)
      named = named ||
              std::string(failures.GetTestPartResult(i).message()).find(name) != std::string::npos;
    EXPECT_TRUE(named) << "a failure names " << name;
  }
}

TEST(Assets, TheGeneratorMakesThemAgain) {
  TempDir out;
  const std::string command = "QT_QPA_PLATFORM=offscreen '" + std::string(KELVORA_MAKE_ASSETS) +
                              "' '" + out.path().string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  ASSERT_NO_FATAL_FAILURE(ExpectAllPictures(out.path().string()));
  // Drawn without fonts, these come out byte for byte.
  for (const char* name :
       {"kelvora.ico", "hand.cur", "kelvora-program.ico", "kelvora-16.png", "kelvora-24.png",
        "kelvora-48.png", "kelvora-64.png", "kelvora-128.png", "kelvora-256.png"}) {
    EXPECT_EQ(Asset(out.path().string(), name), Asset(KELVORA_ASSETS_DIR, name)) << name;
  }
}

}  // namespace
