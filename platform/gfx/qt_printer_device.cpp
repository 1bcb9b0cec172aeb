#include "platform/gfx/qt_printer_device.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/gfx/qt_canvas.h"

namespace quillet {

namespace {

constexpr int kPdfResolution = 600;
constexpr qsizetype kMaxFileNameChars = 100;

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

int32_t Round(double v) { return static_cast<int32_t>(std::lround(v)); }

std::string CannotCreate(const std::string& fileName) { return "Cannot create file \"" + fileName + "\""; }

}  // namespace

std::string SafeFileName(const std::string& title) {
  QString name = Q(title);
  for (QChar& c : name) {
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7F || QStringView(u"/\\:*?\"<>|").contains(c)) c = u'_';
  }
  qsizetype start = 0, end = name.size();
  auto trimmed = [](QChar c) { return c == u'.' || c.isSpace(); };
  while (start < end && trimmed(name[start])) ++start;
  while (end > start && trimmed(name[end - 1])) --end;
  name = name.mid(start, end - start);
  if (name.size() > kMaxFileNameChars) {
    qsizetype cut = kMaxFileNameChars;
    if (name[cut - 1].isHighSurrogate()) --cut;  // never half a character
    name.truncate(cut);
  }
  if (name.isEmpty()) return "document";
  return name.toUtf8().toStdString();
}

TQtPrinterDevice::TQtPrinterDevice() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  hasPrinter_ = !QPrinterInfo::defaultPrinter().isNull();
  UseFile(!hasPrinter_);
}

TQtPrinterDevice::~TQtPrinterDevice() { Abort(); }

void TQtPrinterDevice::UseFile(bool toFile) {
  if (toFile) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setResolution(kPdfResolution);
    printer_->setPageSize(QPageSize(QPageSize::A4));  // not the locale's, which may be Letter
  } else {
    printer_->setOutputFormat(QPrinter::NativeFormat);
  }
  // The printable area as large as the device allows: a PDF page has no
  // unprintable border; a printer keeps its own.
  QPageLayout layout = printer_->pageLayout();
  layout.setMargins(layout.minimumMargins());
  printer_->setPageLayout(layout);
  printer_->setFullPage(false);
  canvas_.reset();
}

void TQtPrinterDevice::SetOutputFileName(const std::string& fileName) {
  if (Printing()) throw EPrinterError("Printing in progress");
  const bool wasFile = PrintsToFile();
  outputFileName_ = fileName;
  if (PrintsToFile() != wasFile) UseFile(PrintsToFile());
}

bool TQtPrinterDevice::PrintsToFile() const { return !outputFileName_.empty() || !hasPrinter_; }

std::string TQtPrinterDevice::TargetFileName(const std::string& title) const {
  if (!outputFileName_.empty()) return outputFileName_;
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  return QDir(folder).filePath(Q(SafeFileName(title) + ".pdf")).toUtf8().toStdString();
}

int32_t TQtPrinterDevice::PixelsPerInchX() const { return printer_->logicalDpiX(); }
int32_t TQtPrinterDevice::PixelsPerInchY() const { return printer_->logicalDpiY(); }
int32_t TQtPrinterDevice::PageWidth() const { return Round(printer_->pageRect(QPrinter::DevicePixel).width()); }
int32_t TQtPrinterDevice::PageHeight() const { return Round(printer_->pageRect(QPrinter::DevicePixel).height()); }
int32_t TQtPrinterDevice::PhysicalWidth() const { return Round(printer_->paperRect(QPrinter::DevicePixel).width()); }
int32_t TQtPrinterDevice::PhysicalHeight() const { return Round(printer_->paperRect(QPrinter::DevicePixel).height()); }
int32_t TQtPrinterDevice::PhysicalOffsetX() const {
  return Round(printer_->pageRect(QPrinter::DevicePixel).left() - printer_->paperRect(QPrinter::DevicePixel).left());
}
int32_t TQtPrinterDevice::PhysicalOffsetY() const {
  return Round(printer_->pageRect(QPrinter::DevicePixel).top() - printer_->paperRect(QPrinter::DevicePixel).top());
}
bool TQtPrinterDevice::CanCopy() const { return printer_->supportsMultipleCopies(); }

TCanvas& TQtPrinterDevice::Canvas() {
  // A canvas keeps the resolution it was made with; settings changed through
  // Printer() may have changed the device's.
  if (!canvas_ || (!Printing() && (canvas_->PixelsPerInchX() != printer_->logicalDpiX() ||
                                   canvas_->PixelsPerInchY() != printer_->logicalDpiY()))) {
    canvas_ = std::make_unique<TQtCanvas>(*printer_);
    canvas_->SetDrawingEnabled(false);
  }
  return *canvas_;
}

void TQtPrinterDevice::DoBeginDoc() {
  printer_->setDocName(Q(Title()));
  printer_->setCopyCount(Copies());
  printer_->setCollateCopies(Collate());
  if (PrintsToFile()) {
    target_ = TargetFileName(Title());
    QTemporaryFile partial(Q(target_) + QStringLiteral(".XXXXXX.part"));
    partial.setAutoRemove(false);
    if (!partial.open()) throw EPrinterError(CannotCreate(target_));
    partial_ = partial.fileName().toUtf8().toStdString();
    partial.close();
    printer_->setOutputFileName(partial.fileName());
  }
  Canvas();
  canvas_->SetDrawingEnabled(true);
  if (!canvas_->Painter().isActive()) {
    canvas_->SetDrawingEnabled(false);
    const bool toFile = PrintsToFile();
    RemovePartial();
    throw EPrinterError(toFile ? CannotCreate(target_) : "Printer selected is not valid");
  }
}

void TQtPrinterDevice::DoNewPage() {
  if (!printer_->newPage()) throw EPrinterError("Cannot start a new page on the printer");
}

void TQtPrinterDevice::DoEndDoc() {
  canvas_->EndPaint();
  canvas_->SetDrawingEnabled(false);
  if (partial_.empty()) {
    if (printer_->printerState() == QPrinter::Error) throw EPrinterError("Printer selected is not valid");
    return;
  }
  std::error_code ec;
  if (printer_->printerState() != QPrinter::Error) std::filesystem::rename(partial_, target_, ec);
  if (printer_->printerState() == QPrinter::Error || ec) {
    RemovePartial();
    throw EPrinterError(CannotCreate(target_));
  }
  partial_.clear();
}

void TQtPrinterDevice::DoAbort() noexcept {
  printer_->abort();  // a printer cancels the job; a PDF file is removed below
  canvas_->EndPaint();
  canvas_->SetDrawingEnabled(false);
  RemovePartial();
}

void TQtPrinterDevice::RemovePartial() noexcept {
  if (partial_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(partial_, ec);
  partial_.clear();
}

}  // namespace quillet
