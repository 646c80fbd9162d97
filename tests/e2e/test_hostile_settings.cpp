// Hostile settings files through the real program, for the rain (/S) and the
// dialog (/C): each case either runs, with the conversions the settings go
// through, or shows the run-time error at once and ends with status 1 when
// the message is read. None hangs or crashes, and none writes anything.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <thread>

#include "tests/e2e/display_fixture.h"

namespace {

namespace fs = std::filesystem;

// How the settings path is made hostile.
enum class Place {
  kFile,          // the contents below
  kFolder,        // kelvora.ini is a folder
  kDanglingLink,  // kelvora.ini links to a file that does not exist
  kUnreadable,    // the contents below, unreadable to the user running it
  kHuge,          // 50 MB of other sections, then the contents below
  kFifo,          // kelvora.ini is a FIFO that nothing writes
  kDevZero,       // kelvora.ini links to /dev/zero
};

struct HostileCase {
  const char* name;
  friend void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }
  const char* program_switch;
  Place place;
  std::string contents;
  // 0 when the program runs; else the run-time error it stops with.
  int error;
};

std::string HugeFile(const std::string& tail) {
  const std::string line = "; " + std::string(97, 'x') + "\n";
  std::string text = "[other]\n";
  text.reserve(50'000'000 + tail.size());
  while (text.size() < 50'000'000) text += line;
  return text + tail;
}

class HostileSettings : public OnDisplay<1024, 768>,
                        public testing::WithParamInterface<HostileCase> {
 protected:
  // Makes the settings path as the case asks; gives what must stay there.
  void Prepare() {
    const HostileCase& c = GetParam();
    const fs::path ini = install_.Ini();
    switch (c.place) {
      case Place::kFile:
      case Place::kUnreadable:
        WriteFile(ini, c.contents);
        if (c.place == Place::kUnreadable) fs::permissions(ini, fs::perms::owner_write);
        break;
      case Place::kFolder:
        fs::create_directory(ini);
        break;
      case Place::kDanglingLink:
        fs::create_symlink(install_.folder() / "gone.ini", ini);
        break;
      case Place::kHuge:
        WriteFile(ini, HugeFile(c.contents));
        break;
      case Place::kFifo:
        ASSERT_EQ(::mkfifo(ini.c_str(), 0666), 0);
        break;
      case Place::kDevZero:
        fs::create_symlink("/dev/zero", ini);
        break;
    }
    before_ = Snapshot();
  }

  // The folder's entries with each file's contents, links as their targets.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(install_.folder())) {
      const std::string name = entry.path().filename().string();
      if (entry.is_symlink()) {
        entries[name] = "link to " + fs::read_symlink(entry.path()).string();
      } else if (entry.is_directory()) {
        entries[name] = "folder";
      } else if (entry.is_fifo()) {
        entries[name] = "fifo";
      } else if (name == "kelvora.ini") {
        entries[name] = std::to_string(fs::file_size(entry.path())) + " bytes, " +
                        std::to_string(std::hash<std::string>()(ReadFile(entry.path())));
      } else {
        entries[name] = "file";
      }
    }
    return entries;
  }

  std::map<std::string, std::string> before_;
};

TEST_P(HostileSettings, RunOrStopWithTheMessageAndWriteNothing) {
  const HostileCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(Prepare());
  Process program = install_.Start(display(), {c.program_switch}, c.place == Place::kUnreadable);
  const std::optional<std::string> window = display().WaitForWindow();
  ASSERT_TRUE(window) << program.Stderr();

  const std::string name = display().WindowName(*window);
  if (c.error != 0) {
    EXPECT_EQ(name, "kelvora") << "the message";
    EXPECT_TRUE(program.Running()) << "the message waits to be read";
    display().Xdo({"windowfocus", "--sync", *window, "key", "Return"});
    EXPECT_EQ(program.WaitExit(), 1);
    EXPECT_NE(program.Stderr().find("実行時エラー '" + std::to_string(c.error) + "'"),
              std::string::npos)
        << program.Stderr();
  } else if (std::string(c.program_switch) == "/S") {
    // The rain: no message, and it runs until a key ends it.
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(EndWith(program, [&] { display().Xdo({"key", "a"}); }), 0) << program.Stderr();
    EXPECT_EQ(program.Stderr().find("実行時エラー"), std::string::npos) << program.Stderr();
  } else {
    EXPECT_EQ(name.rfind("設定", 0), 0u) << "the dialog: " << name;
    EXPECT_TRUE(program.Running());
    program.Kill();
  }
  EXPECT_EQ(Snapshot(), before_) << "nothing written";
}

