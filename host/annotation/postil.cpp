#include "host/annotation/postil.h"

#include <algorithm>

#include "host/codec/hex_codec.h"
#include "host/codec/string_index.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"

namespace quillet {

TQvPostil::TQvPostil() : Today(PostilToday) { allScene_.Reset(nullptr); }

TQvPostil::~TQvPostil() = default;

std::pair<int32_t, int32_t> TQvPostil::DocumentPoint(int32_t X, int32_t Y, int32_t HScrollPos, int32_t VScrollPos,
                                                     int32_t VSmallStep) const {
  const int64_t x = int64_t{X} + HScrollPos - leftOffset;
  const int64_t y = int64_t{Y} + int64_t{VScrollPos} * VSmallStep;
  return {static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)),
          static_cast<int32_t>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX))};
}

std::string TQvPostil::PointRecord(const char* tag, int32_t x, int32_t y) const {
  std::string record;
  // Room for the fractions smoothing writes in place of the integers.
  record.reserve(64 + currUserName.size());
  record = tag;
  for (const std::string& field : {IntToStr(x), IntToStr(y), currUserName, Today ? Today() : PostilToday()}) {
    record += ';';
    record += field;
  }
  return record;
}

void TQvPostil::AppendNew(std::string record) {
  slTempPostil.push_back(record);
  slNewPostil.push_back(std::move(record));
  ++generation_;
}

void TQvPostil::OpenGroup() {
  // What was undone can no longer be redone.
  slTempPostil.resize(slNewPostil.size());
  slRedoMlist.resize(slUndoMList.size());
  slUndoMList.push_back(slNewPostil.size());
  slRedoMlist.push_back(slNewPostil.size());
}

bool TQvPostil::StrokeOpen() const {
  return QvBoolDraw && !slUndoMList.empty() && PostilTagOf(slNewPostil[slUndoMList.back()]) == TPostilTag::MoveTo;
}

void TQvPostil::AddPointM(int32_t X, int32_t Y, int32_t intPenColor, int32_t intPenSize, int32_t HScrollPos,
                          int32_t VScrollPos, int32_t VSmallStep) {
  const auto [x, y] = DocumentPoint(X, Y, HScrollPos, VScrollPos, VSmallStep);
  OpenGroup();
  AppendNew(PointRecord("QPM", x, y));
  if (slNewPostil.size() == 1) penColor = penSize = -1;
  if (penColor != intPenColor || penSize != intPenSize) {
    penColor = intPenColor;
    penSize = intPenSize;
    AppendNew("QPP;" + IntToStr(penColor) + ";" + IntToStr(penSize));
  }
}

void TQvPostil::AddPointL(int32_t X, int32_t Y, int32_t intPenColor, int32_t intPenSize, int32_t HScrollPos,
                          int32_t VScrollPos, int32_t VSmallStep) {
  // A point without a stroke begun by AddPointM would join another group.
  if (!StrokeOpen()) return;
  if (penColor != intPenColor || penSize != intPenSize) {
    penColor = intPenColor;
    // A width that rises by two or more is recorded one less first.
    penSize = int64_t{intPenSize} - penSize >= 2 ? intPenSize - 1 : intPenSize;
    AppendNew("QPP;" + IntToStr(penColor) + ";" + IntToStr(penSize));
  }
  const auto [x, y] = DocumentPoint(X, Y, HScrollPos, VScrollPos, VSmallStep);
  AppendNew(PointRecord("QPL", x, y));
}

void TQvPostil::EndDraw() {
  const bool stroke = StrokeOpen();
  QvBoolDraw = false;
  if (stroke) QvFilter();
}

void TQvPostil::SetUser(const std::string& userName) { currUserName = PostilSafeName(userName); }

void TQvPostil::TakeLoaded(const std::string& line, std::vector<std::string_view>& fields) {
  slAllPostil.push_back(line);
  switch (PostilTagOf(line)) {
    case TPostilTag::Seal: tuzhangList.push_back(line); break;
    case TPostilTag::User:
      SplitPostilFields(line, fields);
      for (size_t i = 1; i < fields.size(); ++i) slAllUserList.emplace_back(fields[i]);
      break;
    case TPostilTag::SealData: {
      SplitPostilFields(line, fields);
      if (fields.size() < 5) break;
      try {
        const std::string bytes = HexToStr(fields[4]);
        TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        PutBmp(std::string(fields[3]), stream, true);
      } catch (const EConvertError&) {
        // A picture that is not hexadecimal text is dropped like one that is no bitmap.
      }
      break;
    }
    default: break;
  }
}

