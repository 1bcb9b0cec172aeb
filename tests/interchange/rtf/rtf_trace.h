#pragma once
// A listener for parser tests that writes every event as text:
// T"abc"@P (8-bit text at a new paragraph; C continues, L new line),
// U[20013]@C (UTF-16 units), <start> <end> <row> <cell>, <page>,
// <header+> <header->, P(type,bytes,graphic) for a picture.
#include <memory>
#include <string>

#include "interchange/rtf/rtf_reader.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"

namespace quillet::test {

inline char PositionLetter(TDVRTFPosition position) {
  return position == rtf_ts_NewPara ? 'P' : position == rtf_ts_NewLine ? 'L' : 'C';
}

struct TRTFTrace {
  std::string trace;
  TDVRTFErrorCode result = rtf_ec_OK;
  std::unique_ptr<TGraphic> lastGraphic;
  std::vector<uint8_t> lastPictureData;
};

// Reads the text with the events chosen; unicode, pictures and tables as
// given, header/footer events always.
inline TRTFTrace TraceRTF(const std::string& rtf, bool unicode = true, bool pictures = true,
                          bool tables = true, TDVRTFReader* useReader = nullptr) {
  TRTFTrace out;
  TDVRTFReader own;
  TDVRTFReader& reader = useReader ? *useReader : own;
  reader.OnNewText = [&out](TDVRTFReader&, const std::string& text, TDVRTFPosition position) {
    out.trace += "T\"" + text + "\"@" + PositionLetter(position) + " ";
  };
  if (unicode)
    reader.OnNewUnicodeText = [&out](TDVRTFReader&, const std::u16string& text, TDVRTFPosition position) {
      out.trace += "U[";
      for (size_t i = 0; i < text.size(); ++i) out.trace += (i ? "," : "") + std::to_string(text[i]);
      out.trace += std::string("]@") + PositionLetter(position) + " ";
    };
  if (pictures)
    reader.OnNewPicture = [&out](TDVRTFReader&, TDVRTFPicture* picture, std::unique_ptr<TGraphic> graphic,
                                 TDVRTFPosition) {
      out.trace += "P(" + std::to_string(picture ? int(picture->PictureType) : -1) + "," +
                   std::to_string(picture ? picture->Data.size() : 0) + "," +
                   (graphic ? std::string(graphic->ClassName()) : "none") + ") ";
      if (picture) out.lastPictureData = picture->Data;
      out.lastGraphic = std::move(graphic);
    };
  if (tables)
    reader.OnTable = [&out](TDVRTFReader&, TDVRTFTableEventKind kind) {
      static const char* names[] = {"<start>", "<end>", "<row>", "<cell>"};
      out.trace += std::string(names[kind]) + " ";
    };
  reader.OnRequiredPageBreak = [&out](TDVRTFReader&) { out.trace += "<page> "; };
  reader.OnHeaderFooter = [&out](TDVRTFReader&, TDVRTFHeaderFooterType type, bool starting) {
    out.trace += std::string(type == rtf_hf_Header ? "<header" : "<footer") + (starting ? "+> " : "-> ");
  };
  TMemoryStream stream(std::vector<uint8_t>(rtf.begin(), rtf.end()));
  out.result = reader.ReadFromStream(stream);
  if (!out.trace.empty()) out.trace.pop_back();
  return out;
}

}  // namespace quillet::test
