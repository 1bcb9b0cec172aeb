// The editor's public editing methods on a real editor: each is one undo
// group that Undo takes back whole, and a read-only editor refuses every
// one of them without touching a byte of the document.
#include <QTemporaryDir>

#include "caret_test_util.h"
#include "engine/model/picture_item.h"
#include "engine/stream/compressed_form.h"

namespace quillet::test {
namespace {

using namespace std::string_literals;

class EditorMethods : public CaretTest {
 public:
  using CaretTest::Data;
  using CaretTest::NewItem;
  void SetUp() override {
    CaretTest::SetUp();
    ASSERT_TRUE(folder.isValid());
  }
  // A file in the test's folder holding bytes.
  std::string File(const char* name, const std::string& bytes) {
    const std::string path = folder.filePath(name).toStdString();
    TFileStream file(path, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return path;
  }
  // The compressed form of a document of the notation.
  std::string CompressedFile(const char* name, const std::string& notation) {
    TestEditor other;
    other.SetStyle(&sheet);
    LoadDoc(other.Data(), notation);
    TMemoryStream stream;
    EXPECT_TRUE(other.Data().SaveDVFToStream(stream, false, clNone, nullptr, nullptr));
    CompressDVF(stream, TCompressionLevel::clDefault);
    return File(name, stream.AsString());
  }
  TDVTag Tag(int32_t value) {
    TDVTag tag;
    tag.Int = value;
    return tag;
  }
  QTemporaryDir folder;
};

struct MethodCase {
  const char* name;
  const char* doc;
  std::tuple<int, int32_t, int, int32_t> selection;  // the caret when both ends are equal
  std::function<void(EditorMethods&, TCustomDocViewEdit&)> call;
  const char* expected;
};

void PrintTo(const MethodCase& c, std::ostream* os) { *os << c.name; }

class Method : public EditorMethods, public testing::WithParamInterface<MethodCase> {};

TEST_P(Method, IsOneUndoGroup) {
  const MethodCase& c = GetParam();
  const auto [s, so, e, eo] = c.selection;
  LoadAt(c.doc, s, so);
  if (s != e || so != eo) Data().SetSelectionBounds(s, so, e, eo);
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] {
    c.call(*this, *editor);
    EXPECT_EQ(Doc(), c.expected);
    EXPECT_EQ(Data().UndoList->Count(), 1);
  }));
  EXPECT_EQ(beeps, 0);
  EXPECT_TRUE(editor->Modified);
}

const MethodCase kMethods[] = {
    {"InsertTextReplacesTheSelection", "P0 0\"abcd\"", {0, 2, 0, 4},
     [](EditorMethods&, TCustomDocViewEdit& ed) { EXPECT_TRUE(ed.InsertText("x\r\ny")); }, "P0 0\"ax\" P0 0\"yd\""},
    {"InsertTextWInTheCodePageStyle", "P0 0\"ab\"", {0, 2, 0, 2},
     [](EditorMethods&, TCustomDocViewEdit& ed) { EXPECT_TRUE(ed.InsertTextW(u"中文")); }, "P0 0\"a中文b\""},
    {"InsertTextW_Bytes", "P0 1\"ab\"", {0, 2, 0, 2},
     [](EditorMethods&, TCustomDocViewEdit& ed) { EXPECT_TRUE(ed.InsertTextW_(ItemText("😀", true))); },
     "P0 1\"a😀b\""},
    {"InsertStringTagKeepsItsTag", "P0 0\"ab\"", {0, 2, 0, 2},
     [](EditorMethods& t, TCustomDocViewEdit& ed) { EXPECT_TRUE(ed.InsertStringTag("x", t.Tag(7))); },
     "P0 0\"a\" @7 0\"x\" 0\"b\""},
    {"InsertPicture", "P0 0\"ab\"", {0, 2, 0, 2},
     [](EditorMethods&, TCustomDocViewEdit& ed) {
       EXPECT_TRUE(ed.InsertPicture("p", std::make_unique<TBitmap>(6, 4), dvvaBaseline));
     },
     "P0 0\"a\" pic:6x4 0\"b\""},
    {"InsertBreakOverTheSelection", "P0 0\"abc\"", {0, 2, 0, 3},
     [](EditorMethods&, TCustomDocViewEdit& ed) { EXPECT_TRUE(ed.InsertBreak(2, dvbsLine, clRed)); },
     "P0 0\"a\" P0 brk P0 0\"c\""},
    {"InsertDVFFromFileEd", "P0 0\"ab\"", {0, 2, 0, 2},
     [](EditorMethods& t, TCustomDocViewEdit& ed) {
       EXPECT_TRUE(ed.InsertDVFFromFileEd(t.CompressedFile("doc.dvz", "P0 0\"xy\"")));
     },
     "P0 0\"axyb\""},
    {"InsertTextFromFile", "P0 0\"ab\"", {0, 2, 0, 2},
     [](EditorMethods& t, TCustomDocViewEdit& ed) { EXPECT_TRUE(ed.InsertTextFromFile(t.File("t.txt", "x\ny"))); },
     "P0 0\"ax\" P0 0\"yb\""},
    {"RemoveCurrentPageBreak", "P0 0\"a\" P0 ^ 0\"b\"", {1, 1, 1, 1},
     [](EditorMethods&, TCustomDocViewEdit& ed) { ed.RemoveCurrentPageBreak(); }, "P0 0\"a\" P0 0\"b\""},
    {"ApplyParaStyle", "P0 0\"a\" P0 0\"b\" P0 0\"c\"", {0, 1, 1, 2},
     [](EditorMethods&, TCustomDocViewEdit& ed) { ed.ApplyParaStyle(kIndentPara); },
     "P1 0\"a\" P1 0\"b\" P0 0\"c\""},
    {"SetPictureInfoEdResizes", "P0 0\"a\" pic:10x10", {0, 1, 0, 1},
     [](EditorMethods& t, TCustomDocViewEdit& ed) {
       ed.SetPictureInfoEd(1, "n", std::make_unique<TBitmap>(30, 20), dvvaMiddle, t.Tag(3));
     },
     "P0 0\"a\" @3 pic:30x20"},
    {"SetBreakInfoEd", "P0 brk", {0, 0, 0, 0},
     [](EditorMethods& t, TCustomDocViewEdit& ed) { ed.SetBreakInfoEd(0, 3, dvbs3d, clBlue, t.Tag(2)); },
     "P0 @2 brk"},
    {"SetItemTagEd", "P0 0\"ab\"", {0, 1, 0, 1},
     [](EditorMethods& t, TCustomDocViewEdit& ed) { ed.SetItemTagEd(0, t.Tag(9)); }, "P0 @9 0\"ab\""},
    {"ConvertToHotPicture", "P0 0\"a\" pic:10x10", {0, 1, 0, 1},
     [](EditorMethods& t, TCustomDocViewEdit& ed) {
       ed.ConvertToHotPicture(1);
       EXPECT_EQ(t.Data().GetItemStyle(1), dvsHotPicture);
       EXPECT_NE(dynamic_cast<TDVHotGraphicItemInfo*>(t.Data().GetItem(1)), nullptr);
     },
     "P0 0\"a\" pic:10x10"},
};

