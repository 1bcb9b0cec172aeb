#include "edit_test_util.h"

#include <cctype>

#include "engine/model/break_item.h"
#include "engine/model/item_registry.h"
#include "engine/model/marker_item.h"
#include "engine/model/picture_item.h"
#include "engine/text/item_text.h"
#include "platform/core/beep.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"

namespace quillet::test {

void MakeEditSheet(TDVStyle& sheet) {
  TFontInfos& text = sheet.TextStyles();
  text[kGbk].Charset = 134;  // GB2312: code page 936
  text[kUni].Assign(text[kGbk]);
  text[kUni].Unicode = true;
  text[kProtected].Assign(text[kGbk]);
  text[kProtected].Protection = dvprStyleProtect | dvprModifyProtect;
  TParaInfos& paras = sheet.ParaStyles();
  while (paras.Count() < 3) paras.Add();
  paras[kIndentPara].LeftIndent = 12;
  paras[kProtectedPara].Options = dvpaoStyleProtect;
  sheet.ListStyles().Add().Levels().Add();
}

std::string ItemText(const std::string& utf8, bool unicode) {
  return unicode ? DVU_UnitBytes(Utf8ToUtf16(utf8)) : Utf8ToAnsi(utf8);
}

namespace {

std::string Utf8Of(const std::string& text, bool unicode) {
  return unicode ? Utf16ToUtf8(DVU_Units(text)) : AnsiToUtf8(text);
}

bool StyleIsUnicode(const TCustomDVData& data, int32_t styleNo) {
  const TDVStyle* sheet = data.GetDVStyle();
  return sheet && sheet->TextStyles().IsValidIndex(styleNo) && sheet->TextStyles()[styleNo].Unicode;
}

// The modifiers read so far for the next item.
struct Pending {
  int32_t para = -1;  // P<n>
  bool br = false;
  bool pageBreak = false;
  int32_t continuationPara = -1;  // =<n>
  std::string checkpoint;
  bool hasCheckpoint = false;
  int32_t tag = 0;
};

[[noreturn]] void Bad(const std::string& notation, size_t at) {
  throw std::invalid_argument("bad document notation at " + std::to_string(at) + ": " + notation);
}

int32_t Number(const std::string& s, size_t& i) {
  size_t end = i;
  if (end < s.size() && s[end] == '-') ++end;
  while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end]))) ++end;
  if (end == i) Bad(s, i);
  const int32_t value = std::stoi(s.substr(i, end - i));
  i = end;
  return value;
}

std::string Quoted(const std::string& s, size_t& i) {
  if (i >= s.size() || s[i] != '"') Bad(s, i);
  std::string out;
  for (++i; i < s.size() && s[i] != '"'; ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) ++i;
    out += s[i];
  }
  if (i >= s.size()) Bad(s, i);
  ++i;
  return out;
}

void AddParsedItem(TDVEditDVData& data, Pending& p, std::unique_ptr<TCustomDVItemInfo> item, std::string text) {
  const bool first = data.ItemCount() == 0;
  if (p.hasCheckpoint) data.AddNamedCheckpointExTag(p.checkpoint, false, {});
  item->Tag.Int = p.tag;
  if (p.para >= 0 || first) {
    item->ParaNo = std::max(p.para, 0);
  } else if (p.br) {
    item->ParaNo = data.GetItemPara(data.ItemCount() - 1);
    item->ItemOptions |= dvioBR;
  } else {
    item->ParaNo = -1;
  }
  if (p.pageBreak) item->ItemOptions |= dvioPageBreakBefore;
  data.AddItem(std::move(text), std::move(item));
  if (p.continuationPara >= 0) data.GetItem(data.ItemCount() - 1)->ParaNo = p.continuationPara;
  p = Pending();
}

}  // namespace

