// The control's document members on a real editor: the hexadecimal document
// text out and back with reviewers and annotations, texts that do not read
// changing nothing, insertions that keep what was drawn and move it with
// the text, seal pictures from the host and whether annotations exist.
#include "host/control/document_exchange.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "editing/control/editor.h"
#include "engine/stream/compressed_form.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/postil.h"
#include "host/annotation/postil_record.h"
#include "host/codec/document_text.h"
#include "host/db/db_module.h"
#include "host/db/record_store.h"
#include "host/review/document_record.h"
#include "host/review/reviewer_table.h"
#include "host/review/revision_tracking.h"
#include "platform/core/arith.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "tests/host/annotation/postil_test_support.h"
#include "tests/host/db/slow_store.h"
#include "tests/host/review/review_form.h"

namespace quillet::test {
namespace {

// One control's document side: a main form's, with the members over its
// record.
struct Control : ReviewForm {
  // Paragraphs of plain text, the caret at the start.
  void Write(const std::vector<std::string>& paragraphs) {
    editor.Clear();
    for (const std::string& p : paragraphs) editor.AddNL(Utf8ToAnsi(p), 0, 0);
    editor.Format();
    editor.EditData().SetCaretAtItem(0, 1);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < editor.GetLineCount(); ++i) texts.push_back(AnsiToUtf8(editor.GetItemText(i)));
    return texts;
  }
  int32_t ItemTop(int itemNo) const {
    int32_t left = 0, top = 0;
    EXPECT_TRUE(editor.DVData().GetItemCoords(itemNo, left, top));
    return top;
  }
  // Everything a refused member must leave as it was.
  struct Snapshot {
    std::vector<std::string> texts;
    std::vector<TReviewer> reviewers;
    int32_t cur, used;
    std::vector<std::string> annotations, newAnnotations;
    int styles;
    TQvDvData lines;
    friend bool operator==(const Snapshot& a, const Snapshot& b) {
      return a.texts == b.texts && a.reviewers == b.reviewers && a.cur == b.cur && a.used == b.used &&
             a.annotations == b.annotations && a.newAnnotations == b.newAnnotations && a.styles == b.styles &&
             a.lines.userInfo == b.lines.userInfo && a.lines.allPostil == b.lines.allPostil;
    }
  };
  Snapshot Snap() const {
    return {Texts(),       Reviewers(),          table.CurUserNo(), table.UsedUserNo(),
            Annotations(), postil.NewPostil(),   sheet.TextStyles().Count(), editor.DVData().HostLines()};
  }
  // A reviewer types into the text and a stroke is drawn.
  void Review(const std::string& reviewer, const std::vector<std::string>& paragraphs) {
    Write(paragraphs);
    tracking.StartTrace(Utf8ToAnsi(reviewer));
    Type("改");
    tracking.StopTrace();
    DrawStroke(postil, {{10, 10, 3}, {40, 30, 3}, {80, 20, 3}});
  }

  TDocumentExchange exchange{record};
};

// The document behind a text, uncompressed.
std::string Decoded(const std::string& text) {
  TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
  BeforeLoadFromStream2(stream);
  return stream.AsString();
}

std::vector<std::string> Lines(const std::string& dvf) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at; (at = dvf.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(dvf.substr(from, at - from));
  return lines;
}

// Bytes as the host's run-length text: runs of up to 255 equal bytes.
std::string RunLengthText(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < bytes.size();) {
    size_t n = 1;
    while (i + n < bytes.size() && bytes[i + n] == bytes[i] && n < 255) ++n;
    for (unsigned v : {static_cast<unsigned>(static_cast<uint8_t>(bytes[i])), static_cast<unsigned>(n)}) {
      text += digits[v >> 4];
      text += digits[v & 15];
    }
    i += n;
  }
  return text;
}

std::string SealText(int32_t width = 12, int32_t height = 8) {
  TMemoryStream file = BitmapFile(*SealBitmap(width, height));
  return RunLengthText(file.AsString());
}

// The y of a point record, or none.
std::optional<double> RecordY(const std::string& line) {
  const TPostilTag tag = PostilTagOf(line);
  if (tag != TPostilTag::MoveTo && tag != TPostilTag::LineTo && tag != TPostilTag::Seal) return std::nullopt;
  std::vector<std::string_view> fields;
  SplitPostilFields(line, fields);
  const std::optional<TPostilPoint> point = ReadPostilPoint(fields);
  return point ? std::optional<double>(point->Y) : std::nullopt;
}

// ---- the document text out and back ----

