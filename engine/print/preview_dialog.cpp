#include "engine/print/preview_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>

#include "platform/core/beep.h"

namespace quillet {

namespace {

constexpr const char* kPageWidth = "Page width";
constexpr const char* kFullPage = "Full page";

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// A whole decimal number, or nothing.
bool ParseNumber(std::string s, int& value) {
  s.erase(0, s.find_first_not_of(' '));
  s.erase(s.find_last_not_of(' ') + 1);
  const char* end = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), end, value);
  return ec == std::errc() && p == end && !s.empty();
}

// Digits, Enter and control characters reach the page edit; anything else
// beeps and is dropped.
class TPageKeyFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return false;
    const QChar c = text.at(0);
    if (c.isDigit() || c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    SystemBeep();
    return true;
  }
};

}  // namespace

struct TfrmDVPreview::Impl {
  TDVPrintPreview dvpp;
  QWidget* panel = nullptr;
  QComboBox* cmbZoom = nullptr;
  QLineEdit* txtPageNo = nullptr;
  QLabel* lblPage = nullptr;
  QLabel* lblCount = nullptr;
  QAction *actPrint = nullptr, *actFirst = nullptr, *actPrior = nullptr, *actNext = nullptr, *actLast = nullptr;
};

TfrmDVPreview::TfrmDVPreview() : d_(std::make_unique<Impl>()) {
  ShowError = [this](const std::string& text, const std::string& caption) {
    QMessageBox::critical(Dialog(), QString::fromStdString(caption), QString::fromStdString(text));
  };
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q("打印预览"));
  dialog->setMinimumSize(600, 200);
  dialog->resize(592, 354);

  auto* panel = new QWidget(dialog);
  panel->setFixedHeight(38);
  auto* bar = new QHBoxLayout(panel);
  bar->setContentsMargins(4, 4, 4, 4);
  const auto action = [&](const char* hint, QKeySequence key) {
    auto* a = new QAction(Q(hint), dialog);
    a->setToolTip(Q(hint));
    a->setShortcut(key);
    dialog->addAction(a);
    auto* button = new QToolButton(panel);
    button->setDefaultAction(a);
    return std::pair{a, button};
  };
  auto [actPrint, btnPrint] = action("打印...", QKeySequence(Qt::CTRL | Qt::Key_P));
  bar->addWidget(btnPrint);
  d_->cmbZoom = new QComboBox(panel);
  d_->cmbZoom->setEditable(true);
  d_->cmbZoom->setInsertPolicy(QComboBox::NoInsert);
  bar->addWidget(d_->cmbZoom);
  d_->lblPage = new QLabel(Q("页号:"), panel);
  bar->addWidget(d_->lblPage);
  auto [actFirst, btnFirst] = action("首页", QKeySequence(Qt::CTRL | Qt::Key_Home));
  auto [actPrior, btnPrior] = action("上一页", QKeySequence(Qt::Key_PageUp));
  bar->addWidget(btnFirst);
  bar->addWidget(btnPrior);
  d_->txtPageNo = new QLineEdit(panel);
  d_->txtPageNo->setObjectName("txtPageNo");
  d_->txtPageNo->setMaxLength(5);
  d_->txtPageNo->setFixedWidth(48);
  d_->txtPageNo->installEventFilter(new TPageKeyFilter(d_->txtPageNo));
  bar->addWidget(d_->txtPageNo);
  d_->lblCount = new QLabel(panel);
  bar->addWidget(d_->lblCount);
  // The next and last buttons follow the count label at 5 pixels.
  bar->addSpacing(5);
  auto [actNext, btnNext] = action("下一页", QKeySequence(Qt::Key_PageDown));
  auto [actLast, btnLast] = action("最后一页", QKeySequence(Qt::CTRL | Qt::Key_End));
  bar->addWidget(btnNext);
  bar->addWidget(btnLast);
  bar->addStretch(1);
  auto* btnClose = new QToolButton(panel);
  btnClose->setText(Q("关闭"));
  bar->addWidget(btnClose);
  d_->panel = panel;
  d_->actPrint = actPrint;
  d_->actFirst = actFirst;
  d_->actPrior = actPrior;
  d_->actNext = actNext;
  d_->actLast = actLast;

  TDVPrintPreview& dvpp = d_->dvpp;
  dvpp.SetParentWidget(dialog);
  dvpp.SetCursor(crDVZoomOut);
  dvpp.MarginsPen.Style = psDot;
  dvpp.SetBorderStyle(bsSingle);
  dvpp.SetTracking(true);
  AddThemedControl(&dvpp);
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panel);
  layout->addWidget(dvpp.Widget(), 1);

  QObject::connect(actPrint, &QAction::triggered, dialog, [this] { Close(mrOk); });
  QObject::connect(btnClose, &QToolButton::clicked, dialog, [this] { Close(mrCancel); });
  QObject::connect(actFirst, &QAction::triggered, dialog, [this] {
    d_->dvpp.First();
    UpdateToolbar();
  });
  QObject::connect(actPrior, &QAction::triggered, dialog, [this] {
    d_->dvpp.Prev();
    UpdateToolbar();
  });
  QObject::connect(actNext, &QAction::triggered, dialog, [this] {
    d_->dvpp.Next();
    UpdateToolbar();
  });
  QObject::connect(actLast, &QAction::triggered, dialog, [this] {
    d_->dvpp.Last();
    UpdateToolbar();
  });
  QObject::connect(d_->txtPageNo, &QLineEdit::editingFinished, dialog, [this] { GoToPage(); });
  dvpp.OnZoomChanged = [this](TCustomDVPrintPreview& sender) {
    SetZoomText(std::to_string(sender.ZoomPercent()) + "%");
  };
  FormCreate();
}

