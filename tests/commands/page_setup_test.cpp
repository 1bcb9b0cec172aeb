// Page setup: the dialog's defaults with and without "PageSetup.ini", the
// file's style texts, saving defaults, OK and Cancel, refused margins, a
// hand-edited file, the font and printer buttons, and the page-number text.
#include "commands/dialogs/page_setup.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <functional>

#include "commands/settings_file.h"
#include "controls/render_support.h"
#include "platform/ui/common_dialogs.h"
#include "support/scoped_env.h"

namespace quillet::test {
namespace {

struct PageSetupFixture {
  PageSetupFixture() : env("XDG_CONFIG_HOME", dir.path().toStdString()), scoped(dialogs) {}
  QString FilePath() const { return dir.path() + "/afxQuillet/PageSetup.ini"; }
  void WriteFile(const char* text) {
    TDVSettingsFile("PageSetup.ini");  // makes the folder
    QFile file(FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  QByteArray FileText() const {
    QFile file(FilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // Runs Execute with the dialog shown, `act` driving it; Cancel closes it
  // when `act` left it open.
  int Run(std::function<void(TPageSetupForm&)> act) {
    TScopedModalRunner runner([&](TfrmDVBase& shown) {
      shown.Dialog()->show();
      act(form);
      if (shown.Dialog()->isVisible()) Click("CancelBut");
      return shown.ModalResult();
    });
    return form.Execute();
  }
  QLineEdit* Edit(const char* name) { return form.Control<QLineEdit>(name); }
  QRadioButton* Radio(const char* name) { return form.Control<QRadioButton>(name); }
  void Click(const char* name) { form.Control<QPushButton>(name)->click(); }

  QTemporaryDir dir;
  TScopedEnv env;
  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scoped;
  TPageSetupForm form;
};

std::string Text(QLineEdit* edit) { return edit->text().toStdString(); }

TEST(PageSetup, DefaultsWithNoFile) {
  PageSetupFixture f;
  const int result = f.Run([&](TPageSetupForm& form) {
    for (const char* name : {"LeftEdit", "RightEdit", "TopEdit", "BotEdit"}) EXPECT_EQ(Text(f.Edit(name)), "20") << name;
    EXPECT_EQ(Text(f.Edit("HdrMarginEdit")), "0.5");
    EXPECT_EQ(Text(f.Edit("FtrMarginEdit")), "0.75");
    EXPECT_EQ(Text(f.Edit("HeaderEdit")), "");
    EXPECT_TRUE(f.Radio("HdrCenterBut")->isChecked());
    EXPECT_TRUE(f.Radio("FtrCenterBut")->isChecked());
    for (const TFont* font : {&form.HeaderFontDialog, &form.FooterFontDialog}) {
      EXPECT_EQ(font->Name, "宋体");
      EXPECT_EQ(font->GetSize(), 8);
      EXPECT_EQ(font->Color, clBlack);
      EXPECT_EQ(font->Style, 0);
    }
    // The page-number part comes from the options.
    EXPECT_EQ(Text(f.Edit("PageNumEdit")), "第 %d 页 共 %d 页");
    EXPECT_TRUE(f.Radio("PageBotBut")->isChecked());
    EXPECT_TRUE(f.Radio("PageRightBut")->isChecked());
    EXPECT_EQ(form.Control<QPushButton>("PageNumFontBut")->text().toStdString(), "Times New Roman 10 pt");
    EXPECT_TRUE(form.Control<QWidget>("PortShape")->isVisible());
    EXPECT_FALSE(form.Control<QWidget>("LandShape")->isVisible());
    SaveRender(form.Dialog()->grab().toImage(), "page_setup_defaults");
    f.Radio("LandBut")->setChecked(true);
    EXPECT_FALSE(form.Control<QWidget>("PortShape")->isVisible());
    EXPECT_TRUE(form.Control<QWidget>("LandShape")->isVisible());
  });
  EXPECT_EQ(result, mrCancel);
  EXPECT_FALSE(QFile::exists(f.FilePath()));

  const TTextOptions& o = f.form.TextOptions;
  EXPECT_EQ(o.HeaderFont.Name, "Times New Roman");
  EXPECT_EQ(o.HeaderFont.GetSize(), 18);
  EXPECT_EQ(o.HeaderFont.Style, fsBold);
  EXPECT_EQ(o.FooterFont.GetSize(), 10);
  EXPECT_EQ(o.FooterFont.Style, fsItalic);
  EXPECT_EQ(o.PageNumFont, o.FooterFont);
  EXPECT_EQ(o.BodyFont.Name, "Arial");
  EXPECT_EQ(o.BodyFont.GetSize(), 10);
}

TEST(PageSetup, SixteenStyleTextsRoundTripThroughTheFile) {
  const char* texts[16] = {"",
                           "fsBold",
                           "fsItalic",
                           "fsBold,fsItalic",
                           "fsUnderline",
                           "fsBold,fsUnderline",
                           "fsItalic,fsUnderline",
                           "fsBold,fsItalci,fsUnderline",
                           "fsStrikeOut",
                           "fsBold,fsStrikeOut",
                           "fsItalic,fsStrikeOut",
                           "fsBold,fsItalic,fsStrikeOut",
                           "fsStrikeOut,fsUnderline",
                           "fsBold,fsStrikeOut,fsUnderline",
                           "fsItalic,fsStrikeOut,fsUnderline",
                           "fsBold,fsItalic,fsStrikeOut,fsUnderline"};
  for (TFontStyles styles = 0; styles < 16; ++styles) {
    EXPECT_EQ(FontStyleText(styles), texts[styles]);
    PageSetupFixture f;
    f.dialogs.Answers.push_back({true, {}, IDYES});
    f.Run([&](TPageSetupForm& form) {
      form.HeaderFontDialog.Style = styles;
      form.FooterFontDialog.Style = static_cast<TFontStyles>(15 - styles);
      f.Click("SetDefaultBut");
    });
    TDVSettingsFile ini("PageSetup.ini");
    EXPECT_EQ(ini.ReadString("Header", "HeaderFontStyle", "?"), texts[styles]);
    TPageSetupForm again;
    again.HeaderFontDialog.Style = fsBold;  // an empty text must clear it
    again.FormShow();
    EXPECT_EQ(again.HeaderFontDialog.Style, styles) << texts[styles];
    EXPECT_EQ(again.FooterFontDialog.Style, 15 - styles) << texts[styles];
  }
  EXPECT_EQ(FontStylesFromText("fsBold,fsItalic,fsUnderline"), fsBold | fsItalic | fsUnderline);
  EXPECT_EQ(FontStylesFromText("fsItalic,fsBold"), std::nullopt);
  EXPECT_EQ(FontStylesFromText("fsbold"), std::nullopt);
}

TEST(PageSetup, SetDefaultWritesTheFileEvenWhenCancelled) {
  for (const TMsgAnswer answer : {IDYES, IDNO}) {
    PageSetupFixture f;
    f.dialogs.Answers.push_back({true, {}, answer});
    const TTextOptions before = f.form.TextOptions;
    const int result = f.Run([&](TPageSetupForm&) {
      f.Edit("LeftEdit")->setText("25");
      f.Edit("HeaderEdit")->setText("机密");
      f.Radio("HdrRightBut")->setChecked(true);
      f.Edit("PageNumEdit")->setText("Page %d");
      f.Click("SetDefaultBut");
      f.Click("CancelBut");
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(f.form.TextOptions, before);
    ASSERT_EQ(f.dialogs.Asked.size(), 1u);
    const auto& asked = std::get<TMessageQuestion>(f.dialogs.Asked[0].Question);
    EXPECT_EQ(asked.Text, "确定要保存这些值为默认值吗?");
    EXPECT_EQ(asked.Caption, "提示");
    EXPECT_EQ(asked.Buttons, MB_YESNO);
    EXPECT_EQ(asked.Icon, MB_ICONQUESTION);
    if (answer == IDNO) {
      EXPECT_FALSE(QFile::exists(f.FilePath()));
      continue;
    }
    TDVSettingsFile ini("PageSetup.ini");
    EXPECT_EQ(ini.ReadString("Margin", "MarginLeft", ""), "25");
    EXPECT_EQ(ini.ReadString("Margin", "MarginBot", ""), "20");
    EXPECT_EQ(ini.ReadString("Header", "HeaderText", ""), "机密");
    EXPECT_EQ(ini.ReadString("Header", "HeaderMargin", ""), "0.5");
    EXPECT_EQ(ini.ReadString("Header", "HeaderRightAlign", ""), "1");
    EXPECT_EQ(ini.ReadString("Header", "HeaderCenterAlign", ""), "0");
    EXPECT_EQ(ini.ReadString("Header", "HeaderFont", ""), "宋体");
    EXPECT_EQ(ini.ReadString("Header", "HeaderFontSize", ""), "8");
    EXPECT_EQ(ini.ReadString("Footer", "FooterMargin", ""), "0.75");
    EXPECT_FALSE(f.FileText().contains("Page")) << "the page-number text stays out of the file";
    // The next showing starts from the saved values.
    f.Run([&](TPageSetupForm&) {
      EXPECT_EQ(Text(f.Edit("LeftEdit")), "25");
      EXPECT_TRUE(f.Radio("HdrRightBut")->isChecked());
      EXPECT_EQ(Text(f.Edit("PageNumEdit")), "第 %d 页 共 %d 页");
    });
  }
}

TEST(PageSetup, OkAssignsEveryFieldCancelNone) {
  for (const bool ok : {true, false}) {
    PageSetupFixture f;
    TFont chosen;
    chosen.Name = "Courier New";
    chosen.SetSize(12);
    chosen.Style = fsUnderline;
    f.dialogs.Answers.push_back({true, chosen});
    const TTextOptions before = f.form.TextOptions;
    const int result = f.Run([&](TPageSetupForm& form) {
      f.Edit("LeftEdit")->setText("1.5");
      f.Edit("TopEdit")->setText(" 2 ");
      f.Edit("RightEdit")->setText("-0.25");
      f.Edit("BotEdit")->setText("1e1");
      f.Edit("HdrMarginEdit")->setText("0.4");
      f.Edit("HeaderEdit")->setText("页眉");
      f.Radio("HdrLeftBut")->setChecked(true);
      f.Edit("FooterEdit")->setText("页脚");
      f.Radio("FtrRightBut")->setChecked(true);
      f.Radio("PageTopBut")->setChecked(true);
      f.Radio("PageCenterBut")->setChecked(true);
      f.Edit("PageNumEdit")->setText("- %d -");
      f.Click("PageNumFontBut");
      EXPECT_EQ(form.Control<QPushButton>("PageNumFontBut")->text().toStdString(), "Courier New 12 pt");
      f.Click(ok ? "OKBut" : "CancelBut");
    });
    if (!ok) {
      EXPECT_EQ(result, mrCancel);
      EXPECT_EQ(f.form.TextOptions, before);
      continue;
    }
    EXPECT_EQ(result, mrOk);
    const TTextOptions& o = f.form.TextOptions;
    EXPECT_EQ(o.MarginLeft, 1.5);
    EXPECT_EQ(o.MarginTop, 2);
    EXPECT_EQ(o.MarginRight, -0.25);
    EXPECT_EQ(o.MarginBottom, 10);
    EXPECT_EQ(o.HeaderMargin, 0.4);
    EXPECT_EQ(o.FooterMargin, 0.75);
    EXPECT_EQ(o.Header, "页眉");
    EXPECT_EQ(o.HeaderAlign, taLeftJustify);
    EXPECT_EQ(o.Footer, "页脚");
    EXPECT_EQ(o.FooterAlign, taRightJustify);
    EXPECT_EQ(o.PrintPageNumber, pnTop);
    EXPECT_EQ(o.PageNumAlign, taCenter);
    EXPECT_EQ(o.PageNumText, "- %d -");
    EXPECT_EQ(o.PageNumFont.Name, "Courier New");
    EXPECT_EQ(o.PageNumFont.Style, fsUnderline);
    EXPECT_EQ(o.HeaderFont.Name, "宋体");
    EXPECT_EQ(o.HeaderFont.GetSize(), 8);
  }
}

TEST(PageSetup, MarginThatIsNoNumberKeepsTheDialogOpenAndAssignsNothing) {
  struct Case {
    const char* field;
    const char* text;
  } cases[] = {{"LeftEdit", "abc"}, {"TopEdit", "1,5"},   {"BotEdit", ""},          {"RightEdit", "1.5.2"},
               {"HdrMarginEdit", "inf"}, {"FtrMarginEdit", "0x10"}, {"LeftEdit", "--1"}};
  for (const Case& c : cases) {
    PageSetupFixture f;
    const TTextOptions before = f.form.TextOptions;
    const int result = f.Run([&](TPageSetupForm& form) {
      f.Edit("HeaderEdit")->setText("changed");
      f.Edit(c.field)->setText(c.text);
      f.Click("OKBut");
      EXPECT_TRUE(form.Dialog()->isVisible()) << c.field << " " << c.text;
      EXPECT_EQ(form.TextOptions, before) << c.field << " " << c.text;
      EXPECT_EQ(f.Edit(c.field)->selectedText(), f.Edit(c.field)->text()) << c.field;
      ASSERT_EQ(f.dialogs.Asked.size(), 1u);
      EXPECT_EQ(f.dialogs.Asked[0].Kind, TScriptedCommonDialogs::dkMessage);
      // Mended, OK goes through.
      f.Edit(c.field)->setText("3");
      f.Click("OKBut");
      EXPECT_FALSE(form.Dialog()->isVisible());
    });
    EXPECT_EQ(result, mrOk) << c.field << " " << c.text;
    EXPECT_EQ(f.form.TextOptions.Header, "changed");
  }
}

TEST(PageSetup, HandEditedFileGivesDefaultsPerKey) {
  struct Case {
    const char* what;
    const char* file;
    std::function<void(PageSetupFixture&)> check;
  } cases[] = {
      {"font sizes 0, 100000 and text",
       "[Header]\nHeaderFontSize=0\n[Footer]\nFooterFontSize=100000\n",
       [](PageSetupFixture& f) {
         EXPECT_EQ(f.form.HeaderFontDialog.GetSize(), 8);
         EXPECT_EQ(f.form.FooterFontDialog.GetSize(), 8);
       }},
      {"a size that is no number, a good one beside it",
       "[Header]\nHeaderFontSize=big\n[Footer]\nFooterFontSize=14\n",
       [](PageSetupFixture& f) {
         EXPECT_EQ(f.form.HeaderFontDialog.GetSize(), 8);
         EXPECT_EQ(f.form.FooterFontDialog.GetSize(), 14);
       }},
      {"colours that are no colour", "[Header]\nHeaderFontColor=red\n[Footer]\nFooterFontColor=-5\n",
       [](PageSetupFixture& f) {
         EXPECT_EQ(f.form.HeaderFontDialog.Color, clBlack);
         EXPECT_EQ(f.form.FooterFontDialog.Color, clBlack);
       }},
      {"colours as stored", "[Header]\nHeaderFontColor=255\n[Footer]\nFooterFontColor=-2147483640\n",
       [](PageSetupFixture& f) {
         EXPECT_EQ(f.form.HeaderFontDialog.Color, clRed);
         EXPECT_EQ(f.form.FooterFontDialog.Color, clWindowText);
       }},
      {"unknown style text, unquoted style list",
       "[Header]\nHeaderFontStyle=fsBolder\n[Footer]\nFooterFontStyle=fsBold,fsItalic\n",
       [](PageSetupFixture& f) {
         EXPECT_EQ(f.form.HeaderFontDialog.Style, 0);
         EXPECT_EQ(f.form.FooterFontDialog.Style, fsBold | fsItalic);
       }},
      {"font names with commas or empty", "[Header]\nHeaderFont=Arial,Bold\n[Footer]\nFooterFont=\n",
       [](PageSetupFixture& f) {
         EXPECT_EQ(f.form.HeaderFontDialog.Name, "宋体");
         EXPECT_EQ(f.form.FooterFontDialog.Name, "宋体");
       }},
      {"all alignment flags on, all off",
       "[Header]\nHeaderLeftAlign=1\nHeaderCenterAlign=1\nHeaderRightAlign=1\n"
       "[Footer]\nFooterLeftAlign=0\nFooterCenterAlign=0\nFooterRightAlign=0\n",
       [](PageSetupFixture& f) {
         EXPECT_TRUE(f.Radio("HdrCenterBut")->isChecked());
         EXPECT_TRUE(f.Radio("FtrCenterBut")->isChecked());
       }},
      {"one flag on, a flag that is no switch",
       "[Header]\nHeaderLeftAlign=true\nHeaderCenterAlign=0\n"
       "[Footer]\nFooterRightAlign=yes\nFooterCenterAlign=0\n",
       [](PageSetupFixture& f) {
         EXPECT_TRUE(f.Radio("HdrLeftBut")->isChecked());
         EXPECT_TRUE(f.Radio("FtrCenterBut")->isChecked());
       }},
      {"margins as text are shown as written", "[Margin]\nMarginLeft=1,5\nMarginTop=abc\n[Header]\nHeaderMargin=\n",
       [](PageSetupFixture& f) {
         EXPECT_EQ(Text(f.Edit("LeftEdit")), "1,5");
         EXPECT_EQ(Text(f.Edit("TopEdit")), "abc");
         EXPECT_EQ(Text(f.Edit("RightEdit")), "20");
         EXPECT_EQ(Text(f.Edit("HdrMarginEdit")), "");
       }},
      {"not an INI file at all", "\x01\x02garbage[[[\n=\n[Header\nHeaderFontSize",
       [](PageSetupFixture& f) {
         EXPECT_EQ(Text(f.Edit("LeftEdit")), "20");
         EXPECT_EQ(f.form.HeaderFontDialog.GetSize(), 8);
         EXPECT_TRUE(f.Radio("HdrCenterBut")->isChecked());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PageSetupFixture f;
    f.WriteFile(c.file);
    f.Run([&](TPageSetupForm&) { c.check(f); });
  }
}

TEST(PageSetup, PrinterSetupNeedsAnInstalledPrinter) {
  PageSetupFixture f;
  f.Run([&](TPageSetupForm&) { f.Click("PrinterSetupBut"); });
  ASSERT_EQ(f.dialogs.Asked.size(), 1u);
  const auto& message = std::get<TMessageQuestion>(f.dialogs.Asked[0].Question);
  EXPECT_EQ(message.Text, "请先安装打印机!");
  EXPECT_EQ(message.Buttons, MB_OK);
  EXPECT_EQ(message.Icon, MB_ICONINFORMATION);

  PageSetupFixture withPrinter;
  withPrinter.dialogs.Printers = {"Office"};
  withPrinter.Run([&](TPageSetupForm&) {
    withPrinter.Radio("LandBut")->setChecked(true);
    withPrinter.Click("PrinterSetupBut");
  });
  ASSERT_EQ(withPrinter.dialogs.Asked.size(), 1u);
  EXPECT_EQ(withPrinter.dialogs.Asked[0].Kind, TScriptedCommonDialogs::dkPageSetup);
  EXPECT_TRUE(std::get<TPageSetupQuestion>(withPrinter.dialogs.Asked[0].Question).Landscape);
}

TEST(PageSetup, FontButtonKeepsItsCaptionWhenTheDialogIsCancelled) {
  PageSetupFixture f;
  f.Run([&](TPageSetupForm& form) {
    f.Click("HdrFontBut");  // no answer queued: Cancel
    EXPECT_EQ(form.Control<QPushButton>("HdrFontBut")->text().toStdString(), "(&F)字体...");
    EXPECT_EQ(form.HeaderFontDialog.Name, "宋体");
  });
}

TEST(PageNumberText, OnlyTheTwoPlaceholdersAreReplaced) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"第 %d 页 共 %d 页", "第 2 页 共 5 页"},
      {"%d/%d", "2/5"},
      {"Page %d", "Page 2"},
      {"no number", "no number"},
      {"%d %d %d", "2 5 %d"},
      {"%s %x %n %d%%", "%s %x %n 2%%"},
      {"100% %d", "100% 2"},
      {"%%d", "%2"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PageNumberText(c.text, 2, 5), c.expected) << c.text;
}

}  // namespace
}  // namespace quillet::test
