#include "host/form/main_form.h"

#include <QEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QMainWindow>
#include <QVBoxLayout>
#include <QWidget>
#include <ctime>
#include <random>

#include "commands/actions/action.h"
#include "commands/actions/dispatcher.h"
#include "commands/actions/file_actions.h"
#include "commands/actions/print_actions.h"
#include "commands/dialogs/page_setup.h"
#include "commands/flat/flat_painter.h"
#include "commands/ruler/ruler.h"
#include "editing/control/editor.h"
#include "editing/undo/undo_types.h"
#include "engine/model/host_lines.h"
#include "engine/print/print_component.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/pen_dialog.h"
#include "host/annotation/postil.h"
#include "host/annotation/postil_binding.h"
#include "host/db/db_module.h"
#include "host/form/action_dm.h"
#include "host/form/control_print.h"
#include "host/form/form_interchange.h"
#include "host/form/main_form_ui.h"
#include "host/form/main_style_sheet.h"
#include "host/form/page_texts.h"
#include "host/form/ruler_link.h"
#include "host/form/table_cells.h"
#include "host/input/keyboard_hook.h"
#include "host/input/tablet.h"
#include "host/review/change_hints.h"
#include "host/review/document_record.h"
#include "host/review/picture_marks.h"
#include "host/review/protect_form.h"
#include "host/review/reviewer_table.h"
#include "host/review/revision_tracking.h"