TfrmDVPreview::~TfrmDVPreview() = default;

TDVPrintPreview& TfrmDVPreview::dvpp() const { return d_->dvpp; }

void TfrmDVPreview::FormCreate() {
  TfrmDVBase::FormCreate();
  QComboBox* zoom = d_->cmbZoom;
  zoom->clear();
  for (const char* item : {"200%", "150%", "100%", "75%", "50%", "25%", "10%", kPageWidth, kFullPage})
    zoom->addItem(Q(item));
  QObject::connect(zoom, &QComboBox::activated, Dialog(), [this] { UpdateZoom(); });
  QObject::connect(zoom->lineEdit(), &QLineEdit::editingFinished, Dialog(), [this] { UpdateZoom(); });
}

std::string TfrmDVPreview::ZoomText() const { return d_->cmbZoom->currentText().toStdString(); }

void TfrmDVPreview::SetZoomText(const std::string& text) { d_->cmbZoom->setEditText(QString::fromStdString(text)); }

std::string TfrmDVPreview::PageText() const { return d_->txtPageNo->text().toStdString(); }

void TfrmDVPreview::SetPageText(const std::string& text) { d_->txtPageNo->setText(QString::fromStdString(text)); }

std::string TfrmDVPreview::PageCountText() const { return d_->lblCount->text().toStdString(); }

bool TfrmDVPreview::NavigationEnabled(int index) const {
  const QAction* actions[] = {d_->actFirst, d_->actPrior, d_->actNext, d_->actLast};
  return index >= 0 && index < 4 && actions[index]->isEnabled();
}

QAction* TfrmDVPreview::PrintAction() const { return d_->actPrint; }

void TfrmDVPreview::UpdateZoom() {
  std::string text = ZoomText();
  TDVPrintPreview& dvpp = d_->dvpp;
  if (text == kPageWidth) {
    dvpp.SetZoomMode(dvzmPageWidth);
    return;
  }
  if (text == kFullPage) {
    dvpp.SetZoomMode(dvzmFullPage);
    return;
  }
  if (!text.empty() && text.back() == '%') text.pop_back();
  int percent = 0;
  if (!ParseNumber(text, percent)) percent = 0;
  if (percent >= 10 && percent <= 500) {
    dvpp.SetZoom(percent);
    return;
  }
  ShowError("Please enter number from 10 to 500", "Scale");
  SetZoomText(std::to_string(dvpp.ZoomPercent()) + "%");
}

void TfrmDVPreview::GoToPage() {
  TDVPrintPreview& dvpp = d_->dvpp;
  int page = dvpp.PageNo();
  if (!ParseNumber(PageText(), page)) page = dvpp.PageNo();
  dvpp.SetPageNo(std::clamp(page, 1, std::max(dvpp.PageCount(), 1)));
  UpdateToolbar();
}

void TfrmDVPreview::UpdateToolbar() {
  TDVPrintPreview& dvpp = d_->dvpp;
  const int page = dvpp.PageNo(), count = dvpp.PageCount();
  d_->actFirst->setEnabled(page >= 2);
  d_->actPrior->setEnabled(page >= 2);
  d_->actNext->setEnabled(count > page);
  d_->actLast->setEnabled(count > page);
  d_->lblCount->setText(QString::fromStdString("of " + std::to_string(count)));
  SetPageText(std::to_string(page));
}

}  // namespace quillet
