// DVF files: the compressed document form on disk.
#include "engine/model/dv_data.h"
#include "engine/stream/compressed_form.h"
#include "platform/core/stream.h"

namespace quillet {

bool TCustomDVData::SaveDVF(const std::string& fileName, bool selectionOnly, TColor color,
                            const TDVBackground* background, const TDVLayoutInfo* layout) {
  TMemoryStream stream;
  if (!SaveDVFToStream(stream, selectionOnly, color, background, layout)) return false;
  try {
    CompressDVF(stream, TCompressionLevel::clDefault);
  } catch (const ECompressionError&) {
    return false;
  }
  // Written beside the file and renamed over it only when complete.
  stream.SaveToFile(fileName);
  return true;
}

bool TCustomDVData::LoadDVF(const std::string& fileName, TColor& color, TDVBackground* background,
                            TDVLayoutInfo* layout) {
  TFileStream file(fileName, fmOpenRead);
  TMemoryStream stream;
  try {
    UnCompressDVF(file, stream);
  } catch (const EStreamError&) {
    return false;
  }
  stream.SetPosition(0);
  return LoadDVFFromStream(stream, color, background, layout);
}

}  // namespace quillet
