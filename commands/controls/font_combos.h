#pragma once
// The font dialog's lists: installed font names, the point sizes of the
// chosen font and the scripts (character sets) it supports. The size and
// script lists are built again whenever their font name changes.
#include <QComboBox>
#include <functional>
#include <string>

#include "commands/controls/font_provider.h"

namespace quillet {

class TDVFontComboBox : public QComboBox {
 public:
  explicit TDVFontComboBox(QWidget* parent = nullptr, TFontProvider& provider = SystemFontProvider());
  // The installed names again.
  void Build();

 private:
  TFontProvider& provider_;
};

class TDVFontSizeComboBox : public QComboBox {
 public:
  explicit TDVFontSizeComboBox(QWidget* parent = nullptr, TFontProvider& provider = SystemFontProvider());

  std::string FontName() const { return fontName_; }
  void SetFontName(const std::string& value);
  // Pixels per inch at the last build.
  int PixelsPerInch() const { return pixelsPerInch_; }
  // After the user chose or typed a size, and once after each build.
  std::function<void(TDVFontSizeComboBox&)> OnChange;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  TFontProvider& provider_;
  std::string fontName_;
  int pixelsPerInch_ = 96;
  bool building_ = false;
};

class TDVFontCharsetComboBox : public QComboBox {
 public:
  explicit TDVFontCharsetComboBox(QWidget* parent = nullptr, TFontProvider& provider = SystemFontProvider());

  std::string FontName() const { return fontName_; }
  void SetFontName(const std::string& value);
  bool AddDefaultCharset() const { return addDefaultCharset_; }
  void SetAddDefaultCharset(bool value);
  std::string DefaultCharsetCaption = "(Default)";
  // The character set of an item; -1 out of range.
  int GetCharsets(int index) const;
  // -1 when no item has it.
  int IndexOfCharset(int charset) const;
  // After the user chose a script, and once after each build.
  std::function<void(TDVFontCharsetComboBox&)> OnChange;

 private:
  void Build();
  TFontProvider& provider_;
  std::string fontName_;
  bool addDefaultCharset_ = false;
  bool building_ = false;
};

}  // namespace quillet
