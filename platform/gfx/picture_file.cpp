#include "platform/gfx/picture_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/gfx/icon.h"
#include "platform/gfx/jpeg_image.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/qt_bitmap.h"

namespace quillet {

namespace {

constexpr int64_t kMaxPictureFile = int64_t{256} * 1024 * 1024;

std::string LowerExtension(const std::string& fileName) {
  std::string ext = std::filesystem::path(fileName).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext;
}

}  // namespace

std::unique_ptr<TBitmap> DecodeImageBytes(const std::vector<uint8_t>& bytes) {
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() < 1 || size.height() < 1 || size.width() > TBitmap::kMaxSide ||
      size.height() > TBitmap::kMaxSide || int64_t{size.width()} * size.height() > TBitmap::kMaxPixels)
    throw EInvalidGraphic("Image is not valid: no size or too large");
  QImage image;
  if (!reader.read(&image) || image.isNull())
    throw EInvalidGraphic("Image is not valid: " + reader.errorString().toStdString());
  auto bitmap = std::make_unique<TBitmap>();
  SetBitmapImage(*bitmap,
                 image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32));
  return bitmap;
}

std::unique_ptr<TGraphic> LoadPictureFile(const std::string& fileName) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(fileName, error))
    throw EInvalidGraphic("Picture file is not valid: not a regular file");
  const std::string ext = LowerExtension(fileName);
  TFileStream stream(fileName, fmOpenRead);
  if (ext == ".png" || ext == ".gif")
    return DecodeImageBytes(ReadPictureBytes(stream, kMaxPictureFile, "Picture file"));
  std::unique_ptr<TGraphic> graphic;
  if (ext == ".bmp" || ext == ".dib")
    graphic = std::make_unique<TBitmap>();
  else if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe")
    graphic = std::make_unique<TJPEGImage>();
  else if (ext == ".ico")
    graphic = std::make_unique<TIcon>();
  else if (ext == ".emf" || ext == ".wmf")
    graphic = std::make_unique<TMetafile>();
  else
    throw EInvalidGraphic("Picture file is not valid: unknown kind " + ext);
  if (stream.GetSize() > kMaxPictureFile) throw EInvalidGraphic("Picture file is not valid: file too large");
  graphic->LoadFromStream(stream);
  return graphic;
}

}  // namespace quillet
