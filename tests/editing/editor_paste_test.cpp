// Paste and revision tracking on a real editor offscreen: keys through
// QTest, the offscreen clipboard, and a handler that answers the tracking
// codes with an underlined (inserted) or struck-out (deleted) style in the
// reviewer's colour.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QTest>

#include "caret_test_util.h"
#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/ui/clipboard.h"

namespace quillet::test {
namespace {

constexpr TColor kReviewer = 0x0000FF, kOtherReviewer = 0x00FF00;

class Tracking : public CaretTest {
 protected:
  void SetUp() override {
    CaretTest::SetUp();
    sheet.DefUnicodeStyle = kUni;
    marks_ = {{'I', Marked(kGbk, Orvane_TraceSaveInsert)}, {'X', Marked(kGbk, Orvane_TraceSaveDelet)},
              {'J', Marked(kUni, Orvane_TraceSaveInsert)}, {'Y', Marked(kUni, Orvane_TraceSaveDelet)},
              {'O', Add(kGbk, fsUnderline, kOtherReviewer)}};
    editor->TraceUserColor = kReviewer;
    editor->TraceUserName = Utf8ToAnsi("审阅人");
    editor->OnStyleConversion = [this](void*, int32_t styleNo, int32_t code, bool, int32_t& newStyleNo) {
      if (code == Orvane_TraceSaveInsert || code == Orvane_TraceSaveDelet) newStyleNo = Marked(styleNo, code);
    };
    QGuiApplication::clipboard()->clear();
  }

  // The notation with the marked styles' letters replaced by their numbers:
  // I inserted and X deleted of the GBK style, J and Y of the Unicode one,
  // O another reviewer's insertion.
  std::string M(std::string doc) const {
    for (const auto& [letter, no] : marks_)
      for (size_t at; (at = doc.find(letter)) != std::string::npos;) doc.replace(at, 1, std::to_string(no));
    return doc;
  }
  int32_t Ins() const { return marks_[0].second; }

  // The style like styleNo marked for code: found, or added.
  int32_t Marked(int32_t styleNo, int32_t code) {
    const TFontInfo& base = sheet.TextStyles()[styleNo];
    const TFontStyles style = code == Orvane_TraceSaveInsert ? fsUnderline : fsStrikeOut;
    for (int32_t i = 0; i < sheet.TextStyles().Count(); ++i) {
      const TFontInfo& s = sheet.TextStyles()[i];
      if (s.Unicode == base.Unicode && s.Charset == base.Charset && s.Style == style && s.Color == kReviewer &&
          s.Protection == 0)
        return i;
    }
    return Add(styleNo, style, kReviewer);
  }
  int32_t Add(int32_t baseNo, TFontStyles style, TColor color) {
    TFontInfo& added = sheet.TextStyles().Add();
    added.Assign(sheet.TextStyles()[baseNo]);
    added.Style = style;
    added.Color = color;
    added.Protection = 0;
    added.Standard = false;
    return sheet.TextStyles().Count() - 1;
  }

