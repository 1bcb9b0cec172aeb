// Pictures of exported documents, written as files beside the page.
#include <sys/stat.h>

#include <climits>
#include <memory>

#include "engine/export/file_names.h"
#include "engine/model/dv_data.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/jpeg_image.h"

namespace quillet {

namespace {

enum class TFileState { Free, Writable, Taken };

// A file without write permission is read-only; anything else that exists
// under the name (a folder, say) is never overwritten.
TFileState StateOf(const std::string& fileName) {
  struct stat st {};
  if (::lstat(fileName.c_str(), &st) != 0) return TFileState::Free;
  if (S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0) return TFileState::Writable;
  return TFileState::Taken;
}

}  // namespace

std::string TCustomDVData::GetNextFileName(const std::string& imagesPrefix, const std::string& path,
                                           const std::string& ext, int& imgSaveNo, bool overrideFiles) const {
  for (;;) {
    if (imgSaveNo == INT_MAX) throw EDocViewError("No free file name for a picture");
    ++imgSaveNo;
    std::string name = path + imagesPrefix + std::to_string(imgSaveNo) + ext;
    const TFileState state = StateOf(name);
    if (state == TFileState::Free || (overrideFiles && state == TFileState::Writable)) return name;
  }
}

std::string TCustomDVData::SavePicture(bool asJPEG, const std::string& path, const std::string& imagesPrefix, int& imgSaveNo, bool overrideFiles, TColor backColor, const TGraphic& graphic) {
  const std::string fileName = GetNextFileName(imagesPrefix, path, asJPEG ? ".jpg" : ".bmp", imgSaveNo, overrideFiles);
  if (asJPEG && dynamic_cast<const TJPEGImage*>(&graphic)) {
    graphic.SaveToFile(fileName);
  } else {
    TBitmap bitmap;
    if (const auto* source = dynamic_cast<const TBitmap*>(&graphic)) {
      bitmap = *source;
    } else {
      bitmap.SetSize(graphic.Width(), graphic.Height());
      TCanvas& canvas = bitmap.Canvas();
      // A picture without a colour behind it is laid on white.
      canvas.Brush().Color = backColor == clNone ? clWhite : backColor;
      canvas.FillRect(Rect(0, 0, graphic.Width(), graphic.Height()));
      canvas.Draw(0, 0, graphic);
    }
    if (asJPEG) {
      TJPEGImage jpeg;
      jpeg.Assign(bitmap);
      jpeg.SaveToFile(fileName);
    } else {
      bitmap.SaveToFile(fileName);
    }
  }
  return DVExtractFilePath(imagesPrefix) + DVExtractFileName(fileName);
}

}  // namespace quillet
