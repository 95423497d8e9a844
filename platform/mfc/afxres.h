// The class library's standard command ids that the program's menus and
// accelerators use.
#pragma once

#define ID_EDIT_CLEAR 0xE120
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_SELECT_ALL 0xE12A
