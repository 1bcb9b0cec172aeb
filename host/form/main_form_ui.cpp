// The main form's menus, tool bars, font boxes and popup, and how they
// follow the editor.
#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QFontDatabase>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "commands/actions/action.h"
#include "commands/actions/color_actions.h"
#include "commands/actions/dispatcher.h"
#include "commands/actions/file_actions.h"
#include "commands/flat/flat_painter.h"
#include "commands/ruler/ruler.h"
#include "editing/control/editor.h"
#include "editing/undo/undo_types.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/pen_dialog.h"
#include "host/annotation/postil.h"
#include "host/form/action_dm.h"
#include "host/form/form_icons.h"
#include "host/form/form_interchange.h"
#include "host/form/insert_marks.h"
#include "host/form/main_form_ui.h"
#include "host/form/ruler_link.h"
#include "host/review/accept_reject.h"
#include "host/review/conversion_codes.h"
#include "host/review/protect_form.h"
#include "host/review/revision_tracking.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

namespace {

// A menu item: its component name, its caption (none: the command's), the
// command of the commands module it runs (none: a handler of the form's
// own) and whether it carries a check mark.
struct TItemSpec {
  const char* name;
  const char* caption;
  const char* command;
  bool checkable = false;
};

// "" is a separator.
struct TMenuSpec {
  const char* name;
  const char* caption;
  std::vector<TItemSpec> items;
};

const std::vector<TMenuSpec>& MenuSpecs() {
  static const std::vector<TMenuSpec> specs = {
      {"FileMenu", "文件(&F)",
       {{"FileNew", nullptr, "dvActionNew1"},
        {"FileOpen", nullptr, "dvActionOpen1"},
        {"FileSave", nullptr, "dvActionSave1"},
        {"FileSaveAs", nullptr, "dvActionSaveAs1"},
        {"", nullptr, nullptr},
        {"FileImport", "导入(&I)...", nullptr},
        {"FileExport", "导出(&E)...", nullptr},
        {"", nullptr, nullptr},
        {"FilePageSetup", "页面设置(&U)...", nullptr},
        {"FilePrintPreview", nullptr, "dvActionPrintPreview1"},
        {"FilePrint", nullptr, "dvActionPrint1"}}},
      {"EditMenu", "编辑(&E)",
       {{"EditUndo", nullptr, "dvActionUndo1"},
        {"EditRedo", nullptr, "dvActionRedo1"},
        {"", nullptr, nullptr},
        {"EditCut", nullptr, "dvActionCut1"},
        {"EditCopy", nullptr, "dvActionCopy1"},
        {"EditPaste", nullptr, "dvActionPaste1"},
        {"EditPasteSpecial", nullptr, "dvActionPasteSpecial1"},
        {"EditDelete", "删除(&D)", nullptr},
        {"EditSelectAll", nullptr, "dvActionSelectAll1"},
        {"", nullptr, nullptr},
        {"EditFind", nullptr, "dvActionFind1"},
        {"EditReplace", nullptr, "dvActionReplace1"}}},
      {"ViewMenu", "视图(&V)",
       {{"ViewStandard", "常用工具栏(&S)", nullptr, true},
        {"ViewFormat", "格式工具栏(&F)", nullptr, true},
        {"ViewTable", "表格工具栏(&T)", nullptr, true},
        {"ViewRuler", "标尺(&R)", nullptr, true}}},
      {"InsertMenu", "插入(&I)",
       {{"InsertFile", nullptr, "dvActionInsertFile1"},
        {"InsertPictureFromFile", nullptr, "dvActionInsertPicture1"},
        {"InsertPageBreak", nullptr, "dvActionInsertPageBreak1"},
        {"InsertDate", "日期和时间(&T)", nullptr},
        {"", nullptr, nullptr},
        {"BackPic", "背景图片(&K)...", nullptr}}},
      {"FormatMenu", "格式(&O)",
       {{"Fonts", nullptr, "dvActionFonts1"},
        {"FontAdvance", nullptr, "dvActionFontEx1"},
        {"", nullptr, nullptr},
        {"FontBold", "粗体(&B)", nullptr, true},
        {"FontItalic", "斜体(&I)", nullptr, true},
        {"FontUnderline", "下划线(&U)", nullptr, true},
        {"FontStrikeout", "删除线(&K)", nullptr, true},
        {"FontGrow", nullptr, "dvActionFontGrow1"},
        {"FontShrink", nullptr, "dvActionFontShrink1"},
        {"", nullptr, nullptr},
        {"Paras", nullptr, "dvActionParagraph1"},
        {"ParaBorder", nullptr, "dvActionParaBorder1"},
        {"ParaIndentInc", nullptr, "dvActionIndentInc1"},
        {"ParaIndentDec", nullptr, "dvActionIndentDec1"},
        {"ParaWordWrap", nullptr, "dvActionWordWrap1"},
        {"", nullptr, nullptr},
        {"ParaLeft", nullptr, "dvActionAlignLeft1", true},
        {"ParaCenter", nullptr, "dvActionAlignCenter", true},
        {"ParaRight", nullptr, "dvActionAlignRight1", true},
        {"ParaJustify", nullptr, "dvActionAlignJustify1", true},
        {"", nullptr, nullptr},
        {"ParaSingleLineSpacing", nullptr, "dvActionLineSpacing1001"},
        {"Para15LineSpacing", nullptr, "dvActionLineSpacing1501"},
        {"ParaDoubleLineSpacing", nullptr, "dvActionLineSpacing2001"},
        {"FillColorBtn", nullptr, "dvActionFillColor1"}}},
      {"TableMenu", "表格(&A)",
       {{"InsertTable", nullptr, "dvActionInsertTable1"},
        {"InsertColLeft", nullptr, "dvActionTableInsertColLeft1"},
        {"InsertColRight", nullptr, "dvActionTableInsertColRight1"},
        {"InsertRowAbove", nullptr, "dvActionTableInsertRowsAbove1"},
        {"InsertRowBelow", nullptr, "dvActionTableInsertRowsBelow1"},
        {"", nullptr, nullptr},
        {"DeleteRows", nullptr, "dvActionTableDeleteRows1"},
        {"DeleteCols", nullptr, "dvActionTableDeleteCols1"},
        {"DeleteTable", nullptr, "dvActionTableDeleteTable1"},
        {"", nullptr, nullptr},
        {"MergeCells", nullptr, "dvActionTableMergeCells1"},
        {"SplitCells", nullptr, "dvActionTableSplitCells1"},
        {"", nullptr, nullptr},
        {"SelectTable", nullptr, "dvActionTableSelectTable1"},
        {"SelectRows", nullptr, "dvActionTableSelectRows1"},
        {"SelectCols", nullptr, "dvActionTableSelectCols1"},
        {"SelectCells", nullptr, "dvActionTableSelectCell1"},
        {"", nullptr, nullptr},
        {"TableAlignTop", nullptr, "dvActionTableCellVAlignTop1"},
        {"TableAlignMiddle", nullptr, "dvActionTableCellVAlignMiddle1"},
        {"TableAlignBottom", nullptr, "dvActionTableCellVAlignBottom1"},
        {"", nullptr, nullptr},
        {"btnGridLines", nullptr, "dvActionTableGrid1"},
        {"btnTableProperties", nullptr, "dvActionTableProperties1"}}},
      {"ToolsMenu", "审阅(&R)",
       {{"StartTrace", "开始修订(&S)", nullptr},
        {"AcceptChange", "接受修订(&A)", nullptr},
        {"RejectChange", "拒绝修订(&R)", nullptr},
        {"StopTrace", "停止修订(&T)", nullptr},
        {"", nullptr, nullptr},
        {"BeginComment", "开始批注(&B)", nullptr},
        {"EndComment", "结束批注(&E)", nullptr},
        {"btnSumbol", "图章(&Z)...", nullptr},
        {"PostilProperties", "笔批注属性(&P)...", nullptr},
        {"", nullptr, nullptr},
        {"ToolsProtectDoc", "保护文档(&P)...", nullptr}}},
      {"HelpMenu", "帮助(&H)", {{"version", "版本信息(&V)", nullptr}}},
  };
  return specs;
}

// The tool bars: ToolBar1 reviewing, ToolBar2 standard, ToolBar3 table,
// ToolBar4 format (with the font boxes first).
const std::vector<std::vector<const char*>>& BarSpecs() {
  static const std::vector<std::vector<const char*>> specs = {
      {"StartTrace", "StopTrace", "AcceptChange", "RejectChange", "", "BeginComment", "EndComment", "btnSumbol"},
      {"FileNew", "FileOpen", "FileSave", "", "FilePrint", "FilePrintPreview", "", "EditCut", "EditCopy",
       "EditPaste", "", "EditUndo", "EditRedo", "", "EditFind"},
      {"InsertTable", "InsertRowAbove", "InsertRowBelow", "InsertColLeft", "InsertColRight", "", "DeleteRows",
       "DeleteCols", "", "MergeCells", "SplitCells", "", "TableAlignTop", "TableAlignMiddle", "TableAlignBottom", "",
       "btnGridLines", "btnTableProperties"},
      {"FontBold", "FontItalic", "FontUnderline", "FontStrikeout", "", "ParaLeft", "ParaCenter", "ParaRight",
       "ParaJustify", "", "ParaIndentDec", "ParaIndentInc", "", "FillColorBtn"},
  };
  return specs;
}

// The popup's items and the form's items they follow or the commands they run.
struct TPopupSpec {
  const char* name;
  const char* command;   // a command of the module
  const char* follows;   // a menu item of the form
};

const std::vector<TPopupSpec>& PopupSpecs() {
  static const std::vector<TPopupSpec> specs = {
      {"pmEditCut", "dvActionCut1", nullptr},
      {"pmEditCopy", "dvActionCopy1", nullptr},
      {"pmEditPaste", "dvActionPaste1", nullptr},
      {"pmEditDelete", nullptr, "EditDelete"},
      {"", nullptr, nullptr},
      {"pmFonts", "dvActionFonts1", nullptr},
      {"pmFontAdvance", "dvActionFontEx1", nullptr},
      {"pmParas", "dvActionParagraph1", nullptr},
      {"pmParaBorder", "dvActionParaBorder1", nullptr},
      {"", nullptr, nullptr},
      {"pmItemProperties", "dvActionItemProperties1", nullptr},
      {"pmTableProperties", "dvActionTableProperties1", nullptr},
      {"", nullptr, nullptr},
      {"popStartTrace", nullptr, "StartTrace"},
      {"popAcceptChange", nullptr, "AcceptChange"},
      {"popRejectChange", nullptr, "RejectChange"},
      {"popStopTrace", nullptr, "StopTrace"},
      {"", nullptr, nullptr},
      {"popBeginComment", nullptr, "BeginComment"},
      {"popEndComment", nullptr, "EndComment"},
  };
  return specs;
}

constexpr const char* kTableItems[] = {
    "InsertColLeft", "InsertColRight", "InsertRowAbove", "InsertRowBelow", "MergeCells",       "SplitCells",
    "DeleteTable",   "DeleteRows",     "DeleteCols",     "SelectTable",    "SelectCols",       "SelectRows",
    "SelectCells",   "TableAlignTop",  "TableAlignBottom", "TableAlignMiddle", "btnGridLines", "btnTableProperties"};

}  // namespace

