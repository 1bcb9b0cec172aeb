#include "interchange/convert/text_converter.h"

#include <algorithm>

#include "engine/view/docview.h"
#include "interchange/convert/libreoffice_backend.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {

// The RTF is of no use once a conversion is over, whichever way it ended.
class TClearStreamOnExit {
 public:
  explicit TClearStreamOnExit(TMemoryStream& stream) : stream_(stream) {}
  ~TClearStreamOnExit() { stream_.Clear(); }
  TClearStreamOnExit(const TClearStreamOnExit&) = delete;
  TClearStreamOnExit& operator=(const TClearStreamOnExit&) = delete;

 private:
  TMemoryStream& stream_;
};

}  // namespace

std::string DecodeExt(const std::string& extensions) {
  std::string filter;
  size_t pos = 0;
  while (pos < extensions.size()) {
    const size_t end = std::min(extensions.find(' ', pos), extensions.size());
    if (end > pos) {
      if (!filter.empty()) filter += ';';
      filter += "*." + extensions.substr(pos, end - pos);
    }
    pos = end + 1;
  }
  return filter;
}

// ---------------------------------------------------------------- TDVTextConverterList

TDVTextConverterList::TDVTextConverterList(TDVTextConverter& owner, TDVConverterKind kind) : owner_(owner) {
  for (TDVConverterRecord& record : owner.Backend().LoadList(kind)) {
    if (record.Name.empty() || record.Path.empty() || record.Extensions.empty()) continue;
    items_.push_back({std::move(record.Name), std::move(record.Path), DecodeExt(record.Extensions),
                      std::move(record.Format)});
  }
}

std::string TDVTextConverterList::GetFilter() const {
  std::string filter;
  for (const TDVTextConverterInfo& info : items_) {
    if (!filter.empty()) filter += '|';
    filter += info.Name + "|" + info.Filter;
  }
  return filter;
}

const TDVTextConverterInfo& TDVTextConverterList::Converter(int index) const {
  if (index < 0 || index >= Count())
    throw ETextConverterError(Count() == 0 ? "No text converter is installed"
                                           : "Text converter index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)];
}

bool TDVTextConverterList::ImportRTF(const std::string& fileName, int index) {
  Stream->Clear();
  owner_.Backend().ForeignToRtf(Converter(index), fileName, [this](const uint8_t* data, int64_t count, int percent) {
    ForeignToRtfCallback(data, count, percent);
  });
  return true;
}

void TDVTextConverterList::ForeignToRtfCallback(const uint8_t* data, int64_t count, int percent) {
  if (OnConverting) OnConverting(owner_, percent);
  if (count > 0) Stream->WriteBuffer(data, count);
}

bool TDVTextConverterList::ExportRTF(const std::string& fileName, int index) {
  start_ = Stream->GetPosition();
  count_ = Stream->GetSize() - start_;
  if (count_ <= 0) return true;
  const TDVTextConverterInfo& converter = Converter(index);
  buffer_.assign(static_cast<size_t>(std::min(kBlockSize, count_)), 0);
  if (OnConverting) OnConverting(owner_, 0);
  owner_.Backend().RtfToForeign(converter, fileName, [this] { return RtfToForeignCallback(); });
  return true;
}

std::span<const uint8_t> TDVTextConverterList::RtfToForeignCallback() {
  const int64_t n = std::max<int64_t>(0, std::min(static_cast<int64_t>(buffer_.size()), Stream->Remaining()));
  if (n > 0) Stream->ReadBuffer(buffer_.data(), n);
  if (OnConverting) OnConverting(owner_, static_cast<int>((Stream->GetPosition() - start_) * 100 / count_));
  return {buffer_.data(), static_cast<size_t>(n)};
}

// ---------------------------------------------------------------- TDVTextConverter

TDVTextConverter::TDVTextConverter() : TDVTextConverter(std::make_unique<TDVLibreOfficeBackend>()) {}

TDVTextConverter::TDVTextConverter(std::unique_ptr<TDVConverterBackend> backend) : backend_(std::move(backend)) {}

TDVTextConverter::~TDVTextConverter() = default;

TDVTextConverterList& TDVTextConverter::ImportConverters() {
  if (!importConverters_) importConverters_ = std::make_unique<TDVTextConverterList>(*this, dvckImport);
  return *importConverters_;
}

TDVTextConverterList& TDVTextConverter::ExportConverters() {
  if (!exportConverters_) exportConverters_ = std::make_unique<TDVTextConverterList>(*this, dvckExport);
  return *exportConverters_;
}

bool TDVTextConverter::Convert(TDVTextConverterList& list, TDVConverterKind kind, const std::string& fileName,
                               int index) {
  if (converting_) throw ETextConverterError("A text conversion is already running");
  TScopedValue<bool> busy(converting_, true);
  list.Stream = &Stream;
  list.OnConverting = OnConverting;
  return kind == dvckImport ? list.ImportRTF(fileName, index) : list.ExportRTF(fileName, index);
}

bool TDVTextConverter::ImportRTF(const std::string& fileName, int index) {
  return Convert(ImportConverters(), dvckImport, fileName, index);
}

bool TDVTextConverter::ExportRTF(const std::string& fileName, int index) {
  return Convert(ExportConverters(), dvckExport, fileName, index);
}

bool TDVTextConverter::ImportDV(const std::string& fileName, TCustomDocView& docView, int index) {
  TClearStreamOnExit clear(Stream);
  const bool imported = ImportRTF(fileName, index);
  Stream.SetPosition(0);
  return docView.LoadRTFFromStream(Stream) && imported;
}

bool TDVTextConverter::ExportDV(const std::string& fileName, TCustomDocView& docView, int index) {
  TClearStreamOnExit clear(Stream);
  Stream.Clear();
  if (!docView.SaveRTFToStream(Stream, false)) return false;
  Stream.SetPosition(0);
  return ExportRTF(fileName, index);
}

}  // namespace quillet
