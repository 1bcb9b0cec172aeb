#include "engine/model/rtf_read_properties.h"

#include "engine/base/doc_view_error.h"

namespace quillet {

namespace {

TDVRTFReaderPropertiesFactory& Factory() {
  static TDVRTFReaderPropertiesFactory factory;
  return factory;
}

}  // namespace

void TDVRTFReaderProperties::Assign(const TDVRTFReaderProperties& source) {
  UnicodeMode = source.UnicodeMode;
  TextStyleMode = source.TextStyleMode;
  ParaStyleMode = source.ParaStyleMode;
  IgnorePictures = source.IgnorePictures;
  paraStyleNo_ = source.paraStyleNo_;
  textStyleNo_ = source.textStyleNo_;
  UseHypertextStyles = source.UseHypertextStyles;
}

void TDVRTFReaderProperties::SetTextStyleNo(int32_t value) {
  if (value < 0) throw EDocViewError("Value must not be negative");
  textStyleNo_ = value;
}

void TDVRTFReaderProperties::SetParaStyleNo(int32_t value) {
  if (value < 0) throw EDocViewError("Value must not be negative");
  paraStyleNo_ = value;
}

void SetRTFReaderPropertiesFactory(TDVRTFReaderPropertiesFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<TDVRTFReaderProperties> CreateRTFReaderProperties() {
  return Factory() ? Factory()() : nullptr;
}

}  // namespace quillet
