// Code run as a user whom file modes bind, for tests of folders that cannot
// be written: root writes into a folder of mode 0500 all the same, and the
// tests run as root in CI. As an ordinary user the scope changes nothing. As
// root it takes "nobody" (65534) as the effective user and group until the
// scope ends; the folders that user is to own are handed over (Own) before.
// Only the effective ids change, so the process can always return to root.
#pragma once

#include <sys/prctl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

class PlainUser {
 public:
  static constexpr uid_t kUid = 65534;
  static constexpr gid_t kGid = 65534;

  PlainUser() {
    if (geteuid() != 0) return;
    dumpable_ = prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
    if (setegid(kGid) != 0) {
      failure_ = std::string("root cannot take group 65534 (") + std::strerror(errno) + "), and modes do not bind root";
      return;
    }
    if (seteuid(kUid) != 0) {
      failure_ = std::string("root cannot take user 65534 (") + std::strerror(errno) + "), and modes do not bind root";
      setegid(0);
      return;
    }
    switched_ = true;
  }

  ~PlainUser() {
    if (!switched_) return;
    // The user first: only root may take group 0 back.
    if (seteuid(0) != 0 || setegid(0) != 0) std::abort();
    // A change of effective user makes the process undumpable, which would
    // keep the leak checker from reading it at exit.
    if (dumpable_ > 0) prctl(PR_SET_DUMPABLE, dumpable_, 0, 0, 0);
  }

  PlainUser(const PlainUser&) = delete;
  PlainUser& operator=(const PlainUser&) = delete;

  // Empty when the scope runs as a user whom modes bind; else why not, for a
  // test to skip with.
  const std::string& failure() const { return failure_; }

  // Gives `path` (not what it holds) to the user the scope will run as. True
  // when it is that user's; nothing to do for an ordinary user.
  static bool Own(const std::string& path) {
    return geteuid() != 0 || chown(path.c_str(), kUid, kGid) == 0;
  }

 private:
  bool switched_ = false;
  int dumpable_ = -1;
  std::string failure_;
};
