// Pages of the gallery that register themselves: a page file adds
//   static GalleryPage page("name", WriteMyPictures);
// and the gallery writes its pictures after the built-in pages.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "UiPlatform.h"

struct GalleryPage {
  const char* name;
  bool (*write)(const std::string& out);
  GalleryPage(const char* pageName, bool (*writer)(const std::string& out));
};

inline std::vector<GalleryPage>& GalleryPages() {
  static std::vector<GalleryPage> pages;
  return pages;
}

inline GalleryPage::GalleryPage(const char* pageName, bool (*writer)(const std::string& out))
    : name(pageName), write(writer) {
  GalleryPages().push_back(*this);
}

// Copies the given top-level windows, in order, into one PNG of the screen
// area `area`, as a person sees them stacked. Needs the platform's windows.
bool SaveScreenPng(const RECT& area, std::initializer_list<HWND> windows, const std::string& path);
// Our skin: beside the program where the build puts it, else in the source
// tree when the gallery runs from the top of the checkout; empty when neither.
std::string OurSkinFile();  // ScrollPage.cpp
