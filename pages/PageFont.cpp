#include "PageFont.h"

void CreatePageFont(CFont& font, int height, int width, int weight) {
  font.CreateFont(height, width, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
}
