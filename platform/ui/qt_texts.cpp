#include "platform/ui/qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quillet {

TChineseQtTexts::TChineseQtTexts() : translator_(std::make_unique<QTranslator>()) {
  installed_ = translator_->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
               QCoreApplication::installTranslator(translator_.get());
}

TChineseQtTexts::~TChineseQtTexts() {
  if (installed_) QCoreApplication::removeTranslator(translator_.get());
}

}  // namespace quillet
