// Seal pictures by id and seals placed on the page.
#include <algorithm>

#include "host/annotation/postil.h"
#include "host/codec/hex_codec.h"
#include "host/codec/run_length_text.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"

namespace quillet {

TBitmap* TQvPostil::GetBmp(const std::string& bmpID) const {
  for (const SealPicture& p : bmpsList)
    if (p.Id == bmpID) return p.Bmp.get();
  return nullptr;
}

bool TQvPostil::PutBmp(const std::string& bmpID, TStream& stream, bool fromDocument) {
  if (GetBmp(bmpID) || !IsPostilSealId(bmpID)) return false;
  auto bmp = std::make_unique<TBitmap>();
  try {
    bmp->LoadFromStream(stream);
  } catch (const EInvalidGraphic&) {
    return false;
  } catch (const EStreamError&) {
    return false;
  }
  return PutBmp(bmpID, bmp, fromDocument);
}

bool TQvPostil::PutBmp(const std::string& bmpID, std::unique_ptr<TBitmap>& bmp, bool fromDocument) {
  if (!bmp || bmp->Empty() || GetBmp(bmpID) || !IsPostilSealId(bmpID)) return false;
  bmpsList.push_back(SealPicture{bmpID, std::move(bmp), fromDocument});
  // Seals of this id already recorded show from the next paint on.
  ++baseGeneration_;
  ++generation_;
  return true;
}

bool TQvPostil::PutBmpText(const std::string& bmpID, std::string_view text) {
  if (GetBmp(bmpID) || !IsPostilSealId(bmpID)) return false;
  try {
    const std::string bytes = HexToStr(UnZip(text));
    TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    return PutBmp(bmpID, stream);
  } catch (const EConvertError&) {
    return false;
  }
}

std::string TQvPostil::GetBmpIDs() const {
  std::string ids;
  std::vector<std::string_view> fields;
  for (const std::vector<std::string>* lines : {&slAllPostil, &slNewPostil})
    for (const std::string& line : *lines) {
      if (PostilTagOf(line) != TPostilTag::Seal) continue;
      SplitPostilFields(line, fields);
      if (fields.size() < 4) continue;
      ids += ';';
      ids += fields[3];
    }
  return ids;
}

bool TQvPostil::AddTuZhang(const std::string& bmpID, const std::string& userName, const std::string& currTime,
                           int32_t X, int32_t Y, int32_t HScrollPos, int32_t VScrollPos, int32_t VSmallStep) {
  if (!IsPostilSealId(bmpID)) return false;
  const auto [x, y] = DocumentPoint(X, Y, HScrollPos, VScrollPos, VSmallStep);
  OpenGroup();
  const std::string record = "QPT;" + IntToStr(x) + ";" + IntToStr(y) + ";" + bmpID + ";" +
                             PostilSafeName(userName) + ";" + PostilSafeName(currTime);
  AppendNew(record);
  tuzhangList.push_back(record);
  return true;
}

namespace {

// White is the seal's transparent colour while it is drawn; the mode goes
// back to automatic after.
template <class Drawing>
void DrawWhiteMasked(TBitmap& bmp, Drawing draw) {
  bmp.SetTransparent(true);
  bmp.SetTransparentColor(clWhite);
  draw();
  bmp.SetTransparentMode(tmAuto);
}

}  // namespace

void TQvPostil::DrawTuzhang(TBitmap& bmp, TCanvas& canvas, int32_t x, int32_t y) {
  DrawWhiteMasked(bmp, [&] { canvas.Draw(x - bmp.Width() / 2, y - bmp.Height() / 2, bmp); });
}

void TQvPostil::DrawTuzhang(TBitmap& bmp, TCanvas& canvas, int32_t x, int32_t y, int32_t RectWidth,
                            int32_t RectHeight) {
  const int32_t left = x - RectWidth / 2, top = y - RectHeight / 2;
  DrawWhiteMasked(bmp, [&] { canvas.StretchDraw(TRect{left, top, left + RectWidth, top + RectHeight}, bmp); });
}

}  // namespace quillet