  QWidget* W() const { return editor->Widget(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(W(), key, mods); }
  void Type(const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QCoreApplication::sendEvent(W(), &press);
  }
  void CtrlKey(Qt::Key letter) {
    QKeyEvent press(QEvent::KeyPress, letter, Qt::ControlModifier, QString(QChar(letter & 0x1F)));
    QCoreApplication::sendEvent(W(), &press);
  }
  void Select(int s, int32_t so, int e, int32_t eo) {
    Data().SetSelectionBounds(s, so, e, eo);
  }
  std::string Name(int itemNo) const { return AnsiToUtf8(Data().GetItemTextR(itemNo)); }
  // A picture item named name at the document's end.
  void NamePicture(int itemNo, const std::string& utf8) { Data().SetItemTextR(itemNo, Utf8ToAnsi(utf8)); }
  // Undo until nothing is left.
  void UndoAll() {
    for (int guard = 0; Data().UndoList->Count() > 0 && guard < 10000; ++guard) CtrlKey(Qt::Key_Z);
  }
  // A "DocView Format" block on the clipboard: length, then the bytes.
  void PutDocView(const std::string& dvf, uint32_t length) {
    std::string block(4, '\0');
    for (int i = 0; i < 4; ++i) block[i] = static_cast<char>(length >> (8 * i));
    Clipboard().SetAsHandle(RegisterClipboardFormat("DocView Format"), block + dvf);
  }
  void PutDocView(const std::string& dvf) { PutDocView(dvf, static_cast<uint32_t>(dvf.size())); }
  // The DVF bytes of a document in the notation.
  std::vector<std::pair<char, int32_t>> marks_;
  std::string DvfOf(const std::string& notation) {
    TestEditor other;
    other.SetStyle(&sheet);
    LoadDoc(other.Data(), notation);
    return DvfBytes(other.Data());
  }
};

// ---- tracked deletion of a selection ----

struct DeletionCase {
  const char* name;
  const char* doc;
  int s;
  int32_t so;
  int e;
  int32_t eo;
  const char* expected;  // null: unchanged
};

void PrintTo(const DeletionCase& c, std::ostream* os) { *os << c.name; }

class TrackedDeletion : public Tracking, public testing::WithParamInterface<DeletionCase> {};

TEST_P(TrackedDeletion, DeletesMarksOrKeepsWithOneUndo) {
  const DeletionCase& c = GetParam();
  editor->TraceOn = true;
  LoadAt(M(c.doc), 0, 1);
  const std::string before = DvfBytes(Data());
  Select(c.s, c.so, c.e, c.eo);
  Key(Qt::Key_Delete);
  EXPECT_EQ(Doc(), M(c.expected ? c.expected : c.doc));
  EXPECT_TRUE(DrawingIsFresh(Data()));
  if (c.expected) {
    EXPECT_EQ(Data().UndoList->Count(), 1);
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(DvfBytes(Data()), before);
  } else {
    EXPECT_EQ(Data().UndoList->Count(), 0);
    EXPECT_EQ(Selection(), std::make_tuple(c.s, c.so, c.e, c.eo));
  }
}

const DeletionCase kDeletions[] = {
    {"OthersTextIsMarked", "P0 0\"abcd\"", 0, 2, 0, 4, "P0 0\"a\" X\"bc\" 0\"d\""},
    {"OthersInsertionIsMarked", "P0 O\"abcd\"", 0, 1, 0, 3, "P0 X\"ab\" O\"cd\""},
    {"OwnTextInOneItemGoes", "P0 0\"ab\" I\"xyz\" 0\"cd\"", 1, 2, 1, 3, "P0 0\"ab\" I\"xz\" 0\"cd\""},
    {"OwnTextInSeveralItemsGoes", "P0 0\"ab\" I\"xy\" / I\"zw\" 0\"cd\"", 1, 1, 2, 3, "P0 0\"abcd\""},
    {"OwnAndOthersMixedStay", "P0 I\"ab\" 0\"cd\"", 0, 2, 1, 2, nullptr},
    {"MarksAcrossParagraphs", "P0 0\"ab\" P0 1\"cd\"", 0, 2, 1, 2, "P0 0\"a\" X\"b\" P0 Y\"c\" 1\"d\""},
};

INSTANTIATE_TEST_SUITE_P(Cases, TrackedDeletion, testing::ValuesIn(kDeletions),
                         [](const testing::TestParamInfo<DeletionCase>& i) { return std::string(i.param.name); });

TEST_F(Tracking, PicturesAreMarkedByNameOrDeletedWhenOwn) {
  editor->TraceOn = true;
  LoadAt("P0 0\"ab\" pic:10x10 0\"cd\" pic:10x10", 0, 1);
  NamePicture(3, "审阅人插入的图片");
  const std::string before = DvfBytes(Data());
  // Another's picture: named deleted, kept, one group.
  Select(1, 0, 1, 1);
  Key(Qt::Key_Delete);
  EXPECT_EQ(Doc(), "P0 0\"ab\" pic:10x10 0\"cd\" pic:10x10");
  EXPECT_EQ(Name(1), "审阅人删除的图片");
  EXPECT_EQ(Data().UndoList->Count(), 1);
  // The reviewer's own picture goes.
  Select(3, 0, 3, 1);
  Key(Qt::Key_Delete);
  EXPECT_EQ(Doc(), "P0 0\"ab\" pic:10x10 0\"cd\"");
  // One Undo per deletion, not one for the earlier deletion too.
  CtrlKey(Qt::Key_Z);
  EXPECT_EQ(Doc(), "P0 0\"ab\" pic:10x10 0\"cd\" pic:10x10");
  EXPECT_EQ(Name(1), "审阅人删除的图片");
  CtrlKey(Qt::Key_Z);
  EXPECT_EQ(DvfBytes(Data()), before);
}

// The marking's picture setter alone: its own group, undone in one step.
TEST_F(Tracking, PictureMarkingSetterHasItsOwnGroup) {
  LoadAt("P0 0\"ab\" pic:10x10", 0, 1);
  NamePicture(1, "a");
  const std::string before = DvfBytes(Data());
  editor->SetPictureInfoEdMy(1, Utf8ToAnsi("审阅人删除的图片"), nullptr, dvvaMiddle, Data().GetItemTag(1));
  EXPECT_EQ(Name(1), "审阅人删除的图片");
  ASSERT_EQ(Data().UndoList->Count(), 1);
  EXPECT_EQ(Data().UndoList->CurrentUndoType(), dvutPicture);
  EXPECT_EQ(AnsiToUtf8(Data().UndoList->Top()->Caption), "图片痕迹保留");
  CtrlKey(Qt::Key_Z);
  EXPECT_EQ(DvfBytes(Data()), before);
}

TEST_F(Tracking, SeveralMarksOfOneDeletionUndoTogether) {
  editor->TraceOn = true;
  LoadAt("P0 0\"ab\" pic:10x10 0\"cd\" pic:10x10 0\"ef\"", 0, 1);
  const std::string before = DvfBytes(Data());
  Select(0, 2, 4, 2);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Doc(), M("P0 0\"a\" X\"b\" pic:10x10 X\"cd\" pic:10x10 X\"e\" 0\"f\""));
  EXPECT_EQ(Name(2), "审阅人删除的图片");
  EXPECT_EQ(Name(4), "审阅人删除的图片");
  CtrlKey(Qt::Key_Z);
  EXPECT_EQ(DvfBytes(Data()), before);
}

TEST_F(Tracking, TableInTheSelectionBlocksTheDeletion) {
  editor->TraceOn = true;
  LoadAt("P0 0\"ab\" P0 0\"cd\"", 0, 3);
  auto table = std::make_unique<TDVTableItemInfo>(1, 1, &Data());
  ASSERT_TRUE(InsertAtCaret(std::move(table)));
  NamePicture(0, "");
  const std::string before = DvfBytes(Data());
  const int last = Data().ItemCount() - 1;
  beeps = 0;
  Select(0, 1, last, 2);
  Key(Qt::Key_Delete);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(Selection(), std::make_tuple(0, 1, last, 2));
}

TEST_F(Tracking, TypingOverASelectionMarksItAndTypesInserted) {
  editor->TraceOn = true;
  LoadAt("P0 0\"abcd\"", 0, 1);
  const std::string before = DvfBytes(Data());
  Select(0, 2, 0, 4);
  Key(Qt::Key_X);
  EXPECT_EQ(Doc(), M("P0 0\"a\" X\"bc\" I\"x\" 0\"d\""));
  Type("中😀");
  EXPECT_EQ(Doc(), M("P0 0\"a\" X\"bc\" I\"x中\" J\"😀\" 0\"d\""));
  UndoAll();
  EXPECT_EQ(DvfBytes(Data()), before);
}

// ---- tracked Backspace and Delete ----

struct KeyCase {
  const char* name;
  const char* doc;
  int itemNo;
  int32_t offs;
  Qt::Key key;
  const char* expected;
  std::pair<int, int32_t> caret;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class TrackedKeys : public Tracking, public testing::WithParamInterface<KeyCase> {};

TEST_P(TrackedKeys, MarkByTheRemovedCharactersStyle) {
  const KeyCase& c = GetParam();
  editor->TraceOn = true;
  LoadAt(M(c.doc), c.itemNo, c.offs);
  const std::string before = DvfBytes(Data());
  // The caret style says nothing: what counts is the character removed.
  editor->SetCurTextStyleNo(std::string(c.name).find("Own") != std::string::npos ? kGbk : Ins());
  Key(c.key);
  EXPECT_EQ(Doc(), M(c.expected));
  EXPECT_EQ(Caret(), c.caret);
  EXPECT_TRUE(DrawingIsFresh(Data()));
  UndoAll();
  EXPECT_EQ(DvfBytes(Data()), before);
}

const KeyCase kKeys[] = {
    {"BackspaceMarksAndPasses", "P0 0\"abc\"", 0, 3, Qt::Key_Backspace, "P0 0\"a\" X\"b\" 0\"c\"", {1, 1}},
    {"BackspaceOwnGoes", "P0 0\"a\" I\"xy\"", 1, 3, Qt::Key_Backspace, "P0 0\"a\" I\"x\"", {1, 2}},
    {"BackspaceAtItemStartTakesThePrevious", "P0 0\"ab\" 1\"cd\"", 1, 1, Qt::Key_Backspace,
     "P0 0\"a\" X\"b\" 1\"cd\"", {1, 1}},
    {"BackspaceAtDocumentStartDoesNothing", "P0 0\"ab\"", 0, 1, Qt::Key_Backspace, "P0 0\"ab\"", {0, 1}},
    {"BackspaceAtParagraphStartMovesOnly", "P0 0\"ab\" P0 0\"cd\"", 1, 1, Qt::Key_Backspace,
     "P0 0\"ab\" P0 0\"cd\"", {0, 3}},
    {"DeleteMarksAndPasses", "P0 0\"abc\"", 0, 2, Qt::Key_Delete, "P0 0\"a\" X\"b\" 0\"c\"", {1, 2}},
    {"DeleteOwnGoes", "P0 I\"xy\" 0\"a\"", 0, 2, Qt::Key_Delete, "P0 I\"x\" 0\"a\"", {0, 2}},
    {"DeleteAtItemEndTakesTheNext", "P0 0\"ab\" 1\"cd\"", 0, 3, Qt::Key_Delete, "P0 0\"ab\" Y\"c\" 1\"d\"",
     {1, 2}},
    {"DeleteAtDocumentEndDoesNothing", "P0 0\"ab\"", 0, 3, Qt::Key_Delete, "P0 0\"ab\"", {0, 3}},
    {"DeleteAtParagraphEndMovesOnly", "P0 0\"ab\" P0 0\"cd\"", 0, 3, Qt::Key_Delete, "P0 0\"ab\" P0 0\"cd\"",
     {1, 1}},
    {"DeleteOthersPictureNamesIt", "P0 0\"ab\" pic:10x10", 0, 3, Qt::Key_Delete, "P0 0\"ab\" pic:10x10", {1, 1}},
};

INSTANTIATE_TEST_SUITE_P(Cases, TrackedKeys, testing::ValuesIn(kKeys),
                         [](const testing::TestParamInfo<KeyCase>& i) { return std::string(i.param.name); });

TEST_F(Tracking, BackspaceOverOwnPictureDeletesItAndStays) {
  editor->TraceOn = true;
  LoadAt("P0 0\"ab\" pic:10x10 0\"cd\"", 2, 1);
  NamePicture(1, "审阅人插入的图片");
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Doc(), "P0 0\"abcd\"");
  EXPECT_EQ(Caret(), std::make_pair(0, int32_t{3}));
}

// ---- paste ----

TEST_F(Tracking, PasteEachFormatWithAndWithoutTracking) {
  QImage image(6, 4, QImage::Format_RGB32);
  image.fill(Qt::red);
  const std::string dvf = DvfOf("P0 0\"12\" pic:10x10 P0 0\"34\"");
  struct Format {
    const char* name;
    std::function<void()> put;
    const char* off;  // the document after pasting at "a|b"
    const char* on;
  };
  const Format formats[] = {
      {"DocView", [&] { PutDocView(dvf); }, "P0 0\"a12\" pic:10x10 P0 0\"34b\"",
       "P0 0\"a\" I\"12\" pic:10x10 P0 I\"34\" 0\"b\""},
      {"TextInTheCodePage", [] { QGuiApplication::clipboard()->setText("中\n文"); }, "P0 0\"a中\" P0 0\"文b\"",
       "P0 0\"a\" I\"中\" P0 I\"文\" 0\"b\""},
      {"TextBeyondTheCodePage", [] { QGuiApplication::clipboard()->setText("😀\r\n中"); },
       "P0 0\"a\" 1\"😀\" P0 1\"中\" 0\"b\"", "P0 0\"a\" J\"😀\" P0 J\"中\" 0\"b\""},
      {"Bitmap", [&] { QGuiApplication::clipboard()->setImage(image); }, "P0 0\"a\" pic:6x4 0\"b\"",
       "P0 0\"a\" pic:6x4 0\"b\""},
  };
  for (const Format& f : formats)
    for (bool trace : {false, true}) {
      SCOPED_TRACE(std::string(f.name) + (trace ? " tracked" : ""));
      editor->TraceOn = trace;
      LoadAt("P0 0\"ab\"", 0, 2);
      const std::string before = DvfBytes(Data());
      f.put();
      ASSERT_TRUE(editor->CanPaste());
      beeps = 0;
      CtrlKey(Qt::Key_V);
      EXPECT_EQ(Doc(), M(trace ? f.on : f.off));
      EXPECT_EQ(beeps, 0);
      EXPECT_TRUE(DrawingIsFresh(Data()));
      for (int i = 0; i < Data().ItemCount(); ++i)
        if (Data().GetItemStyle(i) == dvsPicture) EXPECT_EQ(Name(i), trace ? "审阅人插入的图片" : "图片");
      // One Undo takes the paste and its marks back.
      EXPECT_EQ(Data().UndoList->Count(), 1);
      CtrlKey(Qt::Key_Z);
      EXPECT_EQ(DvfBytes(Data()), before);
    }
}

TEST_F(Tracking, PasteNamesOnlyThePicturesItInserted) {
  editor->TraceOn = true;
  LoadAt("P0 pic:10x10 0\"ab\"", 0, 1);
  NamePicture(0, "别人删除的图片");
  PutDocView(DvfOf("P0 pic:10x10"));
  Key(Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(Doc(), "P0 pic:10x10 pic:10x10 0\"ab\"");
  EXPECT_EQ(Name(0), "别人删除的图片");
  EXPECT_EQ(Name(1), "审阅人插入的图片");
}

TEST_F(Tracking, PasteOverASelectionThenUndoInTwoSteps) {
  for (bool trace : {false, true}) {
    editor->TraceOn = trace;
    LoadAt("P0 0\"abcd\"", 0, 1);
    const std::string before = DvfBytes(Data());
    QGuiApplication::clipboard()->setText("x");
    Select(0, 2, 0, 4);
    CtrlKey(Qt::Key_V);
    EXPECT_EQ(Doc(), M(trace ? "P0 0\"a\" X\"bc\" I\"x\" 0\"d\"" : "P0 0\"axd\"")) << trace;
    UndoAll();
    EXPECT_EQ(DvfBytes(Data()), before) << trace;
  }
}

TEST_F(Tracking, VetoKeepsTheDeletionAndPastesNothing) {
  for (bool trace : {false, true}) {
    editor->TraceOn = trace;
    LoadAt("P0 0\"abcd\"", 0, 1);
    QGuiApplication::clipboard()->setText("x");
    int asked = 0;
    editor->OnPaste = [&](TCustomDocViewEdit&, bool& doDefault) {
      ++asked;
      doDefault = false;
    };
    Select(0, 2, 0, 4);
    CtrlKey(Qt::Key_V);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Doc(), M(trace ? "P0 0\"a\" X\"bc\" 0\"d\"" : "P0 0\"ad\"")) << trace;
    editor->OnPaste = {};
  }
}

TEST_F(Tracking, UnusableClipboardChangesNothing) {
  const std::string dvf = DvfOf("P0 0\"12\"");
  const std::function<void()> unusable[] = {
      [] { QGuiApplication::clipboard()->clear(); },
      [&] { Clipboard().SetAsHandle(RegisterClipboardFormat("DocView Format"), "\x02\0\0"); },
      [&] { PutDocView(dvf, static_cast<uint32_t>(dvf.size() + 1)); },
      [&] { PutDocView(dvf, 0xFFFFFFFFu); },
      [] { QGuiApplication::clipboard()->setText(""); },
  };
  for (const auto& put : unusable)
    for (bool trace : {false, true}) {
      editor->TraceOn = trace;
      LoadAt("P0 0\"abcd\"", 0, 1);
      const std::string before = DvfBytes(Data());
      put();
      EXPECT_FALSE(editor->CanPaste());
      Select(0, 2, 0, 4);
      beeps = 0;
      CtrlKey(Qt::Key_V);
      EXPECT_EQ(DvfBytes(Data()), before);
      EXPECT_EQ(beeps, 1);
      EXPECT_EQ(Selection(), std::make_tuple(0, 2, 0, 4));
      EXPECT_EQ(Data().UndoList->Count(), 0);
    }
}

TEST_F(Tracking, UnreadableDocViewBeepsAndOneUndoBringsTheSelectionBack) {
  for (bool trace : {false, true}) {
    editor->TraceOn = trace;
    LoadAt("P0 0\"abcd\"", 0, 1);
    const std::string before = DvfBytes(Data());
    PutDocView("0 1 2 3 garbage\r\n-8 1 x\r\n");
    Select(0, 2, 0, 4);
    beeps = 0;
    CtrlKey(Qt::Key_V);
    EXPECT_GE(beeps, 1);
    EXPECT_EQ(Data().UndoList->Count(), 1);
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(DvfBytes(Data()), before);
  }
}

TEST_F(Tracking, ReadOnlyPastesNothing) {
  LoadAt("P0 0\"ab\"", 0, 2);
  const std::string before = DvfBytes(Data());
  QGuiApplication::clipboard()->setText("x");
  editor->SetReadOnly(true);
  EXPECT_FALSE(editor->CanPaste());
  editor->Paste();
  EXPECT_EQ(DvfBytes(Data()), before);
}

// ---- random keys ----

class TrackingProperty : public Tracking {
 protected:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  std::mt19937 rng;
};

TEST_F(TrackingProperty, RandomKeysThenUndoAllGiveTheOriginalBytes) {
  const char* const kTexts[] = {"x", "中", "😀", "ab", "文字\n段"};
  for (uint32_t seed = 1; seed <= 24; ++seed) {
    rng.seed(seed);
    editor->TraceOn = seed % 2 == 0;
    LoadAt(M("P0 0\"start\" I\"own\" pic:10x10 P0 1\"中文 x\" O\"other\" P0 0\"end\""), 0, 3);
    const std::string before = DvfBytes(Data());
    QGuiApplication::clipboard()->setText(kTexts[Rand(0, 4)]);
    for (int step = 0; step < 40; ++step) {
      switch (Rand(0, 9)) {
        case 0: Type(kTexts[Rand(0, 3)]); break;
        case 1: Key(Qt::Key_Return); break;
        case 2: Key(Qt::Key_Backspace); break;
        case 3: Key(Qt::Key_Delete); break;
        case 4: Key(Rand(0, 1) ? Qt::Key_Left : Qt::Key_Right, Qt::ShiftModifier); break;
        case 5: Key(Rand(0, 1) ? Qt::Key_Up : Qt::Key_Down, Rand(0, 1) ? Qt::ShiftModifier : Qt::NoModifier); break;
        case 6: CtrlKey(Qt::Key_V); break;
        case 7:
          if (Rand(0, 1))
            editor->CopyDef();
          else
            QGuiApplication::clipboard()->setText(kTexts[Rand(0, 4)]);
          break;
        default: Type("k"); break;
      }
      ASSERT_TRUE(DrawingIsFresh(Data())) << "seed " << seed << " step " << step;
    }
    UndoAll();
    ASSERT_EQ(DvfBytes(Data()), before) << "seed " << seed;
  }
}

}  // namespace
}  // namespace quillet::test