void TQvPostil::loadPostil(const std::vector<std::string>& allPostil) {
  clear();
  std::vector<std::string_view> fields;
  for (const std::string& line : allPostil) TakeLoaded(line, fields);
  AllChanged();
}

namespace {

// The record with its y field moved dy pixels down; a record whose point
// does not read stays as it is.
void MoveRecordDown(std::string& line, int32_t dy, std::vector<std::string_view>& fields) {
  const TPostilTag tag = PostilTagOf(line);
  if (tag != TPostilTag::MoveTo && tag != TPostilTag::LineTo && tag != TPostilTag::Seal &&
      tag != TPostilTag::SealData)
    return;
  SplitPostilFields(line, fields);
  // A picture record's x and y are copies of its seal's.
  if (!ReadPostilPoint(fields)) return;
  const double y = *ParsePostilNumber(fields[2]);
  const size_t from = static_cast<size_t>(fields[2].data() - line.data());
  line.replace(from, fields[2].size(), PostilNumberText(y + dy));
}

}  // namespace

void TQvPostil::InsertPostil(const std::vector<std::string>& inserted, int32_t dy) {
  std::vector<std::string_view> fields;
  if (dy != 0)
    for (std::vector<std::string>* lines : {&slAllPostil, &slNewPostil, &slTempPostil})
      for (std::string& line : *lines) MoveRecordDown(line, dy, fields);
  for (const std::string& line : inserted) TakeLoaded(line, fields);
  // Seals in record order, loaded then new: undo takes the last one back.
  tuzhangList.clear();
  for (const std::vector<std::string>* lines : {&slAllPostil, &slNewPostil})
    for (const std::string& line : *lines)
      if (PostilTagOf(line) == TPostilTag::Seal) tuzhangList.push_back(line);
  AllChanged();
}

void TQvPostil::Save(std::vector<std::string>& allPostil) const {
  allPostil.clear();
  allPostil.insert(allPostil.end(), slAllPostil.begin(), slAllPostil.end());
  allPostil.insert(allPostil.end(), slNewPostil.begin(), slNewPostil.end());
  if (!slNewPostil.empty() && StringIndex(currUserName, slAllUserList, false) == 0)
    allPostil.push_back("QPUser;" + currUserName);
  // One picture line per id: the document's own lines already carry theirs.
  std::vector<std::string_view> fields;
  std::vector<std::string> carried;
  for (const std::string& line : slAllPostil) {
    if (PostilTagOf(line) != TPostilTag::SealData) continue;
    SplitPostilFields(line, fields);
    if (fields.size() >= 5) carried.emplace_back(fields[3]);
  }
  for (const std::string& seal : tuzhangList) {
    SplitPostilFields(seal, fields);
    if (fields.size() < 4) continue;
    const std::string id(fields[3]);
    if (std::find(carried.begin(), carried.end(), id) != carried.end()) continue;
    const TBitmap* bmp = GetBmp(id);
    if (!bmp) continue;
    TMemoryStream stream;
    bmp->SaveToStream(stream);
    allPostil.push_back("QPTDATA;" + std::string(fields[1]) + ";" + std::string(fields[2]) + ";" + id + ";" +
                        StrToHex(stream.AsString()));
    carried.push_back(id);
  }
}

void TQvPostil::clear() {
  slAllPostil.clear();
  slNewPostil.clear();
  slUndoMList.clear();
  slRedoMlist.clear();
  slTempPostil.clear();
  tuzhangList.clear();
  slAllUserList.clear();
  // A later document's seal of the same id must show its own picture.
  std::erase_if(bmpsList, [](const SealPicture& p) { return p.FromDocument; });
  AllChanged();
}

void TQvPostil::NewChanged() {
  newStale_ = true;
  ++baseGeneration_;
  ++generation_;
}

void TQvPostil::AllChanged() {
  allScene_.Reset(nullptr);
  allScene_.Add(slAllPostil);
  NewChanged();
}

const TPostilScene& TQvPostil::NewScene() {
  if (newStale_) {
    newScene_.Reset(&allScene_);
    newRead_ = 0;
    newStale_ = false;
  }
  newScene_.Add(slNewPostil, newRead_);
  newRead_ = slNewPostil.size();
  return newScene_;
}

}  // namespace quillet
