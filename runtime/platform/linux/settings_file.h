// The settings file over POSIX files: what its reader, its writer and the
// per-user copy share. Only a regular file is read; a write goes to a scratch
// file beside the old one, which is then renamed over it, so that a kill or a
// full disk leaves either the old file or the new one; writers of one folder
// take turns under a lock on the folder.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rt::settings_file {

// The folder that holds a file: "." for a bare name, "/" at the root.
std::string FolderOf(const std::string& file);
std::string NameOf(const std::string& file);

// A file opened to be read. A FIFO, a device or a folder by the file's name
// is a file that cannot be read: it is opened without waiting (a FIFO with
// no writer would block for ever) and never read.
class FileToRead {
 public:
  explicit FileToRead(const std::string& path);
  ~FileToRead();
  FileToRead(const FileToRead&) = delete;
  FileToRead& operator=(const FileToRead&) = delete;

  bool absent() const { return absent_; }
  bool readable() const { return fd_ >= 0; }
  // The next bytes: their count, 0 at the end, -1 when the read fails.
  std::ptrdiff_t Read(char* buffer, size_t size);

 private:
  int fd_ = -1;
  bool absent_ = false;
};

// The whole file, for a write that changes it: no bytes when it exists but
// cannot be read.
struct WholeFile {
  bool exists = false;
  std::optional<std::string> bytes;
};
WholeFile ReadWhole(const std::string& path);

// The file a write changes: a link is written through to its target, as an
// in-place write would; nothing when the name holds something other than a
// regular file, which a write must not follow.
std::optional<std::string> WriteTarget(const std::string& path);

// Writers of one folder take turns: each reads, changes and replaces the
// whole file, and two at once would each lose the other's key. The lock is
// on the folder, which stays while the file is replaced; the kernel lets it
// go when its holder ends in any way. A write that cannot take it fails.
class FolderLock {
 public:
  explicit FolderLock(const std::string& file);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_;
};

// Under the folder lock: removes the scratch files that writers killed
// before their rename left beside the file.
void RemoveLeftScratchFiles(const std::string& file);

// Under the folder lock: the file replaced at once by these bytes, keeping
// its mode (a new file gets the umask's).
bool Replace(const std::string& file, std::string_view bytes);

// The folder and those above it, made where missing.
bool MakeFolders(const std::string& folder);

}  // namespace rt::settings_file
