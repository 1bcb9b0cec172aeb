// The document record road: host lines written on save, replacing loads that
// change nothing until the new document has read whole, the record in real
// databases with two tracking reviewers, and the form held still while the
// database works.
#include "host/review/document_record.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <memory>
#include <thread>
#include <tuple>

#include "editing/control/editor.h"
#include "editing/table/inplace_editor.h"
#include "editing/table/table_item.h"
#include "editing/table/table_test_util.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/postil.h"
#include "host/db/db_module.h"
#include "host/review/reviewer_table.h"
#include "host/review/revision_tracking.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "tests/host/annotation/postil_test_support.h"
#include "tests/host/db/db_test_support.h"
#include "tests/host/db/slow_store.h"
#include "tests/host/review/review_form.h"

namespace quillet {
void PrintTo(const TReviewer& r, std::ostream* os) { *os << "{" << r.Name << ";" << r.Time << ";" << r.Color << "}"; }
}  // namespace quillet

namespace quillet::test {
namespace {

using testing_db::TBackend;
using testing_db::TTestDatabase;

// What the user sees of a document: each item's text and its style's look.
struct ShownItem {
  std::string Text;
  TFontStyles Style;
  TColor Color;
  friend bool operator==(const ShownItem&, const ShownItem&) = default;
};

// One main form: an editor on its own style sheet, its reviewers, tracking,
// annotations and the record road.
struct Form : ReviewForm {
  // A document of one paragraph, the caret at its end.
  void Write(const std::string& utf8) {
    editor.Clear();
    editor.AddNL(Utf8ToAnsi(utf8), 0, 0);
    editor.Format();
    editor.EditData().SetCaretAtItem(0, static_cast<int32_t>(Utf8ToAnsi(utf8).size()) + 1);
  }
  std::vector<ShownItem> Shown() const {
    std::vector<ShownItem> items;
    const TCustomDVData& data = editor.DVData();
    for (int i = 0; i < data.ItemCount(); ++i) {
      const TFontInfo& style = sheet.TextStyles()[data.GetItemStyle(i)];
      items.push_back({AnsiToUtf8(data.GetItemTextR(i)), style.Style, style.Color});
    }
    return items;
  }
  // Everything a failed operation must leave as it was.
  struct Snapshot {
    std::vector<ShownItem> items;
    std::vector<TReviewer> reviewers;
    int32_t cur, used;
    std::vector<std::string> annotations;
    int styles;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
  };
  Snapshot Snap() const {
    return {Shown(), Reviewers(), table.CurUserNo(), table.UsedUserNo(), Annotations(), sheet.TextStyles().Count()};
  }
  // Two reviewers: A types, B strikes out a character of the original, and
  // a stroke is drawn.
  void EditAsTwoReviewers() {
    Write("原文");
    tracking.StartTrace("A");
    Type("甲");
    tracking.StartTrace("B");
    editor.EditData().SetCaretAtItem(0, 5);
    QTest::keyClick(editor.Widget(), Qt::Key_Backspace);
    DrawStroke(postil, {{10, 10, 3}, {40, 30, 3}, {80, 20, 3}});
  }
};

TMemoryStream Saved(Form& form) {
  TMemoryStream stream;
  form.record.SaveToStream(stream);
  stream.SetPosition(0);
  return stream;
}

// ---- host lines and replacing loads, without a database ----

TEST(DocumentRecord, SavingTwiceWritesTheSameFifteenReviewerLines) {
  Form form;
  form.EditAsTwoReviewers();
  const std::string first = Saved(form).AsString();
  const std::string second = Saved(form).AsString();
  EXPECT_EQ(first, second);
  const TQvDvData& lines = form.editor.DVData().HostLines();
  ASSERT_EQ(lines.userInfo.size(), 15u);
  EXPECT_EQ(lines.userInfo[0], Utf8ToAnsi("QV;起草人;;0"));
  EXPECT_EQ(lines.userInfo[1], "QV;A;2026-12-10 10:00:01;255");
  EXPECT_EQ(lines.userInfo[2], "QV;B;2026-12-10 10:00:02;" + std::to_string(TReviewerTable::kPalette[1]));
  EXPECT_EQ(lines.allPostil, form.Annotations());
  EXPECT_FALSE(lines.allPostil.empty());
}

TEST(DocumentRecord, LoadTakesDocumentReviewersAndAnnotationsTogether) {
  Form source;
  source.EditAsTwoReviewers();
  TMemoryStream stream = Saved(source);
  Form target;
  target.Write("旧");
  target.tracking.StartTrace("C");
  target.record.LoadFromStream(stream);
  EXPECT_EQ(target.Shown(), source.Shown());
  EXPECT_EQ(target.Reviewers(), source.Reviewers());
  EXPECT_EQ(target.table.CurUserNo(), 2);
  EXPECT_EQ(target.table.UsedUserNo(), 3);
  EXPECT_EQ(target.Annotations(), source.Annotations());
  EXPECT_FALSE(target.editor.Modified);
}

// Damaged reviewer lines and streams that are no document leave document,
// styles, reviewers and annotations as they were.
TEST(DocumentRecord, FailedLoadChangesNothing) {
  struct Case {
    const char* name;
    std::vector<std::string> userInfo;  // of a document with styles of its own
    std::string stream;                 // else this text as the stream
  };
  const std::vector<Case> cases = {
      {"ColourNotANumber", {Utf8ToAnsi("QV;起草人;t;0"), "QV;A;t;red"}, ""},
      {"NameWithSeparator", {Utf8ToAnsi("QV;起草人;t;0"), "QV;A;B;t;255"}, ""},
      {"TooFewFields", {"QV;A;t"}, ""},
      {"NotADocument", {}, "QV;A;t;255\r\nnonsense\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryStream stream;
    if (c.stream.empty()) {
      Form source;
      source.Write("新文档");
      source.sheet.TextStyles().Add().Size = 30;
      source.editor.DVData().HostLines().userInfo = c.userInfo;
      source.editor.DVData().SetDVFOptions(TDocumentRecord::kRecordDVFOptions);
      ASSERT_TRUE(source.editor.SaveDVFToStream(stream, false));
    } else {
      stream.WriteString(c.stream);
    }
    stream.SetPosition(0);
    Form form;
    form.EditAsTwoReviewers();
    const Form::Snapshot before = form.Snap();
    EXPECT_ANY_THROW(form.record.LoadFromStream(stream));
    EXPECT_EQ(form.Snap(), before);
    // The following save writes the open document, not an empty one.
    TMemoryStream again = Saved(form);
    Form reader;
    reader.record.LoadFromStream(again);
    EXPECT_EQ(reader.Shown(), before.items);
    EXPECT_EQ(reader.Reviewers(), form.Reviewers());
  }
}

TEST(DocumentRecord, ReviewerLineErrorNamesTheLine) {
  Form source;
  source.Write("x");
  source.editor.DVData().HostLines().userInfo = {Utf8ToAnsi("QV;起草人;t;0"), "QV;A;t;red"};
  TMemoryStream stream;
  ASSERT_TRUE(source.editor.SaveDVFToStream(stream, false));
  stream.SetPosition(0);
  Form form;
  try {
    form.record.LoadFromStream(stream);
    FAIL() << "loaded";
  } catch (const EReviewerError& e) {
    EXPECT_NE(std::string(e.what()).find("Reviewer line 2"), std::string::npos) << e.what();
  }
}

// A document without reviewer lines, by any road, starts without the last
// document's reviewers and annotations.
TEST(DocumentRecord, DocumentWithoutHostLinesStartsEmpty) {
  using TLoad = std::function<void(Form&)>;
  const std::vector<std::pair<const char*, TLoad>> roads = {
      {"Stream",
       [](Form& form) {
         Form source;
         source.Write("无审阅");
         TMemoryStream stream;
         ASSERT_TRUE(source.editor.SaveDVFToStream(stream, false));
         stream.SetPosition(0);
         form.record.LoadFromStream(stream);
       }},
      {"Import",
       [](Form& form) {
         form.record.Import([](TCustomDocViewEdit& editor) {
           editor.Clear();
           editor.AddNL(Utf8ToAnsi("无审阅"), 0, 0);
           return true;
         });
       }},
  };
  for (const auto& [name, load] : roads) {
    SCOPED_TRACE(name);
    Form form;
    form.EditAsTwoReviewers();
    load(form);
    ASSERT_EQ(form.Shown().size(), 1u);
    EXPECT_EQ(form.Shown()[0].Text, "无审阅");
    EXPECT_EQ(form.Reviewers(), Form().Reviewers());
    EXPECT_EQ(form.table.UsedUserNo(), 0);
    EXPECT_TRUE(form.Annotations().empty());
    EXPECT_TRUE(form.editor.DVData().HostLines().Empty());
    // The next reviewer starts the table again.
    form.tracking.StartTrace("D");
    EXPECT_EQ(form.table.CurUserNo(), 1);
    EXPECT_EQ(form.editor.TraceUserColor, TReviewerTable::kPalette[0]);
  }
}

TEST(DocumentRecord, RefusedImportChangesNothing) {
  Form form;
  form.EditAsTwoReviewers();
  const Form::Snapshot before = form.Snap();
  EXPECT_THROW(form.record.Import([](TCustomDocViewEdit&) { return false; }), EDocumentRecordError);
  EXPECT_EQ(form.Snap(), before);
}

// A host may read the document while the user types in a table cell: the
// save writes what the cell editor holds and the editor is open again after,
// in the same cell with the same caret.
TEST(DocumentRecord, SaveKeepsTheCellBeingEditedOpen) {
  RegisterTableItem();
  Form form;
  form.Write("前");
  auto made = std::make_unique<TDVTableItemInfo>(2, 2, &form.editor.EditData());
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c) AddCellText(*made->GetCells(r, c), "c" + std::to_string(r) + std::to_string(c));
  made->ParaNo = 0;
  TDVTableItemInfo& table = *made;
  form.editor.EditData().AddItem("", std::move(made));
  form.editor.Format();
  table.CreateInplace(table.GetMyItemNo(), 1, 1, false, true, true);
  int row = -1, col = -1;
  TDVTableInplaceEdit* cell = table.GetEditedCell(row, col);
  ASSERT_NE(cell, nullptr);
  cell->InsertText("typed");
  cell->EditData().SetSelectionBounds(0, 2, 0, 4);

  TMemoryStream stream = Saved(form);

  cell = table.GetEditedCell(row, col);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(col, 1);
  int startNo = -1, endNo = -1;
  int32_t startOffs = -1, endOffs = -1;
  cell->EditData().GetSelectionBounds(startNo, startOffs, endNo, endOffs, true);
  EXPECT_EQ(std::make_tuple(startNo, startOffs, endNo, endOffs), std::make_tuple(0, 2, 0, 4));
  EXPECT_NE(stream.AsString().find("c11typed"), std::string::npos);
}

// ---- the record in real databases ----

class DocumentRecordDb : public testing::TestWithParam<TBackend> {
 protected:
  void SetUp() override {
    db_ = testing_db::DatabaseForTest(GetParam());
    if (!db_) return;
    db_->Exec("CREATE TABLE DOCS (ID integer PRIMARY KEY, BODY text)");
    db_->Exec("INSERT INTO DOCS VALUES (7, NULL)");
    db_->Exec("INSERT INTO DOCS VALUES (8, NULL)");
  }
  std::unique_ptr<TDbDm> Module(const std::string& id = "7") {
    auto module = std::make_unique<TDbDm>();
    module->Host = db_->Location().Host;
    module->ServerName = db_->Location().ServerName;
    module->TableName = "DOCS";
    module->FieldName = "BODY";
    module->IDName = "ID";
    module->IDValue = id;
    return module;
  }

