// The member list's icons, 16 x 16: 142 "Manually" (a pencil over a line, the
// row's address is entered by hand) and 143 "Delete" (a red cross). Drawn as
// tables of characters, one colour each; '.' is transparent.

#include <iterator>

#include "Resource.h"
#include "TableImages.h"

namespace {

const int kManualIcon = 142;
const int kDeleteIcon = 143;
const int kSize = 16;

const TableInk kInks[] = {
    {'#', RGB(40, 40, 40)},    {'y', RGB(245, 200, 60)}, {'o', RGB(200, 120, 40)}, {'p', RGB(230, 140, 150)},
    {'s', RGB(170, 170, 180)}, {'b', RGB(40, 80, 160)},  {'r', RGB(200, 30, 30)},  {'R', RGB(130, 10, 10)},
    {'w', RGB(255, 255, 255)},
};

const char* const kManual[kSize] = {
    "................",
    "...........##...",
    "..........#pp#..",
    ".........#ssp#..",
    "........#yys#...",
    ".......#yyy#....",
    "......#yyy#.....",
    ".....#yyy#......",
    "....#yyy#.......",
    "...#oyy#........",
    "...#oo#.........",
    "..#o##..........",
    "..##............",
    "................",
    ".bbbbbbbbbbbbbb.",
    "................",
};

const char* const kDelete[kSize] = {
    "................",
    "..RR........RR..",
    ".RrrR......RrrR.",
    ".RrrrR....RrrrR.",
    "..RrrrR..RrrrR..",
    "...RrrrRRrrrR...",
    "....RrrrrrrR....",
    ".....RrrrrR.....",
    ".....RrrrrR.....",
    "....RrrrrrrR....",
    "...RrrrRRrrrR...",
    "..RrrrR..RrrrR..",
    ".RrrrR....RrrrR.",
    ".RrrR......RrrR.",
    "..RR........RR..",
    "................",
};

const ResourceRegistrar kRegister([] {
  PlatformAddIcon(MAKEINTRESOURCEA(kManualIcon), [] { return MakeTableIcon(kManual, kSize, kInks, std::size(kInks)); });
  PlatformAddIcon(MAKEINTRESOURCEA(kDeleteIcon), [] { return MakeTableIcon(kDelete, kSize, kInks, std::size(kInks)); });
});

}  // namespace
