#include "host/annotation/pen_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <functional>

#include "commands/controls/color_combo.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

TRect ToTRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }

using TColorSource = std::function<TColor()>;

// The list's items: sample lines instead of their texts.
class TWidthItemDelegate final : public QStyledItemDelegate {
 public:
  TWidthItemDelegate(QObject* parent, TColorSource color) : QStyledItemDelegate(parent), color_(std::move(color)) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    painter->setClipRect(option.rect);
    TQtCanvas canvas(*painter);
    DrawCmbWidthItem(canvas, ToTRect(option.rect), index.row(), color_(),
                     option.state.testFlag(QStyle::State_Selected));
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), 20};
  }

 private:
  TColorSource color_;
};

// The closed list shows the chosen width's sample too, selected while focused.
class TWidthCombo final : public QComboBox {
 public:
  TWidthCombo(QWidget* parent, TColorSource color) : QComboBox(parent), color_(std::move(color)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) return;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.setClipRect(field);
    TQtCanvas canvas(painter);
    DrawCmbWidthItem(canvas, ToTRect(field), currentIndex(), color_(), hasFocus());
  }

 private:
  TColorSource color_;
};

}  // namespace

void DrawCmbWidthItem(TCanvas& canvas, const TRect& r, int index, TColor color, bool selected) {
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clWindow;
  canvas.FillRect(r);
  canvas.Pen().Style = psSolid;
  canvas.Pen().Color = color;
  canvas.Pen().Width = index + 1;
  const int m = (r.Top + r.Bottom) / 2;
  canvas.MoveTo(r.Left - 3, m);
  canvas.LineTo(r.Right + 3, m);
  if (selected) {
    canvas.Pen().Style = psInsideFrame;
    canvas.Pen().Color = clHighlight;
    canvas.Pen().Width = 2;
    canvas.Brush().Style = bsClear;
    canvas.Rectangle(r);
  }
}

struct TPostilDlg::Impl {
  TColorDialog colorDialog;
  TDVColorCombo lineColor;
  TWidthCombo* lineWidth = nullptr;
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
};

TPostilDlg::TPostilDlg(TAnnotationPen& pen) : pen_(pen), d_(std::make_unique<Impl>()) {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q("笔批注属性"));
  dialog->setFixedSize(384, 179);

  auto* bevel = new QFrame(dialog);
  bevel->setObjectName("Bevel1");
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(8, 8, 281, 161);

  d_->ok = new QPushButton(Q("确定"), dialog);
  d_->ok->setObjectName("OKBtn");
  d_->ok->setGeometry(300, 8, 75, 25);
  d_->ok->setDefault(true);
  d_->cancel = new QPushButton(Q("取消"), dialog);
  d_->cancel->setObjectName("CancelBtn");
  d_->cancel->setGeometry(300, 38, 75, 25);

  TDVColorCombo& lineColor = d_->lineColor;
  lineColor.SetParentWidget(dialog);
  lineColor.SetBounds(56, 40, 185, 26);
  lineColor.SetAutoColor(clRed);
  lineColor.SetIndeterminate(false);
  lineColor.SetColorDialog(&d_->colorDialog);
  AddThemedControl([&lineColor](bool value) { lineColor.SetUseXPThemes(value); });

  const TColorSource chosen = [&lineColor] { return lineColor.ChosenColor(); };
  d_->lineWidth = new TWidthCombo(dialog, chosen);
  d_->lineWidth->setObjectName("cmbLineWidth");
  d_->lineWidth->setGeometry(56, 104, 185, 26);
  d_->lineWidth->setItemDelegate(new TWidthItemDelegate(d_->lineWidth, chosen));
  for (int i = 1; i <= WidthCount; ++i) d_->lineWidth->addItem(QString::number(i));

  // The samples follow the colour.
  lineColor.OnColorChange = [this](TDVColorCombo&) {
    d_->lineWidth->update();
    d_->lineWidth->view()->viewport()->update();
  };
  QObject::connect(d_->ok, &QPushButton::clicked, dialog, [this] { OKBtnClick(); });
  QObject::connect(d_->cancel, &QPushButton::clicked, dialog, [this] { CancelBtnClick(); });
  // Fills the controls from the pen each time the dialog shows.
  OnShow = [this] { FormShow(); };
  FormCreate();
}

TPostilDlg::~TPostilDlg() { OnShow = nullptr; }

void TPostilDlg::FormCreate() {
  TfrmDVBase::FormCreate();
  FormShow();
}

void TPostilDlg::FormShow() {
  d_->lineColor.SetChosenColor(pen_.Color);
  // A width the list does not hold selects nothing.
  d_->lineWidth->setCurrentIndex(pen_.Width >= 1 && pen_.Width <= WidthCount ? pen_.Width - 1 : -1);
}

void TPostilDlg::OKBtnClick() {
  pen_.Color = d_->lineColor.ChosenColor();
  if (d_->lineWidth->currentIndex() >= 0) pen_.Width = d_->lineWidth->currentIndex() + 1;
  Close(mrOk);
}

void TPostilDlg::CancelBtnClick() { Close(mrCancel); }

TDVColorCombo& TPostilDlg::cmbLineColor() const { return d_->lineColor; }
QComboBox* TPostilDlg::cmbLineWidth() const { return d_->lineWidth; }
QPushButton* TPostilDlg::OKBtn() const { return d_->ok; }
QPushButton* TPostilDlg::CancelBtn() const { return d_->cancel; }
TColorDialog& TPostilDlg::ColorDialog1() const { return d_->colorDialog; }

}  // namespace quillet
