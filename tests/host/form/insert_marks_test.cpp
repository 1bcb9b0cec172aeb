// The main form's insertion of a file or a picture, offscreen with the
// dialogs answered by the scripted runner: picture names and the insertion
// mark with tracking on and off, a file's text marked while tracking, the
// insertion inside a cell editor, and cancelled commands.
#include "host/form/insert_marks.h"

#include <QObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../../editing/table/table_test_util.h"
#include "commands/actions/file_actions.h"
#include "engine/model/picture_item.h"
#include "host/review/picture_marks.h"
#include "host/review/revision_tracking.h"
#include "host/review/reviewer_table.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/recording_canvas.h"
#include "platform/ui/common_dialogs.h"

namespace quillet::test {
namespace {

using TAnswer = TScriptedCommonDialogs::TAnswer;

constexpr TColor kU = TReviewerTable::kPalette[0];
const char* const kReviewer = "审阅人";
const char* const kInserted = "审阅人插入的图片";

TAnswer File(const std::string& path, int filterIndex) {
  TFileQuestion chosen;
  chosen.FileName = path;
  chosen.FilterIndex = filterIndex;
  return {true, chosen};
}
TAnswer Cancel() { return {false, {}, IDCANCEL}; }

enum class Command { Picture, File };

class InsertMarks : public TableEditTest {
 protected:
  void SetUp() override {
    TableEditTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    TBitmap(6, 4).SaveToFile(Path("new.bmp"));
    // A file of a word and a picture, written from a document of the same sheet.
    TestEditor source;
    source.SetStyle(&sheet);
    LoadDoc(source.Data(), R"(P0 0"新" pic:8x6)");
    ASSERT_TRUE(source.SaveDVF(Path("part.dvf"), false));
    file->Filter.Exclude(ffiOfficeConverters);
    tracking = std::make_unique<TRevisionTracking>(*editor, reviewers, state);
    tracking->Now = [] { return std::string("2026-12-11 10:00:00"); };
  }
  void TearDown() override {
    tracking.reset();
    TableEditTest::TearDown();
  }

  std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
  void Track() { tracking->StartTrace(Utf8ToAnsi(kReviewer)); }
  void SetTracking(bool on) {
    if (on)
      Track();
    else
      tracking->StopTrace();
  }

  bool Run(Command command, TCustomDocViewEdit& target) {
    if (command == Command::Picture) {
      dialogs.Answers = {File(Path("new.bmp"), 1)};
      return InsertPictureMarked(*picture, target);
    }
    dialogs.Answers = {File(Path("part.dvf"), 1)};
    return InsertFileMarked(*file, target);
  }

  // Each item of the document: text with "+" when underlined in the
  // reviewer's colour and "-" when struck out in it; a picture as its name
  // in brackets.
  std::string Marks(const TCustomDVData& data) const {
    std::string out;
    for (int i = 0; i < data.ItemCount(); ++i) {
      if (!out.empty()) out += ' ';
      const int32_t styleNo = data.GetItemStyle(i);
      if (styleNo == dvsPicture) {
        out += "[" + AnsiToUtf8(data.GetItemTextR(i)) + "]";
        continue;
      }
      if (styleNo < 0) {
        out += "?";
        continue;
      }
      out += AnsiToUtf8(data.GetItemTextR(i));
      const TFontInfo& font = sheet.TextStyles()[styleNo];
      if (font.Color == kU && (font.Style & fsUnderline)) out += "+";
      if (font.Color == kU && (font.Style & fsStrikeOut)) out += "-";
    }
    return out;
  }

