#pragma once
// The system's common dialogs, over Qt's, behind one interface: every
// question the program asks through them goes through CommonDialogs(), so a
// test puts a scripted answerer in its place and drives the caller.
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/core/colors.h"
#include "platform/core/lifetime_ref.h"
#include "platform/gfx/canvas.h"

namespace quillet {

// Open, save and picture questions. Filter is "Text|pattern|Text|pattern",
// patterns joined by ";"; FilterIndex counts its pairs from 1. All text UTF-8.
struct TFileQuestion {
  std::string Title;
  std::string Filter;
  int FilterIndex = 1;
  std::string DefaultExt;  // without the dot
  std::string InitialDir;
  std::string FileName;    // proposed; the chosen one after OK
};

struct TPrintQuestion {
  int MinPage = 1, MaxPage = 1;
  // Asked with the range to preset (0: none); after OK the range chosen
  // (FromPage 0 = all pages), copies and collation.
  int FromPage = 0, ToPage = 0;
  int Copies = 1;
  bool Collate = false;
};

struct TPageSetupQuestion {
  // Millimetres.
  int LeftMarginMM = 20, TopMarginMM = 20, RightMarginMM = 20, BottomMarginMM = 20;
  bool Landscape = false;
};

// Message box buttons and icon, and the button that closed it.
enum TMsgButtons : uint8_t { MB_OK = 0, MB_OKCANCEL = 1, MB_YESNOCANCEL = 3, MB_YESNO = 4 };
enum TMsgIcon : uint8_t { MB_NOICON = 0, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30,
                          MB_ICONINFORMATION = 0x40 };
enum TMsgAnswer : uint8_t { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct TMessageQuestion {
  std::string Text, Caption;
  TMsgButtons Buttons = MB_OK;
  TMsgIcon Icon = MB_NOICON;
};

class TCommonDialogs {
 public:
  virtual ~TCommonDialogs() = default;
  // True with OK, the question then holding the answer; Cancel changes nothing.
  virtual bool OpenFile(TFileQuestion& question) = 0;
  virtual bool SaveFile(TFileQuestion& question) = 0;
  virtual bool OpenPicture(TFileQuestion& question) = 0;
  virtual bool ChooseColor(TColor& color) = 0;
  virtual bool ChooseFont(TFont& font) = 0;
  virtual bool Print(TPrintQuestion& question) = 0;
  virtual bool PageSetup(TPageSetupQuestion& question) = 0;
  virtual TMsgAnswer MessageBox(const TMessageQuestion& question) = 0;
  // The printers' names (UTF-8): the system's installed printers, then the
  // PDF file printer, which every machine has. Replaced in tests.
  virtual std::vector<std::string> PrinterNames() const;
};

// A list that is dear to ask for, asked again only when the answer in hand
// is older than maxAge. The installed printers are one: the print system
// answers over a socket, and the print commands ask at every caret move.
class TAgedList {
 public:
  using TQuery = std::function<std::vector<std::string>()>;
  using TClock = std::function<std::chrono::steady_clock::time_point()>;
  TAgedList(TQuery query, std::chrono::milliseconds maxAge,
            TClock clock = [] { return std::chrono::steady_clock::now(); });
  const std::vector<std::string>& Get();

 private:
  TQuery query_;
  std::chrono::milliseconds maxAge_;
  TClock clock_;
  std::vector<std::string> list_;
  std::chrono::steady_clock::time_point asked_;
  bool known_ = false;
};

// The dialogs in use: Qt's unless replaced.
TCommonDialogs& CommonDialogs();
// Puts dialogs in place for the scope, and the previous ones back after it.
class TScopedCommonDialogs {
 public:
  explicit TScopedCommonDialogs(TCommonDialogs& dialogs);
  ~TScopedCommonDialogs();
  TScopedCommonDialogs(const TScopedCommonDialogs&) = delete;
  TScopedCommonDialogs& operator=(const TScopedCommonDialogs&) = delete;

 private:
  TCommonDialogs* saved_;
};

// "Text|pattern" pairs in Qt's "Text (pattern pattern)" form, one per pair;
// a pattern list already in the text is not repeated. A dangling text
// without its pattern is left out.
QStringList QtNameFilters(const std::string& filter);

// Answers each question with the next queued answer (Cancel when none is
// left) and records every question asked, in order.
class TScriptedCommonDialogs : public TCommonDialogs {
 public:
  using TQuestion = std::variant<TFileQuestion, TColor, TFont, TPrintQuestion, TPageSetupQuestion, TMessageQuestion>;
  enum TKind : uint8_t { dkOpen, dkSave, dkPicture, dkColor, dkFont, dkPrint, dkPageSetup, dkMessage };
  struct TAsked {
    TKind Kind;
    TQuestion Question;  // as it was asked
  };
  // An answer: Ok false is Cancel; Value replaces the question's value
  // (unset keeps it); Message is the button of a message box.
  struct TAnswer {
    bool Ok = true;
    std::variant<std::monostate, TFileQuestion, TColor, TFont, TPrintQuestion, TPageSetupQuestion> Value;
    TMsgAnswer Message = IDOK;
  };

  std::deque<TAnswer> Answers;
  std::vector<TAsked> Asked;

  bool OpenFile(TFileQuestion& question) override { return Answer(dkOpen, question); }
  bool SaveFile(TFileQuestion& question) override { return Answer(dkSave, question); }
  bool OpenPicture(TFileQuestion& question) override { return Answer(dkPicture, question); }
  bool ChooseColor(TColor& color) override { return Answer(dkColor, color); }
  bool ChooseFont(TFont& font) override { return Answer(dkFont, font); }
  bool Print(TPrintQuestion& question) override { return Answer(dkPrint, question); }
  bool PageSetup(TPageSetupQuestion& question) override { return Answer(dkPageSetup, question); }
  TMsgAnswer MessageBox(const TMessageQuestion& question) override;
  // The printers the scripted machine has: none unless a test installs some.
  std::vector<std::string> Printers;
  std::vector<std::string> PrinterNames() const override { return Printers; }

 private:
  TAnswer Next();
  template <class T>
  bool Answer(TKind kind, T& question) {
    Asked.push_back({kind, question});
    const TAnswer answer = Next();
    if (!answer.Ok) return false;
    if (const T* value = std::get_if<T>(&answer.Value)) question = *value;
    return true;
  }
};

class TColorDialog {
 public:
  TColorDialog();
  virtual ~TColorDialog();
  TColorDialog(const TColorDialog&) = delete;
  TColorDialog& operator=(const TColorDialog&) = delete;

  // Shown when the dialog opens; the choice after OK.
  TColor Color = clBlack;

  // True with OK (Color then holds the choice); Cancel leaves Color alone.
  virtual bool Execute();

  // Expires when the dialog goes, for those that only refer to it.
  std::weak_ptr<void> Lifetime() const { return lifetime_; }

 private:
  std::shared_ptr<void> lifetime_;
};

// A reference to a colour dialog that someone else owns; it reads as none
// once that dialog is gone.
using TColorDialogRef = TLifetimeRef<TColorDialog>;

}  // namespace quillet
