#include "tests/support/test_user.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

bool Root() { return ::geteuid() == 0; }

}  // namespace

uid_t FreeUserId() {
  for (uid_t uid = 64000; uid < 65000; ++uid) {
    if (::getpwuid(uid) == nullptr && ::getgrgid(uid) == nullptr) return uid;
  }
  throw std::runtime_error("no free user id");
}

TestUser::TestUser()
    : uid_(Root() ? FreeUserId() : ::geteuid()),
      home_(scratch_.File("home")),
      runtime_dir_(scratch_.File("runtime")) {
  // The user must reach its home through our scratch folder.
  fs::permissions(scratch_.path(), fs::perms::owner_all | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
  fs::create_directory(home_);
  fs::create_directory(runtime_dir_);
  fs::permissions(runtime_dir_, fs::perms::owner_all, fs::perm_options::replace);
  if (!Root()) return;
  Own(home_);
  Own(runtime_dir_);
  const std::string id = std::to_string(uid_);
  WriteFile(scratch_.File("passwd"), ReadFile("/etc/passwd") + "kelvora-saver:x:" + id + ":" + id +
                                         ":kelvora test:" + home_ + ":/bin/sh\n");
  WriteFile(scratch_.File("group"), ReadFile("/etc/group") + "kelvora-saver:x:" + id + ":\n");
}

void TestUser::Own(const fs::path& top) const {
  if (!Root()) return;
  ::lchown(top.c_str(), uid_, uid_);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(top))
    ::lchown(entry.path().c_str(), uid_, uid_);
}

// Root runs it as the user inside a mount namespace whose passwd and group
// files name the user, so that programs that look the user up find it; the
// machine's files stay as they are.
std::vector<std::string> TestUser::Command(const std::vector<std::string>& command,
                                           const std::vector<std::string>& environment,
                                           const std::string& extra_mounts) const {
  std::vector<std::string> argv;
  if (Root()) {
    const std::string mounts = "mount --bind \"$1\" /etc/passwd && mount --bind \"$2\" /etc/group" +
                               (extra_mounts.empty() ? "" : " && " + extra_mounts);
    argv = {"unshare",
            "--mount",
            "--propagation",
            "private",
            "sh",
            "-c",
            mounts +
                " && id=$3 && shift 3 && exec setpriv --reuid=\"$id\" --regid=\"$id\" "
                "--clear-groups \"$@\"",
            "sh",
            scratch_.File("passwd"),
            scratch_.File("group"),
            std::to_string(uid_)};
  }
  argv.insert(argv.end(), {"env", "-i", "HOME=" + home_, "PATH=/usr/local/bin:/usr/bin:/bin",
                           "LANG=C.UTF-8", "XDG_RUNTIME_DIR=" + runtime_dir_});
  argv.insert(argv.end(), environment.begin(), environment.end());
  argv.insert(argv.end(), command.begin(), command.end());
  return argv;
}

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (!folder.empty() && ::access((fs::path(folder) / program).c_str(), X_OK) == 0) return true;
  }
  return false;
}
