// The control as a host holds it: every property read and written, values
// it cannot take refused, each method succeeding and failing, the document
// text's edge cases, the members that do nothing, the events, and two
// controls side by side in one process.
#include "host/control/afx_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <string>
#include <vector>
#include <utility>

#include "editing/control/editor.h"
#include "editing/edit_test_util.h"
#include "editing/table/table_item.h"
#include "editing/table/table_test_util.h"
#include "host/annotation/postil.h"
#include "host/codec/document_text.h"
#include "host/codec/hex_codec.h"
#include "host/db/db_module.h"
#include "host/form/main_form.h"
#include "host/form/table_cells.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "tests/host/annotation/postil_test_support.h"
#include "tests/host/db/db_test_support.h"

namespace quillet::test {
namespace {

// Bytes as the host's run-length text, one run per byte.
std::string RunLength(const std::string& bytes) {
  std::string text;
  for (char c : bytes) text += StrToHex(std::string_view(&c, 1)) + "01";
  return text;
}

std::string SealText() {
  TMemoryStream file = BitmapFile(*SealBitmap(12, 8));
  return RunLength(file.AsString());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(text.substr(from, at - from));
  return lines;
}

std::string Decoded(const std::string& hex) {
  TMemoryStream stream(std::vector<uint8_t>(hex.begin(), hex.end()));
  BeforeLoadFromStream2(stream);
  return stream.AsString();
}

class AfxFormTest : public testing::Test {
 protected:
  void SetUp() override { RegisterTableItem(); }

  TDocViewEdit& Editor(TafxForm& c) const { return c.MainForm().DVEditor(); }
  void Write(TafxForm& c, const std::vector<std::string>& paragraphs) {
    TDocViewEdit& editor = Editor(c);
    editor.Clear();
    for (const std::string& p : paragraphs) editor.AddNL(Utf8ToAnsi(p), 0, 0);
    editor.Format();
  }
  std::vector<std::string> Texts(TafxForm& c) {
    std::vector<std::string> texts;
    for (int i = 0; i < Editor(c).GetLineCount(); ++i) texts.push_back(AnsiToUtf8(Editor(c).GetItemText(i)));
    return texts;
  }
  // Text, then a 2 x 2 table of "r.c" cells.
  TDVTableItemInfo& PlaceTable(TafxForm& c) {
    TDVEditDVData& data = Editor(c).EditData();
    LoadDoc(data, R"(P0 0"before")");
    auto table = std::make_unique<TDVTableItemInfo>(2, 2, &data);
    for (int r = 0; r < 2; ++r)
      for (int col = 0; col < 2; ++col) AddCellText(*table->GetCells(r, col), std::to_string(r) + "." + std::to_string(col));
    table->ParaNo = 0;
    TDVTableItemInfo& placed = *table;
    data.AddItem("", std::move(table));
    Editor(c).Format();
    return placed;
  }

