// Small helpers shared by the tests of the platform's system services.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

// The whole contents of a file, empty when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}
