// The small dialogs offscreen: four values, spacing, insert table, number,
// split cells, paste special and hyperlink, driven through their widgets.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "commands/controls/spin_edit.h"
#include "commands/dialogs/four_sides_dialog.h"
#include "commands/dialogs/hyperlink_dialog.h"
#include "commands/dialogs/insert_table_dialog.h"
#include "commands/dialogs/integer_dialog.h"
#include "commands/dialogs/list_dialog.h"
#include "commands/dialogs/split_dialog.h"
#include "item_dialog_test_support.h"
#include "platform/gfx/graphic.h"
#include "platform/ui/clipboard.h"

namespace quillet::test {
namespace {

struct TSides {
  int v[4];  // left, top, right, bottom
  bool f[4];
  friend bool operator==(const TSides&, const TSides&) = default;
};

TSides ReadSides(const TfrmDVFourSides& form, TSides start) {
  form.GetValues(start.v[0], start.v[1], start.v[2], start.v[3], start.f[0], start.f[1], start.f[2], start.f[3]);
  return start;
}

void FillSides(TfrmDVFourSides& form, const TSides& s) {
  form.SetValues(s.v[0], s.v[1], s.v[2], s.v[3], s.f[0], s.f[1], s.f[2], s.f[3]);
}

TEST(FourSidesDialog, EqualValuesRules) {
  const TSides all = {{1, 2, 3, 4}, {true, true, true, true}};
  struct Case {
    const char* what;
    TSides in;
    bool equalShown;
    std::function<void(TfrmDVFourSides&)> act;
    TSides out;
  } cases[] = {
      {"checking equal averages, truncated", all, false,
       [](TfrmDVFourSides& f) { QTest::mouseClick(f.cbEqual(), Qt::LeftButton, {}, QPoint(4, 8)); },
       {{2, 2, 2, 2}, {true, true, true, true}}},
      {"while equal, one edit goes to all sides", {{5, 5, 5, 5}, {true, true, true, true}}, true,
       [](TfrmDVFourSides& f) { Type(f.seLeft(), "7"); }, {{7, 7, 7, 7}, {true, true, true, true}}},
      {"while equal, emptying one empties all", {{5, 5, 5, 5}, {true, true, true, true}}, true,
       [](TfrmDVFourSides& f) { Type(f.seTop(), ""); }, {{5, 5, 5, 5}, {false, false, false, false}}},
      {"equal values with one side undefined are not equal", {{5, 5, 5, 5}, {true, false, true, true}}, false,
       [](TfrmDVFourSides&) {}, {{5, 5, 5, 5}, {true, false, true, true}}},
      {"out of range untouched comes back", {{150, -60, 101, 0}, {true, true, true, false}}, false,
       [](TfrmDVFourSides& f) {
         // Passing through the fields does not bring them within the limits.
         f.seTop()->setFocus();
         QTest::keyClick(f.Dialog(), Qt::Key_Tab);
         QTest::keyClick(f.Dialog(), Qt::Key_Tab);
       },
       {{150, -60, 101, 0}, {true, true, true, false}}},
      {"typed past the limit is limited", all, false, [](TfrmDVFourSides& f) { Type(f.seRight(), "500"); },
       {{1, 2, 100, 4}, {true, true, true, true}}},
  };
  for (const Case& c : cases) {
    TfrmDVFourSides form;
    FillSides(form, c.in);
    EXPECT_EQ(form.cbEqual()->isChecked(), c.equalShown) << c.what;
    EXPECT_EQ(RunOk(form, [&] { c.act(form); }), mrOk) << c.what;
    EXPECT_EQ(ReadSides(form, c.in), c.out) << c.what;
  }
}

// The border and fill dialogs ask for offsets and padding through the
// four-values form itself unless their caller hands in another prompt.
TEST(FourSidesDialog, PromptShowsTheFormUnderTheCallersCaptions) {
  struct Case {
    const char* what;
    int result;
    const char* caption;
    const char* group;
  } cases[] = {
      {"OK takes the form's values", mrOk, "Offsets", " Border Offsets "},
      {"empty captions keep the form's own", mrOk, "", ""},
      {"Cancel leaves the values alone", mrCancel, "Offsets", " Border Offsets "},
  };
  for (const Case& c : cases) {
    TFourValues values;
    values.Values.Left = 3;
    values.Values.Top = 150;  // beyond the limits, and left alone
    values.Defined.Left = values.Defined.Top = true;
    values.Defined.Right = values.Defined.Bottom = false;
    std::string title, group;
    TScopedModalRunner runner([&](TfrmDVBase& shown) {
      auto& form = static_cast<TfrmDVFourSides&>(shown);
      title = form.Dialog()->windowTitle().toStdString();
      group = form.gbSides()->title().toStdString();
      if (c.result == mrOk) form.seLeft()->SetValue(9);
      return c.result;
    });
    TFourValues expected = values;
    if (c.result == mrOk) expected.Values.Left = 9;
    EXPECT_EQ(FourSidesPrompt()(c.caption, c.group, values), c.result == mrOk) << c.what;
    EXPECT_EQ(title, *c.caption ? c.caption : "Padding") << c.what;
    EXPECT_EQ(group, *c.group ? c.group : "Padding") << c.what;
    EXPECT_EQ(values, expected) << c.what;
  }
}

TEST(FourSidesDialog, SpacingFormLimitsAndCaptions) {
  TfrmDVSpacing form;
  EXPECT_EQ(form.Dialog()->windowTitle().toStdString(), "Cell Spacing");
  EXPECT_EQ(form.gbSides()->title().toStdString(), " Spacing ");
  FillSides(form, {{1, 2, 3, 4}, {true, true, true, true}});
  RunOk(form, [&] {
    Type(form.seTop(), "31");
    Type(form.seBottom(), "-5");
  });
  EXPECT_EQ(ReadSides(form, {}), (TSides{{1, 30, 3, -1}, {true, true, true, true}}));
  TfrmDVFourSides padding;
  EXPECT_EQ(padding.Dialog()->windowTitle().toStdString(), "Padding");
  EXPECT_EQ(padding.Dialog()->size(), QSize(314, 163));
}

TEST(InsertTableDialog, BestWidthWrittenShowsItsOption) {
  struct Case {
    int value;
    const char* option;
    int width;
    int unit;  // 0 per cent, 1 pixels
  } cases[] = {{0, "rbFitContents", 100, 0}, {-100, "rbFitWindow", 100, 0}, {-50, "rbFitManual", 50, 0},
               {300, "rbFitManual", 300, 1}, {5000, "rbFitManual", 5000, 1}};
  for (const Case& c : cases) {
    TfrmInsTable form;
    form.SetBestWidth(c.value);
    EXPECT_TRUE(form.Dialog()->findChild<QRadioButton*>(c.option)->isChecked()) << c.value;
    EXPECT_EQ(form.seWidth()->AsInteger(), c.width) << c.value;
    EXPECT_EQ(form.cboWidthType()->currentIndex(), c.unit) << c.value;
    const bool manual = std::string(c.option) == "rbFitManual";
    EXPECT_EQ(form.seWidth()->isEnabled(), manual) << c.value;
    EXPECT_EQ(form.cboWidthType()->isEnabled(), manual) << c.value;
    RunOk(form);
    EXPECT_EQ(form.BestWidth(), c.value) << "untouched " << c.value;
  }
}

TEST(InsertTableDialog, TypedValuesWithinLimits) {
  struct Case {
    const char* what;
    std::function<void(TfrmInsTable&)> act;
    int columns, rows, bestWidth;
  } cases[] = {
      {"defaults", [](TfrmInsTable&) {}, 2, 2, 0},
      {"0 rows", [](TfrmInsTable& f) { Type(f.seRows(), "0"); }, 2, 1, 0},
      {"600 rows, 101 columns",
       [](TfrmInsTable& f) {
         Type(f.seRows(), "600");
         Type(f.seColumns(), "101");
       },
       100, 500, 0},
      {"manual 150 per cent is the whole window",
       [](TfrmInsTable& f) {
         QTest::mouseClick(f.rbFitManual(), Qt::LeftButton, {}, QPoint(4, 8));
         Type(f.seWidth(), "150");
       },
       2, 2, -100},
      {"manual 40 pixels",
       [](TfrmInsTable& f) {
         QTest::mouseClick(f.rbFitManual(), Qt::LeftButton, {}, QPoint(4, 8));
         Type(f.seWidth(), "40");
         f.cboWidthType()->setFocus();
         QTest::keyClick(f.cboWidthType(), Qt::Key_Down);
       },
       2, 2, 40},
      {"fit window", [](TfrmInsTable& f) { QTest::mouseClick(f.rbFitWindow(), Qt::LeftButton, {}, QPoint(4, 8)); },
       2, 2, -100},
  };
  for (const Case& c : cases) {
    TfrmInsTable form;
    EXPECT_EQ(RunOk(form, [&] { c.act(form); }), mrOk) << c.what;
    EXPECT_EQ(form.Columns(), c.columns) << c.what;
    EXPECT_EQ(form.Rows(), c.rows) << c.what;
    EXPECT_EQ(form.BestWidth(), c.bestWidth) << c.what;
  }
}

TEST(SmallDialogs, NumberAndSplit) {
  TfrmInteger number;
  number.Dialog()->setWindowTitle("Rows");
  number.lbl()->setText("&Rows:");
  EXPECT_EQ(number.Value(), 1);
  RunOk(number, [&] { Type(number.se(), "250"); });
  EXPECT_EQ(number.Value(), 100);
  EXPECT_EQ(RunDialog(number, [&] { QTest::mouseClick(number.btnCancel(), Qt::LeftButton); }), mrCancel);

  TfrmSplit split;
  EXPECT_EQ(split.Dialog()->windowTitle().toStdString(), "拆分单元格");
  RunOk(split, [&] {
    EXPECT_TRUE(split.panSplit()->isVisible());
    EXPECT_FALSE(split.panUnmerge()->isVisible());
    QTest::mouseClick(split.rbUnmerge(), Qt::LeftButton, {}, QPoint(4, 8));
    EXPECT_FALSE(split.panSplit()->isVisible());
    EXPECT_TRUE(split.panUnmerge()->isVisible());
  });
  EXPECT_TRUE(split.cbUnmergeCols()->isChecked());
  EXPECT_TRUE(split.cbUnmergeRows()->isChecked());
}

TEST(PasteSpecialDialog, ListsWhatTheClipboardHolds) {
  const TClipboardFormat dvf = RegisterClipboardFormat("DocView Format");
  const TClipboardFormat rtf = RegisterClipboardFormat("Rich Text Format");
  struct Case {
    const char* what;
    std::function<void(TClipboard&)> fill;
    std::vector<std::string> texts;
    std::vector<int> codes;
  } cases[] = {
      {"text only", [](TClipboard& c) { c.SetAsHandle(CF_TEXT, "abc"); }, {"Text", "Unicode text"}, {3, 4}},
      {"everything",
       [&](TClipboard& c) {
         c.SetAsHandle(dvf, "-8 1 2");
         c.SetAsHandle(rtf, "{\\rtf1 x}");
         c.SetAsHandle(CF_TEXT, "x");
         c.SetBitmap(TBitmap(2, 2));
       },
       {"文档格式", "Rich text format", "Text", "Unicode text", "Bitmap picture"},
       {1, 2, 3, 4, 5}},
      {"a picture alone", [](TClipboard& c) { c.SetBitmap(TBitmap(2, 2)); }, {"Bitmap picture"}, {5}},
      {"nothing", [](TClipboard&) {}, {}, {}},
  };
  for (const Case& c : cases) {
    TClipboard clipboard;
    clipboard.Open();
    clipboard.Clear();
    c.fill(clipboard);
    TfrmDVList form;
    form.InitPasteAs("文档格式", clipboard);
    clipboard.Close();
    EXPECT_EQ(form.Dialog()->windowTitle().toStdString(), "Paste Special") << c.what;
    EXPECT_EQ(form.lbl()->text().toStdString(), "&Paste as:") << c.what;
    std::vector<std::string> texts;
    std::vector<int> codes;
    for (int i = 0; i < form.lst()->count(); ++i) {
      texts.push_back(form.lst()->item(i)->text().toStdString());
      codes.push_back(form.lst()->item(i)->data(Qt::UserRole).toInt());
    }
    EXPECT_EQ(texts, c.texts) << c.what;
    EXPECT_EQ(codes, c.codes) << c.what;
    EXPECT_EQ(form.SelectedCode(), c.codes.empty() ? 0 : c.codes.front()) << c.what;
  }
}

TEST(PasteSpecialDialog, DoubleClickChoosesAndCloses) {
  TClipboard clipboard;
  clipboard.Open();
  clipboard.Clear();
  clipboard.SetAsHandle(RegisterClipboardFormat("Rich Text Format"), "{\\rtf1 x}");
  clipboard.SetAsHandle(CF_TEXT, "x");
  TfrmDVList form;
  form.InitPasteAs("DVF", clipboard);
  clipboard.Close();
  const int result = RunDialog(form, [&] {
    QListWidget* list = form.lst();
    const QRect second = list->visualItemRect(list->item(1));
    const QPoint at = list->viewport()->mapTo(form.Dialog(), second.center());
    QTest::mouseClick(form.Dialog()->windowHandle(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(form.Dialog()->windowHandle(), Qt::LeftButton, {}, at);
  });
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(form.SelectedCode(), pfText);
}

TEST(HyperlinkDialog, OkNeedsTextAndATarget) {
  struct Case {
    bool textEnabled;
    const char* text;
    const char* target;
    bool ok;
  } cases[] = {
      {true, "link", "http://a", true}, {true, "link", "   ", false}, {true, "", "http://a", false},
      {true, " ", "x", true},           {false, "", "   ", true},     {false, "", "", true},
  };
  for (const Case& c : cases) {
    TfrmDVHyp form;
    form.txtText()->setEnabled(c.textEnabled);
    RunDialog(form, [&] {
      EXPECT_EQ(form.btnOk()->isEnabled(), c.textEnabled ? false : true) << "on activation";
      if (c.textEnabled) Type(form.txtText(), c.text);
      Type(form.txtTarget(), c.target);
      EXPECT_EQ(form.btnOk()->isEnabled(), c.ok) << c.text << "|" << c.target << "|" << c.textEnabled;
      QTest::keyClick(form.Dialog(), Qt::Key_Return);
      EXPECT_EQ(form.Dialog()->isVisible(), !c.ok) << "Enter with OK " << (c.ok ? "enabled" : "disabled");
    });
  }
}

TEST(SmallDialogs, TabFollowsTheLayout) {
  const auto walk = [](TfrmDVBase& form, const std::vector<QWidget*>& order) {
    RunDialog(form, [&] {
      order.front()->setFocus();
      for (size_t i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == order[i] || order[i]->isAncestorOf(focus))
            << order[i]->objectName().toStdString() << " expected, " << focus->objectName().toStdString();
      }
    });
  };
  TfrmDVFourSides sides;
  walk(sides, {sides.seTop(), sides.seBottom(), sides.seLeft(), sides.seRight(), sides.cbEqual(), sides.btnOk(),
               sides.btnCancel()});
  TfrmDVHyp link;
  walk(link, {link.txtText(), link.txtTarget(), link.btnCancel()});
}

TEST(SmallDialogs, RenderedWithTheirControls) {
  struct Case {
    const char* name;
    std::function<std::unique_ptr<TfrmDVBase>()> make;
    const char* keyWidget;
  } cases[] = {
      {"four_sides", [] { return std::make_unique<TfrmDVFourSides>(); }, "seTop"},
      {"spacing", [] { return std::make_unique<TfrmDVSpacing>(); }, "seRight"},
      {"insert_table", [] { return std::make_unique<TfrmInsTable>(); }, "seRows"},
      {"integer", [] { return std::make_unique<TfrmInteger>(); }, "se"},
      {"split", [] { return std::make_unique<TfrmSplit>(); }, "seColumns"},
      {"list", [] { return std::make_unique<TfrmDVList>(); }, "lst"},
      {"hyperlink", [] { return std::make_unique<TfrmDVHyp>(); }, "txtTarget"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TfrmDVBase> form = c.make();
    RunDialog(*form, [&] {
      const QImage image = Grab(*form);
      SaveRender(image, (std::string("dialog_") + c.name).c_str());
      // The field's white face is drawn where the field is.
      QWidget* w = form->Dialog()->findChild<QWidget*>(c.keyWidget);
      ASSERT_NE(w, nullptr) << c.name;
      const QPoint inside = w->mapTo(form->Dialog(), QPoint(w->width() / 2, w->height() - 5));
      EXPECT_NE(PixelAt(image, inside.x(), inside.y()), PixelAt(image, 2, 2)) << c.name;
    });
  }
}

}  // namespace
}  // namespace quillet::test
