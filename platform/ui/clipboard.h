#pragma once
// The clipboard with the platform's formats. Text is 8-bit in the system
// code page (CF_TEXT) or UTF-16LE code units (CF_UNICODETEXT), both the
// clipboard's plain text; CF_BITMAP is a picture; named formats registered
// with RegisterClipboardFormat carry bytes under a MIME type: "DocView
// Format" is the project's own, "Rich Text Format" is text/rtf, any other
// name the type Qt gives a named format.
//
// Data set while the clipboard is open is published together when the last
// Close comes; the first set of an Open..Close replaces what was there. Data
// read back comes from other programs too: readers of it must treat it as
// outside data.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QMimeData;

namespace quillet {

class TBitmap;

using TClipboardFormat = uint32_t;
constexpr TClipboardFormat CF_TEXT = 1, CF_BITMAP = 2, CF_UNICODETEXT = 13;

// The same name gives the same number for the life of the process; registered
// numbers start at 0xC000. An empty name gives 0.
TClipboardFormat RegisterClipboardFormat(std::string_view name);

class TClipboard {
 public:
  TClipboard();
  ~TClipboard();
  TClipboard(const TClipboard&) = delete;
  TClipboard& operator=(const TClipboard&) = delete;

  // Opening nests; the data is published when the outermost Close comes.
  void Open();
  void Close();
  // Removes everything.
  void Clear();

  bool HasFormat(TClipboardFormat format) const;
  // Sets the data of one format (text without its terminating zero; a zero
  // ends it). Unknown format numbers are ignored.
  void SetAsHandle(TClipboardFormat format, std::string_view data);
  // The data of a format; nothing when it is not there or is larger than
  // kMaxData.
  std::optional<std::string> GetAsHandle(TClipboardFormat format) const;
  void SetBitmap(const TBitmap& bitmap);
  // False when no picture is there.
  bool GetBitmap(TBitmap& bitmap) const;

  static constexpr size_t kMaxData = 256u << 20;

 private:
  const QMimeData* Current() const;
  QMimeData& Adding();

  std::unique_ptr<QMimeData> pending_;  // what was set since Open
  int openCount_ = 0;
};

// The process's clipboard.
TClipboard& Clipboard();

}  // namespace quillet
