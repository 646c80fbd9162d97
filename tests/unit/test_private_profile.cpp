// The private-profile functions over real files: absent, linked, unwritable,
// read-only, not a regular file, changed while read, read in pieces, killed
// in the middle of a write, written by two processes at once and written on
// a full disk.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "runtime/platform/os_services.h"
#include "runtime/windows_text/file_encoding.h"
#include "runtime/windows_text/ini_text.h"
#include "runtime/windows_text/streamed_search.h"
#include "tests/support/settings_corpus.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path, const std::string& key = "SP") {
  return rt::GetPrivateProfileString("main", key, "ERRORFLAG", 256, path);
}

bool Write(const std::string& path, const std::string& value, const std::string& key = "SP") {
  return rt::WritePrivateProfileString("main", key, value, path);
}

TEST(PrivateProfileRead, MissingOrUnreadableGivesTheDefault) {
  TempDir dir;
  EXPECT_EQ(Read(dir.File("absent.ini")), "ERRORFLAG");
  EXPECT_EQ(Read(dir.path().string()), "ERRORFLAG");  // a folder, not a file
}

// Only a hang reaches it.
constexpr auto kHangBound = std::chrono::seconds(60);

// Runs the step in a process of its own; false when it hangs or dies.
bool EndsInTime(const std::function<bool()>& step) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(step() ? 0 : 1);
  const auto deadline = std::chrono::steady_clock::now() + kHangBound;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A FIFO, a device or a folder by the file's name is a file that cannot be
// read: the read gives the default at once (a FIFO without a writer would
// wait for ever, /dev/zero would fill the memory), and a write fails without
// following the name.
TEST(PrivateProfileFile, OnlyARegularFileIsReadOrWritten) {
  TempDir dir;
  const std::string fifo = dir.File("fifo.ini"), zero = dir.File("zero.ini"),
                    random = dir.File("random.ini"), folder = dir.File("folder.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  fs::create_symlink("/dev/zero", zero);
  fs::create_symlink("/dev/urandom", random);
  fs::create_directory(folder);
  for (const std::string& path : {fifo, zero, random, folder}) {
    EXPECT_TRUE(EndsInTime([&] { return Read(path) == "ERRORFLAG"; })) << path;
    EXPECT_TRUE(EndsInTime([&] { return !Write(path, "10"); })) << path;
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(fs::read_symlink(zero), "/dev/zero");
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4)
      << "nothing made beside them";
}

// A reader that hands the text over in pieces of the given size.
rt::ini::ReadBytes InPieces(const std::string& bytes, size_t piece) {
  return [&bytes, piece, at = size_t{0}](char* buffer, size_t size) mutable {
    const size_t count = std::min({piece, size, bytes.size() - at});
    std::copy_n(bytes.data() + at, count, buffer);
    at += count;
    return static_cast<std::ptrdiff_t>(count);
  };
}

// Whatever size the pieces come in (one byte splits every line end, lead
// byte and surrogate pair), a streamed read finds what the whole text gives,
// over every file of the corpus the Wine tests hold against Windows.
TEST(PrivateProfileRead, InPiecesFindsWhatTheWholeTextGives) {
  std::vector<CorpusFile> files = SettingsCorpus();
  files.push_back({"LeadByteBeforeLineEnds", "[main]\n\x81\nSP=1\n\x81\x81\nSP=2\r\n"});
  files.push_back({"SurrogatePairInUtf16", std::string("\xFF\xFE[\0m\0a\0i\0n\0]\0\n\0S\0P\0=\0"
                                                       "\x3D\xD8\x00\xDE\n\0",
                                                       28)});
  for (const CorpusFile& file : files) {
    const rt::ini::ProfileText whole(file.bytes);
    for (const std::u16string key : {u"SP", u"COLOR1", u"KEY"}) {
      const auto expected = rt::ini::FindValue(whole.text(), whole.charset(), u"main", key);
      for (const size_t piece : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, rt::ini::kReadPiece}) {
        EXPECT_EQ(rt::ini::FindValueStreamed(InPieces(file.bytes, piece), u"main", key, piece),
                  expected)
            << file.name << " in pieces of " << piece;
      }
    }
  }
}

// Memory does not grow with the file: a line longer than the bound is read
// as its start, and what follows it is read as usual.
TEST(PrivateProfileRead, ALineBeyondTheBoundIsReadAsItsStart) {
  TempDir dir;
  const std::string path = dir.File("k.ini");
  WriteFile(path, "[main]\nCOLOR1=" + std::string(3 * rt::ini::kLongestLine, '7') + "\nSP=10\n");
  EXPECT_EQ(Read(path, "COLOR1"), std::string(255, '7'));
  EXPECT_EQ(Read(path), "10");
}

