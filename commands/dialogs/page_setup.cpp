#include "commands/dialogs/page_setup.h"

#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

#include "commands/font_roles.h"
#include "commands/settings_file.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

namespace {

constexpr const char* kIniName = "PageSetup.ini";
constexpr const char* kTagProperty = "Tag";
// Point sizes a stored font may have.
constexpr int32_t kMinFontSize = 1, kMaxFontSize = 1638;

// Indexed by the style set (bold 1, italic 2, underline 4, strike-out 8).
constexpr std::array<std::string_view, 16> kStyleTexts = {
    "",
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
    "fsBold,fsItalic,fsStrikeOut,fsUnderline",
};

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// A decimal number with '.' as the separator, blanks around it allowed.
std::optional<double> ParseDecimal(const QString& text) {
  const std::string s = text.trimmed().toStdString();
  const char* begin = s.data();
  const char* end = s.data() + s.size();
  if (begin != end && *begin == '+') ++begin;
  if (begin == end || !(std::isdigit(static_cast<unsigned char>(*begin)) || *begin == '-' || *begin == '.'))
    return std::nullopt;
  double value = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Every radio button of the container whose tag is the value gets checked.
void EnumToChkBox(int value, QWidget* container) {
  for (QRadioButton* button : container->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
    if (button->property(kTagProperty).toInt() == value) button->setChecked(true);
}

// The tag of the last checked radio button of the container, def when none is.
int ChkBoxToEnum(QWidget* container, int def) {
  int value = def;
  for (QRadioButton* button : container->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
    if (button->isChecked()) value = button->property(kTagProperty).toInt();
  return value;
}

}  // namespace

std::string FontStyleText(TFontStyles styles) { return std::string(kStyleTexts[styles & 0x0F]); }

std::optional<TFontStyles> FontStylesFromText(std::string_view text) {
  if (text == "fsBold,fsItalic,fsUnderline") return fsBold | fsItalic | fsUnderline;
  for (size_t i = 0; i < kStyleTexts.size(); ++i)
    if (kStyleTexts[i] == text) return static_cast<TFontStyles>(i);
  return std::nullopt;
}

std::string FontButtonCaption(const TFont& font) { return font.Name + " " + std::to_string(font.GetSize()) + " pt"; }

// One group of the header or the footer.
struct TBandControls {
  QGroupBox* group = nullptr;
  QLineEdit* text = nullptr;
  QLineEdit* margin = nullptr;
  QRadioButton* left = nullptr;
  QRadioButton* center = nullptr;
  QRadioButton* right = nullptr;
  QPushButton* font = nullptr;
};

struct TPageSetupForm::Impl {
  QLineEdit* leftEdit = nullptr;
  QLineEdit* rightEdit = nullptr;
  QLineEdit* topEdit = nullptr;
  QLineEdit* botEdit = nullptr;
  QRadioButton* portBut = nullptr;
  QFrame* portShape = nullptr;
  QFrame* landShape = nullptr;
  TBandControls header, footer;
  QLineEdit* pageNumEdit = nullptr;
  QWidget* panel1 = nullptr;
  QWidget* panel2 = nullptr;
  QPushButton* pageNumFontBut = nullptr;
};

namespace {

template <class T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QRadioButton* Radio(QWidget* parent, const char* name, const char* caption, int tag, int x, int y, int w = 60) {
  auto* button = Named(new QRadioButton(Q(caption), parent), name);
  button->setProperty(kTagProperty, tag);
  button->setGeometry(x, y, w, 20);
  return button;
}

QLineEdit* LabeledEdit(QWidget* parent, const char* name, const char* caption, int x, int y, int labelWidth,
                       int editWidth) {
  auto* label = new QLabel(Q(caption), parent);
  label->setGeometry(x, y, labelWidth, 22);
  auto* edit = Named(new QLineEdit(parent), name);
  edit->setGeometry(x + labelWidth, y, editWidth, 22);
  label->setBuddy(edit);
  return edit;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, int x, int y, int w) {
  auto* button = Named(new QPushButton(Q(caption), parent), name);
  button->setGeometry(x, y, w, 25);
  return button;
}

TBandControls BuildBand(QWidget* dialog, const char* groupName, const char* groupCaption, const char* textName,
                        const char* textCaption, const char* marginName, const char* marginCaption,
                        std::array<const char*, 4> buttonNames, int top) {
  TBandControls band;
  band.group = Named(new QGroupBox(Q(groupCaption), dialog), groupName);
  band.group->setGeometry(8, top, 392, 82);
  band.text = LabeledEdit(band.group, textName, textCaption, 10, 20, 80, 290);
  band.margin = LabeledEdit(band.group, marginName, marginCaption, 10, 50, 80, 50);
  band.left = Radio(band.group, buttonNames[0], "居左", taLeftJustify, 150, 51);
  band.center = Radio(band.group, buttonNames[1], "居中", taCenter, 205, 51);
  band.right = Radio(band.group, buttonNames[2], "居右", taRightJustify, 260, 51);
  band.center->setChecked(true);
  band.font = Button(band.group, buttonNames[3], "(&F)字体...", 315, 48, 70);
  return band;
}

}  // namespace

TPageSetupForm::TPageSetupForm() : d_(std::make_unique<Impl>()) {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q("页面设置"));
  dialog->setFixedSize(500, 420);

  auto* margins = Named(new QGroupBox(Q("页边距"), dialog), "PageMarginGroup");
  margins->setGeometry(8, 8, 240, 110);
  d_->leftEdit = LabeledEdit(margins, "LeftEdit", "(&L)左", 10, 20, 45, 55);
  d_->rightEdit = LabeledEdit(margins, "RightEdit", "(&R)右", 125, 20, 45, 55);
  d_->topEdit = LabeledEdit(margins, "TopEdit", "(&T)上", 10, 50, 45, 55);
  d_->botEdit = LabeledEdit(margins, "BotEdit", "(&B)下", 125, 50, 45, 55);
  Radio(margins, "InchBut", "(&I)英尺", 0, 10, 82, 90)->setChecked(true);
  Radio(margins, "CentBut", "(&C)厘米", 1, 125, 82, 90);

  auto* orient = Named(new QGroupBox(Q("方向"), dialog), "PageOrientGroup");
  orient->setGeometry(256, 8, 144, 110);
  d_->portBut = Radio(orient, "PortBut", "(&S)纵向", 0, 10, 25, 80);
  d_->portBut->setChecked(true);
  QRadioButton* landBut = Radio(orient, "LandBut", "(&P)横向", 1, 10, 60, 80);
  auto shape = [orient](const char* name, int w, int h) {
    auto* frame = Named(new QFrame(orient), name);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setGeometry(112 - w / 2, 62 - h / 2, w, h);
    return frame;
  };
  d_->portShape = shape("PortShape", 28, 38);
  d_->landShape = shape("LandShape", 38, 28);

  d_->header = BuildBand(dialog, "HeaderGroup", "页眉设置", "HeaderEdit", "(&H)页眉", "HdrMarginEdit", "(&M)页眉边距",
                         {"HdrLeftBut", "HdrCenterBut", "HdrRightBut", "HdrFontBut"}, 124);
  d_->footer = BuildBand(dialog, "FooterGroup", "页脚设置", "FooterEdit", "页脚", "FtrMarginEdit", "(&M)页脚边距",
                         {"FtrLeftBut", "FtrCenterBut", "FtrRightBut", "FtrFontBut"}, 212);

  auto* pageNum = Named(new QGroupBox(Q("页号选项"), dialog), "PageNumGroup");
  pageNum->setGeometry(8, 300, 392, 112);
  new QLabel(Q("页号内容 (%d = 页号)"), pageNum);
  pageNum->findChild<QLabel*>()->setGeometry(10, 18, 200, 20);
  d_->pageNumEdit = Named(new QLineEdit(pageNum), "PageNumEdit");
  d_->pageNumEdit->setGeometry(10, 40, 200, 22);
  d_->panel1 = Named(new QWidget(pageNum), "Panel1");
  d_->panel1->setGeometry(10, 66, 190, 20);
  Radio(d_->panel1, "PageBotBut", "居底", pnBottom, 0, 0)->setChecked(true);
  Radio(d_->panel1, "PageTopBut", "居顶", pnTop, 62, 0);
  Radio(d_->panel1, "PageNoneBut", "无", pnNone, 124, 0);
  d_->panel2 = Named(new QWidget(pageNum), "Panel2");
  d_->panel2->setGeometry(10, 88, 190, 20);
  Radio(d_->panel2, "PageLeftBut", "居左", taLeftJustify, 0, 0);
  Radio(d_->panel2, "PageCenterBut", "居中", taCenter, 62, 0);
  Radio(d_->panel2, "PageRightBut", "居右", taRightJustify, 124, 0)->setChecked(true);
  d_->pageNumFontBut = Button(pageNum, "PageNumFontBut", "(&F)字体...", 220, 39, 165);

  QPushButton* ok = Button(dialog, "OKBut", "确定", 410, 14, 82);
  ok->setDefault(true);
  QPushButton* cancel = Button(dialog, "CancelBut", "取消", 410, 44, 82);
  QPushButton* printerSetup = Button(dialog, "PrinterSetupBut", "(&S)打印设置...", 410, 84, 82);
  QPushButton* setDefault = Button(dialog, "SetDefaultBut", "(&D)缺省设置", 410, 114, 82);

  QObject::connect(ok, &QPushButton::clicked, dialog, [this] { OKButClick(); });
  QObject::connect(cancel, &QPushButton::clicked, dialog, [this] { CancelButClick(); });
  QObject::connect(printerSetup, &QPushButton::clicked, dialog, [this] { PrinterSetupButClick(); });
  QObject::connect(setDefault, &QPushButton::clicked, dialog, [this] { SetDefaultButClick(); });
  QObject::connect(d_->portBut, &QRadioButton::toggled, dialog, [this] { PortButClick(); });
  QObject::connect(landBut, &QRadioButton::toggled, dialog, [this] { PortButClick(); });
  QObject::connect(d_->header.font, &QPushButton::clicked, dialog, [this] { HdrFontButClick(); });
  QObject::connect(d_->footer.font, &QPushButton::clicked, dialog, [this] { FtrFontButClick(); });
  QObject::connect(d_->pageNumFontBut, &QPushButton::clicked, dialog, [this] { PageNumFontButClick(); });
  OnShow = [this] { FormShow(); };
  FormCreate();
}

// The controls go with the dialog after this; nothing may fill them then.
TPageSetupForm::~TPageSetupForm() { OnShow = nullptr; }

void TPageSetupForm::FormCreate() {
  TfrmDVBase::FormCreate();
  PortButClick();
}

TDVSettingsFile& TPageSetupForm::Ini() {
  if (!ini_) ini_ = std::make_unique<TDVSettingsFile>(kIniName);
  return *ini_;
}

int TPageSetupForm::Execute() {
  ini_ = std::make_unique<TDVSettingsFile>(kIniName);
  return ShowModal();
}

void TPageSetupForm::FormShow() {
  TDVSettingsFile& ini = Ini();
  d_->leftEdit->setText(Q(ini.ReadString("Margin", "MarginLeft", "20")));
  d_->rightEdit->setText(Q(ini.ReadString("Margin", "MarginRight", "20")));
  d_->topEdit->setText(Q(ini.ReadString("Margin", "MarginTop", "20")));
  d_->botEdit->setText(Q(ini.ReadString("Margin", "MarginBot", "20")));
  PortButClick();
  EnumToChkBox(TextOptions.PrintPageNumber, d_->panel1);
  EnumToChkBox(TextOptions.PageNumAlign, d_->panel2);
  d_->pageNumEdit->setText(Q(TextOptions.PageNumText));
  PageNumFontDialog = TextOptions.PageNumFont;
  d_->pageNumFontBut->setText(Q(FontButtonCaption(PageNumFontDialog)));

  auto showBand = [&](TBandControls& band, const std::string& section, const char* defMargin, TFont& font) {
    band.text->setText(Q(ini.ReadString(section, section + "Text", "")));
    band.margin->setText(Q(ini.ReadString(section, section + "Margin", defMargin)));
    const bool left = ini.ReadBool(section, section + "LeftAlign", false);
    const bool center = ini.ReadBool(section, section + "CenterAlign", true);
    const bool right = ini.ReadBool(section, section + "RightAlign", false);
    // Exactly one flag names the alignment; none or several mean centred.
    QRadioButton* checked = band.center;
    if (left + center + right == 1 && !center) checked = left ? band.left : band.right;
    checked->setChecked(true);
    GetFont(font, section, section + "Font");
  };
  showBand(d_->header, "Header", "0.5", HeaderFontDialog);
  showBand(d_->footer, "Footer", "0.75", FooterFontDialog);
}

void TPageSetupForm::GetFont(TFont& font, const std::string& section, const std::string& name) {
  TDVSettingsFile& ini = Ini();
  const std::string family(FontFamily(frChineseBody));
  std::string face = ini.ReadString(section, name, family);
  // A family name never holds a comma; an empty one names nothing.
  if (face.empty() || face.find(',') != std::string::npos) face = family;
  font.Name = face;
  const int32_t size = ini.ReadInteger(section, name + "Size", 8);
  font.SetSize(size >= kMinFontSize && size <= kMaxFontSize ? size : 8);
  const TColor color = ini.ReadInteger(section, name + "Color", 0);
  const bool known = (color >= 0 && color <= 0xFFFFFF) || (IsSystemColor(color) && (color & 0x7FFFFF00) == 0);
  font.Color = known ? color : clBlack;
  if (const auto styles = FontStylesFromText(ini.ReadString(section, name + "Style", ""))) font.Style = *styles;
}

void TPageSetupForm::SetFont(const TFont& font, const std::string& section, const std::string& name) {
  TDVSettingsFile& ini = Ini();
  ini.WriteString(section, name, font.Name);
  ini.WriteInteger(section, name + "Size", font.GetSize());
  ini.WriteInteger(section, name + "Color", font.Color);
  ini.WriteString(section, name + "Style", FontStyleText(font.Style));
}

bool TPageSetupForm::Form_To_Data() {
  // Every number is read before anything is assigned.
  const std::pair<QLineEdit*, double*> numbers[] = {
      {d_->leftEdit, &TextOptions.MarginLeft},      {d_->topEdit, &TextOptions.MarginTop},
      {d_->rightEdit, &TextOptions.MarginRight},    {d_->botEdit, &TextOptions.MarginBottom},
      {d_->header.margin, &TextOptions.HeaderMargin}, {d_->footer.margin, &TextOptions.FooterMargin},
  };
  double values[std::size(numbers)];
  for (size_t i = 0; i < std::size(numbers); ++i) {
    const std::optional<double> value = ParseDecimal(numbers[i].first->text());
    if (!value) {
      QLineEdit* edit = numbers[i].first;
      CommonDialogs().MessageBox({"\"" + edit->text().toStdString() + "\" 不是有效的数字", "页面设置", MB_OK,
                                  MB_ICONERROR});
      edit->setFocus();
      edit->selectAll();
      return false;
    }
    values[i] = *value;
  }
  for (size_t i = 0; i < std::size(numbers); ++i) *numbers[i].second = values[i];
  TextOptions.PrintPageNumber = static_cast<TPrintPageNumber>(ChkBoxToEnum(d_->panel1, pnBottom));
  TextOptions.PageNumAlign = static_cast<TAlignment>(ChkBoxToEnum(d_->panel2, taCenter));
  TextOptions.PageNumText = d_->pageNumEdit->text().toStdString();
  TextOptions.PageNumFont = PageNumFontDialog;
  TextOptions.Header = d_->header.text->text().toStdString();
  TextOptions.HeaderAlign = static_cast<TAlignment>(ChkBoxToEnum(d_->header.group, taCenter));
  TextOptions.HeaderFont = HeaderFontDialog;
  TextOptions.Footer = d_->footer.text->text().toStdString();
  TextOptions.FooterAlign = static_cast<TAlignment>(ChkBoxToEnum(d_->footer.group, taCenter));
  TextOptions.FooterFont = FooterFontDialog;
  return true;
}

void TPageSetupForm::OKButClick() {
  if (Form_To_Data()) Close(mrOk);
}

void TPageSetupForm::CancelButClick() { Close(mrCancel); }

void TPageSetupForm::SetDefaultButClick() {
  if (CommonDialogs().MessageBox({"确定要保存这些值为默认值吗?", "提示", MB_YESNO, MB_ICONQUESTION}) == IDYES)
    SaveDefault();
}

void TPageSetupForm::SaveDefault() {
  TDVSettingsFile& ini = Ini();
  auto text = [](const QLineEdit* edit) { return edit->text().toStdString(); };
  ini.WriteString("Margin", "MarginTop", text(d_->topEdit));
  ini.WriteString("Margin", "MarginBot", text(d_->botEdit));
  ini.WriteString("Margin", "MarginLeft", text(d_->leftEdit));
  ini.WriteString("Margin", "MarginRight", text(d_->rightEdit));
  auto saveBand = [&](const TBandControls& band, const std::string& section, const TFont& font) {
    ini.WriteString(section, section + "Text", text(band.text));
    ini.WriteString(section, section + "Margin", text(band.margin));
    ini.WriteBool(section, section + "LeftAlign", band.left->isChecked());
    ini.WriteBool(section, section + "CenterAlign", band.center->isChecked());
    ini.WriteBool(section, section + "RightAlign", band.right->isChecked());
    SetFont(font, section, section + "Font");
  };
  saveBand(d_->header, "Header", HeaderFontDialog);
  saveBand(d_->footer, "Footer", FooterFontDialog);
}

void TPageSetupForm::PrinterSetupButClick() {
  if (CommonDialogs().PrinterNames().empty()) {
    CommonDialogs().MessageBox({"请先安装打印机!", "页面设置", MB_OK, MB_ICONINFORMATION});
    return;
  }
  TPageSetupQuestion question;
  question.Landscape = !d_->portBut->isChecked();
  CommonDialogs().PageSetup(question);
}

void TPageSetupForm::PortButClick() {
  const bool portrait = d_->portBut->isChecked();
  d_->portShape->setVisible(portrait);
  d_->landShape->setVisible(!portrait);
}

void TPageSetupForm::DoFontDlg(QPushButton* button, TFont& font) {
  if (CommonDialogs().ChooseFont(font)) button->setText(Q(FontButtonCaption(font)));
}

void TPageSetupForm::HdrFontButClick() { DoFontDlg(d_->header.font, HeaderFontDialog); }
void TPageSetupForm::FtrFontButClick() { DoFontDlg(d_->footer.font, FooterFontDialog); }
void TPageSetupForm::PageNumFontButClick() { DoFontDlg(d_->pageNumFontBut, PageNumFontDialog); }

}  // namespace quillet
