#include "host/review/protect_form.h"

#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QVariant>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "host/review/conversion_codes.h"

namespace quillet {

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

struct TBoxSpec {
  const char* Name;
  const char* Caption;
};

// Tag n (index n - 1) stands for bit n - 1 of the protection set.
constexpr std::array<TBoxSpec, TProtectForm::kBoxes> kBoxSpecs = {{
    {"cbStyleProtect", "样式保护"},
    {"cbModifyProtect", "修改保护"},
    {"cbDeleteProtect", "删除保护"},
    {"cbConcateProtect", "连接保护"},
    {"cbDVFInsertProtect", "DVF 插入保护"},
    {"cbDoNotAutoSwitch", "禁止自动转换"},
    {"cbParaStartProtect", "ParaStart Protect"},
    {"cbStickingProtect", "Sticking Protect"},
}};

constexpr char kTag[] = "Tag";

}  // namespace

class TProtectForm::ShowFilter final : public QObject {
 public:
  explicit ShowFilter(TProtectForm& owner) : owner_(owner) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) owner_.FormShow();
    return QObject::eventFilter(watched, event);
  }

 private:
  TProtectForm& owner_;
};

TProtectForm::TProtectForm(TCustomDocViewEdit& editor, TDVProtectOptions& protection)
    : editor_(editor), protection_(protection), showFilter_(std::make_unique<ShowFilter>(*this)) {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q("保护文档"));
  dialog->setFixedSize(330, 250);

  auto* group = new QGroupBox(Q("保护属性"), dialog);
  group->setObjectName("GroupBox1");
  group->setGeometry(8, 8, 225, 233);
  for (int i = 0; i < kBoxes; ++i) {
    auto* box = new QCheckBox(Q(kBoxSpecs[static_cast<size_t>(i)].Caption), group);
    box->setObjectName(kBoxSpecs[static_cast<size_t>(i)].Name);
    box->setProperty(kTag, i + 1);
    box->setGeometry(16, 22 + i * 26, 200, 20);
    QObject::connect(box, &QCheckBox::clicked, dialog, [this, box] { CBProtectClick(box); });
    boxes_[static_cast<size_t>(i)] = box;
  }

  ok_ = new QPushButton(Q("确定"), dialog);
  ok_->setObjectName("btnOK");
  ok_->setGeometry(245, 14, 75, 25);
  ok_->setDefault(true);
  cancel_ = new QPushButton(Q("取消"), dialog);
  cancel_->setObjectName("btnCancel");
  cancel_->setGeometry(245, 46, 75, 25);
  auto* help = new QPushButton(Q("帮助(&H)"), dialog);
  help->setObjectName("Button3");
  help->setGeometry(245, 78, 75, 25);

  QObject::connect(ok_, &QPushButton::clicked, dialog, [this] { btnOKClick(); });
  QObject::connect(cancel_, &QPushButton::clicked, dialog, [this] { Close(mrCancel); });
  dialog->installEventFilter(showFilter_.get());
  FormCreate();
}

TProtectForm::~TProtectForm() { Dialog()->removeEventFilter(showFilter_.get()); }

void TProtectForm::FormShow() {
  GetProtectionFromMainForm();
  SetProtectionToUI();
}

void TProtectForm::GetProtectionFromMainForm() {
  const TDVStyle* sheet = editor_.Style();
  const int32_t styleNo = editor_.CurTextStyleNo();
  // A caret in no valid style shows no protection.
  protection_ = sheet && sheet->TextStyles().IsValidIndex(styleNo) ? sheet->TextStyles()[styleNo].Protection : 0;
}

void TProtectForm::SetProtectionToUI() {
  for (int i = 0; i < kBoxes; ++i) boxes_[static_cast<size_t>(i)]->setChecked((protection_ >> i) & 1);
}

void TProtectForm::CBProtectClick(QCheckBox* box) {
  bool ok = false;
  const int tag = box->property(kTag).toInt(&ok);
  if (!ok || tag < 1 || tag > kBoxes) return;
  const auto bit = static_cast<TDVProtectOptions>(1u << (tag - 1));
  protection_ = box->isChecked() ? (protection_ | bit) : (protection_ & ~bit);
}

void TProtectForm::btnOKClick() {
  editor_.ApplyStyleConversion(TEXT_PROTECTION);
  Close(mrOk);
}

}  // namespace quillet
