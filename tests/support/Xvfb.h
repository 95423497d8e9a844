// A private X server (Xvfb) for a test: started on a free display number of
// the range TRELLIAN_XVFB_DISPLAYS names ("FIRST-LAST", default 200-299) with
// one screen of `screen` ("WIDTHxHEIGHTxDEPTH"), stopped when the object goes.
//
// The number is always named to the server, never left to it: servers in
// other network namespaces share the socket files in /tmp/.X11-unix but not
// the abstract sockets a server probes when it picks a number itself, so it
// could pick one that a server outside holds, and a program in a lab would
// then reach that server through the file. A named number is refused while
// its lock file /tmp/.X<n>-lock belongs to a live server, in any namespace.
#pragma once

#include <sys/types.h>

#include <string>

class Xvfb {
 public:
  explicit Xvfb(const std::string& screen = "1024x768x24");
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  // ":N" once the server accepts clients; empty when it did not start.
  const std::string& name() const { return name_; }

 private:
  bool StartOn(int number, const std::string& screen);

  pid_t pid_ = -1;
  std::string name_;
};
