// The text protection dialog offscreen: the boxes it shows for the style at
// the caret, what clicks do to the set, and what OK and Cancel apply.
#include "host/review/protect_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "host/review/reviewer_table.h"
#include "host/review/revision_tracking.h"

namespace quillet::test {
namespace {

constexpr TDVProtectOptions kAll = 0xFF;
constexpr int32_t kReadOnlyStyle = 12, kGuarded = 13;

class ProtectForm : public testing::Test {
 protected:
  void SetUp() override {
    sheet.TextStyles().Clear();
    for (int i = 0; i < kReadOnlyStyle; ++i) sheet.TextStyles().Add();
    TFontInfo& readOnly = sheet.TextStyles().Add();
    readOnly.StyleName = "Cell ReadOnly Style";
    readOnly.Protection = kAll;
    TFontInfo& guarded = sheet.TextStyles().Add();
    guarded.Size = 14;
    guarded.Protection = dvprDeleteProtect | dvprConcateProtect;
    editor = std::make_unique<TDocViewEdit>();
    editor->SetStyle(&sheet);
    editor->SetBounds(0, 0, 400, 300);
    editor->Show();
    editor->Clear();  // shown, the editor made an empty item to type into
    editor->AddNL("plain ", 0, 0);
    editor->AddNL("locked", kReadOnlyStyle, 0);
    editor->AddNL("guarded", kGuarded, 0);
    editor->Format();
    tracking = std::make_unique<TRevisionTracking>(*editor, table, state);
    form = std::make_unique<TProtectForm>(*editor, state.TextProtection);
  }
  void TearDown() override {
    form.reset();
    tracking.reset();
    editor.reset();
  }
  // Selects a whole item, the caret in its style, and shows the dialog.
  void OpenOn(int itemNo) {
    editor->SetSelectionBounds(itemNo, 1, itemNo, editor->GetOffsAfterItem(itemNo));
    // The caret does not switch into a style that forbids it by itself.
    editor->SetCurTextStyleNo(editor->GetItemStyle(itemNo));
    form->Dialog()->show();
    QApplication::setActiveWindow(form->Dialog());
    (void)QTest::qWaitForWindowExposed(form->Dialog());
  }
  // On the box's mark, where a click toggles it.
  void Click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2)); }
  int Checked() const {
    int bits = 0;
    for (int i = 0; i < TProtectForm::kBoxes; ++i) bits |= form->Box(i)->isChecked() << i;
    return bits;
  }
  const TFontInfo& ItemStyle(int itemNo) const { return sheet.TextStyles()[editor->GetItemStyle(itemNo)]; }

  TDVStyle sheet;
  TReviewerTable table;
  TTrackingFormState state;
  std::unique_ptr<TDocViewEdit> editor;
  std::unique_ptr<TRevisionTracking> tracking;
  std::unique_ptr<TProtectForm> form;
};

TEST_F(ProtectForm, ReadOnlyCellStyleShowsEveryBoxChecked) {
  OpenOn(1);
  EXPECT_EQ(Checked(), kAll);
  EXPECT_EQ(form->Box(2)->text(), QString::fromUtf8("删除保护"));
  EXPECT_EQ(form->Box(2)->objectName(), "cbDeleteProtect");
  EXPECT_EQ(form->Dialog()->windowTitle(), QString::fromUtf8("保护文档"));
}

TEST_F(ProtectForm, UncheckedBoxLeavesItsOptionOutOfTheAppliedStyle) {
  OpenOn(2);
  EXPECT_EQ(Checked(), dvprDeleteProtect | dvprConcateProtect);
  Click(form->Box(2));
  EXPECT_EQ(state.TextProtection, dvprConcateProtect);
  QTest::mouseClick(form->btnOK(), Qt::LeftButton);
  EXPECT_EQ(form->ModalResult(), mrOk);
  TFontInfo expected;
  expected.Assign(sheet.TextStyles()[kGuarded]);
  expected.Protection = dvprConcateProtect;
  EXPECT_NE(editor->GetItemStyle(2), kGuarded);
  EXPECT_TRUE(ItemStyle(2).IsEqual(expected, 0));
  // The text before keeps its style.
  EXPECT_EQ(editor->GetItemStyle(1), kReadOnlyStyle);
}

TEST_F(ProtectForm, CancelAppliesNothingButKeepsTheClicks) {
  OpenOn(2);
  Click(form->Box(7));
  QTest::mouseClick(form->btnCancel(), Qt::LeftButton);
  EXPECT_EQ(form->ModalResult(), mrCancel);
  EXPECT_EQ(editor->GetItemStyle(2), kGuarded);
  EXPECT_EQ(state.TextProtection, dvprDeleteProtect | dvprConcateProtect | dvprSticking);
}

}  // namespace
}  // namespace quillet::test
