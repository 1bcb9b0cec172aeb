#pragma once
// Pictures: the abstract graphic that documents hold and canvases draw, and
// the bitmap. Every kind is known by the class name documents store, so that
// readers can create it from that name: bitmap here, icon (icon.h), metafile
// (metafile.h) and JPEG (jpeg_image.h).
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/colors.h"
#include "platform/core/geometry.h"
#include "platform/core/stream.h"

namespace quillet {

class TCanvas;
class TBitmapImage;

// Bad or unsupported picture data; the graphic keeps what it had.
class EInvalidGraphic : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The rest of the stream as a picture file's bytes, refusing more than
// maxSize before anything is allocated. A stream error or an oversized file
// raises EInvalidGraphic, its message starting with `kind` ("Icon image").
std::vector<uint8_t> ReadPictureBytes(TStream& stream, int64_t maxSize, const char* kind);

class TGraphic {
 public:
  virtual ~TGraphic() = default;

  // "TBitmap", "TIcon", "TMetafile", "TJPEGImage": the name documents store.
  virtual std::string_view ClassName() const = 0;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual bool Empty() const = 0;

  // The graphic's own file form, read from the stream's position to the end
  // of the picture. EInvalidGraphic on bad data, with the graphic unchanged.
  // Nothing left in the stream empties the graphic, and an empty graphic
  // saves as no bytes.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  virtual std::unique_ptr<TGraphic> Clone() const = 0;

  // Transparent pictures leave some pixels of what lies below visible.
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value) { transparent_ = value; }

  // Paints the picture stretched into the rectangle. Canvases call this for
  // kinds they do not draw themselves; every canvas draws TBitmap itself.
  virtual void Paint(TCanvas& canvas, const TRect& rect) const = 0;

 protected:
  TGraphic() = default;
  // Copies come from Clone or from a concrete class, never by slicing.
  TGraphic(const TGraphic&) = default;
  TGraphic& operator=(const TGraphic&) = default;

 private:
  bool transparent_ = false;
};

using TGraphicFactory = std::unique_ptr<TGraphic> (*)();
// Later registrations of a name replace earlier ones. TBitmap, TIcon,
// TMetafile and TJPEGImage are known from the start.
void RegisterGraphicClass(std::string_view className, TGraphicFactory factory);
// A new empty graphic of the named class; nullptr when the name is unknown.
std::unique_ptr<TGraphic> CreateGraphic(std::string_view className);

// Bits per pixel of the bitmap's own form. 1-, 4- and 8-bit bitmaps keep a
// palette; drawing on them or setting a pixel makes them 24-bit.
enum TPixelFormat : uint8_t { pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };
// Automatic: the transparent colour is the bottom-left pixel's.
enum TTransparentMode : uint8_t { tmAuto, tmFixed };

class TBitmap final : public TGraphic {
 public:
  // Sides above this, or more pixels than kMaxPixels, are refused.
  static constexpr int32_t kMaxSide = 32767;
  static constexpr int64_t kMaxPixels = int64_t{64} * 1024 * 1024;

  TBitmap();
  TBitmap(int32_t width, int32_t height);  // 24-bit, white
  ~TBitmap() override;
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);

  std::string_view ClassName() const override { return "TBitmap"; }
  int32_t Width() const override;
  int32_t Height() const override;
  bool Empty() const override;

  // Keeps the pixels that stay inside; new ones are white. A size of 0 on
  // either side empties the bitmap; a negative or too large size raises
  // EInvalidGraphic.
  void SetSize(int32_t width, int32_t height);
  TPixelFormat PixelFormat() const;
  // Paletted forms take the nearest colours of a fixed palette (black and
  // white for 1 bit, the 16 standard colours for 4 bits, a colour cube for 8).
  void SetPixelFormat(TPixelFormat format);

  // Outside the bitmap GetPixel answers clNone and SetPixel does nothing.
  TColor GetPixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, TColor color);

  // Draws into the bitmap. The canvas lives as long as the bitmap; reading the
  // bitmap in any other way finishes the drawing first.
  TCanvas& Canvas();

  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);  // also makes the mode fixed
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode) { transparentMode_ = mode; }

  // The Windows BMP file form. Reading takes uncompressed 1, 4, 8, 16, 24 and
  // 32 bits per pixel (bit-field masks included) and RLE4/RLE8, with every
  // header field checked against what the stream holds. Writing gives an
  // uncompressed bottom-up file in the bitmap's pixel format.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  std::unique_ptr<TGraphic> Clone() const override;
  void Paint(TCanvas& canvas, const TRect& rect) const override;

  // The pixels, for the Qt side of the platform (qt_bitmap.h).
  TBitmapImage& Image() const { return *image_; }

 private:
  std::unique_ptr<TBitmapImage> image_;
  TColor transparentColor_ = clNone;
  TTransparentMode transparentMode_ = tmAuto;
};

}  // namespace quillet