TEST(DocumentExchange, EmptyDocumentTextCarriesFifteenReviewerLines) {
  Control control;
  const std::string text = control.exchange.GetAsciiData();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.size() % 2, 0u);
  EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  const std::string dvf = Decoded(text);
  const std::string bytes = HexToStr(text.substr(0, 8));
  const uint32_t length = uint8_t(bytes[0]) | uint8_t(bytes[1]) << 8 | uint8_t(bytes[2]) << 16 |
                          uint32_t(uint8_t(bytes[3])) << 24;
  EXPECT_EQ(length, dvf.size());
  const std::vector<std::string> lines = Lines(dvf);
  ASSERT_GE(lines.size(), 16u);
  EXPECT_TRUE(lines[0].starts_with(Utf8ToAnsi("QV;起草人;"))) << lines[0];
  for (size_t i = 1; i < 15; ++i) EXPECT_EQ(lines[i], "QV;;;0") << i;
  EXPECT_EQ(lines[15], "-8 1 2");
}

TEST(DocumentExchange, GetThenPutReproducesDocumentReviewersAndAnnotations) {
  Control source;
  source.Review("甲", {"第一段", "第二段"});
  source.exchange.PutBmp("seal", SealText());
  ASSERT_TRUE(source.postil.AddTuZhang("seal", "ann", "2026-12-10", 60, 50, 0, 0, 1));
  const std::string text = source.exchange.GetAsciiData();

  Control target;
  target.Write({"旧的"});
  target.exchange.PutAsciiData(text);
  EXPECT_EQ(target.Texts(), source.Texts());
  EXPECT_EQ(target.Reviewers(), source.Reviewers());
  EXPECT_EQ(target.table.CurUserNo(), 1);
  EXPECT_EQ(target.table.UsedUserNo(), 2);
  EXPECT_EQ(target.Annotations(), source.Annotations());
  EXPECT_TRUE(target.postil.GetBmp("seal"));
  EXPECT_TRUE(target.exchange.IsPostil());
  EXPECT_EQ(target.exchange.GetAsciiData(), text);
}

// A second document replaces the first one's reviewers, in the table and in
// the next save.
TEST(DocumentExchange, SecondPutShowsAndSavesTheSecondsReviewers) {
  Control first, second;
  first.Review("甲", {"一"});
  second.Review("乙", {"二"});
  Control control;
  control.exchange.PutAsciiData(first.exchange.GetAsciiData());
  control.exchange.PutAsciiData(second.exchange.GetAsciiData());
  EXPECT_EQ(control.Reviewers(), second.Reviewers());
  const std::vector<std::string> lines = Lines(Decoded(control.exchange.GetAsciiData()));
  ASSERT_GE(lines.size(), 15u);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("QV"); }), 15);
  EXPECT_TRUE(lines[1].starts_with(Utf8ToAnsi("QV;乙;"))) << lines[1];
  EXPECT_EQ(control.Annotations(), second.Annotations());
}

// Texts that do not read whole, by every member that takes a document:
// each raises and leaves document, styles, reviewers, annotations and the
// carrier as they were.
TEST(DocumentExchange, TextThatDoesNotReadChangesNothing) {
  Control good;
  good.Review("甲", {"新文档"});
  const std::string valid = good.exchange.GetAsciiData();
  std::string nonHex = valid;
  nonHex[nonHex.size() / 2] = 'G';
  TMemoryStream notDocument;
  notDocument.WriteString("QV;x;t;1\r\nnonsense\r\n");
  AfterSaveToStream2(notDocument);
  Control damaged;
  damaged.Write({"坏"});
  damaged.editor.DVData().HostLines().userInfo = {Utf8ToAnsi("QV;起草人;t;0"), "QV;A;t;red"};
  damaged.editor.DVData().SetDVFOptions(TDocumentRecord::kRecordDVFOptions);
  TMemoryStream damagedStream;
  ASSERT_TRUE(damaged.editor.SaveDVFToStream(damagedStream, false));
  AfterSaveToStream2(damagedStream);

  struct Case {
    const char* name;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"NonHexCharacter", nonHex},
      {"Empty", ""},
      {"HexButNotCompressed", "00FF7A"},
      {"Truncated", valid.substr(0, valid.size() / 2)},
      {"CompressedButNoDocument", notDocument.AsString()},
      {"DamagedReviewerLines", damagedStream.AsString()},
  };
  using TMember = void (TDocumentExchange::*)(std::string_view);
  const std::vector<std::pair<const char*, TMember>> members = {
      {"PutAsciiData", &TDocumentExchange::PutAsciiData},
      {"InsertAsciiData", &TDocumentExchange::InsertAsciiData},
      {"InsertAsciiDataAtFirst", &TDocumentExchange::InsertAsciiDataAtFirst},
  };
  for (const auto& [memberName, member] : members)
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(memberName) + " " + c.name);
      Control control;
      control.Review("丙", {"原文一", "原文二"});
      control.exchange.GetAsciiData();  // the carrier as a save leaves it
      const Control::Snapshot before = control.Snap();
      EXPECT_ANY_THROW((control.exchange.*member)(c.text));
      EXPECT_TRUE(control.Snap() == before);
    }
}

