// Settings beside a program whose folder the user cannot write: reads and
// writes go to a copy of the user's own, made from the file as it was, and
// read from then on; a folder the user can write keeps the file itself. A
// packaged build always keeps the user's copy, made from the system's
// defaults, and never writes beside the program, not even as root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "runtime/platform/linux/per_user_profile.h"
#include "runtime/platform/os_services.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
const std::string kUtf16Bom = "\xFF\xFE";

std::string Read(const std::string& path, const std::string& key = "SP") {
  return rt::GetPrivateProfileString("main", key, "ERRORFLAG", 256, path);
}

bool Write(const std::string& path, const std::string& value, const std::string& key = "SP") {
  return rt::WritePrivateProfileString("main", key, value, path);
}

// "[main]\nSP=10\n" as UTF-16 with its byte-order mark.
std::string Utf16(const std::string& ascii) {
  std::string text = kUtf16Bom;
  for (char c : ascii) text += {c, '\0'};
  return text;
}

// A program folder that an ordinary user cannot write, and a settings home
// that the user owns.
class PerUserProfile : public testing::Test {
 protected:
  void SetUp() override {
    fs::permissions(dir_.path(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::create_directory(program_);
    fs::create_directory(config_);
    if (::geteuid() == 0) ::chown(config_.c_str(), kNobody, kNobody);
  }

  // Runs the step as that user in a process of its own and gives what it
  // printed, or "exit N" when it did not end well.
  std::string AsUser(const std::function<std::string()>& step,
                     const std::string& config_home = "") const {
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(pipe_ends[0]);
      ::setenv("XDG_CONFIG_HOME", (config_home.empty() ? config_ : config_home).c_str(), 1);
      if (::geteuid() == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
      } else {
        ::chmod(program_.c_str(), 0555);
      }
      const std::string said = step();
      ::_exit(::write(pipe_ends[1], said.data(), said.size()) == static_cast<ssize_t>(said.size())
                  ? 0
                  : 3);
    }
    ::close(pipe_ends[1]);
    std::string said;
    char buffer[256];
    for (ssize_t got; (got = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;)
      said.append(buffer, static_cast<size_t>(got));
    ::close(pipe_ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
      return "exit " + std::to_string(WEXITSTATUS(status));
    return said;
  }

  TempDir dir_;
  const std::string program_ = dir_.File("program");
  const std::string config_ = dir_.File("config");
  const std::string ini_ = program_ + "/kelvora.ini";
  const std::string copy_ = config_ + "/kelvora/kelvora.ini";
};

TEST_F(PerUserProfile, TheCopysPlaceFollowsTheBaseDirectoryRules) {
  struct Case {
    const char* config_home;
    const char* home;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"/x/config", "/home/u", "/x/config/kelvora/kelvora.ini"},
      {nullptr, "/home/u", "/home/u/.config/kelvora/kelvora.ini"},
      {"", "/home/u", "/home/u/.config/kelvora/kelvora.ini"},
      {"relative/config", "/home/u", "/home/u/.config/kelvora/kelvora.ini"},
  };
  for (const Case& c : cases) {
    const std::string said = AsUser([&] {
      if (c.config_home != nullptr) {
        ::setenv("XDG_CONFIG_HOME", c.config_home, 1);
      } else {
        ::unsetenv("XDG_CONFIG_HOME");
      }
      ::setenv("HOME", c.home, 1);
      return rt::PerUserCopyOf("/usr/libexec/xscreensaver/kelvora.ini");
    });
    EXPECT_EQ(said, c.expected) << (c.config_home ? c.config_home : "(unset)");
  }
}

TEST_F(PerUserProfile, AWritableFolderKeepsTheFileBesideTheProgram) {
  fs::create_directories(fs::path(copy_).parent_path());
  WriteFile(copy_, "[main]\nSP=100\n");
  ::chmod(program_.c_str(), 0777);
  WriteFile(ini_, "[main]\nSP=10\n");
  ::chmod(ini_.c_str(), 0666);  // a file the user may not write is kept as it is
  EXPECT_EQ(AsUser([&] { return Read(ini_); }), "10") << "a copy is read only in its place";
  EXPECT_EQ(AsUser([&] { return std::to_string(Write(ini_, "200")); }), "1");
  EXPECT_EQ(ReadFile(ini_), "[main]\nSP=200\n");
  EXPECT_EQ(ReadFile(copy_), "[main]\nSP=100\n");
}

TEST_F(PerUserProfile, TheFirstWriteCopiesTheFileAndChangesOnlyTheCopy) {
  const std::string original = "; the administrator's\n[main]\nCOLOR1=0\nSP=10\n";
  WriteFile(ini_, original);
  EXPECT_EQ(AsUser([&] { return Read(ini_); }), "10") << "no copy yet: the file itself";
  EXPECT_EQ(AsUser([&] { return std::to_string(Write(ini_, "200")); }), "1");
  EXPECT_EQ(ReadFile(ini_), original) << "the program's file stays as it was";
  EXPECT_EQ(ReadFile(copy_), "; the administrator's\n[main]\nCOLOR1=0\nSP=200\n");
  // The copy is read from now on, even where the file says otherwise.
  WriteFile(ini_, "[main]\nCOLOR1=240\nSP=100\n");
  EXPECT_EQ(AsUser([&] { return Read(ini_) + " " + Read(ini_, "COLOR1"); }), "200 0");
}

TEST_F(PerUserProfile, AFileAbsentBesideTheProgramIsMadeInTheCopysPlace) {
  EXPECT_EQ(AsUser([&] { return std::to_string(Write(ini_, "10")); }), "1");
  EXPECT_FALSE(fs::exists(ini_));
  EXPECT_EQ(ReadFile(copy_), "[main]\nSP=10\n");
}

TEST_F(PerUserProfile, TheCopyKeepsUtf16) {
  WriteFile(ini_, Utf16("[main]\r\nSP=10\r\n"));
  EXPECT_EQ(AsUser([&] { return std::to_string(Write(ini_, "200")); }), "1");
  EXPECT_EQ(ReadFile(copy_), Utf16("[main]\r\nSP=200\r\n"));
}

// Where no copy can be made, the write fails, loses nothing, and the file
// that refused it is the copy's, named as such: no install for all users.
TEST_F(PerUserProfile, NowhereToWriteFailsAndNamesTheCopy) {
  WriteFile(ini_, "[main]\nSP=10\n");
  fs::create_directories(config_ + "/taken/kelvora/kelvora.ini");  // a folder in the file's place
  if (::geteuid() == 0) ::chown((config_ + "/taken").c_str(), kNobody, kNobody);
  for (const std::string& home : {program_ + "/config", config_ + "/taken"}) {
    const std::string said = AsUser(
        [&] {
          const rt::WrittenProfile file = rt::WrittenProfileFile(ini_);
          return std::to_string(Write(ini_, "200")) + " " + file.path + " " +
                 std::to_string(file.for_all_users);
        },
        home);
    EXPECT_EQ(said, "0 " + home + "/kelvora/kelvora.ini 0");
  }
  EXPECT_EQ(ReadFile(ini_), "[main]\nSP=10\n");
}

// Writers take turns under a lock on the folder; a folder that cannot be
// opened to take it (writable, but not readable) fails the write rather
// than letting it go on unguarded.
TEST_F(PerUserProfile, AWriteThatCannotTakeTheLockFails) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root, to run as another user";
  ::chmod(program_.c_str(), 0333);
  EXPECT_EQ(AsUser([&] { return std::to_string(Write(ini_, "200")); }), "0");
  ::chmod(program_.c_str(), 0755);
  EXPECT_FALSE(fs::exists(ini_));
}

TEST_F(PerUserProfile, AWritableFolderNamesTheFileBesideTheProgram) {
  ::chmod(program_.c_str(), 0777);
  const rt::WrittenProfile file = rt::WrittenProfileFile(ini_);
  EXPECT_EQ(file.path, ini_);
  EXPECT_FALSE(file.for_all_users);
}

// The packaged rule, whoever runs it, root included: the user's copy is
// read and written; before it exists the first of $XDG_CONFIG_DIRS that
// holds kelvora/kelvora.ini gives the defaults, and the copy is made from
// it; the file beside the program is neither read nor written.
TEST_F(PerUserProfile, PackagedKeepsTheUsersCopyMadeFromTheSystemsDefaults) {
  const std::string first = dir_.File("xdg1"), second = dir_.File("xdg2");
  fs::create_directories(second + "/kelvora");
  WriteFile(second + "/kelvora/kelvora.ini", "; site\n[main]\nCOLOR1=0\nSP=100\n");
  ::chmod(program_.c_str(), 0777);  // even a folder that can be written
  WriteFile(ini_, "[main]\nSP=10\n");
  ::setenv("XDG_CONFIG_DIRS", ("relative:" + first + ":" + second).c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
  constexpr rt::SettingsRule kPackaged = rt::SettingsRule::kPerUser;
  EXPECT_EQ(rt::ProfileToRead(ini_, kPackaged), second + "/kelvora/kelvora.ini");
  const rt::WritePlace place = rt::PlaceToWrite(ini_, kPackaged);
  EXPECT_EQ(place.file, copy_);
  EXPECT_EQ(place.seed, second + "/kelvora/kelvora.ini");
  EXPECT_FALSE(place.for_all_users);
  ::unsetenv("XDG_CONFIG_DIRS");
  EXPECT_EQ(rt::SystemDefaultsOf(ini_),
            fs::exists("/etc/xdg/kelvora/kelvora.ini") ? "/etc/xdg/kelvora/kelvora.ini" : "")
      << "by default /etc/xdg";
  fs::create_directories(fs::path(copy_).parent_path());
  WriteFile(copy_, "[main]\nSP=200\n");
  EXPECT_EQ(rt::ProfileToRead(ini_, kPackaged), copy_) << "once it exists, the copy";
  ::unsetenv("XDG_CONFIG_HOME");
}

// The portable rule of the same folders: beside the program where its
// folder can be written, root's too.
TEST_F(PerUserProfile, PortableKeepsTheFileBesideAWritableProgramFolder) {
  ::chmod(program_.c_str(), 0777);
  constexpr rt::SettingsRule kPortable = rt::SettingsRule::kBesideTheProgram;
  EXPECT_EQ(rt::ProfileToRead(ini_, kPortable), ini_);
  EXPECT_EQ(rt::PlaceToWrite(ini_, kPortable).file, ini_);
  EXPECT_EQ(rt::BuiltSettingsRule(), kPortable) << "the tests' build is the portable one";
}

// Writers that start at once all copy the file, but only one copy is made:
// each keeps the key the others wrote.
TEST_F(PerUserProfile, WritersAtOnceLoseNoKey) {
  WriteFile(ini_, "[main]\nSP=10\n");
  constexpr int kWriters = 8;
  std::vector<pid_t> writers;
  for (int i = 0; i < kWriters; ++i) {
    const pid_t child = ::fork();
    if (child == 0) {
      const std::string said = AsUser(
          [&] { return std::to_string(Write(ini_, std::to_string(i), "K" + std::to_string(i))); });
      ::_exit(said == "1" ? 0 : 1);
    }
    writers.push_back(child);
  }
  for (const pid_t writer : writers) {
    int status = 0;
    ::waitpid(writer, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const std::string read_back = AsUser([&] {
    std::string values = Read(ini_);
    for (int i = 0; i < kWriters; ++i) values += " " + Read(ini_, "K" + std::to_string(i));
    return values;
  });
  EXPECT_EQ(read_back, "10 0 1 2 3 4 5 6 7");
}

}  // namespace
