#include "platform/gfx/jpeg_image.h"

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "platform/gfx/canvas.h"
#include "platform/gfx/qt_bitmap.h"

namespace quillet {

namespace {

// Bounds on what a hostile file can make the decoder do: progressive files
// with endless tiny scans, and libjpeg's own working memory.
constexpr int kMaxScans = 500;
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

// libjpeg reports a fatal error through error_exit, which must not return:
// it jumps back to the setjmp in RunDecode / RunEncode. Those functions keep
// their state in a struct owned by the caller and create nothing with a
// destructor after the setjmp, so the jump skips no clean-up.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1); }

// Nothing is printed. A file that ends early is an error, not a picture with
// its missing part filled in grey.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

void ProgressMonitor(j_common_ptr cinfo) {
  const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) {
    cinfo->err->msg_code = JERR_NOTIMPL;
    ErrorExit(cinfo);
  }
}

void InstallErrorManager(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = EmitMessage;
  err.pub.output_message = OutputMessage;
}

struct Decoder {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  jpeg_progress_mgr progress{};
  const char* refusal = nullptr;  // set for a refusal of ours, not libjpeg's
};

bool RunDecode(Decoder& d, const uint8_t* data, size_t size, QImage& image) {
  if (setjmp(d.err.jump)) return false;
  jpeg_create_decompress(&d.cinfo);
  d.cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
  d.progress.progress_monitor = ProgressMonitor;
  d.cinfo.progress = &d.progress;
  jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d.cinfo, TRUE);

  const JDIMENSION w = d.cinfo.image_width, h = d.cinfo.image_height;
  if (w == 0 || h == 0 || w > static_cast<JDIMENSION>(TBitmap::kMaxSide) ||
      h > static_cast<JDIMENSION>(TBitmap::kMaxSide) || int64_t{w} * h > TBitmap::kMaxPixels) {
    d.refusal = "dimensions out of range";
    return false;
  }
  switch (d.cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE: d.cinfo.out_color_space = JCS_GRAYSCALE; break;
    case JCS_YCbCr:
    case JCS_RGB: d.cinfo.out_color_space = JCS_RGB; break;
    case JCS_CMYK:
    case JCS_YCCK: d.cinfo.out_color_space = JCS_CMYK; break;
    default: d.refusal = "unsupported colour space"; return false;
  }
  jpeg_start_decompress(&d.cinfo);
  image = QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
  if (image.isNull()) {
    d.refusal = "out of memory";
    return false;
  }
  const int components = d.cinfo.output_components;
  // Adobe's CMYK files store the inks inverted.
  const bool inverted = d.cinfo.saw_Adobe_marker;
  JSAMPARRAY row = (*d.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE,
                                                 w * static_cast<JDIMENSION>(components), 1);
  while (d.cinfo.output_scanline < h) {
    const JDIMENSION y = d.cinfo.output_scanline;
    if (jpeg_read_scanlines(&d.cinfo, row, 1) != 1) return false;
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
    const JSAMPLE* in = row[0];
    for (JDIMENSION x = 0; x < w; ++x, in += components) {
      if (components == 1) {
        out[x] = qRgb(in[0], in[0], in[0]);
      } else if (components == 3) {
        out[x] = qRgb(in[0], in[1], in[2]);
      } else {
        const int c = inverted ? in[0] : 255 - in[0], m = inverted ? in[1] : 255 - in[1];
        const int yl = inverted ? in[2] : 255 - in[2], k = inverted ? in[3] : 255 - in[3];
        out[x] = qRgb(c * k / 255, m * k / 255, yl * k / 255);
      }
    }
  }
  jpeg_finish_decompress(&d.cinfo);
  return true;
}

QImage Decode(const std::vector<uint8_t>& bytes) {
  Decoder d;
  d.cinfo.err = &d.err.pub;
  InstallErrorManager(d.err);
  QImage image;
  const bool ok = RunDecode(d, bytes.data(), bytes.size(), image);
  std::string why;
  if (!ok) {
    if (d.refusal) {
      why = d.refusal;
    } else {
      char message[JMSG_LENGTH_MAX] = {};
      (*d.err.pub.format_message)(reinterpret_cast<j_common_ptr>(&d.cinfo), message);
      why = message;
    }
  }
  jpeg_destroy_decompress(&d.cinfo);
  if (!ok) throw EInvalidGraphic("JPEG image is not valid: " + why);
  return image;
}