  QTemporaryDir dir;
  QObject module;
  TdvActionInsertPicture* picture = new TdvActionInsertPicture(&module);
  TdvActionInsertFile* file = new TdvActionInsertFile(&module);
  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scope{dialogs};
  TReviewerTable reviewers;
  TTrackingFormState state;
  std::unique_ptr<TRevisionTracking> tracking;
};

TEST_F(InsertMarks, PicturesAreNamedForTheReviewerOrPlainAndOnlyTheNewOne) {
  // The pictures already there keep their names wherever the caret is
  // beside them.
  const struct {
    const char* what;
    const char* doc;
    int itemNo;
    int32_t offs;
    const char* expected;  // NEW stands for the new picture's name
  } cases[] = {
      {"after a picture", R"(P0 pic:8x6)", 0, 1, "[pic] [NEW]"},
      {"an empty document", R"(P0 0"")", 0, 1, "[NEW]"},
      {"before a picture at the start", R"(P0 pic:8x6)", 0, 0, "[NEW] [pic]"},
      {"between two pictures", R"(P0 pic:8x6 pic:9x6)", 0, 1, "[pic] [NEW] [pic]"},
      {"inside text", R"(P0 0"ab" pic:8x6)", 0, 2, "a [NEW] b [pic]"},
      {"at a text's end before a picture", R"(P0 0"ab" pic:8x6)", 0, 3, "ab [NEW] [pic]"},
  };
  for (const bool tracked : {false, true}) {
    for (const auto& c : cases) {
      const std::string what = std::string(c.what) + (tracked ? ", tracking" : "");
      SetTracking(tracked);
      Load(c.doc);
      editor->SetSelectionBounds(c.itemNo, c.offs, c.itemNo, c.offs);
      const int groups = Data().UndoList->Count();
      EXPECT_TRUE(Run(Command::Picture, *editor)) << what;
      std::string expected = c.expected;
      expected.replace(expected.find("NEW"), 3, tracked ? kInserted : "图片");
      EXPECT_EQ(Marks(Data()), expected) << what;
      // The insertion and the name are one step.
      EXPECT_EQ(Data().UndoList->Count(), groups + 1) << what;
      editor->Undo();
      EXPECT_EQ(Doc(), c.doc) << what;
    }
  }
}

TEST_F(InsertMarks, APictureInsertedWhileTrackingGetsTheInsertionMark) {
  for (const bool tracked : {false, true}) {
    SetTracking(tracked);
    Load(R"(P0 0"ab")");
    editor->SetSelectionBounds(0, 3, 0, 3);
    ASSERT_TRUE(Run(Command::Picture, *editor));
    TRecordingCanvas canvas;
    PaintPictureMarks(*editor, reviewers, canvas);
    const std::vector<TCanvasRecord> lines = canvas.OfKind(TCanvasOp::Line);
    if (!tracked) {
      EXPECT_TRUE(lines.empty());
      continue;
    }
    // One line under the picture, in the reviewer's colour.
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Pen.Color, kU);
    EXPECT_EQ(lines[0].Points[0].Y, lines[0].Points[1].Y);
    EXPECT_EQ(lines[0].Points[1].X - lines[0].Points[0].X, 6);
  }
}

TEST_F(InsertMarks, AFileInsertedWhileTrackingIsMarkedAndTheCaretEndsAfterIt) {
  const struct {
    const char* what;
    bool tracked;
    const char* doc;
    int startNo;
    int32_t startOffs, endOffs;
    const char* expected;
  } cases[] = {
      {"tracking", true, R"(P0 0"abcd")", 0, 3, 3, "ab 新+ [审阅人插入的图片] cd"},
      {"tracking at the start", true, R"(P0 0"abcd")", 0, 1, 1, "新+ [审阅人插入的图片] abcd"},
      {"tracking at the end", true, R"(P0 0"abcd")", 0, 5, 5, "abcd 新+ [审阅人插入的图片]"},
      {"tracking after a picture", true, R"(P0 pic:8x6 0"z")", 0, 1, 1, "[pic] 新+ [审阅人插入的图片] z"},
      // The selection stays as the reviewer's deletion; only what went in
      // after it is the insertion.
      {"tracking over a selection", true, R"(P0 0"abcd")", 0, 2, 4, "a bc- 新+ [审阅人插入的图片] d"},
      {"not tracking", false, R"(P0 0"abcd")", 0, 3, 3, "ab新 [图片] cd"},
      {"not tracking over a selection", false, R"(P0 0"abcd")", 0, 2, 4, "a新 [图片] d"},
  };
  for (const auto& c : cases) {
    SetTracking(c.tracked);
    Load(c.doc);
    editor->SetSelectionBounds(c.startNo, c.startOffs, c.startNo, c.endOffs);
    const int groups = Data().UndoList->Count();
    EXPECT_TRUE(Run(Command::File, *editor)) << c.what;
    EXPECT_EQ(Marks(Data()), c.expected) << c.what;
    EXPECT_FALSE(Data().SelectionExists(false, false)) << c.what;
    // The caret after the inserted picture, the file's last item.
    const int pictureNo = [&] {
      for (int i = Data().ItemCount() - 1; i >= 0; --i)
        if (Data().GetItemStyle(i) == dvsPicture) return i;
      return -1;
    }();
    EXPECT_EQ(editor->GetCurItemNo(), pictureNo) << c.what;
    EXPECT_EQ(editor->GetOffsetInCurItem(), 1) << c.what;
    EXPECT_EQ(Data().UndoList->Count(), groups + 1) << c.what;
    editor->Undo();
    EXPECT_EQ(Doc(), c.doc) << c.what;
  }
}

TEST_F(InsertMarks, InsertionGoesIntoTheOpenCellEditor) {
  Track();
  for (const Command command : {Command::Picture, Command::File}) {
    TDVTableItemInfo& table = PlaceInEditor(MakeTable(2, 2));
    table.CreateInplace(table.GetMyItemNo(), 1, 1, false, true, true);
    TCustomDocViewEdit* cell = editor->InplaceTarget();
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(Run(command, *editor));
    const std::string cellMarks = Marks(cell->EditData());
    EXPECT_NE(cellMarks.find(std::string("[") + kInserted + "]"), std::string::npos) << cellMarks;
    if (command == Command::File) {
      EXPECT_NE(cellMarks.find("新+"), std::string::npos) << cellMarks;
    }
    // The editor's own document holds the table alone.
    EXPECT_EQ(Data().ItemCount(), 1);
    EXPECT_EQ(Data().GetItemStyle(0), dvsTable);
  }
}

TEST_F(InsertMarks, ACancelledCommandChangesNothing) {
  const struct {
    const char* what;
    Command command;
    int32_t startOffs;  // in the text after the picture
    int32_t endOffs;
  } cases[] = {
      {"picture, caret after a picture", Command::Picture, 1, 1},
      {"file, caret after a picture", Command::File, 1, 1},
      {"picture, a selection", Command::Picture, 1, 3},
      {"file, a selection", Command::File, 1, 3},
  };
  Track();
  for (const auto& c : cases) {
    Load(R"(P0 pic:8x6 0"ab")");
    // A full undo list loses nothing to a command that did nothing.
    editor->SetUndoLimit(1);
    editor->SetSelectionBounds(1, 3, 1, 3);
    editor->InsertText("z");
    const TDVUndoInfos* kept = Data().UndoList->Top();
    ASSERT_NE(kept, nullptr);
    editor->SetSelectionBounds(1, c.startOffs, 1, c.endOffs);
    const std::string before = DvfBytes(Data());
    const std::string marks = Marks(Data());
    dialogs.Answers = {Cancel()};
    const bool inserted = c.command == Command::Picture ? InsertPictureMarked(*picture, *editor)
                                                        : InsertFileMarked(*file, *editor);
    EXPECT_FALSE(inserted) << c.what;
    EXPECT_EQ(DvfBytes(Data()), before) << c.what;
    EXPECT_EQ(Marks(Data()), marks) << c.what;
    EXPECT_EQ(Data().UndoList->Count(), 1) << c.what;
    EXPECT_EQ(Data().UndoList->Top(), kept) << c.what;
    int startNo, endNo;
    int32_t startOffs, endOffs;
    Data().GetSelectionBoundsEx(startNo, startOffs, endNo, endOffs, true);
    EXPECT_EQ(std::vector<int>({startNo, startOffs, endNo, endOffs}), std::vector<int>({1, c.startOffs, 1, c.endOffs}))
        << c.what;
    editor->SetUndoLimit(-1);
  }
}

TEST_F(InsertMarks, ARefusedInsertionMarksNothing) {
  Track();
  sheet.TextStyles()[kProtected].Protection |= dvprDeleteProtect;
  const struct {
    const char* what;
    const char* doc;
    bool readOnly;
  } cases[] = {
      {"a read-only editor", R"(P0 pic:8x6 0"ab")", true},
      {"a selection that may not be deleted", R"(P0 pic:8x6 2"ab")", false},
  };
  for (const auto& c : cases) {
    for (const Command command : {Command::Picture, Command::File}) {
      Load(c.doc);
      editor->SetSelectionBounds(1, 1, 1, 3);
      editor->ReadOnly = c.readOnly;
      const std::string before = DvfBytes(Data());
      const int groups = Data().UndoList->Count();
      EXPECT_FALSE(Run(command, *editor)) << c.what;
      EXPECT_EQ(DvfBytes(Data()), before) << c.what;
      EXPECT_EQ(Data().UndoList->Count(), groups) << c.what;
      EXPECT_TRUE(Data().SelectionExists(false, false)) << c.what;
      editor->ReadOnly = false;
    }
  }
}

}  // namespace
}  // namespace quillet::test
