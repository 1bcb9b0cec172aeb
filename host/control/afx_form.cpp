#include "host/control/afx_form.h"

#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

#include "editing/control/editor.h"
#include "host/annotation/postil.h"
#include "host/control/document_exchange.h"
#include "host/db/db_module.h"
#include "host/form/main_form.h"
#include "host/form/table_cells.h"
#include "platform/core/code_page.h"

namespace quillet {

// The control's own window: it reports its activation, clicks, keys and
// painting as the control's events. What happens inside the embedded main
// form stays there.
class TafxForm::TControlWindow : public QWidget {
 public:
  TControlWindow(TafxForm& control, QWidget* parent) : QWidget(parent), control_(control) {}
  // A host that frees its window before the control: the main form leaves
  // first, so the control still owns it whole.
  ~TControlWindow() override {
    if (control_.mainForm_) {
      QWidget* form = control_.mainForm_->Widget();
      form->hide();
      form->setParent(nullptr);
    }
  }

 protected:
  bool event(QEvent* e) override {
    // The form's activation follows its top-level window's.
    if (e->type() == QEvent::WindowActivate) emit control_.OnActivate();
    if (e->type() == QEvent::WindowDeactivate) emit control_.OnDeactivate();
    return QWidget::event(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit control_.OnClick();
    QWidget::mouseReleaseEvent(e);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    emit control_.OnDblClick();
    QWidget::mouseDoubleClickEvent(e);
  }
  void keyPressEvent(QKeyEvent* e) override {
    const QString text = e->text();
    // Character keys only, as one 16-bit code.
    if (text.size() == 1 && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F) {
      if (control_.KeyPress(static_cast<int16_t>(text.at(0).unicode())) == 0) {
        e->accept();
        return;
      }
    }
    QWidget::keyPressEvent(e);
  }
  void paintEvent(QPaintEvent* e) override {
    QWidget::paintEvent(e);
    emit control_.OnPaint();
  }

 private:
  TafxForm& control_;
};

namespace {

void CheckRange(int32_t value, int32_t last, const char* what) {
  if (value < 0 || value > last) throw EAfxFormError(std::string(what) + ": " + std::to_string(value) + " is not a valid value");
}

}  // namespace

TafxForm::TafxForm(QWidget* parent) {
  window_ = new TControlWindow(*this, parent);
  window_->setObjectName("afxForm");
  window_->setWindowTitle(QString::fromStdString(caption_));
  window_->resize(696, 478);
  window_->setFocusPolicy(Qt::StrongFocus);
  mainForm_ = std::make_unique<TMainForm>();
  exchange_ = std::make_unique<TDocumentExchange>(mainForm_->Record());
  ActiveFormCreate();
}

TafxForm::~TafxForm() {
  emit OnDestroy();
  exchange_.reset();
  // The main form frees its window, which leaves the control's window.
  mainForm_.reset();
  delete window_.data();
}

void TafxForm::ActiveFormCreate() {
  QWidget* form = mainForm_->Widget();
  form->setParent(window_, Qt::Widget);
  auto* layout = new QVBoxLayout(window_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(form);
  form->setVisible(true);
  form->setFocus();
}

QWidget* TafxForm::Widget() const { return window_; }

bool TafxForm::Visible() const { return window_->isVisible(); }
void TafxForm::SetVisible(bool value) { window_->setVisible(value); }

void TafxForm::SetAxBorderStyle(int32_t value) {
  CheckRange(value, afbRaised, "AxBorderStyle");
  axBorderStyle_ = value;
}

void TafxForm::SetCaption(const std::string& value) {
  caption_ = value;
  window_->setWindowTitle(QString::fromStdString(AnsiToUtf8(value)));
}

void TafxForm::SetFont(const TFont& value) {
  if (value.Name.empty()) throw EAfxFormError("Font: the name is empty");
  if (value.Height == 0) throw EAfxFormError("Font: the height is 0");
  font_ = value;
}

void TafxForm::SetPixelsPerInch(int32_t value) {
  if (value <= 0) throw EAfxFormError("PixelsPerInch: " + std::to_string(value) + " is not a valid value");
  pixelsPerInch_ = value;
}

void TafxForm::SetPrintScale(int32_t value) {
  CheckRange(value, poPrintToFit, "PrintScale");
  printScale_ = value;
}

void TafxForm::SetHelpType(int32_t value) {
  CheckRange(value, htContext, "HelpType");
  helpType_ = value;
}

bool TafxForm::Active() const { return window_->isActiveWindow(); }
bool TafxForm::Enabled() const { return window_->isEnabled(); }
void TafxForm::SetEnabled(bool value) { window_->setEnabled(value); }
int32_t TafxForm::Width() const { return window_->width(); }
int32_t TafxForm::Height() const { return window_->height(); }

bool TafxForm::ReadOnly() const { return mainForm_->DVEditor().ReadOnly; }
void TafxForm::SetReadOnly(bool value) { mainForm_->DVEditor().SetReadOnly(value); }

std::string TafxForm::ComputerName() const { return mainForm_->DbDm().Host; }
void TafxForm::SetComputerName(const std::string& value) { mainForm_->DbDm().Host = value; }
std::string TafxForm::TableName() const { return mainForm_->DbDm().TableName; }
void TafxForm::SetTableName(const std::string& value) { mainForm_->DbDm().TableName = value; }
std::string TafxForm::FieldName() const { return mainForm_->DbDm().FieldName; }
void TafxForm::SetFieldName(const std::string& value) { mainForm_->DbDm().FieldName = value; }
std::string TafxForm::IDName() const { return mainForm_->DbDm().IDName; }
void TafxForm::SetIDName(const std::string& value) { mainForm_->DbDm().IDName = value; }
std::string TafxForm::IDValue() const { return mainForm_->DbDm().IDValue; }
void TafxForm::SetIDValue(const std::string& value) { mainForm_->DbDm().IDValue = value; }
std::string TafxForm::ServerName() const { return mainForm_->DbDm().ServerName; }
void TafxForm::SetServerName(const std::string& value) { mainForm_->DbDm().ServerName = value; }

bool TafxForm::IsStartTrace() const { return mainForm_->DVEditor().TraceOn; }
void TafxForm::SetIsStartTrace(bool value) { mainForm_->DVEditor().TraceOn = value; }

std::string TafxForm::UserName() const { return mainForm_->DbDm().CurUserName; }
void TafxForm::SetUserName(const std::string& value) {
  mainForm_->DbDm().CurUserName = value;
  mainForm_->qvPostil().SetUser(value.empty() ? TDbDm::GetUserName() : value);
}

bool TafxForm::isPostil() const { return exchange_->IsPostil(); }
std::string TafxForm::BmpsID() const { return mainForm_->qvPostil().GetBmpIDs(); }

void TafxForm::LoadFromDB() {
  mainForm_->LoadFromDB();
  mainForm_->DVEditor().Format();
}
void TafxForm::UpdateToDB() { mainForm_->UpdateToDB(); }
void TafxForm::StartTrace() { mainForm_->StartTraceClick(); }
void TafxForm::StopTrace() { mainForm_->StopTraceClick(); }
void TafxForm::StartPostil() { mainForm_->BeginCommentClick(); }
void TafxForm::StopPostil() { mainForm_->EndCommentClick(); }

std::string TafxForm::GetAsciiData() { return exchange_->GetAsciiData(); }
void TafxForm::PutAsciiData(std::string_view data) { exchange_->PutAsciiData(data); }
void TafxForm::InsertAsciiData(std::string_view data) { exchange_->InsertAsciiData(data); }
void TafxForm::InsertAsciiDataAtFirst(std::string_view data) { exchange_->InsertAsciiDataAtFirst(data); }
std::string TafxForm::ExportToText() { return exchange_->ExportToText(); }
void TafxForm::PutBmp(const std::string& bmpID, std::string_view bmp) { exchange_->PutBmp(bmpID, bmp); }
void TafxForm::ClearPostil() { exchange_->ClearPostil(); }

void TafxForm::DVMenuControl(std::string_view dvMenuName, bool dvMenuEnable, bool dvMenuVisible) {
  mainForm_->MenuControl(dvMenuName, dvMenuEnable, dvMenuVisible);
}

void TafxForm::AddTuZhang(const std::string& bmpID) { mainForm_->AddTuZhang(bmpID); }

std::string TafxForm::GetTableContent(int32_t Num, int32_t Row, int32_t Col) {
  return mainForm_->TableCells().GetTableContent(Num, Row, Col);
}
namespace {

// A cell of an existing table that refused the change (its text protected,
// the editor read-only or busy) is the host's failure to hear about; a
// missing table stays quiet.
void CheckCellChange(bool done, TMainForm& form, const char* member, int32_t num, int32_t row, int32_t col) {
  if (done || !TTableCells::GetTable(form.DVEditor().EditData(), num)) return;
  throw EAfxFormError(Utf8ToAnsi(std::string(member) + ": 表格 " + std::to_string(num) + " 第 " +
                                 std::to_string(row) + " 行第 " + std::to_string(col) + " 列的单元格拒绝了修改"));
}

}  // namespace

void TafxForm::InsertTableContent(const std::string& Data, int32_t Num, int32_t Row, int32_t Col) {
  CheckCellChange(mainForm_->TableCells().InsertTableContentForHost(Data, Num, Row, Col), *mainForm_,
                  "InsertTableContent", Num, Row, Col);
}
void TafxForm::ClearTableCell(int32_t Num, int32_t Row, int32_t Col) {
  CheckCellChange(mainForm_->TableCells().ClearTableCell(Num, Row, Col), *mainForm_, "ClearTableCell", Num, Row, Col);
}
void TafxForm::SetTableCellReadOnly(int32_t Num, int32_t Row, int32_t Col) {
  CheckCellChange(mainForm_->TableCells().SetCellReadOnly(Num, Row, Col), *mainForm_, "SetTableCellReadOnly", Num,
                  Row, Col);
}

void TafxForm::SetBorderSize(int32_t DVHeight, int32_t DVWidth) {
  if (DVHeight < 0 || DVWidth < 0)
    throw EAfxFormError("SetBorderSize: " + std::to_string(DVHeight) + " x " + std::to_string(DVWidth) +
                        " is not a size");
  window_->resize(window_->width(), DVHeight);
  window_->resize(DVWidth, window_->height());
}

void TafxForm::CanPostil(bool Flag) { mainForm_->SetCanPostil(Flag); }
bool TafxForm::ConnectToServer() { return mainForm_->DbDm().ConnectToServer(); }

int16_t TafxForm::KeyPress(int16_t key) {
  emit OnKeyPress(key);
  return key;
}

}  // namespace quillet