// UTF-16, little-endian, with its byte-order mark; the text is ASCII.
std::string Utf16(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (const char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

std::vector<HostileCase> Cases() {
  const std::string valid_tail = "[main]\nCOLOR1=0\nCOLOR2=0\nCOLOR3=240\nSP=10\n";
  struct Content {
    const char* name;
    Place place;
    std::string contents;
    int rain_error;
    int dialog_error;
  };
  const std::vector<Content> contents = {
      // The speed is the timer's interval: 0 to 65535, else error 380; past
      // a Long it does not convert at all.
      {"SpeedNegative", Place::kFile, SettingsFile("240", "0", "0", "-1"), 380, 0},
      {"SpeedPast65535", Place::kFile, SettingsFile("240", "0", "0", "70000"), 380, 0},
      {"SpeedPastALong", Place::kFile, SettingsFile("240", "0", "0", "2147483648"), 6, 0},
      // A colour that is a Long but no Integer is skipped where each column
      // takes it: the rain runs without that colour.
      {"ColorBelowAnInteger", Place::kFile, SettingsFile("-32769", "0", "0", "10"), 0, 0},
      {"ColorPastALong", Place::kFile, SettingsFile("99999999999", "0", "0", "10"), 6, 0},
      {"SpeedEmpty", Place::kFile, SettingsFile("240", "0", "0", ""), 13, 0},
      {"ColorEmpty", Place::kFile, SettingsFile("240", "", "0", "10"), 13, 13},
      {"SpeedLetters", Place::kFile, SettingsFile("240", "0", "0", "fast"), 13, 0},
      {"ColorBlanks", Place::kFile, SettingsFile("240", "0", "   ", "10"), 13, 13},
      {"ColorBlankInside", Place::kFile, SettingsFile("2 40", "0", "0", "10"), 13, 13},
      // Numbers as Windows reads them: thousands separators, parentheses
      // for a negative, a full-width blank (in Shift-JIS, as the file is).
      {"ColorThousands", Place::kFile, SettingsFile("1,000", "0", "0", "10"), 0, 0},
      {"SpeedInParentheses", Place::kFile, SettingsFile("240", "0", "0", "(5)"), 380, 0},
      {"ColorAfterFullWidthBlank", Place::kFile,
       SettingsFile("\x81\x40"
                    "240",
                    "0", "0", "10"),
       0, 0},
      // A file Notepad saved as "Unicode" is text.
      {"Utf16File", Place::kFile, Utf16(SettingsFile("0", "240", "0", "(5)")), 380, 0},
      // Settings that cannot be read run with the defaults and are left as
      // they are.
      {"PathIsAFolder", Place::kFolder, "", 0, 0},
      {"DanglingLink", Place::kDanglingLink, "", 0, 0},
      {"Unreadable", Place::kUnreadable, valid_tail, 0, 0},
      {"FiftyMegabytes", Place::kHuge, valid_tail, 0, 0},
      // Only a regular file is read: a FIFO would wait for a writer for
      // ever, /dev/zero would fill the memory. Neither is written either.
      {"Fifo", Place::kFifo, "", 0, 0},
      {"LinkToDevZero", Place::kDevZero, "", 0, 0},
  };
  std::vector<HostileCase> cases;
  for (const Content& content : contents) {
    cases.push_back({content.name, "/S", content.place, content.contents, content.rain_error});
    cases.push_back({content.name, "/C", content.place, content.contents, content.dialog_error});
  }
  return cases;
}

// /P reads the settings and ends: on a FIFO or a device it ends at once,
// with the defaults, and leaves the name as it was.
TEST_F(HostileSettings, PreviewEndsOnAFifoOrADevice) {
  const fs::path ini = install_.Ini();
  for (const Place place : {Place::kFifo, Place::kDevZero}) {
    fs::remove(ini);
    if (place == Place::kFifo) {
      ASSERT_EQ(::mkfifo(ini.c_str(), 0666), 0);
    } else {
      fs::create_symlink("/dev/urandom", ini);
    }
    Process preview = install_.Start(display(), {"/P"});
    EXPECT_EQ(preview.WaitExit(), 0) << preview.Stderr();
    EXPECT_TRUE(place == Place::kFifo ? fs::is_fifo(ini) : fs::is_symlink(ini));
  }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSettings, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<HostileCase>& info) {
                           return std::string(info.param.name) +
                                  (info.param.program_switch[1] == 'S' ? "Rain" : "Dialog");
                         });

}  // namespace