  std::unique_ptr<TTestDatabase> db_;
};

TEST_P(DocumentRecordDb, TwoReviewersEditsComeBackInAFreshForm) {
  Form form;
  form.EditAsTwoReviewers();
  form.tracking.StopTrace();
  auto db = Module();
  form.record.UpdateToDB(*db);
  // Tracking is on again after the save, under the last reviewer's name.
  EXPECT_TRUE(form.editor.TraceOn);
  EXPECT_EQ(form.editor.TraceUserName, "B");

  Form fresh;
  fresh.record.LoadFromDB(*Module());
  EXPECT_EQ(fresh.Shown(), form.Shown());
  EXPECT_EQ(fresh.Reviewers(), form.Reviewers());
  EXPECT_EQ(fresh.Annotations(), form.Annotations());
  // The marks are the reviewers' own: underlined in A's colour, struck out
  // in B's.
  const std::vector<ShownItem> marks = fresh.Shown();
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(marks[1], (ShownItem{"文", fsStrikeOut, TReviewerTable::kPalette[1]}));
  EXPECT_EQ(marks[2], (ShownItem{"甲", fsUnderline, TReviewerTable::kPalette[0]}));
}

TEST_P(DocumentRecordDb, FailedLoadKeepsTheOpenDocumentForTheNextSave) {
  Form form;
  form.EditAsTwoReviewers();
  const Form::Snapshot before = form.Snap();
  // Record 8's field is null; then the server is down.
  auto nullField = Module("8");
  EXPECT_THROW(form.record.LoadFromDB(*nullField), EDatabaseError);
  EXPECT_EQ(form.Snap(), before);
  auto down = Module("8");
  down->Host = "127.0.0.1:" + std::to_string(testing_db::ClosedPort());
  down->ServerName = "docs";
  EXPECT_THROW(form.record.LoadFromDB(*down), EDatabaseError);
  EXPECT_EQ(form.Snap(), before);

  form.record.UpdateToDB(*nullField);
  Form fresh;
  fresh.record.LoadFromDB(*Module("8"));
  EXPECT_EQ(fresh.Shown(), before.items);
  EXPECT_EQ(fresh.Reviewers(), form.Reviewers());
  EXPECT_EQ(fresh.Annotations(), before.annotations);
}

INSTANTIATE_TEST_SUITE_P(Backends, DocumentRecordDb, testing::Values(TBackend::Sqlite, TBackend::Postgres),
                         [](const auto& info) { return testing_db::BackendName(info.param); });

// ---- the form while the database works ----

using testing_db::TSlowStore;

TEST(DocumentRecordWait, FormIsHeldStillAndOtherOperationsRefused) {
  std::string field;
  TDbDm db([&field](const TDbLocation&) { return std::make_unique<TSlowStore>(field); });
  db.TableName = "DOCS", db.FieldName = "BODY", db.IDName = "ID", db.IDValue = "1";
  auto* window = new QWidget;
  window->show();
  QPointer<QWidget> held(window);
  Form form;
  TDocumentRecord record(form.editor, form.table, form.postil, window);
  form.EditAsTwoReviewers();

  for (const bool saving : {true, false}) {
    SCOPED_TRACE(saving ? "save" : "load");
    bool checked = false;
    QTimer::singleShot(20, [&] {
      checked = true;
      EXPECT_TRUE(record.Busy());
      EXPECT_FALSE(window->isEnabled());
      EXPECT_FALSE(window->close());
      TMemoryStream stream;
      EXPECT_THROW(record.SaveToStream(stream), EDocumentRecordError);
      EXPECT_THROW(record.LoadFromDB(db), EDocumentRecordError);
      EXPECT_THROW(record.UpdateToDB(db), EDocumentRecordError);
      if (!saving) window->deleteLater();
    });
    if (saving)
      record.UpdateToDB(db);
    else
      record.LoadFromDB(db);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(record.Busy());
    ASSERT_TRUE(held);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(window->isVisible());
  }
  // The deletion asked during the load follows it.
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(held);
  EXPECT_EQ(form.Shown().size(), 3u);
}

}  // namespace
}  // namespace quillet::test