  TafxForm control;
};

// ---- properties ----

template <class T>
struct PropertyCase {
  const char* name;
  T initial;
  std::vector<T> accepted;
  std::vector<T> refused;
  T (TafxForm::*get)() const;
  void (TafxForm::*set)(T);
};

TEST_F(AfxFormTest, BooleanPropertiesStartAsTheFormDoesAndKeepWhatIsSet) {
  const std::vector<PropertyCase<bool>> cases = {
      {"AutoScroll", false, {true, false}, {}, &TafxForm::AutoScroll, &TafxForm::SetAutoScroll},
      {"AutoSize", false, {true, false}, {}, &TafxForm::AutoSize, &TafxForm::SetAutoSize},
      {"KeyPreview", false, {true, false}, {}, &TafxForm::KeyPreview, &TafxForm::SetKeyPreview},
      {"Scaled", true, {false, true}, {}, &TafxForm::Scaled, &TafxForm::SetScaled},
      {"DropTarget", false, {true, false}, {}, &TafxForm::DropTarget, &TafxForm::SetDropTarget},
      {"DoubleBuffered", false, {true, false}, {}, &TafxForm::DoubleBuffered, &TafxForm::SetDoubleBuffered},
      {"Enabled", true, {false, true}, {}, &TafxForm::Enabled, &TafxForm::SetEnabled},
      {"ReadOnly", false, {true, false}, {}, &TafxForm::ReadOnly, &TafxForm::SetReadOnly},
      {"IsStartTrace", false, {true, false}, {}, &TafxForm::IsStartTrace, &TafxForm::SetIsStartTrace},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ((control.*c.get)(), c.initial);
    for (bool value : c.accepted) {
      (control.*c.set)(value);
      EXPECT_EQ((control.*c.get)(), value);
    }
  }
}

TEST_F(AfxFormTest, EnumeratedPropertiesRefuseValuesOutsideTheirRangeAndKeepTheOldOne) {
  const std::vector<PropertyCase<int32_t>> cases = {
      {"AxBorderStyle", afbNone, {afbRaised, afbSingle}, {-1, 4}, &TafxForm::AxBorderStyle, &TafxForm::SetAxBorderStyle},
      {"PrintScale", poProportional, {poPrintToFit, poNone}, {-1, 3}, &TafxForm::PrintScale, &TafxForm::SetPrintScale},
      {"HelpType", htContext, {htKeyword}, {2, 1 << 30}, &TafxForm::HelpType, &TafxForm::SetHelpType},
      {"PixelsPerInch", 96, {120, 72}, {0, -96}, &TafxForm::PixelsPerInch, &TafxForm::SetPixelsPerInch},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ((control.*c.get)(), c.initial);
    for (int32_t value : c.accepted) {
      (control.*c.set)(value);
      EXPECT_EQ((control.*c.get)(), value);
    }
    const int32_t kept = (control.*c.get)();
    for (int32_t value : c.refused) {
      EXPECT_THROW((control.*c.set)(value), EAfxFormError) << value;
      EXPECT_EQ((control.*c.get)(), kept);
    }
  }
}

TEST_F(AfxFormTest, TextPropertiesAndTheDatabaseNamesAreStoredAsGiven) {
  struct Case {
    const char* name;
    std::string initial;
    std::string (TafxForm::*get)() const;
    void (TafxForm::*set)(const std::string&);
    std::function<std::string()> inside;  // where the value lands, when not only in the form
  };
  TDbDm& db = control.MainForm().DbDm();
  const std::vector<Case> cases = {
      {"Caption", "afxForm", &TafxForm::Caption, &TafxForm::SetCaption,
       [&] { return control.Widget()->windowTitle().toStdString(); }},
      {"HelpFile", "", &TafxForm::HelpFile, &TafxForm::SetHelpFile, nullptr},
      {"HelpKeyword", "", &TafxForm::HelpKeyword, &TafxForm::SetHelpKeyword, nullptr},
      {"ComputerName", "", &TafxForm::ComputerName, &TafxForm::SetComputerName, [&] { return db.Host; }},
      {"TableName", "", &TafxForm::TableName, &TafxForm::SetTableName, [&] { return db.TableName; }},
      {"FieldName", "", &TafxForm::FieldName, &TafxForm::SetFieldName, [&] { return db.FieldName; }},
      {"IDName", "", &TafxForm::IDName, &TafxForm::SetIDName, [&] { return db.IDName; }},
      {"IDValue", "", &TafxForm::IDValue, &TafxForm::SetIDValue, [&] { return db.IDValue; }},
      {"ServerName", "", &TafxForm::ServerName, &TafxForm::SetServerName, [&] { return db.ServerName; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ((control.*c.get)(), c.initial);
    for (const std::string& value : {std::string("docs_7"), std::string()}) {
      (control.*c.set)(value);
      EXPECT_EQ((control.*c.get)(), value);
      if (c.inside) {
        EXPECT_EQ(c.inside(), value);
      }
    }
  }
  // Names are stored, not checked: nothing connects before a load or save.
  control.SetTableName("no such; table");
  EXPECT_EQ(control.TableName(), "no such; table");
  EXPECT_FALSE(db.Connected());
}

TEST_F(AfxFormTest, FormStoresTheRestWithTheFormsDefaults) {
  EXPECT_EQ(control.Color(), clBtnFace);
  control.SetColor(0x00FF8040);
  EXPECT_EQ(control.Color(), TColor(0x00FF8040));

  EXPECT_EQ(control.Font().Name, "MS Sans Serif");
  EXPECT_EQ(control.Font().Height, -11);
  TFont font;
  font.Name = "Arial";
  font.Height = -16;
  font.Style = fsBold;
  control.SetFont(font);
  EXPECT_EQ(control.Font().Name, "Arial");
  EXPECT_EQ(control.Font().Height, -16);
  EXPECT_EQ(control.Font().Style, fsBold);
  for (auto change : {+[](TFont& f) { f.Name.clear(); }, +[](TFont& f) { f.Height = 0; }}) {
    TFont bad = font;
    change(bad);
    EXPECT_THROW(control.SetFont(bad), EAfxFormError);
    EXPECT_EQ(control.Font().Name, "Arial");
    EXPECT_EQ(control.Font().Height, -16);
  }

  EXPECT_EQ(control.Cursor(), 0);
  control.SetCursor(-4);
  EXPECT_EQ(control.Cursor(), -4);
  EXPECT_FALSE(control.AlignDisabled());
  EXPECT_EQ(control.VisibleDockClientCount(), 0);
  EXPECT_EQ(control.Width(), 696);
  EXPECT_EQ(control.Height(), 478);

  EXPECT_FALSE(control.Visible());
  control.SetVisible(true);
  EXPECT_TRUE(control.Visible());
  EXPECT_TRUE(control.MainForm().Widget()->isVisible()) << "the main form shows inside the control";
  EXPECT_EQ(control.MainForm().Widget()->parentWidget(), control.Widget());
  control.SetVisible(false);
  EXPECT_FALSE(control.Visible());
}

TEST_F(AfxFormTest, IsStartTraceSetsTheFlagAloneWithoutReviewerOrColour) {
  TDocViewEdit& editor = Editor(control);
  const TColor colour = editor.TraceUserColor;
  const std::string name = editor.TraceUserName;
  control.SetIsStartTrace(true);
  EXPECT_TRUE(editor.TraceOn);
  EXPECT_EQ(editor.TraceUserColor, colour);
  EXPECT_EQ(editor.TraceUserName, name);
  EXPECT_TRUE(Lines(Decoded(control.GetAsciiData()))[1].starts_with("QV;;")) << "no reviewer entered";
}

TEST_F(AfxFormTest, UserNameGoesToTheAnnotationsOrTheLoginNameWhenEmpty) {
  const std::string name = Utf8ToAnsi("审核人");
  control.SetUserName(name);
  EXPECT_EQ(control.UserName(), name);
  EXPECT_EQ(control.MainForm().DbDm().CurUserName, name);
  EXPECT_EQ(control.MainForm().qvPostil().CurrentUser(), name);
  control.SetUserName("");
  EXPECT_EQ(control.UserName(), "");
  EXPECT_EQ(control.MainForm().qvPostil().CurrentUser(), TDbDm::GetUserName());
}

TEST_F(AfxFormTest, IsPostilAndBmpsIDAnswerFromTheAnnotationLayer) {
  EXPECT_FALSE(control.isPostil());
  DrawStroke(control.MainForm().qvPostil(), {{10, 10, 3}, {40, 30, 3}});
  EXPECT_TRUE(control.isPostil()) << "a stroke drawn counts before any save";
  control.ClearPostil();
  EXPECT_FALSE(control.isPostil()) << "cleared annotations are gone";

  // The seals placed, each by its picture's id.
  EXPECT_EQ(control.BmpsID(), "");
  control.PutBmp("seal1", SealText());
  TQvPostil& postil = control.MainForm().qvPostil();
  ASSERT_TRUE(postil.AddTuZhang("seal1", "u", "2026-12-10", 50, 50, 0, 0, 1));
  ASSERT_TRUE(postil.AddTuZhang("seal1", "u", "2026-12-10", 90, 50, 0, 0, 1));
  EXPECT_EQ(control.BmpsID(), ";seal1;seal1");
  EXPECT_TRUE(control.isPostil());
}

// ---- the document text ----

TEST_F(AfxFormTest, EmptyDocumentGivesEvenUpperCaseHexWithFifteenReviewerLines) {
  const std::string hex = control.GetAsciiData();
  ASSERT_FALSE(hex.empty());
  EXPECT_EQ(hex.size() % 2, 0u);
  EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  const std::string bytes = HexToStr(hex);
  const std::string dvf = Decoded(hex);
  ASSERT_GE(bytes.size(), 4u);
  uint32_t length = 0;
  for (int i = 0; i < 4; ++i) length |= uint32_t(uint8_t(bytes[i])) << (8 * i);
  EXPECT_EQ(length, dvf.size());
  const std::vector<std::string> lines = Lines(dvf);
  ASSERT_GE(lines.size(), 15u);
  EXPECT_EQ(lines[0].rfind("QV;" + Utf8ToAnsi("起草人") + ";", 0), 0u);
  for (int i = 0; i < 15; ++i) EXPECT_TRUE(lines[i].starts_with("QV;")) << i;
}

TEST_F(AfxFormTest, GetThenPutReproducesTheDocumentAndItsAnnotations) {
  Write(control, {"第一段", "second"});
  control.SetUserName(Utf8ToAnsi("甲"));
  control.StartTrace();
  control.StopTrace();
  DrawStroke(control.MainForm().qvPostil(), {{10, 10, 3}, {40, 30, 3}});
  const std::string hex = control.GetAsciiData();

  TafxForm other;
  other.PutAsciiData(hex);
  EXPECT_EQ(Texts(other), Texts(control));
  EXPECT_TRUE(other.isPostil());
  EXPECT_EQ(other.GetAsciiData(), hex);
}

TEST_F(AfxFormTest, DocumentMembersThatCannotReadTheirTextChangeNothing) {
  Write(control, {"kept"});
  const std::string good = control.GetAsciiData();
  struct Case {
    const char* name;
    std::function<void()> call;
  };
  const std::vector<Case> cases = {
      {"PutAsciiData non-hex", [&] { control.PutAsciiData(good.substr(0, 10) + "G1"); }},
      {"PutAsciiData no document", [&] { control.PutAsciiData("00112233"); }},
      {"InsertAsciiData non-hex", [&] { control.InsertAsciiData("zz"); }},
      {"InsertAsciiDataAtFirst odd length", [&] { control.InsertAsciiDataAtFirst(good.substr(1)); }},
      {"PutBmp no picture", [&] { control.PutBmp("s", "FF03"); }},
      {"PutBmp non-hex", [&] { control.PutBmp("s", "QQ01"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_ANY_THROW(c.call());
    EXPECT_EQ(Texts(control), std::vector<std::string>{"kept"});
    EXPECT_EQ(control.BmpsID(), "");
    EXPECT_EQ(control.GetAsciiData(), good);
  }
}

TEST_F(AfxFormTest, InsertsGoBeforeTheFirstItem) {
  TafxForm source;
  Write(source, {"inserted"});
  const std::string hex = source.GetAsciiData();
  Write(control, {"a", "b"});
  control.InsertAsciiData(hex);
  EXPECT_EQ(Texts(control), (std::vector<std::string>{"inserted", "a", "b"}));
  control.InsertAsciiDataAtFirst(hex);
  EXPECT_EQ(Texts(control), (std::vector<std::string>{"inserted", "inserted", "a", "b"}));
  const std::string text = control.ExportToText();
  EXPECT_NE(text.find("inserted\r\ninserted\r\na\r\nb"), std::string::npos) << text;
}

// A host reads the document while the user types in a table cell: the read
// closes the cell's editor, and the keys that follow must reach the document
// instead of a window that no longer exists.
// A host reads the document whenever it likes: the user typing in a table
// cell goes on typing there, the cell open again with its caret.
TEST_F(AfxFormTest, ReadingTheDocumentWhileACellIsEditedKeepsTheCellOpen) {
  const struct {
    const char* member;
    std::function<void(TafxForm&)> read;
  } rows[] = {
      {"GetAsciiData", [](TafxForm& c) { c.GetAsciiData(); }},
      {"ExportToText", [](TafxForm& c) { c.ExportToText(); }},
  };
  control.SetVisible(true);
  control.Widget()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(control.Widget()));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.member);
    TDVTableItemInfo& table = PlaceTable(control);
    table.CreateInplace(1, 0, 0, false, true, true);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClicks(QApplication::focusWidget(), "q");
    ASSERT_EQ(control.GetTableContent(1, 0, 0), "0.0q");

    row.read(control);
    int r = -1, c = -1;
    ASSERT_NE(table.GetEditedCell(r, c), nullptr) << "the cell is open again";
    EXPECT_EQ(std::make_pair(r, c), std::make_pair(0, 0));
    ASSERT_NE(QApplication::focusWidget(), nullptr) << "the keys went to no one";
    QTest::keyClicks(QApplication::focusWidget(), "w");
    EXPECT_EQ(control.GetTableContent(1, 0, 0), "0.0qw") << "typing goes on at the caret";
  }
}

// ---- methods ----

TEST_F(AfxFormTest, SetBorderSizeSetsHeightThenWidthAndRefusesNegativeSizes) {
  control.SetBorderSize(300, 400);
  EXPECT_EQ(control.Height(), 300);
  EXPECT_EQ(control.Width(), 400);
  EXPECT_THROW(control.SetBorderSize(-1, 400), EAfxFormError);
  EXPECT_THROW(control.SetBorderSize(300, -5), EAfxFormError);
  EXPECT_EQ(control.Height(), 300);
  EXPECT_EQ(control.Width(), 400);
}

TEST_F(AfxFormTest, MembersThatDoNothingSucceedAndChangeNothing) {
  Write(control, {"same"});
  const std::string before = control.GetAsciiData();
  EXPECT_FALSE(control.Connect());
  EXPECT_FALSE(control.Connected());
  EXPECT_FALSE(control.AcceptChange());
  control.SetAcceptChange(true);
  EXPECT_FALSE(control.AcceptChange());
  EXPECT_FALSE(control.MainForm().DbDm().Connected());
  EXPECT_EQ(control.GetAsciiData(), before);
}

TEST_F(AfxFormTest, TrackingAndAnnotationModeInAndOut) {
  control.SetUserName(Utf8ToAnsi("乙"));
  control.StartTrace();
  EXPECT_TRUE(control.IsStartTrace());
  EXPECT_EQ(Editor(control).TraceUserName, Utf8ToAnsi("乙"));
  control.StopTrace();
  EXPECT_FALSE(control.IsStartTrace());

  TDVTableItemInfo& table = PlaceTable(control);
  table.Options = dvtoEditing | dvtoRowSizing | dvtoColSelect;
  control.StartPostil();
  EXPECT_TRUE(control.MainForm().Annotating());
  EXPECT_TRUE(control.ReadOnly());
  control.StopPostil();
  EXPECT_FALSE(control.MainForm().Annotating());
  EXPECT_FALSE(control.ReadOnly()) << "the editor is writable again";
  EXPECT_EQ(table.Options, dvtoEditing | dvtoRowSizing | dvtoColSelect) << "the tables are not left locked";
  EXPECT_TRUE(control.MainForm().MenuItem("BeginComment")->isEnabled());
  EXPECT_FALSE(control.MainForm().MenuItem("EndComment")->isEnabled());
  control.StopPostil();  // out of the mode already: nothing to do
  EXPECT_FALSE(control.ReadOnly());

  control.CanPostil(false);
  control.CanPostil(true);
}

TEST_F(AfxFormTest, MenuControlAndSealArmingReachTheMainForm) {
  control.DVMenuControl("FileSave", false, false);
  QAction* save = control.MainForm().MenuItem("FileSave");
  EXPECT_FALSE(save->isEnabled());
  EXPECT_FALSE(save->isVisible());
  control.DVMenuControl("FileSave", true, true);
  EXPECT_TRUE(save->isEnabled());
  EXPECT_TRUE(save->isVisible());
  control.DVMenuControl("NoSuchItem", false, false);  // names nothing: no change, no error

  control.PutBmp("seal", SealText());
  control.AddTuZhang("seal");
}

TEST_F(AfxFormTest, TableCellMembersReachTheCellsAndPropagateTheirErrors) {
  PlaceTable(control);
  EXPECT_EQ(control.GetTableContent(1, 1, 0), "1.0");
  control.InsertTableContent("x", 1, 0, 1);
  EXPECT_EQ(control.GetTableContent(1, 0, 1), "x0.1");
  EXPECT_EQ(Editor(control).UndoAction(), dvutNone) << "the host's filling is not the user's to undo";
  control.ClearTableCell(1, 1, 1);
  EXPECT_EQ(control.GetTableContent(1, 1, 1), "");
  control.SetTableCellReadOnly(1, 0, 0);

  // No such table: quietly nothing.
  EXPECT_EQ(control.GetTableContent(2, 0, 0), "");
  control.InsertTableContent("x", 2, 0, 0);
  control.ClearTableCell(2, 0, 0);
  control.SetTableCellReadOnly(2, 0, 0);

  // A cell the table lacks.
  struct Case {
    const char* name;
    std::function<void()> call;
  };
  const std::vector<Case> cases = {
      {"GetTableContent", [&] { control.GetTableContent(1, 2, 0); }},
      {"InsertTableContent", [&] { control.InsertTableContent("x", 1, 0, 5); }},
      {"ClearTableCell", [&] { control.ClearTableCell(1, -1, 0); }},
      {"SetTableCellReadOnly", [&] { control.SetTableCellReadOnly(1, 0, -1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(c.call(), ETableCellError);
  }
  EXPECT_EQ(control.GetTableContent(1, 0, 1), "x0.1");

  // A cell that refuses the change is an error the host hears, not a success.
  control.SetReadOnly(true);
  for (const Case& c : std::vector<Case>{{"InsertTableContent", [&] { control.InsertTableContent("y", 1, 0, 1); }},
                                         {"ClearTableCell", [&] { control.ClearTableCell(1, 0, 1); }},
                                         {"SetTableCellReadOnly", [&] { control.SetTableCellReadOnly(1, 0, 1); }}}) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(c.call(), EAfxFormError);
  }
  control.SetReadOnly(false);
  EXPECT_EQ(control.GetTableContent(1, 0, 1), "x0.1");
}

TEST_F(AfxFormTest, DatabaseMembersFailWithTheirMessagesAndRoundTrip) {
  auto db = testing_db::TTestDatabase::Create(testing_db::TBackend::Sqlite, nullptr);
  ASSERT_TRUE(db);
  db->Exec("CREATE TABLE DOCS (ID integer PRIMARY KEY, BODY text)");
  db->Exec("INSERT INTO DOCS VALUES (1, NULL)");
  control.SetComputerName(db->Location().Host);
  control.SetServerName(db->Location().ServerName);
  control.SetTableName("DOCS");
  control.SetFieldName("BODY");
  control.SetIDName("ID");
  control.SetIDValue("1");
  EXPECT_TRUE(control.ConnectToServer());

  Write(control, {"unsaved"});
  try {
    control.LoadFromDB();
    ADD_FAILURE() << "a null field loads";
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), "该字段值为空");
  }
  EXPECT_EQ(Texts(control), std::vector<std::string>{"unsaved"}) << "a failed load keeps the document";

  control.UpdateToDB();
  Write(control, {"changed"});
  control.LoadFromDB();
  EXPECT_EQ(Texts(control), std::vector<std::string>{"unsaved"});

  control.SetIDValue("1 OR 1=1");
  EXPECT_ANY_THROW(control.UpdateToDB());
  control.SetTableName("MISSING");
  control.SetIDValue("1");
  EXPECT_ANY_THROW(control.LoadFromDB());
  EXPECT_EQ(Texts(control), std::vector<std::string>{"unsaved"});

  // A server that is not there answers false, without raising.
  control.SetComputerName("127.0.0.1:" + std::to_string(testing_db::ClosedPort()));
  EXPECT_FALSE(control.ConnectToServer());
}

// ---- events ----

TEST_F(AfxFormTest, KeyPressLetsTheHostChangeOrSwallowTheCharacter) {
  // No listener: the key goes on as it came.
  EXPECT_EQ(control.KeyPress('a'), 'a');

  std::vector<int16_t> seen;
  int16_t replacement = 'b';
  QObject::connect(&control, &TafxForm::OnKeyPress, [&](int16_t& key) {
    seen.push_back(key);
    key = replacement;
  });
  EXPECT_EQ(control.KeyPress('a'), 'b');
  replacement = 0;
  QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, "c");
  QCoreApplication::sendEvent(control.Widget(), &press);
  EXPECT_TRUE(press.isAccepted()) << "a key set to 0 is taken, not passed on";
  QKeyEvent arrow(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
  QCoreApplication::sendEvent(control.Widget(), &arrow);
  EXPECT_EQ(seen, (std::vector<int16_t>{'a', 'c'})) << "only character keys are reported";
}

TEST_F(AfxFormTest, ClicksPaintingAndDestructionFireTheirEvents) {
  int clicks = 0, doubles = 0, paints = 0, destroyed = 0, created = 0;
  auto other = std::make_unique<TafxForm>();
  QObject::connect(other.get(), &TafxForm::OnClick, [&] { ++clicks; });
  QObject::connect(other.get(), &TafxForm::OnDblClick, [&] { ++doubles; });
  QObject::connect(other.get(), &TafxForm::OnPaint, [&] { ++paints; });
  QObject::connect(other.get(), &TafxForm::OnDestroy, [&] { ++destroyed; });
  QObject::connect(other.get(), &TafxForm::OnCreate, [&] { ++created; });
  QWidget* window = other->Widget();
  QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(1, 1));
  QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_GE(clicks, 1);
  EXPECT_EQ(doubles, 1);
  window->grab();
  EXPECT_GE(paints, 1);
  other.reset();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(created, 0) << "creation is over before a host can listen";
}

TEST_F(AfxFormTest, ActivationOfTheWindowFiresActivateAndDeactivate) {
  int activated = 0, deactivated = 0;
  QObject::connect(&control, &TafxForm::OnActivate, [&] { ++activated; });
  QObject::connect(&control, &TafxForm::OnDeactivate, [&] { ++deactivated; });
  control.SetVisible(true);
  control.Widget()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(control.Widget()));
  EXPECT_TRUE(control.Active());
  EXPECT_GE(activated, 1);

  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_FALSE(control.Active());
  EXPECT_GE(deactivated, 1);
}

// ---- several controls ----

TEST_F(AfxFormTest, TwoControlsInOneProcessKeepTheirOwnDocumentsAndNames) {
  auto second = std::make_unique<TafxForm>();
  EXPECT_NE(&second->MainForm(), &control.MainForm());
  Write(control, {"one"});
  Write(*second, {"two"});
  control.SetUserName("alice");
  second->SetUserName("bob");
  control.SetTableName("A");
  second->SetTableName("B");
  control.PutBmp("seal", SealText());
  DrawStroke(second->MainForm().qvPostil(), {{10, 10, 3}, {40, 30, 3}});
  control.SetBorderSize(200, 300);

  EXPECT_EQ(Texts(control), std::vector<std::string>{"one"});
  EXPECT_EQ(Texts(*second), std::vector<std::string>{"two"});
  EXPECT_EQ(control.MainForm().qvPostil().CurrentUser(), "alice");
  EXPECT_EQ(second->MainForm().qvPostil().CurrentUser(), "bob");
  EXPECT_EQ(control.TableName(), "A");
  EXPECT_EQ(second->TableName(), "B");
  EXPECT_EQ(second->BmpsID(), "");
  EXPECT_FALSE(control.isPostil());
  EXPECT_TRUE(second->isPostil());
  EXPECT_EQ(second->Height(), 478);

  // Freeing one leaves the other whole.
  const std::string hex = second->GetAsciiData();
  second.reset();
  control.PutAsciiData(hex);
  EXPECT_EQ(Texts(control), std::vector<std::string>{"two"});
  EXPECT_TRUE(control.isPostil());
}

TEST_F(AfxFormTest, AControlInAHostWindowThatGoesFirstIsFreedCleanly) {
  auto host = std::make_unique<QWidget>();
  auto embedded = std::make_unique<TafxForm>(host.get());
  EXPECT_EQ(embedded->Widget()->parentWidget(), host.get());
  host.reset();  // frees the control's window with it
  embedded.reset();
}

}  // namespace
}  // namespace quillet::test
