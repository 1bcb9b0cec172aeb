#include "platform/ui/common_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

#include "platform/gfx/qt_color.h"

namespace quillet {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

bool RunFileDialog(TFileQuestion& question, QFileDialog::AcceptMode mode, QFileDialog::FileMode fileMode) {
  QFileDialog dialog(QApplication::activeWindow(), Q(question.Title), Q(question.InitialDir));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(fileMode);
  if (!question.DefaultExt.empty()) dialog.setDefaultSuffix(Q(question.DefaultExt));
  const QStringList filters = QtNameFilters(question.Filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    if (question.FilterIndex >= 1 && question.FilterIndex <= filters.size())
      dialog.selectNameFilter(filters[question.FilterIndex - 1]);
  }
  if (!question.FileName.empty()) dialog.selectFile(Q(question.FileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  question.FileName = dialog.selectedFiles().first().toStdString();
  const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
  if (index >= 0) question.FilterIndex = static_cast<int>(index) + 1;
  return true;
}

class TQtCommonDialogs final : public TCommonDialogs {
 public:
  bool OpenFile(TFileQuestion& question) override {
    return RunFileDialog(question, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
  }
  bool SaveFile(TFileQuestion& question) override {
    return RunFileDialog(question, QFileDialog::AcceptSave, QFileDialog::AnyFile);
  }
  bool OpenPicture(TFileQuestion& question) override {
    if (question.Filter.empty()) {
      std::string patterns;
      for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns += (patterns.empty() ? "*." : ";*.") + format.toStdString();
      question.Filter = "Pictures|" + patterns;
    }
    return OpenFile(question);
  }
  bool ChooseColor(TColor& color) override {
    const TColor start = color == clNone || color == clDefault ? clBlack : color;
    QColorDialog dialog(ToQColor(start), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return false;
    color = FromQColor(dialog.selectedColor());
    return true;
  }
  bool ChooseFont(TFont& font) override {
    QFont start(Q(font.Name));
    start.setPointSize(std::max(font.GetSize(), 1));
    start.setBold(font.Style & fsBold);
    start.setItalic(font.Style & fsItalic);
    start.setUnderline(font.Style & fsUnderline);
    start.setStrikeOut(font.Style & fsStrikeOut);
    // A document's face name the machine knows only as an alias ("宋体")
    // is not in the dialog's list, which would then show another face and
    // none of its styles: it shows the face the name stands for here, and
    // the name stays unless another face is chosen.
    const QString shownFamily =
        QFontDatabase::families().contains(start.family()) ? start.family() : QFontInfo(start).family();
    start.setFamily(shownFamily);
    QFontDialog dialog(start, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return false;
    const QFont chosen = dialog.selectedFont();
    if (chosen.family() != shownFamily) font.Name = chosen.family().toStdString();
    if (chosen.pointSize() > 0) font.SetSize(chosen.pointSize());
    // The dialog offers only the faces a family has: bold or italic that the
    // chosen family lacks (drawn synthetically) could not be shown or chosen,
    // so it stays as it was rather than being dropped by OK.
    bool hasBold = false, hasItalic = false;
    for (const QString& style : QFontDatabase::styles(chosen.family())) {
      hasBold = hasBold || QFontDatabase::weight(chosen.family(), style) >= QFont::Bold;
      hasItalic = hasItalic || QFontDatabase::italic(chosen.family(), style);
    }
    const bool bold = hasBold ? chosen.bold() : (font.Style & fsBold) != 0;
    const bool italic = hasItalic ? chosen.italic() : (font.Style & fsItalic) != 0;
    font.Style = static_cast<TFontStyles>((bold ? fsBold : 0) | (italic ? fsItalic : 0) |
                                          (chosen.underline() ? fsUnderline : 0) |
                                          (chosen.strikeOut() ? fsStrikeOut : 0));
    return true;
  }
  bool Print(TPrintQuestion& question) override {
    QPrinter printer;
    printer.setFromTo(question.FromPage, question.ToPage);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setMinMax(question.MinPage, question.MaxPage);
    if (dialog.exec() != QDialog::Accepted) return false;
    const bool range = printer.printRange() == QPrinter::PageRange;
    question.FromPage = range ? printer.fromPage() : 0;
    question.ToPage = range ? printer.toPage() : 0;
    question.Copies = std::max(printer.copyCount(), 1);
    question.Collate = printer.collateCopies();
    return true;
  }
  bool PageSetup(TPageSetupQuestion& question) override {
    QPrinter printer;
    printer.setPageOrientation(question.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(question.LeftMarginMM, question.TopMarginMM, question.RightMarginMM,
                                     question.BottomMarginMM),
                           QPageLayout::Millimeter);
    QPageSetupDialog dialog(&printer, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return false;
    const QPageLayout layout = printer.pageLayout();
    const QMarginsF m = layout.margins(QPageLayout::Millimeter);
    question.LeftMarginMM = qRound(m.left());
    question.TopMarginMM = qRound(m.top());
    question.RightMarginMM = qRound(m.right());
    question.BottomMarginMM = qRound(m.bottom());
    question.Landscape = layout.orientation() == QPageLayout::Landscape;
    return true;
  }
  TMsgAnswer MessageBox(const TMessageQuestion& question) override {
    QMessageBox box(QApplication::activeWindow());
    box.setText(Q(question.Text));
    box.setWindowTitle(Q(question.Caption));
    switch (question.Icon) {
      case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
      case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
      case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
      case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
      case MB_NOICON: break;
    }
    switch (question.Buttons) {
      case MB_OK: box.setStandardButtons(QMessageBox::Ok); break;
      case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
      case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
      case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    switch (box.exec()) {
      case QMessageBox::Yes: return IDYES;
      case QMessageBox::No: return IDNO;
      case QMessageBox::Ok: return IDOK;
      default: return question.Buttons == MB_YESNO ? IDNO : IDCANCEL;
    }
  }
};

TCommonDialogs* current = nullptr;

}  // namespace

TAgedList::TAgedList(TQuery query, std::chrono::milliseconds maxAge, TClock clock)
    : query_(std::move(query)), maxAge_(maxAge), clock_(std::move(clock)) {}

const std::vector<std::string>& TAgedList::Get() {
  const std::chrono::steady_clock::time_point now = clock_();
  if (!known_ || now - asked_ >= maxAge_) {
    list_ = query_();
    asked_ = now;
    known_ = true;
  }
  return list_;
}

std::vector<std::string> TCommonDialogs::PrinterNames() const {
  // A printer installed meanwhile shows within two seconds.
  static TAgedList printers(
      [] {
        std::vector<std::string> names;
        for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
        return names;
      },
      std::chrono::seconds(2));
  std::vector<std::string> names = printers.Get();
  // Printing into a PDF file needs no printer installed.
  names.push_back("PDF");
  return names;
}

TCommonDialogs& CommonDialogs() {
  static TQtCommonDialogs qt;
  return current ? *current : qt;
}

TScopedCommonDialogs::TScopedCommonDialogs(TCommonDialogs& dialogs) : saved_(current) { current = &dialogs; }

TScopedCommonDialogs::~TScopedCommonDialogs() { current = saved_; }

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = Q(filter).split(u'|');
  QStringList result;
  static const QRegularExpression trailingList(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString text = parts[i];
    text.remove(trailingList);
    QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) pattern = pattern.trimmed();
    result << text + QStringLiteral(" (") + patterns.join(u' ') + u')';
  }
  return result;
}

TMsgAnswer TScriptedCommonDialogs::MessageBox(const TMessageQuestion& question) {
  Asked.push_back({dkMessage, question});
  const TAnswer answer = Next();
  if (!answer.Ok) return question.Buttons == MB_YESNO ? IDNO : IDCANCEL;
  return answer.Message;
}

TScriptedCommonDialogs::TAnswer TScriptedCommonDialogs::Next() {
  if (Answers.empty()) return {false, {}, IDCANCEL};
  TAnswer answer = Answers.front();
  Answers.pop_front();
  return answer;
}

TColorDialog::TColorDialog() : lifetime_(std::make_shared<int>(0)) {}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute() { return CommonDialogs().ChooseColor(Color); }

}  // namespace quillet
