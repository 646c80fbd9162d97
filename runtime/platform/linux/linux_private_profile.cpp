// The private-profile functions over POSIX files. A write goes to a new file
// beside the old one, which is then renamed over it, so that a kill or a full
// disk leaves either the old file or the new one, never a partial one.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/platform/linux/per_user_profile.h"
#include "runtime/platform/os_services.h"
#include "runtime/windows_text/file_encoding.h"
#include "runtime/windows_text/ini_text.h"
#include "runtime/windows_text/returned_value.h"
#include "runtime/windows_text/wide_text.h"

namespace rt {
namespace {

// A file's bytes in memory of their own, never zero-filled by us. The memory
// asks for huge pages: a large file then costs a few page faults rather than
// one per 4 KiB, which in a virtual machine cost more than the read itself.
class FileBytes {
 public:
  FileBytes() = default;
  FileBytes(FileBytes&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        size_(other.size_),
        capacity_(std::exchange(other.capacity_, 0)) {}
  FileBytes& operator=(FileBytes&&) = delete;
  ~FileBytes() {
    if (data_ != nullptr) ::munmap(data_, capacity_);
  }
  std::string_view view() const { return {data_, size_}; }
  // Reads what the descriptor has left; false on a read error.
  bool ReadFrom(int fd, size_t expected);

 private:
  bool Reserve(size_t capacity);

  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

bool FileBytes::Reserve(size_t capacity) {
  void* memory = data_ == nullptr ? ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                                           MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                                  : ::mremap(data_, capacity_, capacity, MREMAP_MAYMOVE);
  if (memory == MAP_FAILED) return false;
  ::madvise(memory, capacity, MADV_HUGEPAGE);
  data_ = static_cast<char*>(memory);
  capacity_ = capacity;
  return true;
}

bool FileBytes::ReadFrom(int fd, size_t expected) {
  // One more byte than expected, so that the end shows without a regrowth.
  if (!Reserve(expected + 1)) return false;
  for (;;) {
    if (size_ == capacity_ && !Reserve(capacity_ * 2)) return false;
    const ssize_t got = ::read(fd, data_ + size_, capacity_ - size_);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return got == 0;
    size_ += static_cast<size_t>(got);
  }
}

// The whole file, or nothing when it is absent (ENOENT) or can't be read.
// It is read, not mapped: a file shortened in place while it is read (as an
// editor saves) then gives a short read, where a mapping would die of SIGBUS.
struct FileRead {
  bool exists = false;
  std::optional<FileBytes> bytes;
};

FileRead ReadWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {errno != ENOENT, std::nullopt};
  struct stat info {};
  const size_t expected =
      ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) : 0;
  FileBytes bytes;
  const bool read = bytes.ReadFrom(fd, expected);
  ::close(fd);
  if (!read) return {true, std::nullopt};
  return {true, std::move(bytes)};
}

// The key's value in the file as it is on disk: a file with a UTF-16
// byte-order mark is read as text, one without as code page 932.
std::optional<std::u16string> FindInFile(const std::string& path, const std::string& section,
                                         const std::string& key) {
  const FileRead file = ReadWholeFile(path);
  if (!file.bytes) return std::nullopt;
  const ini::ProfileText text(file.bytes->view());
  return ini::FindValue(text.text(), text.charset(), ini::Utf8ToUtf16(section),
                        ini::Utf8ToUtf16(key));
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

// A link is written through to its target, as an in-place write would.
std::optional<std::string> WriteTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return std::nullopt;
  return std::string(resolved);
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The folder of a file, with its final slash.
std::string FolderOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? "./" : file.substr(0, slash + 1);
}

// A new file is written beside the old one under this name (mkstemp fills
// in the six characters) before it is renamed over it.
constexpr char kScratchInfix[] = ".new-";
constexpr size_t kScratchRandomLength = 6;

bool IsScratchFileOf(const std::string& name, const std::string& file_name) {
  const std::string prefix = file_name + kScratchInfix;
  if (name.size() != prefix.size() + kScratchRandomLength || !name.starts_with(prefix))
    return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

// A writer killed between making its new file and renaming it leaves the
// new file behind. While the folder lock is held no other writer is busy,
// so what earlier ones left can go.
void RemoveLeftScratchFiles(const std::string& target) {
  const size_t slash = target.rfind('/');
  const std::string file_name = slash == std::string::npos ? target : target.substr(slash + 1);
  DIR* listing = ::opendir(FolderOf(target).c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    if (IsScratchFileOf(entry->d_name, file_name)) ::unlinkat(::dirfd(listing), entry->d_name, 0);
  }
  ::closedir(listing);
}

bool ReplaceFile(const std::string& target, const std::string& text) {
  struct stat info {};
  const mode_t mode = ::stat(target.c_str(), &info) == 0 ? info.st_mode & 07777 : NewFileMode();
  std::string temp = target + kScratchInfix + std::string(kScratchRandomLength, 'X');
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

// Writers of one folder take turns: each reads, changes and replaces the
// whole file, and two at once would each lose the other's key. The lock is
// on the folder, which stays while the file is replaced; the kernel lets it
// go when its holder ends in any way.
class FolderLock {
 public:
  explicit FolderLock(const std::string& file)
      : fd_(::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
      }
    }
  }
  bool held() const { return fd_ >= 0; }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_;
};

// As Windows keeps a file with the read-only attribute: no write bit at all
// holds for every user, the administrator too; a file the user may not write
// holds for that user. Either is kept, though its folder would let a new
// file be renamed over it.
bool IsReadOnly(const std::string& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return false;
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT;
}

bool IsSafeText(const std::string& text) {
  return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_text, size_t size,
                                    const std::string& path) {
  const std::optional<std::u16string> value = FindInFile(ProfileToRead(path), section, key);
  return ini::AsReturned(value ? *value : ini::DefaultValue(ini::Utf8ToUtf16(default_text)), size);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
  // A line break in a name or value would spill into lines of its own.
  if (!IsSafeText(section) || !IsSafeText(key) || !IsSafeText(value)) return false;
  const std::optional<std::string> target = WriteTarget(ProfileToWrite(path));
  if (!target) return false;
  const FolderLock lock(*target);
  if (IsReadOnly(*target)) return false;
  if (lock.held()) RemoveLeftScratchFiles(*target);
  const FileRead file = ReadWholeFile(*target);
  if (file.exists && !file.bytes) return false;  // never replace what we could not read
  const ini::ProfileText text(file.bytes ? file.bytes->view() : std::string_view());
  const std::string encoded =
      text.charset() == ini::Charset::kUtf8 ? value : ini::Utf16ToCp932(ini::Utf8ToUtf16(value));
  const std::string changed =
      ini::WithValue(std::string(text.text()), text.charset(), ini::Utf8ToUtf16(section),
                     ini::Utf8ToUtf16(key), encoded);
  return ReplaceFile(*target, text.Save(changed));
}

}  // namespace rt
