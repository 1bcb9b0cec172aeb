#pragma once
// Types shared by the writers of text, HTML and RTF and the items that write
// themselves into them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/colors.h"

namespace quillet {

class TCustomImageList;

enum TDVSaveOption : uint16_t {
  dvsoOverrideImages = 1, dvsoFirstOnly = 2, dvsoMiddleOnly = 4, dvsoLastOnly = 8, dvsoDefault0Style = 16,
  dvsoNoHypertextImageBorders = 32, dvsoImageSizes = 64, dvsoForceNonTextCSS = 128, dvsoUseCheckpointsNames = 256
};
using TDVSaveOptions = uint16_t;

// What a control is asked to write itself as.
enum TDVSaveFormat { dvsfText, dvsfHTML, dvsfRTF, dvsfDVF };

// An image-list image already written as a picture file for an HTML page,
// so that a page writes each image once.
struct TDVHTMLBulletInfo {
  std::string FileName;
  const TCustomImageList* ImageList = nullptr;
  int32_t ImageIndex = 0;
  TColor BackColor = clNone;
};
using TDVHTMLBullets = std::vector<TDVHTMLBulletInfo>;

// The page margins of an HTML page, in pixels.
struct TDVHTMLMargins {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

}  // namespace quillet