void LoadDoc(TDVEditDVData& data, const std::string& notation) {
  data.Clear();
  Pending p;
  size_t i = 0;
  const std::string& s = notation;
  while (i < s.size()) {
    const char c = s[i];
    if (c == ' ') {
      ++i;
    } else if (c == 'P') {
      ++i;
      p.para = Number(s, i);
    } else if (c == '/') {
      ++i;
      p.br = true;
    } else if (c == '^') {
      ++i;
      p.pageBreak = true;
    } else if (c == '=') {
      ++i;
      p.continuationPara = Number(s, i);
    } else if (c == '@') {
      ++i;
      p.tag = Number(s, i);
    } else if (c == '#') {
      const size_t end = s.find(' ', i);
      p.checkpoint = s.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      p.hasCheckpoint = true;
      i = end == std::string::npos ? s.size() : end;
    } else if (s.compare(i, 2, "mk") == 0) {
      i += 2;
      AddParsedItem(data, p, std::make_unique<TDVMarkerItemInfo>(&data, 0, 0, 0, false), "");
    } else if (s.compare(i, 3, "brk") == 0) {
      i += 3;
      AddParsedItem(data, p, std::make_unique<TDVBreakItemInfo>(&data), "");
    } else if (s.compare(i, 4, "pic:") == 0) {
      i += 4;
      const int32_t w = Number(s, i);
      if (i >= s.size() || s[i] != 'x') Bad(s, i);
      ++i;
      const int32_t h = Number(s, i);
      auto picture = std::make_unique<TDVGraphicItemInfo>(&data, std::make_unique<TBitmap>(w, h), dvvaBaseline);
      picture->StyleNo = dvsPicture;
      AddParsedItem(data, p, std::move(picture), "pic");
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      const int32_t styleNo = Number(s, i);
      bool unicode = StyleIsUnicode(data, styleNo);
      if (i < s.size() && s[i] == 'u') {
        unicode = !unicode;
        ++i;
      }
      auto item = DocViewTextItemClass(&data);
      item->StyleNo = styleNo;
      if (unicode) item->ItemOptions |= dvioUnicode;
      const std::string text = Quoted(s, i);
      AddParsedItem(data, p, std::move(item), ItemText(text, unicode));
    } else {
      Bad(s, i);
    }
  }
  if (p.hasCheckpoint) data.AddNamedCheckpointExTag(p.checkpoint, false, {});
  data.Format();
}

std::string DescribeDoc(const TCustomDVData& data) {
  std::string out;
  int32_t paraNo = 0;
  auto add = [&out](const std::string& token) {
    if (!out.empty()) out += ' ';
    out += token;
  };
  for (int i = 0; i < data.ItemCount(); ++i) {
    const TCustomDVItemInfo* item = data.GetItem(i);
    if (item->CanBeBorderStart()) {
      paraNo = item->ParaNo;
      add("P" + std::to_string(paraNo));
    } else {
      if (item->BR()) add("/");
      if (item->ParaNo != paraNo) add("=" + std::to_string(item->ParaNo));
    }
    if (item->PageBreakBefore()) add("^");
    if (item->Checkpoint) add("#" + item->Checkpoint->Name);
    if (item->Tag.Int != 0) add("@" + std::to_string(item->Tag.Int));
    if (item->StyleNo >= 0) {
      std::string token = std::to_string(item->StyleNo);
      if (item->IsUnicode() != StyleIsUnicode(data, item->StyleNo)) token += 'u';
      token += '"';
      for (char ch : Utf8Of(data.GetItemTextR(i), item->IsUnicode())) {
        if (ch == '"' || ch == '\\') token += '\\';
        token += ch;
      }
      add(token + '"');
    } else if (item->StyleNo == dvsBreak) {
      add("brk");
    } else if (item->StyleNo == dvsListMarker) {
      add("mk");
    } else if (auto* picture = dynamic_cast<const TDVGraphicItemInfo*>(item)) {
      add("pic:" + std::to_string(picture->Image->Width()) + "x" + std::to_string(picture->Image->Height()));
    } else {
      add("item" + std::to_string(item->StyleNo));
    }
  }
  if (const TDVCPInfo* trailing = data.NotAddedCP()) add("#" + trailing->Name);
  return out;
}

std::string DvfBytes(TCustomDVData& data) {
  TMemoryStream stream;
  if (!data.SaveDVFToStream(stream, false, clNone, nullptr, nullptr)) ADD_FAILURE() << "DVF save failed";
  return stream.AsString();
}

DrawingSnapshot TakeDrawing(const TCustomDVFormattedData& data) {
  DrawingSnapshot s;
  for (int i = 0; i < data.DrawItems.Count(); ++i) {
    const TDVDrawLineInfo* d = data.DrawItems[i];
    s.emplace_back(d->ItemNo, d->Offs, d->Length, d->Left, d->Top, d->Width, d->Height, d->FromNewLine);
  }
  s.emplace_back(data.DocumentHeight, data.DocumentWidth, 0, 0, 0, 0, 0, false);
  return s;
}