TEST(DocumentExchange, NonHexCharacterIsAConversionError) {
  Control control;
  EXPECT_THROW(control.exchange.PutAsciiData("0G"), EConvertError);
  EXPECT_THROW(control.exchange.InsertAsciiData("0G"), EConvertError);
}

// ---- insertion ----

// Strokes drawn since the last load or save stay, still undoable; every
// annotation held moves down as far as the old first item did; the
// inserted document's annotations keep their places above.
TEST(DocumentExchange, InsertionKeepsNewStrokesAndMovesOldAnnotationsWithTheText) {
  Control inserted;
  inserted.Review("甲", {"插入一", "插入二", "插入三"});
  const std::string text = inserted.exchange.GetAsciiData();

  Control control;
  Control loaded;
  loaded.Review("乙", {"原文"});
  control.exchange.PutAsciiData(loaded.exchange.GetAsciiData());
  control.exchange.GetAsciiData();  // saved: what is drawn next is new since the save
  DrawStroke(control.postil, {{100, 100, 2}, {130, 140, 2}}, 0xFF0000);
  const std::vector<std::string> oldLoaded = control.postil.AllPostil();
  const std::vector<std::string> oldNew = control.postil.NewPostil();
  const int32_t oldTop = control.ItemTop(0);
  const int oldCount = control.editor.GetLineCount();

  control.exchange.InsertAsciiData(text);
  const int added = control.editor.GetLineCount() - oldCount;
  ASSERT_EQ(added, inserted.editor.GetLineCount());
  EXPECT_EQ(control.Texts().back(), "原文");
  const int32_t dy = control.ItemTop(added) - oldTop;
  ASSERT_GT(dy, 0);

  const auto movedBy = [](const std::vector<std::string>& before, const std::vector<std::string>& after, double d) {
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
      const std::optional<double> y0 = RecordY(before[i]), y1 = RecordY(after[i]);
      if (!y0) {
        EXPECT_EQ(after[i], before[i]);
        continue;
      }
      ASSERT_TRUE(y1) << after[i];
      EXPECT_NEAR(*y1, *y0 + d, 1e-9) << before[i] << " -> " << after[i];
    }
  };
  // The old document's annotations come first, moved; the inserted ones follow unmoved.
  const std::vector<std::string>& all = control.postil.AllPostil();
  ASSERT_EQ(all.size(), oldLoaded.size() + inserted.Annotations().size());
  movedBy(oldLoaded, std::vector<std::string>(all.begin(), all.begin() + std::ptrdiff_t(oldLoaded.size())), dy);
  movedBy(inserted.Annotations(), std::vector<std::string>(all.begin() + std::ptrdiff_t(oldLoaded.size()), all.end()),
          0);
  movedBy(oldNew, control.postil.NewPostil(), dy);

  // The new stroke is still the one undo takes back, and the save carries it.
  const std::vector<std::string> saved = control.Annotations();
  for (const std::string& line : control.postil.NewPostil())
    EXPECT_NE(std::find(saved.begin(), saved.end(), line), saved.end()) << line;
  control.postil.Undo();
  EXPECT_TRUE(control.postil.NewPostil().empty());
  EXPECT_EQ(control.postil.AllPostil().size(), all.size());
}

// Seals move too, and stay the ones undo and the save know.
TEST(DocumentExchange, InsertionMovesSealsAndKeepsThemUndoable) {
  Control control;
  control.Write({"原文"});
  control.exchange.PutBmp("seal", SealText());
  ASSERT_TRUE(control.postil.AddTuZhang("seal", "ann", "2026-12-10", 60, 50, 0, 0, 1));
  Control inserted;
  inserted.Write({"上面", "还有"});
  const int32_t oldTop = control.ItemTop(0);
  control.exchange.InsertAsciiData(inserted.exchange.GetAsciiData());
  const int32_t dy = control.ItemTop(2) - oldTop;
  ASSERT_GT(dy, 0);
  ASSERT_EQ(control.postil.SealRecords().size(), 1u);
  EXPECT_EQ(control.postil.SealRecords()[0], control.postil.NewPostil()[0]);
  EXPECT_EQ(RecordY(control.postil.SealRecords()[0]), 50.0 + dy);
  control.postil.Undo();
  EXPECT_TRUE(control.postil.SealRecords().empty());
  EXPECT_FALSE(control.exchange.IsPostil());
}

