// A test with a private folder and one text file in it, written byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TempDir.h"

class FileFixture : public ::testing::Test {
 protected:
  std::string Write(const std::string& content) {
    std::string path = dir_.file("input.txt");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    return path;
  }
  TempDir dir_;
};
