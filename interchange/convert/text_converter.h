#pragma once
// Word-processor files the editor cannot read itself, imported and exported
// through the text converters found on the machine: the component lists the
// converters for import and for export, builds file-dialog filters from
// them, and runs one over its memory stream of RTF, which the viewer's RTF
// loading reads or its RTF writer fills.
//
//   TDVTextConverter converter;            // the converters LibreOffice offers
//   converter.ImportDV("a.docx", view, 0); // raises on failure, EAbort on cancel
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "interchange/convert/converter_backend.h"
#include "platform/core/stream.h"

namespace quillet {

class TCustomDocView;
class TDVTextConverter;

using TDVConvertingEvent = std::function<void(TDVTextConverter& sender, int percent)>;

struct TDVTextConverterInfo {
  std::string Name;    // display name
  std::string Path;    // the converting program
  std::string Filter;  // file patterns, "*.doc;*.dot"
  std::string Format;  // the backend's name of the format
};

// "doc dot" gives "*.doc;*.dot".
std::string DecodeExt(const std::string& extensions);

// The converters of one direction, loaded from the backend when made. It runs
// the conversions over the stream and with the event its owner hands it.
class TDVTextConverterList {
 public:
  static constexpr int64_t kBlockSize = 4096;

  TDVTextConverterList(TDVTextConverter& owner, TDVConverterKind kind);

  int Count() const { return static_cast<int>(items_.size()); }
  const TDVTextConverterInfo& operator[](int index) const { return items_[static_cast<size_t>(index)]; }
  // "Name|Filter" of each converter, joined by "|".
  std::string GetFilter() const;

  // The file through converter `index` into the stream (cleared first).
  bool ImportRTF(const std::string& fileName, int index);
  // The stream from its position through converter `index` into the file;
  // nothing happens when no bytes are left.
  bool ExportRTF(const std::string& fileName, int index);

  // Handed over by the owner before each conversion.
  TMemoryStream* Stream = nullptr;
  TDVConvertingEvent OnConverting;

 private:
  const TDVTextConverterInfo& Converter(int index) const;
  void ForeignToRtfCallback(const uint8_t* data, int64_t count, int percent);
  std::span<const uint8_t> RtfToForeignCallback();

  TDVTextConverter& owner_;
  std::vector<TDVTextConverterInfo> items_;
  std::vector<uint8_t> buffer_;
  int64_t start_ = 0;  // where the export began in the stream
  int64_t count_ = 0;  // the bytes to export
};

class TDVTextConverter {
 public:
  // Over the LibreOffice backend.
  TDVTextConverter();
  explicit TDVTextConverter(std::unique_ptr<TDVConverterBackend> backend);
  ~TDVTextConverter();
  TDVTextConverter(const TDVTextConverter&) = delete;
  TDVTextConverter& operator=(const TDVTextConverter&) = delete;

  // Loaded on first access.
  TDVTextConverterList& ImportConverters();
  TDVTextConverterList& ExportConverters();
  std::string GetImportFilter() { return ImportConverters().GetFilter(); }
  std::string GetExportFilter() { return ExportConverters().GetFilter(); }

  // Each answers true or raises: ETextConverterError (or a stream error) with
  // a message when the conversion failed, EAbort when an OnConverting handler
  // cancelled it.
  bool ImportRTF(const std::string& fileName, int index);
  bool ExportRTF(const std::string& fileName, int index);
  // Imports into Stream and loads it with the viewer's RTF loading (false
  // when that refused); Stream is cleared afterwards.
  bool ImportDV(const std::string& fileName, TCustomDocView& docView, int index);
  // Saves the document as RTF into Stream and exports that (false when the
  // RTF writer failed); Stream is cleared afterwards.
  bool ExportDV(const std::string& fileName, TCustomDocView& docView, int index);

  TDVConverterBackend& Backend() { return *backend_; }

  TMemoryStream Stream;
  TDVConvertingEvent OnConverting;

 private:
  // One conversion at a time: the lists share Stream and the event.
  bool Convert(TDVTextConverterList& list, TDVConverterKind kind, const std::string& fileName, int index);

  std::unique_ptr<TDVConverterBackend> backend_;
  std::unique_ptr<TDVTextConverterList> importConverters_;
  std::unique_ptr<TDVTextConverterList> exportConverters_;
  bool converting_ = false;
};

}  // namespace quillet
