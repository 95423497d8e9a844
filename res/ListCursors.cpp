// The lists' hand cursor (179), shown over the clickable icons of a list:
// a pointing hand, drawn as a table of characters ('#' outline, 'o' fill,
// '.' transparent) with its hot spot at the fingertip.

#include <iterator>

#include "Resource.h"
#include "TableImages.h"

namespace {

const int kHandCursor = 179;
const char* const kHand[16] = {
    ".....##.........",
    "....#oo#........",
    "....#oo#........",
    "....#oo#........",
    "....#oo###......",
    "....#oo#oo###...",
    "..###oo#oo#oo##.",
    ".#oo#oo#oo#oo#o#",
    ".#ooooooooooooo#",
    "..#oooooooooooo#",
    "..#ooooooooooo#.",
    "...#oooooooooo#.",
    "...#ooooooooo#..",
    "....#oooooooo#..",
    "....#oooooooo#..",
    "....##########..",
};

const TableInk kInks[] = {{'#', RGB(0, 0, 0)}, {'o', RGB(255, 255, 255)}};

const ResourceRegistrar kRegister([] {
  PlatformAddCursor(MAKEINTRESOURCEA(kHandCursor),
                    [] { return MakeTableIcon(kHand, 16, kInks, std::size(kInks), FALSE, 5, 0); });
});

}  // namespace