INSTANTIATE_TEST_SUITE_P(Cases, Method, testing::ValuesIn(kMethods),
                         [](const testing::TestParamInfo<MethodCase>& i) { return std::string(i.param.name); });

TEST_F(EditorMethods, SettersCheckTheItemsKind) {
  LoadAt("P0 0\"ab\" pic:10x10", 0, 1);
  EXPECT_THROW(editor->SetPictureInfoEd(0, "n", nullptr, dvvaBaseline, {}), EDocViewError);
  EXPECT_THROW(editor->SetBreakInfoEd(1, 1, dvbsLine, clNone, {}), EDocViewError);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  // The same tag again is no change at all.
  editor->SetItemTagEd(0, {});
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_FALSE(editor->Modified);
}

TEST_F(EditorMethods, CorruptCompressedFileRaisesAndChangesNothing) {
  LoadAt("P0 0\"abcd\"", 0, 2);
  Data().SetSelectionBounds(0, 2, 0, 4);
  const std::string before = DvfBytes(Data());
  std::string bytes = "\x10\0\0\0garbage"s;
  EXPECT_THROW(editor->InsertDVFFromFileEd(File("bad.dvz", bytes)), EDecompressionError);
  EXPECT_THROW(editor->InsertDVFFromFileEd(folder.filePath("missing").toStdString()), EStreamError);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(Selection(), std::make_tuple(0, 2, 0, 4));
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

TEST_F(EditorMethods, UnicodeTextTakesTheSheetsUnicodeStyle) {
  sheet.DefUnicodeStyle = kUni;
  LoadAt("P0 0\"ab\"", 0, 2);
  ASSERT_TRUE(editor->InsertTextW(u"中"));
  EXPECT_EQ(Doc(), "P0 0\"a\" 1\"中\" 0\"b\"");
  EXPECT_EQ(editor->CurTextStyleNo(), kUni);
}

TEST_F(EditorMethods, UndoNamesAndActionsFollowTheLists) {
  LoadAt("P0 0\"ab\"", 0, 2);
  editor->InsertText("x");
  EXPECT_EQ(editor->UndoAction(), dvutInsert);
  EXPECT_EQ(editor->RedoAction(), dvutNone);
  editor->Undo();
  EXPECT_EQ(editor->RedoAction(), dvutInsert);
  editor->ClearUndo();
  EXPECT_EQ(editor->UndoAction(), dvutNone);
  EXPECT_EQ(editor->RedoAction(), dvutNone);
}

TEST_F(EditorMethods, SearchSelectsWhatItFinds) {
  LoadAt("P0 0\"Ab ab\"", 0, 1);
  ASSERT_TRUE(editor->SearchText("ab", dvseoDown | dvseoMatchCase));
  EXPECT_EQ(Selection(), std::make_tuple(0, 4, 0, 6));
  EXPECT_FALSE(editor->SearchText("ab", dvseoDown | dvseoMatchCase));
}

// Every public method of a read-only editor: the bytes stay, each refusal
// beeps.
TEST_F(EditorMethods, ReadOnlyChangesNoByte) {
  struct Call {
    const char* name;
    std::function<void(EditorMethods&, TCustomDocViewEdit&)> call;
  };
  const Call calls[] = {
      {"InsertItem", [](EditorMethods& t, TCustomDocViewEdit& ed) { ed.InsertItem("", t.NewItem("pic")); }},
      {"InsertBreak", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.InsertBreak(1, dvbsLine, clNone); }},
      {"InsertPicture",
       [](EditorMethods&, TCustomDocViewEdit& ed) {
         ed.InsertPicture("", std::make_unique<TBitmap>(3, 3), dvvaBaseline);
       }},
      {"InsertStringTag", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.InsertStringTag("x", {}); }},
      {"InsertText", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.InsertText("x"); }},
      {"InsertTextW", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.InsertTextW(u"x"); }},
      {"InsertTextW_", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.InsertTextW_(ItemText("x", true)); }},
      {"InsertTextFromFile",
       [](EditorMethods& t, TCustomDocViewEdit& ed) { ed.InsertTextFromFile(t.File("a.txt", "x")); }},
      {"InsertTextFromFileW",
       [](EditorMethods& t, TCustomDocViewEdit& ed) { ed.InsertTextFromFileW(t.File("w.txt", ItemText("x", true))); }},
      {"InsertDVFFromStreamEd",
       [](EditorMethods&, TCustomDocViewEdit& ed) {
         TMemoryStream empty;
         ed.InsertDVFFromStreamEd(empty);
       }},
      {"InsertDVFFromFileEd",
       [](EditorMethods& t, TCustomDocViewEdit& ed) { ed.InsertDVFFromFileEd(t.CompressedFile("d.dvz", "P0 0\"x\"")); }},
      {"InsertRTFFromStreamEd",
       [](EditorMethods&, TCustomDocViewEdit& ed) {
         TMemoryStream rtf;
         rtf.WriteBuffer("{\\rtf1 x}", 9);
         rtf.SetPosition(0);
         ed.InsertRTFFromStreamEd(rtf);
       }},
      {"InsertPageBreak", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.InsertPageBreak(); }},
      {"RemoveCurrentPageBreak", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.RemoveCurrentPageBreak(); }},
      {"DeleteSelection", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.DeleteSelection(); }},
      {"CutDef", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.CutDef(); }},
      {"ApplyStyleConversion", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.ApplyStyleConversion(1); }},
      {"ApplyParaStyleConversion", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.ApplyParaStyleConversion(1); }},
      {"ApplyParaStyle", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.ApplyParaStyle(kIndentPara); }},
      {"SetBreakInfoEd", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.SetBreakInfoEd(3, 4, dvbs3d, clRed, {}); }},
      {"SetPictureInfoEd",
       [](EditorMethods&, TCustomDocViewEdit& ed) {
         ed.SetPictureInfoEd(2, "n", std::make_unique<TBitmap>(5, 5), dvvaMiddle, {});
       }},
      {"SetItemExtraIntPropertyEd",
       [](EditorMethods&, TCustomDocViewEdit& ed) { ed.SetItemExtraIntPropertyEd(2, dvepImageWidth, 40, true); }},
      {"SetItemTagEd",
       [](EditorMethods& t, TCustomDocViewEdit& ed) { ed.SetItemTagEd(0, t.Tag(5)); }},
      {"ConvertToHotPicture", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.ConvertToHotPicture(2); }},
      {"Undo", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.Undo(); }},
      {"Redo", [](EditorMethods&, TCustomDocViewEdit& ed) { ed.Redo(); }},
  };
  sheet.DefUnicodeStyle = kUni;
  editor->OnStyleConversion = [](void*, int32_t styleNo, int32_t, bool, int32_t& newStyleNo) {
    newStyleNo = styleNo == kGbk ? kUni : styleNo;
  };
  editor->OnParaStyleConversion = editor->OnStyleConversion;
  for (const Call& c : calls) {
    LoadAt("P0 0\"abc\" 0\"d\" pic:10x10 P0 ^ brk", 0, 2);
    ASSERT_TRUE(editor->InsertText("q"));  // something for Undo
    ASSERT_TRUE(editor->InsertText("r"));
    editor->Undo();                        // and for Redo
    Data().SetSelectionBounds(0, 1, 1, 2);
    editor->SetReadOnly(true);
    const std::string before = DvfBytes(Data());
    const int undoCount = Data().UndoList->Count(), redoCount = Data().RedoList->Count();
    beeps = 0;
    editor->Modified = false;
    c.call(*this, *editor);
    EXPECT_EQ(DvfBytes(Data()), before) << c.name;
    EXPECT_EQ(Data().UndoList->Count(), undoCount) << c.name;
    EXPECT_EQ(Data().RedoList->Count(), redoCount) << c.name;
    EXPECT_GE(beeps, 1) << c.name;
    EXPECT_FALSE(editor->Modified) << c.name;
    editor->SetReadOnly(false);
  }
}

}  // namespace
}  // namespace quillet::test
