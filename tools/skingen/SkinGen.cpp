// skingen FOLDER
//     draws the vAdev skin (every image and skin.ini) into FOLDER;
//     `skingen res/Skin/vAdev` refreshes the committed skin.
// skingen --sheet FILE.png [FOLDER]
//     writes the contact sheet of the skin in FOLDER (default: the
//     Skin/vAdev folder beside this program).
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Files.h"
#include "SkinArt.h"

namespace {

std::string ProgramFolder() {
  char path[4096] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string p(path);
  size_t cut = p.find_last_of("/\\");
  return cut == std::string::npos ? "." : p.substr(0, cut);
}

int Usage() {
  std::fprintf(stderr, "usage: skingen FOLDER | skingen --sheet FILE.png [FOLDER]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  if (argc >= 3 && std::strcmp(argv[1], "--sheet") == 0) {
    std::string folder = argc >= 4 ? argv[3] : ProgramFolder() + "/Skin/vAdev";
    if (!skinart::WriteContactSheet(folder, argv[2], &error)) {
      std::fprintf(stderr, "skingen: cannot read or write %s\n", error.c_str());
      return 1;
    }
    std::printf("wrote %s\n", argv[2]);
    return 0;
  }
  if (argc != 2 || argv[1][0] == '-') return Usage();
  mkdir(argv[1], 0755);
  if (!skinart::WriteSkin(argv[1], &error)) {
    std::fprintf(stderr, "skingen: cannot write %s\n", error.c_str());
    return 1;
  }
  std::printf("wrote %zu images and skin.ini to %s\n", skinart::SkinImages().size(), argv[1]);
  return 0;
}