namespace quillet {

namespace {

// The editor's resizes and the Shift key in annotation mode reach the form.
class TEditorWatch : public QObject {
 public:
  TEditorWatch(QObject* parent, std::function<void()> resized, std::function<void()> shiftPressed)
      : QObject(parent), resized_(std::move(resized)), shiftPressed_(std::move(shiftPressed)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Only a new width moves the page; a scroll bar coming or going below
    // must not undo a margin the user dragged.
    if (event->type() == QEvent::Resize) {
      const auto* resize = static_cast<QResizeEvent*>(event);
      if (resize->size().width() != resize->oldSize().width()) resized_();
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Shift) shiftPressed_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> resized_, shiftPressed_;
};

// The window closes only when the form's close check allows it.
class TCloseWatch : public QObject {
 public:
  TCloseWatch(QObject* parent, std::function<bool()> mayClose) : QObject(parent), mayClose_(std::move(mayClose)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close && !mayClose_()) {
      event->ignore();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<bool()> mayClose_;
};

}  // namespace

TMainForm::TMainForm(QWidget* parent, TPrinterDevice* printer) : ui_(std::make_unique<Ui>()) {
  ui_->window = new QMainWindow(parent);
  ui_->window->setObjectName("MainForm");
  CreateComponents(printer);
  FormCreate();
  ui_->window->installEventFilter(new TCloseWatch(ui_->window, [this] { return FormCloseQuery(); }));
}

// The commands and everything that reaches the editor go before it, and
// the editor before the window that holds its widget.
TMainForm::~TMainForm() {
  CloseCellEditors();
  kbHook_->SetEnabled(false);
  SetPressureSource(nullptr);
  tablet_->Close();
  ui_->flat.reset();
  delete commands_;
  commands_ = nullptr;
  ui_->rulerLink.reset();
  ui_->protect.reset();
  cells_.reset();
  interchange_.reset();
  review_.reset();
  tablet_.reset();
  penDialog_.reset();
  binding_.reset();
  editor_.reset();
  delete ui_->window;
}

QWidget* TMainForm::Widget() const { return ui_->window; }
TDVPrint& TMainForm::DVPrint() const { return ui_->print->Print(); }
TTextOptions& TMainForm::PageOptions() const { return ui_->pageOptions; }
TFlatPainter& TMainForm::FlatPainter() const { return *ui_->flat; }

void TMainForm::CreateComponents(TPrinterDevice* printer) {
  style_ = std::make_unique<TDVStyle>();
  InitMainStyleSheet(*style_);
  db_ = std::make_unique<TDbDm>();
  postil_ = std::make_unique<TQvPostil>();
  reviewers_ = std::make_unique<TReviewerTable>();

  editor_ = std::make_unique<TDocViewEdit>(ui_->window);
  editor_->Widget()->setObjectName("DVEditor");
  editor_->SetStyle(style_.get());
  editor_->Color = clWindow;
  editor_->TopMargin = 5;
  editor_->BottomMargin = 5;
  editor_->LeftMargin = 0;
  editor_->RightMargin = 0;
  editor_->EditorOptions = dvoClearTagOnStyleApp | dvoCtrlJumps | dvoWantTabs;
  editor_->SetDVFOptions(TDocumentRecord::kRecordDVFOptions | dvfoSaveBack);

  binding_ = std::make_unique<TPostilBinding>(*postil_, *editor_);
  // Strokes and seals are the document's too: the close question asks for them.
  binding_->OnDrawn = [this] { editor_->Modified = true; };
  penDialog_ = std::make_unique<TPostilDlg>(binding_->Pen);
  review_ = std::make_unique<Review>(*editor_, *reviewers_, *postil_, ui_->window);
  tracking_ = &review_->tracking;
  record_ = &review_->record;
  cells_ = std::make_unique<TTableCells>(*editor_);
  interchange_ = std::make_unique<TFormInterchange>(*editor_, *record_);
  interchange_->OnXMLLoaded = [this] { DVEditorResize(); };
  ui_->protect = std::make_unique<TProtectForm>(*editor_, review_->formState.TextProtection);

  ui_->print = new TDVPrintComponent(ui_->window, printer);
  TDVPrint& print = ui_->print->Print();
  print.SetLeftMarginMM(20);
  print.SetRightMarginMM(20);
  print.SetTopMarginMM(20);
  print.SetBottomMarginMM(20);
  BindPagePrepaint(print, *binding_, *style_, ui_->pageOptions);
  print.OnPrintComponent = DVPrintPrintComponent;

  // The user the annotations are written by.
  postil_->SetUser(db_->CurUserName.empty() ? TDbDm::GetUserName() : db_->CurUserName);

  // The tablet thins the pen by its pressure; the hook's keys reach the
  // table cells.
  tablet_ = std::make_unique<TTablet>();
  tablet_->Open(editor_.get(), true);
  SetPressureSource(tablet_.get());
  kbHook_ = std::make_unique<TKbHook>();
  kbHook_->OnKeyboardMessage = [this](TKbHook&, const TKeyboardReport& report) {
    cells_->KbHookKeyboardMessage(static_cast<int>(report.Key), (report.Shift & ssCtrl) != 0,
                                  (report.Shift & ssShift) != 0);
  };
  kbHook_->SetEnabled(true);

  BindEditor();
  commands_ = new TActionDM(*editor_, *postil_, *reviewers_, *record_, ui_->window);
  commands_->OnTitle = [this](const QString& title) { ui_->window->setWindowTitle(title); };
  commands_->OnMarginToUI = [this] { DVEditorResize(); };
  // The print commands print through the form's component, with its page texts.
  for (const char* name : {"dvActionPrint1", "dvActionPrintPreview1", "dvActionQuickPrint1"})
    static_cast<TdvCustomPrintAction*>(commands_->Action(name))->DVPrint = &print;
  BuildUi();
}

void TMainForm::BindEditor() {
  TDocViewEdit& editor = *editor_;
  editor.OnChange = [this](TCustomDocView&) { UpdateUndoMenu(); };
  editor.OnCurTextStyleChanged = [this](TCustomDocView&) { FollowCaret(); };
  editor.OnSelect = [this](TCustomDocView&) { UpdateSelectionItems(); };
  editor.OnURLNeeded = [this](TCustomDocView& sender, int32_t id, std::string& url) {
    interchange_->DVEditorURLNeeded(sender, id, url);
  };
  editor.OnJump = [this](TCustomDocView& sender, int32_t id) { interchange_->DVEditorJump(sender, id); };
  // The page's edges over the document, after the marks and annotations.
  editor.OnPaint = [this, previous = editor.OnPaint](TCustomDocView& sender, TCanvas& canvas, bool prepaint) {
    if (previous) previous(sender, canvas, prepaint);
    if (!prepaint) PaintPageGuides(canvas);
  };
  auto* watch = new TEditorWatch(
      ui_->window, [this] { DVEditorResize(); },
      [this] {
        if (postil_->IsPostil()) review_->hints.ShowPostilUsers = !review_->hints.ShowPostilUsers;
      });
  // The client area is what the page is measured against and what has the
  // keys; watching the outer widget too would lay the document out twice.
  editor.ClientWidget()->installEventFilter(watch);
}

void TMainForm::FormCreate() {
  // Fonts the screen has decide the normal and Unicode styles' faces.
  std::vector<std::string> families;
  for (const QString& family : QFontDatabase::families()) families.push_back(family.toStdString());
  AdaptMainStyleSheet(*style_, families);
  editor_->SetOptions(editor_->Options() | dvoTagsArePChars);
  binding_->Pen = TAnnotationPen{255, 2};
  editor_->Format();
  UpdateUndoMenu();
  FollowCaret();
  FollowParagraph();
}

void TMainForm::LoadFromDB() {
  record_->LoadFromDB(*db_);
  editor_->Format();
  UpdateUndoMenu();
}

void TMainForm::UpdateToDB() { record_->UpdateToDB(*db_); }

void TMainForm::StartTraceClick() { tracking_->StartTrace(TrackingUserName(*db_)); }

void TMainForm::StopTraceClick() { tracking_->StopTrace(); }

bool TMainForm::havePostil() const { return !editor_->EditData().HostLines().allPostil.empty(); }

void TMainForm::SetPressureSource(const TPressureSource* source) { binding_->Pressure = source; }

bool TMainForm::FormCloseQuery() { return OnCloseQuery ? OnCloseQuery() : SaveCommandCloseQuery(); }

bool TMainForm::SaveCommandCloseQuery() {
  auto* save = dynamic_cast<TdvActionSave*>(commands_->Action("dvActionSave1"));
  return !save || save->CanCloseDoc(*editor_);
}

void TMainForm::RunCommand(std::string_view actionName) { commands_->Execute(actionName); }

}  // namespace quillet