testing::AssertionResult DrawingIsFresh(TCustomDVFormattedData& data) {
  const DrawingSnapshot kept = TakeDrawing(data);
  data.Format();
  if (TakeDrawing(data) == kept) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the drawing items differ from a whole pass over "
                                     << DescribeDoc(data);
}

void Edit(TDVEditDVData& data, TDVUndoType type, int firstItemNo, int lastItemNo, int itemsAdded,
          const std::function<void()>& change) {
  TDVEditOperation operation(data);
  int start = -1, end = -1;
  if (data.DrawItems.Count() > 0 && data.ItemCount() > 0) {
    const int first = std::clamp(firstItemNo, 0, data.ItemCount() - 1);
    const int last = std::clamp(lastItemNo, first, data.ItemCount() - 1);
    int lastDraw = data.FindDrawItemByItem(last);
    while (lastDraw + 1 < data.DrawItems.Count() && data.DrawItems[lastDraw + 1]->ItemNo == last) ++lastDraw;
    data.GetParaBounds(data.FindDrawItemByItem(first), lastDraw, start, end);
  }
  data.BeginUndoSequence(type, true);
  change();
  data.Reformat_(true, start, end, itemsAdded);
  data.Change();
  data.UndoList->PopIfEmpty();
}

void TypeChar(TDVEditDVData& data, int itemNo, int32_t offs, const std::string& utf8) {
  TDVEditOperation operation(data);
  const bool unicode = data.GetItem(itemNo)->IsUnicode();
  std::string text = data.GetItemTextR(itemNo);
  DVU_Insert(ItemText(utf8, unicode), text, offs, data.GetItemOptions(itemNo),
             data.GetStyleCodePage(data.GetItemStyle(itemNo)));
  data.SetItemTextR(itemNo, std::move(text));
  data.UndoList->AddTyping(itemNo, offs, unicode);
  int start, end;
  data.GetParaBounds(data.FindDrawItemByItem(itemNo), data.FindDrawItemByItem(itemNo), start, end);
  data.Reformat_(true, start, end, 0);
  data.SetSelectionBounds(itemNo, offs + 1, itemNo, offs + 1);
  data.Change();
}

testing::AssertionResult UndoRedoRoundTrip(TDVEditDVData& data, const std::function<void()>& operation) {
  const std::string before = DvfBytes(data), beforeDoc = DescribeDoc(data);
  operation();
  const std::string after = DvfBytes(data), afterDoc = DescribeDoc(data);
  if (after == before) return testing::AssertionFailure() << "the operation changed nothing: " << beforeDoc;
  if (data.UndoDest != udNone) return testing::AssertionFailure() << "UndoDest left set after the operation";
  if (data.UndoList->Count() == 0) return testing::AssertionFailure() << "nothing was recorded";
  data.UndoList->Undo(data);
  if (DvfBytes(data) != before)
    return testing::AssertionFailure() << "undo gave " << DescribeDoc(data) << "\n  instead of " << beforeDoc
                                       << "\n  (after the operation: " << afterDoc << ")";
  if (auto fresh = DrawingIsFresh(data); !fresh) return fresh << " after undo";
  data.RedoList->Redo(data);
  if (DvfBytes(data) != after)
    return testing::AssertionFailure() << "redo gave " << DescribeDoc(data) << "\n  instead of " << afterDoc;
  if (auto fresh = DrawingIsFresh(data); !fresh) return fresh << " after redo";
  if (data.UndoDest != udNone) return testing::AssertionFailure() << "UndoDest left set after undo and redo";
  return testing::AssertionSuccess();
}

void EditTest::SetUp() {
  MakeEditSheet(sheet);
  editor = std::make_unique<TestEditor>();
  editor->SetStyle(&sheet);
  editor->SetBounds(0, 0, 400, 300);
  editor->Show();
  SetSystemBeepHandler([this] { ++beeps; });
}

void EditTest::TearDown() {
  editor.reset();
  SetSystemBeepHandler({});
}

}  // namespace quillet::test
