#pragma once
// The host program's window: the viewer showing one document, from the
// embedded default store's record or from a DVF file.
#include <memory>
#include <string>

#include <QMainWindow>

namespace quillet {

class TDbDm;
class TDocView;
class TDVStyle;

class TMainWindow : public QMainWindow {
 public:
  TMainWindow();
  ~TMainWindow() override;

  // Shows the default record, made with the demo document on a first run.
  // False, with the reason in `error`, when it cannot be read.
  bool OpenDefaultStore(std::string& error);
  // Shows a DVF file. False, with the reason in `error`, when it is not one.
  bool OpenFile(const std::string& fileName, std::string& error);

  TDocView& View() { return *view_; }

 private:
  void Shown(const std::string& title);

  std::unique_ptr<TDVStyle> style_;
  std::unique_ptr<TDocView> view_;
  std::unique_ptr<TDbDm> db_;
};

}  // namespace quillet
