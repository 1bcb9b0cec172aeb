#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/document_store.h"
#include "commands/actions/color_actions.h"
#include "commands/actions/dispatcher.h"
#include "commands/flat/flat_painter.h"
#include "app/ruler_link.h"
#include "commands/ruler/ruler.h"
#include "engine/style/style_sheet.h"
#include "editing/control/editor.h"
#include "host/annotation/pen_dialog.h"
#include "host/annotation/postil.h"
#include "host/annotation/postil_binding.h"
#include "host/db/db_module.h"
#include "host/db/user_name.h"
#include "host/form/action_dm.h"
#include "host/review/change_hints.h"
#include "host/review/document_record.h"
#include "host/review/reviewer_table.h"
#include "host/review/revision_tracking.h"
#include "platform/gfx/graphic.h"

namespace quillet {

struct TMainWindow::Review {
  Review(TDocViewEdit& view, TQvPostil& postil, QWidget* form)
      : tracking(view, reviewers, formState), hints(view, reviewers, postil), record(view, reviewers, postil, form) {}
  TReviewerTable reviewers;
  TTrackingFormState formState;
  TRevisionTracking tracking;
  TChangeHints hints;
  TDocumentRecord record;
};

TMainWindow::TMainWindow()
    : style_(std::make_unique<TDVStyle>()),
      view_(std::make_unique<TDocViewEdit>(this)),
      db_(std::make_unique<TDbDm>()),
      postil_(std::make_unique<TQvPostil>()),
      binding_(std::make_unique<TPostilBinding>(*postil_, *view_)),
      penDialog_(std::make_unique<TPostilDlg>(binding_->Pen)),
      review_(std::make_unique<Review>(*view_, *postil_, this)) {
  view_->SetStyle(style_.get());
  postil_->SetUser(GetLoginUserName());
  // The ruler stands above the editor, at its left edge.
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  ruler_ = new TDVRuler(page);
  ruler_->SetColor(clWindow);
  column->addWidget(ruler_);
  column->addWidget(view_->Widget(), 1);
  setCentralWidget(page);
  rulerLink_ = std::make_unique<TRulerLink>(*ruler_, *view_);
  commands_ = new TActionDM(*view_, *postil_, review_->reviewers, review_->record, this);
  BuildMenus();
  BuildAnnotationActions();
  setWindowTitle("afxQuillet");
  resize(900, 700);
  flat_ = std::make_unique<TFlatPainter>(this);
  flat_->SetActive(true);
}

// The viewer's widget belongs to the window; the commands, the dialog, the
// binding and the viewer go first.
TMainWindow::~TMainWindow() {
  delete commands_;
  review_.reset();
  rulerLink_.reset();
  penDialog_.reset();
  binding_.reset();
  view_.reset();
}

void TMainWindow::BuildMenus() {
  // Ctrl+S writes the document back where it came from (the window's own
  // save below), not to a file of the save command's.
  commands_->Action("dvActionSave1")->setShortcut({});
  const auto menu = [this](const char* title, std::initializer_list<const char*> names) {
    QMenu* items = menuBar()->addMenu(QString::fromUtf8(title));
    for (const char* name : names) {
      if (*name)
        items->addAction(commands_->Action(name));
      else
        items->addSeparator();
    }
    commands_->Dispatcher().WatchMenu(items);
    return items;
  };
  menu("文件(&F)", {"dvActionNew1", "dvActionOpen1", "dvActionSaveAs1", "dvActionExport1", "", "dvActionPrintPreview1",
                    "dvActionPrint1", "dvActionQuickPrint1"});
  QMenu* edit = menu("编辑(&E)", {"dvActionUndo1", "dvActionRedo1", "", "dvActionCut1", "dvActionCopy1", "dvActionPaste1",
                                  "dvActionPasteSpecial1", "dvActionSelectAll1", "", "dvActionFind1",
                                  "dvActionFindNext1", "dvActionReplace1"});
  // The undo and redo items name what they would take back.
  connect(edit, &QMenu::aboutToShow, this, [this] {
    commands_->Action("dvActionUndo1")->setText(commands_->UndoCaption());
    commands_->Action("dvActionRedo1")->setText(commands_->RedoCaption());
  });
  menu("插入(&I)", {"dvActionInsertFile1", "dvActionInsertPicture1", "dvActionInsertHyperlink1",
                    "dvActionInsertHLine1", "dvActionInsertPageBreak1", "dvActionRemovePageBreak1", "",
                    "dvActionItemProperties1"});
  menu("格式(&O)", {"dvActionFonts1", "dvActionFontEx1", "dvActionFontBold1", "dvActionFontItalic1",
                    "dvActionFontUnderline1", "dvActionFontStrikeout1", "dvActionFontOverline1",
                    "dvActionFontAllCaps1", "dvActionFontGrow1", "dvActionFontShrink1",
                    "dvActionFontGrowOnePoint1", "dvActionFontShrinkOnePoint1", "dvActionFontColor1",
                    "dvActionFontBackColor1", "", "dvActionParagraph1", "dvActionParaBorder1", "dvActionParaColor1",
                    "dvActionFillColor1", "dvActionColor1", "dvActionAlignLeft1", "dvActionAlignCenter",
                    "dvActionAlignRight1", "dvActionAlignJustify1", "dvActionIndentInc1", "dvActionIndentDec1",
                    "dvActionLineSpacing1001", "dvActionLineSpacing1501", "dvActionLineSpacing2001",
                    "dvActionWordWrap1"});
  menu("表格(&A)", {"dvActionInsertTable1", "dvActionTableInsertRowsAbove1", "dvActionTableInsertRowsBelow1",
                    "dvActionTableInsertColLeft1", "dvActionTableInsertColRight1", "", "dvActionTableDeleteRows1",
                    "dvActionTableDeleteCols1", "dvActionTableDeleteTable1", "", "dvActionTableMergeCells1",
                    "dvActionTableSplitCells1", "", "dvActionTableSelectTable1", "dvActionTableSelectRows1",
                    "dvActionTableSelectCols1", "dvActionTableSelectCell1", "", "dvActionTableCellVAlignTop1",
                    "dvActionTableCellVAlignMiddle1", "dvActionTableCellVAlignBottom1",
                    "dvActionTableCellVAlignDefault1", "", "dvActionTableProperties1", "dvActionTableGrid1"});
  QToolBar* bar = addToolBar("常用");
  for (const char* name : {"dvActionNew1", "dvActionOpen1", "dvActionPrint1", "dvActionCut1", "dvActionCopy1",
                           "dvActionPaste1", "dvActionUndo1", "dvActionRedo1", "dvActionFontBold1",
                           "dvActionFontItalic1", "dvActionFontUnderline1", "dvActionAlignLeft1",
                           "dvActionAlignCenter", "dvActionAlignRight1", "dvActionInsertTable1"})
    bar->addAction(commands_->Action(name));
  // The palette drops down under its button.
  for (const char* name : {"dvActionFontColor1", "dvActionFontBackColor1"}) {
    QAction* action = commands_->Action(name);
    bar->addAction(action);
    static_cast<TdvActionCustomColor*>(action)->SetCallerControl(bar->widgetForAction(action));
  }
}

void TMainWindow::BuildAnnotationActions() {
  QToolBar* bar = addToolBar("批注");
  annotate_ = bar->addAction("批注");
  annotate_->setCheckable(true);
  connect(annotate_, &QAction::toggled, this, [this](bool on) { SetAnnotating(on); });
  QAction* seal = bar->addAction("图章...");
  connect(seal, &QAction::triggered, this, [this] { ChooseSeal(); });
  QAction* pen = bar->addAction("笔批注属性...");
  connect(pen, &QAction::triggered, this, [this] { penDialog_->ShowModal(); });
  QAction* save = bar->addAction("保存");
  save->setShortcut(QKeySequence::Save);
  connect(save, &QAction::triggered, this, [this] {
    std::string error;
    if (!SaveDocument(error)) QMessageBox::critical(this, "afxQuillet", QString::fromStdString(error));
  });
}

void TMainWindow::SetAnnotating(bool on) {
  if (on)
    postil_->BeginPostil();
  else
    postil_->EndPostil();
  if (annotate_ && annotate_->isChecked() != on) annotate_->setChecked(on);
  commands_->Dispatcher().UpdateActions();
  binding_->ShowMode();
  view_->Invalidate();
}

bool TMainWindow::ArmSealFromFile(const std::string& fileName) {
  if (!postil_->GetBmp(fileName)) {
    auto bmp = std::make_unique<TBitmap>();
    try {
      bmp->LoadFromFile(fileName);
    } catch (const std::exception&) {
      return false;
    }
    if (!postil_->PutBmp(fileName, bmp)) return false;
  }
  SetAnnotating(true);
  binding_->ArmSeal(fileName, postil_->CurrentUser());
  return true;
}

void TMainWindow::ChooseSeal() {
  const QString file = QFileDialog::getOpenFileName(this, "图章", QString(), "位图 (*.bmp)");
  if (file.isEmpty()) return;
  if (!ArmSealFromFile(file.toStdString()))
    QMessageBox::warning(this, "afxQuillet", "\"" + file + "\" 不是位图");
}

bool TMainWindow::SaveDocument(std::string& error) {
  if (!opened_) return true;
  try {
    if (fileName_.empty()) {
      review_->record.UpdateToDB(*db_);
    } else {
      review_->record.WriteHostLines();
      if (!view_->SaveDVF(fileName_, false)) {
        error = "\"" + fileName_ + "\" could not be written";
        return false;
      }
    }
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  savedGeneration_ = postil_->Generation();
  view_->Modified = false;
  return true;
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  std::string error;
  if ((postil_->Generation() != savedGeneration_ || view_->Modified) && !SaveDocument(error))
    QMessageBox::critical(this, "afxQuillet", QString::fromStdString(error));
  event->accept();
}

bool TMainWindow::OpenDefaultStore(std::string& error) {
  try {
    PrepareDefaultRecord(*db_);
    review_->record.LoadFromDB(*db_);
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  fileName_.clear();
  Shown(db_->TableName + " " + db_->IDName + "=" + db_->IDValue);
  return true;
}

bool TMainWindow::OpenFile(const std::string& fileName, std::string& error) {
  try {
    review_->record.LoadFromFile(fileName);
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  fileName_ = fileName;
  Shown(QFileInfo(QString::fromStdString(fileName)).fileName().toStdString());
  return true;
}

void TMainWindow::Shown(const std::string& title) {
  opened_ = true;
  savedGeneration_ = postil_->Generation();
  view_->ClearUndo();
  view_->Modified = false;
  view_->Format();
  rulerLink_->Follow();
  setWindowTitle(QString::fromStdString("afxQuillet - " + title));
}

}  // namespace quillet
