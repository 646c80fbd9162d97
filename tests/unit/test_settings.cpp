// The settings operations of Module1 over the file beside the program.
#include <gtest/gtest.h>

#include <optional>

#include "runtime/platform/null/null_backend.h"
#include "startup/module1.h"
#include "tests/support/temp_dir.h"

namespace {

class Settings : public testing::Test {
 protected:
  Settings() { rt::null::SetAppPath(dir_.path().string()); }
  ~Settings() override { rt::null::SetAppPath("."); }
  std::string Ini() const { return dir_.File("kelvora.ini"); }

  TempDir dir_;
};

TEST_F(Settings, PathJoinsFolderAndNameWithoutChecks) {
  EXPECT_EQ(SettingsPath(), dir_.File("kelvora.ini"));
  rt::null::SetAppPath("/");
  EXPECT_EQ(SettingsPath(), "//kelvora.ini");  // a root folder already ends in a separator
}

struct ValueCase {
  const char* name;
  friend void PrintTo(const ValueCase& c, std::ostream* out) { *out << c.name; }
  std::string file;
  std::optional<std::string> sp;
};

class ReadSettingTable : public Settings, public testing::WithParamInterface<ValueCase> {};

TEST_P(ReadSettingTable, ReadsValueOrMissing) {
  WriteFile(Ini(), GetParam().file);
  EXPECT_EQ(ReadSetting("SP"), GetParam().sp);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadSettingTable,
    testing::Values(ValueCase{"Present", "[main]\nSP=100\n", "100"},
                    ValueCase{"MissingKey", "[main]\nCOLOR1=0\n", std::nullopt},
                    ValueCase{"MissingSection", "[other]\nSP=100\n", std::nullopt},
                    ValueCase{"MarkerMeansMissing", "[main]\nSP=ERRORFLAG\n", std::nullopt},
                    ValueCase{"MarkerInOtherCaseIsAValue", "[main]\nSP=errorflag\n", "errorflag"},
                    ValueCase{"EmptyValue", "[main]\nSP=\n", ""},
                    ValueCase{"NotANumber", "[main]\nSP=fast\n", "fast"},
                    ValueCase{"LongValueCut", "[main]\nSP=" + std::string(300, '9') + "\n",
                              std::string(255, '9')},
                    ValueCase{"CutAtNul",
                              std::string("[main]\nSP=12\0"
                                          "34\n",
                                          16),
                              "12"}),
    [](const testing::TestParamInfo<ValueCase>& info) { return info.param.name; });

TEST_F(Settings, NoFileMeansEveryKeyMissing) {
  for (const char* key : {"COLOR1", "COLOR2", "COLOR3", "SP"}) {
    EXPECT_EQ(ReadSetting(key), std::nullopt) << key;
  }
}

TEST_F(Settings, WriteReadsBackAndReportsFailure) {
  ASSERT_TRUE(WriteSetting("COLOR2", "240"));
  EXPECT_EQ(ReadSetting("COLOR2"), "240");
  rt::null::SetAppPath(dir_.File("no-such-folder"));
  EXPECT_FALSE(WriteSetting("COLOR2", "0"));
}

}  // namespace
