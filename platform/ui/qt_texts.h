#pragma once
// Qt's own texts in Chinese: the standard buttons of message boxes (是, 否,
// 取消), and the file, font, colour and print dialogs the common dialogs
// show. The editor's own captions are Chinese already; without this, every
// question it asks would offer English buttons.
#include <memory>

class QTranslator;

namespace quillet {

// For its life the application translates Qt's texts into Chinese, when the
// machine has Qt's translations (Debian's qt6-translations-l10n).
class TChineseQtTexts {
 public:
  TChineseQtTexts();
  ~TChineseQtTexts();
  TChineseQtTexts(const TChineseQtTexts&) = delete;
  TChineseQtTexts& operator=(const TChineseQtTexts&) = delete;

  // Whether the translations were found and installed.
  bool Installed() const { return installed_; }

 private:
  std::unique_ptr<QTranslator> translator_;
  bool installed_ = false;
};

}  // namespace quillet
