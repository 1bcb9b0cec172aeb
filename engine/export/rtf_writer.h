#pragma once
// Lengths in RTF files.
#include <cstdint>

namespace quillet {

// The pixels per inch of RTF lengths when 1 or more; otherwise the screen's.
extern int32_t DocViewPixelsPerInch;
// Twips (1440 an inch) per pixel of the document.
double GetTwipsPerPixel();
// A length in pixels as twips, rounded half to even.
int32_t RTFTwips(int32_t pixels, double twipsPerPixel);

}  // namespace quillet