struct Encoder {
  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  unsigned char* out = nullptr;  // malloc'ed by libjpeg
  unsigned long outSize = 0;
};

bool RunEncode(Encoder& e, const QImage& image) {
  if (setjmp(e.err.jump)) return false;
  jpeg_create_compress(&e.cinfo);
  jpeg_mem_dest(&e.cinfo, &e.out, &e.outSize);
  e.cinfo.image_width = static_cast<JDIMENSION>(image.width());
  e.cinfo.image_height = static_cast<JDIMENSION>(image.height());
  e.cinfo.input_components = 3;
  e.cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&e.cinfo);
  jpeg_set_quality(&e.cinfo, TJPEGImage::kQuality, TRUE);
  jpeg_start_compress(&e.cinfo, TRUE);
  JSAMPARRAY row = (*e.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&e.cinfo), JPOOL_IMAGE,
                                                 e.cinfo.image_width * 3, 1);
  while (e.cinfo.next_scanline < e.cinfo.image_height) {
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(e.cinfo.next_scanline)));
    for (int x = 0; x < image.width(); ++x) {
      row[0][3 * x] = static_cast<JSAMPLE>(qRed(in[x]));
      row[0][3 * x + 1] = static_cast<JSAMPLE>(qGreen(in[x]));
      row[0][3 * x + 2] = static_cast<JSAMPLE>(qBlue(in[x]));
    }
    jpeg_write_scanlines(&e.cinfo, row, 1);
  }
  jpeg_finish_compress(&e.cinfo);
  return true;
}

std::vector<uint8_t> Encode(const QImage& image) {
  Encoder e;
  e.cinfo.err = &e.err.pub;
  InstallErrorManager(e.err);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const bool ok = RunEncode(e, rgb);
  std::vector<uint8_t> bytes;
  if (ok) bytes.assign(e.out, e.out + e.outSize);
  jpeg_destroy_compress(&e.cinfo);
  std::free(e.out);
  if (!ok) throw EInvalidGraphic("JPEG image could not be compressed");
  return bytes;
}

}  // namespace

TJPEGImage::TJPEGImage() : bitmap_(std::make_unique<TBitmap>()) {}

TJPEGImage::~TJPEGImage() = default;

TJPEGImage::TJPEGImage(const TJPEGImage& other)
    : TGraphic(other), data_(other.data_), bitmap_(std::make_unique<TBitmap>(*other.bitmap_)) {}

TJPEGImage& TJPEGImage::operator=(const TJPEGImage& other) {
  if (this == &other) return *this;
  TGraphic::operator=(other);
  data_ = other.data_;
  *bitmap_ = *other.bitmap_;
  return *this;
}

int32_t TJPEGImage::Width() const { return bitmap_->Width(); }
int32_t TJPEGImage::Height() const { return bitmap_->Height(); }

void TJPEGImage::LoadFromStream(TStream& stream) {
  std::vector<uint8_t> bytes = ReadPictureBytes(stream, kMaxFileSize, "JPEG image");
  const QImage image = bytes.empty() ? QImage() : Decode(bytes);
  SetBitmapImage(*bitmap_, image);
  data_ = std::move(bytes);
}

void TJPEGImage::SaveToStream(TStream& stream) const {
  stream.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const { return std::make_unique<TJPEGImage>(*this); }

void TJPEGImage::Paint(TCanvas& canvas, const TRect& rect) const { canvas.StretchDraw(rect, *bitmap_); }

void TJPEGImage::Assign(const TBitmap& bitmap) {
  if (bitmap.Empty()) {
    data_.clear();
    SetBitmapImage(*bitmap_, QImage());
    return;
  }
  std::vector<uint8_t> bytes = Encode(BitmapImage(bitmap));
  SetBitmapImage(*bitmap_, Decode(bytes));
  data_ = std::move(bytes);
}

}  // namespace quillet