QAction* TMainForm::MenuItem(std::string_view name) const {
  const auto it = ui_->items.find(name);
  return it == ui_->items.end() ? nullptr : it->second;
}

QMenu* TMainForm::Menu(std::string_view name) const {
  const auto it = ui_->menus.find(name);
  return it == ui_->menus.end() ? nullptr : it->second;
}

QWidget* TMainForm::Control(std::string_view name) const {
  return ui_->window->findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void TMainForm::MenuControl(std::string_view name, bool enable, bool visible) {
  QAction* item = MenuItem(name);
  if (!item) return;
  item->setEnabled(enable);
  item->setVisible(visible);
  // A button shares its item's action; one of its own name follows too.
  if (QWidget* button = Control(std::string(name) + "Button")) {
    button->setEnabled(enable);
    button->setVisible(visible);
  }
}

void TMainForm::BuildUi() {
  QMainWindow& window = *ui_->window;
  // The ruler above the editor, which fills the rest.
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  ui_->rulerPanel = new QWidget;
  ui_->rulerPanel->setObjectName("RulerPanel");
  auto* rulerRow = new QVBoxLayout(ui_->rulerPanel);
  rulerRow->setContentsMargins(0, 0, 0, 0);
  ruler_ = new TDVRuler(ui_->rulerPanel);
  ruler_->setObjectName("DVRuler1");
  ruler_->SetColor(clWindow);
  rulerRow->addWidget(ruler_);
  column->addWidget(ui_->rulerPanel);
  column->addWidget(editor_->Widget(), 1);
  window.setCentralWidget(page);
  ui_->rulerLink = std::make_unique<TRulerLink>(*ruler_, *editor_);
  // The ruler link answers the paragraph's changes first; the form's
  // alignment items follow.
  editor_->OnCurParaStyleChanged = [this, previous = editor_->OnCurParaStyleChanged](TCustomDocView& sender) {
    if (previous) previous(sender);
    FollowParagraph();
  };

  auto* menuBar = window.menuBar();
  menuBar->setObjectName("MainMenu1");
  for (const TMenuSpec& menuSpec : MenuSpecs()) {
    QMenu* menu = menuBar->addMenu(QString::fromUtf8(menuSpec.caption));
    menu->setObjectName(menuSpec.name);
    ui_->menus.emplace(menuSpec.name, menu);
    QMenu* into = menu;
    for (const TItemSpec& spec : menuSpec.items) {
      if (!*spec.name) {
        into->addSeparator();
        continue;
      }
      // The tracking items sit in a submenu the host hides as one.
      if (std::string_view(spec.name) == "StartTrace") {
        into = menu->addMenu("修订(&T)");
        into->menuAction()->setObjectName("TraceChange");
        ui_->items.emplace("TraceChange", into->menuAction());
      }
      QAction* command = spec.command ? commands_->Action(spec.command) : nullptr;
      auto* item = new QAction(spec.caption ? QString::fromUtf8(spec.caption) : command->text(), &window);
      item->setObjectName(spec.name);
      if (command) {
        item->setShortcut(command->shortcut());
        item->setToolTip(command->toolTip());
      }
      item->setIcon(FormIcon(spec.name));
      item->setCheckable(spec.checkable);
      connect(item, &QAction::triggered, this, [handler = Handler(spec.name)] { RunGuarded(handler); });
      into->addAction(item);
      window.addAction(item);
      ui_->items.emplace(spec.name, item);
      if (std::string_view(spec.name) == "StopTrace") into = menu;
    }
  }
  // The shortcuts the commands have but no item carries.
  for (const auto& [key, name] : {std::pair{"Ctrl+B", "FontBold"}, {"Ctrl+I", "FontItalic"},
                                  {"Ctrl+U", "FontUnderline"}})
    MenuItem(name)->setShortcut(QKeySequence(QString::fromLatin1(key)));
  for (const char* name : {"ViewStandard", "ViewFormat", "ViewTable", "ViewRuler"}) MenuItem(name)->setChecked(true);
  MenuItem("EndComment")->setEnabled(false);

  // The tool bars in the cool bar's place, their buttons named after their items.
  const char* const barNames[] = {"ToolBar1", "ToolBar2", "ToolBar3", "ToolBar4"};
  for (size_t b = 0; b < BarSpecs().size(); ++b) {
    QToolBar* bar = new QToolBar(QString::fromLatin1(barNames[b]), &window);
    bar->setObjectName(barNames[b]);
    ui_->bars[b] = bar;
    if (b == 3) {
      ui_->fontName = new QComboBox(bar);
      ui_->fontName->setObjectName("cbFontName");
      ui_->fontName->setEditable(true);
      ui_->fontName->addItems(QFontDatabase::families());
      ui_->fontName->setMinimumContentsLength(12);
      bar->addWidget(ui_->fontName);
      ui_->fontSize = new QComboBox(bar);
      ui_->fontSize->setObjectName("cbFontSize");
      ui_->fontSize->setEditable(true);
      for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        ui_->fontSize->addItem(QString::number(size));
      bar->addWidget(ui_->fontSize);
      bar->addSeparator();
    }
    for (const char* name : BarSpecs()[b]) {
      if (!*name) {
        bar->addSeparator();
        continue;
      }
      QAction* item = MenuItem(name);
      bar->addAction(item);
      if (QWidget* button = bar->widgetForAction(item))
        button->setObjectName(std::string_view(name).starts_with("btn") ? QString::fromLatin1(name)
                                                                        : QString::fromLatin1(name) + "Button");
    }
    if (b == 3) {
      // The colour commands drop their palette under their buttons.
      for (const auto& [name, icon] :
           {std::pair{"dvActionFontColor1", "FontColorBtn"}, {"dvActionFontBackColor1", "BackColorBtn"}}) {
        QAction* action = commands_->Action(name);
        action->setIcon(FormIcon(icon));
        bar->addAction(action);
        static_cast<TdvActionCustomColor*>(action)->SetCallerControl(bar->widgetForAction(action));
      }
    }
  }
  // Two rows: standard and reviewing, then format and table.
  for (int b : {1, 0}) window.addToolBar(ui_->bars[b]);
  window.addToolBarBreak();
  for (int b : {3, 2}) window.addToolBar(ui_->bars[b]);
  connect(ui_->fontName, &QComboBox::textActivated, this, [this](const QString&) { SaveLastFontChoice(); });
  connect(ui_->fontSize, &QComboBox::textActivated, this, [this](const QString& text) {
    if (updatingUI_ || text.isEmpty()) return;
    bool number = false;
    const int size = text.toInt(&number);
    review_->formState.FontSize = number ? size : 10;
    RunGuarded([this] { editor_->ApplyStyleConversion(TEXT_APPLYFONTSIZE); });
    if (editor_->Visible()) editor_->SetFocus();
  });

  popup_ = new QMenu(&window);
  popup_->setObjectName("PopupMenu1");
  for (const TPopupSpec& spec : PopupSpecs()) {
    if (!*spec.name) {
      popup_->addSeparator();
      continue;
    }
    QAction* twin = spec.command ? commands_->Action(spec.command) : MenuItem(spec.follows);
    auto* item = popup_->addAction(twin->text());
    item->setObjectName(spec.name);
    if (spec.command)
      connect(item, &QAction::triggered, this, [this, command = spec.command] { RunCommand(command); });
    else
      connect(item, &QAction::triggered, twin, &QAction::trigger);
    ui_->items.emplace(spec.name, item);
  }
  connect(popup_, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
  editor_->ClientWidget()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(editor_->ClientWidget(), &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popup_->popup(editor_->ClientWidget()->mapToGlobal(at)); });

  // The undo and redo captions before their menu opens, too.
  connect(Menu("EditMenu"), &QMenu::aboutToShow, this, [this] { UpdateUndoMenu(); });
  window.setWindowTitle("afxQuillet");
  window.resize(900, 700);
  ui_->flat = std::make_unique<TFlatPainter>(&window);
  ui_->flat->SetActive(true);
  UpdateSelectionItems();
}

void TMainForm::SaveLastFontChoice() {
  if (updatingUI_) return;
  review_->formState.FontName = Utf8ToAnsi(ui_->fontName->currentText().toStdString());
  RunGuarded([this] { editor_->ApplyStyleConversion(TEXT_APPLYFONTNAME); });
  if (editor_->Visible()) editor_->SetFocus();
}

std::function<void()> TMainForm::Handler(std::string_view name) {
  const std::string item(name);
  const auto run = [this](const char* command) { return [this, command] { RunCommand(command); }; };
  if (item == "FilePrint") return [this] { PrintWithoutGutter("dvActionPrint1"); };
  if (item == "FilePrintPreview") return [this] { PrintWithoutGutter("dvActionPrintPreview1"); };
  if (item == "FilePageSetup") return [this] { FilePageSetupClick(); };
  if (item == "EditUndo" || item == "EditRedo") {
    const bool undo = item == "EditUndo";
    return [this, undo] {
      RunCommand(undo ? "dvActionUndo1" : "dvActionRedo1");
      if (postil_->IsPostil()) {
        MenuItem(undo ? "EditRedo" : "EditUndo")->setEnabled(true);
        editor_->Invalidate();
      } else {
        UpdateUndoMenu();
      }
    };
  }
  if (item == "FontBold") return [this] { ApplyFontStyle(TEXT_BOLD); };
  if (item == "FontItalic") return [this] { ApplyFontStyle(TEXT_ITALIC); };
  if (item == "FontUnderline") return [this] { ApplyFontStyle(TEXT_UNDERLINE); };
  if (item == "FontStrikeout") return [this] { ApplyFontStyle(TEXT_STRIKEOUT); };
  if (item == "EditSelectAll") return [this] {
      editor_->SelectAll();
      editor_->SetFocus();
      editor_->Invalidate();
    };
  if (item == "EditDelete") return [this] { editor_->DeleteSelection(); };
  if (item == "InsertDate") return [this] {
      editor_->InsertTextAsTyped(QDateTime::currentDateTime().toString("yyyy-M-d H:mm:ss").toStdU16String());
    };
  if (item == "BackPic") return [this] {
      TFileQuestion question;
      question.Filter = "位图 (*.bmp)|*.bmp";
      if (!CommonDialogs().OpenPicture(question)) return;
      TBitmap bitmap;
      bitmap.LoadFromFile(question.FileName);
      editor_->Background().SetBitmap(bitmap);
      if (editor_->Background().Style == bsNoBitmap) editor_->Background().Style = bsTiled;
      editor_->Invalidate();
    };
  if (item == "ViewStandard" || item == "ViewFormat" || item == "ViewTable") {
    const int bar = item == "ViewStandard" ? 1 : item == "ViewFormat" ? 3 : 2;
    return [this, bar, item] { ui_->bars[bar]->setVisible(MenuItem(item)->isChecked()); };
  }
  if (item == "ViewRuler") return [this] { ui_->rulerPanel->setVisible(MenuItem("ViewRuler")->isChecked()); };
  if (item == "ToolsProtectDoc") return [this] { ui_->protect->ShowModal(); };
  if (item == "PostilProperties") return [this] { penDialog_->ShowModal(); };
  if (item == "StartTrace") return [this] { StartTraceClick(); };
  if (item == "StopTrace") return [this] { StopTraceClick(); };
  if (item == "AcceptChange") return [this] { AcceptChange(*editor_, *reviewers_); };
  if (item == "RejectChange") return [this] { RejectChange(*editor_, *reviewers_); };
  if (item == "BeginComment") return [this] { BeginCommentClick(); };
  if (item == "EndComment") return [this] { EndCommentClick(); };
  if (item == "btnSumbol") return [this] { btnSumbolClick(); };
  if (item == "version") return [] {
      TMessageQuestion message;
      message.Text = "版本信息 2.0";
      message.Caption = "afxQuillet";
      message.Icon = MB_ICONINFORMATION;
      CommonDialogs().MessageBox(message);
    };
  if (item == "InsertFile") return [this] {
      InsertFileMarked(*static_cast<TdvActionInsertFile*>(commands_->Action("dvActionInsertFile1")), *editor_);
    };
  if (item == "InsertPictureFromFile") return [this] {
      InsertPictureMarked(*static_cast<TdvActionInsertPicture*>(commands_->Action("dvActionInsertPicture1")),
                          *editor_);
    };
  if (item == "FileImport") return [this] { ShowInterchangeResult(interchange_->FileImportClick()); };
  if (item == "FileExport") return [this] { ShowInterchangeResult(interchange_->FileExportClick()); };
  for (const TMenuSpec& menu : MenuSpecs())
    for (const TItemSpec& spec : menu.items)
      if (spec.command && item == spec.name) return run(spec.command);
  return [] {};
}

void TMainForm::ApplyFontStyle(int32_t code) {
  // The conversion reads the check marks the click has just toggled.
  TTrackingFormState& state = review_->formState;
  state.FontBold = MenuItem("FontBold")->isChecked();
  state.FontItalic = MenuItem("FontItalic")->isChecked();
  state.FontUnderline = MenuItem("FontUnderline")->isChecked();
  state.FontStrikeout = MenuItem("FontStrikeout")->isChecked();
  editor_->ApplyStyleConversion(code);
}

void TMainForm::UpdateUndoMenu() {
  if (!commands_) return;
  QAction* undo = MenuItem("EditUndo");
  QAction* redo = MenuItem("EditRedo");
  if (!undo || !redo) return;
  undo->setText(commands_->UndoCaption());
  redo->setText(commands_->RedoCaption());
  if (postil_->IsPostil()) return;
  undo->setEnabled(editor_->UndoAction() != dvutNone);
  redo->setEnabled(editor_->RedoAction() != dvutNone);
}

void TMainForm::UpdateSelectionItems() {
  const bool selected = editor_->SelectionExists();
  for (const char* name : {"EditCopy", "EditCut", "EditDelete", "pmEditCopy", "pmEditCut", "pmEditDelete"})
    if (QAction* item = MenuItem(name)) item->setEnabled(selected);
}

void TMainForm::SetTableItemsEnabled(bool enabled) {
  for (const char* name : kTableItems)
    if (QAction* item = MenuItem(name)) item->setEnabled(enabled);
}

void TMainForm::FollowCaret() {
  if (!ui_->fontName) return;
  updatingUI_ = true;
  SetTableItemsEnabled(editor_->InplaceTarget() != nullptr);
  const TCustomDocViewEdit& where = *editor_->GetTopLevelEditor();
  const TDVStyle* sheet = where.Style();
  const int32_t styleNo = where.CurTextStyleNo();
  if (sheet && sheet->TextStyles().IsValidIndex(styleNo)) {
    const TFontInfo& font = sheet->TextStyles()[styleNo];
    // A box given its own text again still redraws; most caret steps keep
    // the font.
    const auto show = [](QComboBox* box, const QString& text) {
      if (box->currentText() != text) box->setCurrentText(text);
    };
    show(ui_->fontName, QString::fromStdString(AnsiToUtf8(font.FontName)));
    show(ui_->fontSize, QString::number(font.Size));
    MenuItem("FontBold")->setChecked((font.Style & fsBold) != 0);
    MenuItem("FontItalic")->setChecked((font.Style & fsItalic) != 0);
    MenuItem("FontUnderline")->setChecked((font.Style & fsUnderline) != 0);
    MenuItem("FontStrikeout")->setChecked((font.Style & fsStrikeOut) != 0);
  }
  updatingUI_ = false;
}

void TMainForm::FollowParagraph() {
  const TCustomDocViewEdit& where = *editor_->GetTopLevelEditor();
  const TDVStyle* sheet = where.Style();
  const int32_t paraNo = where.CurParaStyleNo();
  if (!sheet || !sheet->ParaStyles().IsValidIndex(paraNo)) return;
  const TDVAlignment alignment = sheet->ParaStyles()[paraNo].Alignment;
  MenuItem("ParaLeft")->setChecked(alignment == dvaLeft);
  MenuItem("ParaCenter")->setChecked(alignment == dvaCenter);
  MenuItem("ParaRight")->setChecked(alignment == dvaRight);
  MenuItem("ParaJustify")->setChecked(alignment == dvaJustify);
  TTrackingFormState& state = review_->formState;
  state.ParaLeft = alignment == dvaLeft;
  state.ParaCenter = alignment == dvaCenter;
  state.ParaRight = alignment == dvaRight;
}

void TMainForm::PopupMenu1Popup() {
  commands_->Dispatcher().UpdateActions();
  for (const TPopupSpec& spec : PopupSpecs())
    if (spec.command) MenuItem(spec.name)->setEnabled(commands_->Action(spec.command)->isEnabled());
  UpdateSelectionItems();
  const bool tracking = MenuItem("TraceChange")->isVisible();
  for (const char* name : {"StartTrace", "AcceptChange", "RejectChange", "StopTrace"}) {
    QAction* item = MenuItem(std::string("pop") + name);
    item->setVisible(tracking);
    item->setEnabled(MenuItem(name)->isEnabled());
  }
  for (const char* name : {"BeginComment", "EndComment"}) {
    QAction* item = MenuItem(std::string("pop") + name);
    item->setEnabled(MenuItem(name)->isEnabled());
    item->setVisible(MenuItem(name)->isVisible());
  }
}

}  // namespace quillet