// Reviewers: a control whose table names nobody takes the inserted
// document's; one that holds reviewers (loaded, saved or tracking since)
// keeps its own.
TEST(DocumentExchange, InsertionTakesReviewersOnlyIntoAnEmptyTable) {
  Control inserted;
  inserted.Review("甲", {"插入"});
  const std::string text = inserted.exchange.GetAsciiData();
  struct Case {
    const char* name;
    std::function<void(Control&)> before;
    bool takesInserted;
  };
  const std::vector<Case> cases = {
      {"Fresh", [](Control&) {}, true},
      {"Loaded",
       [](Control& c) {
         Control other;
         other.Review("乙", {"别的"});
         c.exchange.PutAsciiData(other.exchange.GetAsciiData());
       },
       false},
      {"Saved", [](Control& c) { c.exchange.GetAsciiData(); }, false},
      {"TrackingSinceStart", [](Control& c) { c.tracking.StartTrace(Utf8ToAnsi("丙")); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Control control;
    c.before(control);
    const std::vector<TReviewer> held = control.Reviewers();
    control.exchange.InsertAsciiData(text);
    EXPECT_EQ(control.Reviewers(), c.takesInserted ? inserted.Reviewers() : held);
  }
}

// The caret stays with its text; the undo steps recorded before the
// insertion are gone, since they would act on the inserted items.
TEST(DocumentExchange, InsertionKeepsTheCaretWithItsTextAndDropsOldUndoSteps) {
  Control inserted;
  inserted.Write({"插入一", "插入二"});
  const std::string text = inserted.exchange.GetAsciiData();
  Control control;
  control.Write({"甲乙", "丙丁"});
  control.editor.EditData().SetCaretAtItem(1, 3);
  control.Type("戊");
  const std::vector<std::string> typed = control.Texts();
  control.exchange.InsertAsciiData(text);
  EXPECT_EQ(control.editor.GetCurItemNo(), 3);
  EXPECT_EQ(control.editor.GetOffsetInCurItem(), 5);
  EXPECT_TRUE(control.editor.Modified);
  control.editor.Undo();
  std::vector<std::string> expected = inserted.Texts();
  expected.insert(expected.end(), typed.begin(), typed.end());
  EXPECT_EQ(control.Texts(), expected);
}

// InsertAsciiDataAtFirst puts the caret after the first paragraph's item
// (item 0 of a one-item document, else item 1), where it stays once the
// insertion moved it; an empty document takes the insertion at its start.
TEST(DocumentExchange, InsertAtFirstPlacesTheCaretOrInsertsIntoAnEmptyDocument) {
  Control inserted;
  inserted.Write({"插入"});
  const std::string text = inserted.exchange.GetAsciiData();
  struct Case {
    const char* name;
    std::vector<std::string> paragraphs;  // none: no item at all
    int caretItem;                        // after the insertion; -1: none checked
    std::vector<std::string> texts;
  };
  const std::vector<Case> cases = {
      {"Empty", {}, -1, {"插入"}},
      {"OneItem", {"甲乙"}, 1, {"插入", "甲乙"}},
      {"ThreeItems", {"甲", "乙乙", "丙"}, 2, {"插入", "甲", "乙乙", "丙"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Control control;
    if (c.paragraphs.empty())
      control.editor.Clear();
    else
      control.Write(c.paragraphs);
    ASSERT_EQ(control.editor.GetLineCount(), static_cast<int>(c.paragraphs.size()));
    control.exchange.InsertAsciiDataAtFirst(text);
    EXPECT_EQ(control.Texts(), c.texts);
    if (c.caretItem < 0) continue;
    EXPECT_EQ(control.editor.GetCurItemNo(), c.caretItem);
    EXPECT_EQ(control.editor.GetOffsetInCurItem(), control.editor.GetOffsAfterItem(c.caretItem));
  }
}

// ---- seal pictures from the host ----

// "FF03" expands to three 0xFF bytes, which are no picture: refused, with
// nothing stored, where a bitmap file in the same run-length text is taken.
TEST(DocumentExchange, PutBmpTakesBitmapsAndRefusesWhatIsNoPicture) {
  Control control;
  EXPECT_THROW(control.exchange.PutBmp("seal", "FF03"), EDocumentExchangeError);
  EXPECT_FALSE(control.postil.GetBmp("seal"));
  EXPECT_THROW(control.exchange.PutBmp("seal", "GG01"), EConvertError);
  EXPECT_THROW(control.exchange.PutBmp("a;b", SealText()), EDocumentExchangeError);
  EXPECT_FALSE(control.postil.GetBmp("a;b"));

  control.exchange.PutBmp("seal", SealText(12, 8));
  ASSERT_TRUE(control.postil.GetBmp("seal"));
  EXPECT_EQ(control.postil.GetBmp("seal")->Width(), 12);
  // The first picture of an id stays.
  control.exchange.PutBmp("seal", SealText(20, 10));
  EXPECT_EQ(control.postil.GetBmp("seal")->Width(), 12);
}

// ---- annotations present ----

TEST(DocumentExchange, IsPostilAnswersFromTheLayer) {
  Control control;
  control.Write({"文"});
  EXPECT_FALSE(control.exchange.IsPostil());
  DrawStroke(control.postil, {{10, 10, 3}, {40, 30, 3}});
  EXPECT_TRUE(control.exchange.IsPostil());
  control.exchange.PutBmp("seal", SealText());
  control.exchange.ClearPostil();
  EXPECT_FALSE(control.exchange.IsPostil());
  EXPECT_TRUE(control.postil.GetBmp("seal"));  // the host's pictures stay

  Control annotated;
  annotated.Review("甲", {"文"});
  control.exchange.PutAsciiData(annotated.exchange.GetAsciiData());
  EXPECT_TRUE(control.exchange.IsPostil());
  control.exchange.ClearPostil();
  EXPECT_FALSE(control.exchange.IsPostil());
  // A save after clearing carries no annotations.
  const std::vector<std::string> lines = Lines(Decoded(control.exchange.GetAsciiData()));
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("QP"); }), 0);
}

// ---- plain text ----

TEST(DocumentExchange, ExportToTextWritesTheTextAndTheHostLines) {
  Control control;
  control.Write({"第一段", "second"});
  DrawStroke(control.postil, {{10, 10, 3}, {40, 30, 3}});
  EXPECT_EQ(AnsiToUtf8(control.exchange.ExportToText()), "第一段\r\nsecond");
  const TQvDvData& lines = control.editor.DVData().HostLines();
  EXPECT_EQ(lines.userInfo.size(), 15u);
  EXPECT_EQ(lines.allPostil, control.Annotations());
}

// ---- while the record waits for the database ----

using testing_db::TSlowStore;

// Every member but IsPostil is refused, and the document stays as it was.
TEST(DocumentExchange, MembersAreRefusedWhileTheRecordWaits) {
  std::string field;
  TDbDm db([&field](const TDbLocation&) { return std::make_unique<TSlowStore>(field); });
  db.TableName = "DOCS", db.FieldName = "BODY", db.IDName = "ID", db.IDValue = "1";
  Control other;
  other.Write({"别的"});
  const std::string text = other.exchange.GetAsciiData();
  Control control;
  control.Review("甲", {"原文"});
  control.exchange.GetAsciiData();  // the carrier as the save will leave it
  const Control::Snapshot before = control.Snap();
  bool checked = false;
  QTimer::singleShot(20, [&] {
    checked = true;
    ASSERT_TRUE(control.record.Busy());
    TDocumentExchange& exchange = control.exchange;
    EXPECT_THROW(exchange.GetAsciiData(), EDocumentRecordError);
    EXPECT_THROW(exchange.ExportToText(), EDocumentRecordError);
    EXPECT_THROW(exchange.PutAsciiData(text), EDocumentRecordError);
    EXPECT_THROW(exchange.InsertAsciiData(text), EDocumentRecordError);
    EXPECT_THROW(exchange.InsertAsciiDataAtFirst(text), EDocumentRecordError);
    EXPECT_THROW(exchange.PutBmp("seal", SealText()), EDocumentRecordError);
    EXPECT_THROW(exchange.ClearPostil(), EDocumentRecordError);
    EXPECT_TRUE(exchange.IsPostil());
  });
  control.record.UpdateToDB(db);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(control.Snap() == before);
  EXPECT_FALSE(control.postil.GetBmp("seal"));
}

}  // namespace
}  // namespace quillet::test
