// The mouse-over hints: the reviewer and time of the change under the mouse,
// a picture's name, an annotation's writer, and the tool tip that shows them.
#include "host/review/change_hints.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <memory>

#include "editing/control/editor.h"
#include "engine/model/picture_item.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/postil.h"
#include "host/review/reviewer_table.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"
#include "tests/host/annotation/postil_test_support.h"

namespace quillet::test {
namespace {

constexpr TColor kShared = 0x0000FF, kNobody = 0x123456;

class ChangeHints : public testing::Test {
 protected:
  void SetUp() override {
    sheet.TextStyles().Clear();
    AddStyle(0, 0);                        // 0: plain
    AddStyle(fsUnderline, kShared);        // 1: inserted by A (or B)
    AddStyle(fsStrikeOut, kShared);        // 2: deleted by A (or B)
    AddStyle(fsUnderline, kNobody);        // 3: underlined, no reviewer's colour
    AddStyle(fsUnderline, 0);              // 4: underlined black
    // A and B have one colour; slot 3 is free (colour 0) but counted.
    table.ReadLines({Utf8ToAnsi("QV;起草人;t0;0"), "QV;A;tA;" + std::to_string(kShared),
                     "QV;B;tB;" + std::to_string(kShared), "QV;;;0"});
    editor = std::make_unique<TDocViewEdit>();
    editor->SetStyle(&sheet);
    editor->SetBounds(0, 0, 400, 400);
    editor->Show();
    editor->Clear();  // shown, the editor made an empty item to type into
    for (int32_t style = 0; style <= 4; ++style) editor->AddNL("word" + std::to_string(style), style, 0);
    auto picture = std::make_unique<TDVGraphicItemInfo>(&editor->DVData(), std::make_unique<TBitmap>(30, 30),
                                                        dvvaBaseline);
    picture->StyleNo = dvsPicture;
    picture->ParaNo = 0;
    editor->AddItem(Utf8ToAnsi("A插入的图片"), std::move(picture));
    editor->Format();
    hints = std::make_unique<TChangeHints>(*editor, table, WithFixedDate(postil));
  }
  void TearDown() override {
    hints.reset();
    editor.reset();
  }
  void AddStyle(TFontStyles style, TColor color) {
    TFontInfo& s = sheet.TextStyles().Add();
    s.Style = style;
    s.Color = color;
  }
  QPoint At(int itemNo) const {
    int32_t left = 0, top = 0;
    EXPECT_TRUE(editor->GetItemClientCoords(itemNo, left, top));
    return QPoint(left + 4, top + 4);
  }
  std::optional<std::string> HintOver(int itemNo) {
    const QPoint p = At(itemNo);
    const auto hint = hints->HintAt(p.x(), p.y());
    return hint ? std::optional(AnsiToUtf8(*hint)) : std::nullopt;
  }

  TDVStyle sheet;
  TReviewerTable table;
  TQvPostil postil;
  std::unique_ptr<TDocViewEdit> editor;
  std::unique_ptr<TChangeHints> hints;
};

TEST_F(ChangeHints, NameTheLowestReviewerOfTheColour) {
  const std::vector<std::pair<int, std::string>> cases = {
      {0, ""},
      {1, "A  插入的内容\x0c\x0d时间:tA"},
      {2, "A  删除的内容\x0c\x0d时间:tA"},
      {3, ""},
      // Black like the free slot 3, which names nobody.
      {4, ""},
      {5, "A插入的图片"},
  };
  for (const auto& [itemNo, expected] : cases) {
    SCOPED_TRACE(itemNo);
    EXPECT_EQ(HintOver(itemNo), expected);
  }
}

TEST_F(ChangeHints, SamePointTwiceLeavesTheHint) {
  EXPECT_EQ(HintOver(1), "A  插入的内容\x0c\x0d时间:tA");
  EXPECT_EQ(HintOver(1), std::nullopt);
  EXPECT_EQ(HintOver(0), "");
}

TEST_F(ChangeHints, AnnotationWriterWhenUsersAreShown) {
  const QPoint p = At(1);
  DrawStroke(postil, {{p.x(), p.y(), 5}, {p.x() + 4, p.y() + 1, 5}});
  hints->ShowPostilUsers = true;
  EXPECT_EQ(AnsiToUtf8(hints->HintAt(p.x(), p.y()).value_or("?")), "ann-批注-\x0c\x0d时间：2026-12-10");
  // Asked again, the writer shows again; away from strokes, the changes.
  EXPECT_TRUE(hints->HintAt(p.x(), p.y()));
  hints->ShowPostilUsers = false;
  EXPECT_EQ(AnsiToUtf8(hints->HintAt(p.x(), p.y()).value_or("?")), "A  插入的内容\x0c\x0d时间:tA");
}

TEST_F(ChangeHints, MouseMovesShowTheHintAsAToolTip) {
  QWidget* client = editor->ClientWidget();
  auto moveTo = [client](QPoint p) {
    QMouseEvent move(QEvent::MouseMove, p, client->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(client, &move);
  };
  moveTo(At(2));
  EXPECT_EQ(client->toolTip(), QString::fromUtf8("A  删除的内容\n时间:tA"));
  moveTo(At(0));
  EXPECT_TRUE(client->toolTip().isEmpty());
  EXPECT_EQ(HintToToolTip(Utf8ToAnsi("a\x0c\x0d" "b\x0c\x0d")), "a\nb\n");
}

}  // namespace
}  // namespace quillet::test
