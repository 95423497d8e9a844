// A private X server (Xvfb) for a test: started on a display number it picks
// itself, or the first free one of TRELLIAN_XVFB_DISPLAYS ("FIRST-LAST"), with one screen of `screen` ("WIDTHxHEIGHTxDEPTH"), stopped when the
// object goes.
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
  bool Start(const std::string& screen, int display);

  pid_t pid_ = -1;
  std::string name_;
};