TEST(PrivateProfileRead, CutsTheValueToTheBuffer) {
  TempDir dir;
  WriteFile(dir.File("k.ini"), "[main]\nSP=" + std::string(300, '7') + "\n");
  EXPECT_EQ(Read(dir.File("k.ini")), std::string(255, '7'));
  EXPECT_EQ(rt::GetPrivateProfileString("main", "SP", "ERRORFLAG", 4, dir.File("k.ini")), "777");
}

TEST(PrivateProfileWrite, CreatesAFileWithTheUsualMode) {
  TempDir dir;
  const mode_t old_mask = ::umask(022);
  ASSERT_TRUE(Write(dir.File("k.ini"), "10"));
  ::umask(old_mask);
  EXPECT_EQ(ReadFile(dir.File("k.ini")), "[main]\nSP=10\n");
  EXPECT_EQ(fs::status(dir.File("k.ini")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
}

TEST(PrivateProfileWrite, KeepsEverythingElseAndTheFileMode) {
  TempDir dir;
  const std::string path = dir.File("k.ini");
  WriteFile(path, "; notes\n[other]\nSP=1\n[main]\nCOLOR1=0\nSP=10\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(Write(path, "200"));
  EXPECT_EQ(ReadFile(path), "; notes\n[other]\nSP=1\n[main]\nCOLOR1=0\nSP=200\n");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
      << "no temporary file is left behind";
}

TEST(PrivateProfileWrite, WritesThroughALinkAndKeepsIt) {
  TempDir dir;
  WriteFile(dir.File("real.ini"), "[main]\nSP=10\n");
  fs::create_symlink(dir.File("real.ini"), dir.File("k.ini"));
  ASSERT_TRUE(Write(dir.File("k.ini"), "100"));
  EXPECT_TRUE(fs::is_symlink(dir.File("k.ini")));
  EXPECT_EQ(ReadFile(dir.File("real.ini")), "[main]\nSP=100\n");
}

TEST(PrivateProfileWrite, FailsWithoutChangingAnything) {
  TempDir dir;
  // A dangling link, a folder in the file's place, a folder that can't hold
  // files, and line breaks that would add lines of their own.
  fs::create_symlink(dir.File("nowhere.ini"), dir.File("dangling.ini"));
  EXPECT_FALSE(Write(dir.File("dangling.ini"), "10"));
  EXPECT_FALSE(fs::exists(dir.File("nowhere.ini")));
  fs::create_directory(dir.File("folder.ini"));
  EXPECT_FALSE(Write(dir.File("folder.ini"), "10"));
  EXPECT_TRUE(fs::is_directory(dir.File("folder.ini")));
  EXPECT_FALSE(Write("/proc/kelvora.ini", "10"));
  EXPECT_FALSE(Write(dir.File("missing-folder/k.ini"), "10"));
  WriteFile(dir.File("k.ini"), "[main]\nSP=10\n");
  EXPECT_FALSE(Write(dir.File("k.ini"), "1\n[evil]"));
  EXPECT_FALSE(Write(dir.File("k.ini"), "1", "S\rP"));
  EXPECT_EQ(ReadFile(dir.File("k.ini")), "[main]\nSP=10\n");
}

// A file with a byte-order mark is text in that encoding, and a write keeps
// the mark and the encoding: one key's line changes, nothing else.
TEST(PrivateProfileWrite, KeepsTheEncodingOfAMarkedFile) {
  TempDir dir;
  const auto utf16 = [](const std::u16string& text, bool big_endian) {
    std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
      const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
      out += big_endian ? high : low;
      out += big_endian ? low : high;
    }
    return out;
  };
  struct Case {
    const char* name;
    std::string before, after;  // SP set to 200
  };
  const Case cases[] = {
      {"Utf16Le", utf16(u"; \u8A2D\u5B9A\r\n[main]\r\nSP=10\r\nCOLOR1=\u30A2\r\n", false),
       utf16(u"; \u8A2D\u5B9A\r\n[main]\r\nSP=200\r\nCOLOR1=\u30A2\r\n", false)},
      {"Utf16Be", utf16(u"[main]\r\nSP=10\r\n", true), utf16(u"[main]\r\nSP=200\r\n", true)},
      {"Utf16LeNewKey", utf16(u"[main]\r\nA=\U0001F600\r\n", false),
       utf16(u"[main]\r\nA=\U0001F600\r\nSP=200\r\n", false)},
      {"Utf16LeLoneSurrogateKept", utf16(u"[main]\r\nA=\xD800\r\n", false),
       utf16(u"[main]\r\nA=\xD800\r\nSP=200\r\n", false)},
      {"Utf8Bom", "\xEF\xBB\xBF[main]\nA=\xE5\x80\xA4\nSP=1\n",
       "\xEF\xBB\xBF[main]\nA=\xE5\x80\xA4\nSP=200\n"},
      {"ShiftJis", "[main]\n\x83\x5C=\x95\x5C\nSP=1\n", "[main]\n\x83\x5C=\x95\x5C\nSP=200\n"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.File(std::string(c.name) + ".ini");
    WriteFile(path, c.before);
    ASSERT_TRUE(Write(path, "200")) << c.name;
    EXPECT_EQ(ReadFile(path), c.after) << c.name;
    EXPECT_EQ(Read(path), "200") << c.name;
  }
}

TEST(PrivateProfileRead, ReadsMarkedFilesAsText) {
  TempDir dir;
  const std::string path = dir.File("k.ini");
  WriteFile(path, std::string("\xFF\xFE[\0m\0a\0i\0n\0]\0\n\0S\0P\0=\0\xA2\x30\n\0", 26));
  EXPECT_EQ(Read(path), "\u30A2");
  WriteFile(path, "\xEF\xBB\xBF[main]\nSP=\xE3\x82\xA2\n");
  EXPECT_EQ(Read(path), "\u30A2");
  WriteFile(path, "[main]\nSP=\x83\x41\n");  // Shift-JIS, the ANSI code page
  EXPECT_EQ(Read(path), "\u30A2");
}

// Root writes into any folder, so the write runs as an ordinary user.
TEST(PrivateProfileWrite, ReadOnlyFolderFailsAndKeepsTheFile) {
  TempDir dir;
  WriteFile(dir.File("k.ini"), "[main]\nSP=10\n");
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                  fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    // Nor can the user keep a copy of its own there.
    ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(2);
    ::_exit(Write(dir.File("k.ini"), "200") ? 1 : 0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write must report failure";
  EXPECT_EQ(ReadFile(dir.File("k.ini")), "[main]\nSP=10\n");
}

// A read-only file is never replaced, though its folder would let a new file
// be renamed over it: not when it has no write bit (which holds for root too,
// as the read-only attribute does for Windows' administrator), not when the
// user may not write it, and not for a key it lacks (a first run's defaults).
TEST(PrivateProfileWrite, ReadOnlyFileFailsAndKeepsTheFile) {
  constexpr uid_t kNobody = 65534;
  struct Case {
    const char* name;
    fs::perms mode;
    bool as_plain_user;
    const char* key;
  };
  const Case cases[] = {
      {"no write bit", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
       false, "SP"},
      {"no write bit, a missing key",
       fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, false, "COLOR1"},
      {"another user's file",
       fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
           fs::perms::others_read,
       true, "SP"},
  };
  for (const Case& test : cases) {
    TempDir dir;
    const std::string path = dir.File("k.ini");
    WriteFile(path, "[main]\nSP=10\n");
    fs::permissions(dir.path(), fs::perms::all);
    fs::permissions(path, test.mode);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (test.as_plain_user && ::geteuid() == 0 &&
          (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
        ::_exit(2);
      ::_exit(Write(path, "200", test.key) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << test.name << ": must fail";
    EXPECT_EQ(ReadFile(path), "[main]\nSP=10\n") << test.name;
    EXPECT_EQ(fs::status(path).permissions(), test.mode) << test.name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
        << test.name << ": nothing left beside it";
  }
}

// An editor saves by shortening the file in place and writing it again. A
// read at that moment sees some version of the file, and never dies.
TEST(PrivateProfileRead, SurvivesTheFileShortenedInPlace) {
  TempDir dir;
  const std::string path = dir.File("k.ini");
  const std::string text = "; " + std::string(2 << 20, 'x') + "\n[main]\nSP=100\n";
  WriteFile(path, text);
  const pid_t editor = ::fork();
  ASSERT_GE(editor, 0);
  if (editor == 0) {
    for (;;) std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  }
  const pid_t reader = ::fork();
  ASSERT_GE(reader, 0);
  if (reader == 0) {
    for (int i = 0; i < 300; ++i) {
      const std::string value = Read(path);
      if (!std::string("100").starts_with(value) && value != "ERRORFLAG") ::_exit(1);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(reader, &status, 0);
  ::kill(editor, SIGKILL);
  ::waitpid(editor, nullptr, 0);
  EXPECT_FALSE(WIFSIGNALED(status)) << "the reader died of signal " << WTERMSIG(status);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a value from no version";
}

// A writer killed at random moments leaves the old file or the new one.
TEST(PrivateProfileWrite, KillDuringWriteLeavesOldOrNewFile) {
  TempDir dir;
  const std::string path = dir.File("k.ini");
  const std::string padding = "; " + std::string(1 << 20, 'x') + "\n";
  const std::string with_a = padding + "[main]\nSP=100\n";
  const std::string with_b = padding + "[main]\nSP=200\n";
  WriteFile(path, with_a);
  std::mt19937 random(12345);
  for (int round = 0; round < 25; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) Write(path, i % 2 == 0 ? "200" : "100");
    }
    ::usleep(std::uniform_int_distribution<useconds_t>(0, 20000)(random));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string after = ReadFile(path);
    ASSERT_TRUE(after == with_a || after == with_b)
        << "round " << round << ": " << after.size() << " bytes";
  }
  // The next write clears away the new files the killed writers left.
  ASSERT_TRUE(Write(path, "100"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// Only the file's own leftovers go: other files that look alike stay.
TEST(PrivateProfileWrite, RemovesOnlyItsOwnLeftNewFiles) {
  TempDir dir;
  WriteFile(dir.File("k.ini"), "[main]\nSP=10\n");
  const std::vector<std::string> kept = {"k.ini.backup", "k.ini.new-toolong", "k.ini.new-a.b-c",
                                         "other.ini.new-Ab3xYz"};
  for (const std::string& name : kept) WriteFile(dir.File(name), "mine");
  WriteFile(dir.File("k.ini.new-Ab3xYz"), "[main]\nSP=");
  ASSERT_TRUE(Write(dir.File("k.ini"), "200"));
  EXPECT_FALSE(fs::exists(dir.File("k.ini.new-Ab3xYz")));
  for (const std::string& name : kept) EXPECT_EQ(ReadFile(dir.File(name)), "mine") << name;
}

// Two processes writing keys of their own into one file at once: every
// key of both is there at the end, and a reader never sees a partial file.
// A UTF-16 file stays UTF-16 throughout.
TEST(PrivateProfileWrite, ConcurrentWritersLoseNoKey) {
  std::string utf16_start = "\xFF\xFE";
  for (const char c : std::string("[main]\nSP=10\n")) utf16_start += std::string{c, '\0'};
  for (const std::string& start : {std::string("[main]\nSP=10\n"), utf16_start}) {
    TempDir dir;
    const std::string path = dir.File("k.ini");
    WriteFile(path, start);
    constexpr int kKeys = 100;
    std::vector<pid_t> writers;
    for (const char* prefix : {"A", "B"}) {
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        for (int i = 0; i < kKeys; ++i) {
          if (!Write(path, std::to_string(i), prefix + std::to_string(i))) ::_exit(1);
        }
        ::_exit(0);
      }
      writers.push_back(child);
    }
    int reads = 0;
    for (bool running = true; running; ++reads) {
      const std::string seen = ReadFile(path);
      ASSERT_TRUE(seen.starts_with(start) &&
                  seen.ends_with(start == utf16_start ? std::string("\n\0", 2) : "\n"))
          << seen;
      running = false;
      for (const pid_t writer : writers) running |= ::waitpid(writer, nullptr, WNOHANG) == 0;
    }
    for (const char* prefix : {"A", "B"}) {
      for (int i = 0; i < kKeys; ++i)
        EXPECT_EQ(Read(path, prefix + std::to_string(i)), std::to_string(i)) << prefix << i;
    }
    EXPECT_EQ(Read(path), "10");
    EXPECT_GT(reads, 1);
  }
}

// A disk with no room for the new file: the write reports failure, the old
// file stays as it was and no scratch file is left beside it.
TEST(PrivateProfileWrite, FullDiskKeepsTheOldFile) {
  TempDir dir;
  if (::geteuid() != 0 ||
      ::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
    GTEST_SKIP() << "mounting a small tmpfs needs root";
  const std::string path = dir.File("k.ini");
  const std::string old_file = "[main]\n; " + std::string(20000, 'x') + "\nSP=10\n";
  WriteFile(path, old_file);
  {
    std::ofstream filler(dir.File("filler"), std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), block.size())) {
    }
  }
  EXPECT_FALSE(Write(path, "200"));
  EXPECT_EQ(ReadFile(path), old_file);
  const auto entries = std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
  EXPECT_EQ(entries, 2) << "only the file and the filler";
  fs::remove(dir.File("filler"));
  EXPECT_TRUE(Write(path, "200"));
  EXPECT_EQ(Read(path), "200");
  ::umount(dir.path().c_str());
}

}  // namespace
