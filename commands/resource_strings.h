#pragma once
// The command layer's string table, by number. Texts are UTF-8; a few carry
// printf-like placeholders ("%s", "%d") that callers replace with
// ReplacePlaceholder, never by passing the text to a formatting function.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

enum TDVResourceString : uint16_t {
  dvrsSaveChanges = 65184,
  dvrsConfirm = 65185,
  dvrsFormatWarning = 65186,
  dvrsNoFindAction = 65187,
  dvrsNoSaveAsAction = 65188,
  dvrsNoSaveAction = 65189,
  dvrsSampleLong = 65200,
  dvrsSampleShort = 65201,
  dvrsDefaultSize = 65202,
  dvrsFilterDVF = 65203,
  dvrsFilterRTF = 65204,
  dvrsFilterText = 65205,
  dvrsFilterHTML = 65206,
  dvrsFilterHTMLCSS = 65207,
  dvrsDefaultExt = 65208,
  dvrsSelection = 65209,
  dvrsSearchDone = 65210,
  dvrsNotFound = 65211,
  dvrsOneReplaced = 65212,
  dvrsReplaced = 65213,
  dvrsSaveError = 65214,
  dvrsLoadError = 65215,
  dvrsControlsVersion = 65216,
  dvrsTransparent = 65217,
  dvrsAuto = 65218,
  dvrsTransparentButton = 65219,
  dvrsAutoButton = 65220,
  dvrsMoreColors = 65221,
  dvrsDefaultButton = 65222,
};

// The text of an entry; empty for a number the table lacks.
std::string_view LoadResString(uint16_t id);

// text with its first occurrence of placeholder ("%s", "%d") replaced by
// value; text without it comes back as it is.
std::string ReplacePlaceholder(std::string_view text, std::string_view placeholder, std::string_view value);

}  // namespace quillet
