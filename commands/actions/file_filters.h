#pragma once
// The formats the file commands read and write, and the file-dialog filters
// built from them: one "description|pattern" entry per format the command
// offers, the converters' entries last, with the list of formats in entry
// order so that a chosen filter index maps back to its format.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace quillet {

class TDVTextConverter;

// The values keep their order: filter indexes and stored formats use them.
enum TdvFileImportFilter : uint8_t {
  ffiDVF, ffiRTF, ffiTextANSI, ffiTextUnicode, ffiTextAuto, ffiOfficeConverters
};
enum TdvFileExportFilter : uint8_t {
  ffeDVF, ffeRTF, ffeTextANSI, ffeTextUnicode, ffeHTMLCSS, ffeHTML, ffeOfficeConverters
};
// Open takes ffiDVF..ffiTextAuto, save ffeDVF..ffeTextUnicode.
using TdvFileOpenFilter = TdvFileImportFilter;
using TdvFileSaveFilter = TdvFileExportFilter;

// A set of one of the enumerations above.
template <class E>
class TdvFilterSet {
 public:
  constexpr TdvFilterSet() = default;
  constexpr TdvFilterSet(std::initializer_list<E> values) {
    for (E value : values) Include(value);
  }
  // Every value from first to last.
  static constexpr TdvFilterSet Range(E first, E last) {
    TdvFilterSet set;
    for (int v = first; v <= last; ++v) set.Include(static_cast<E>(v));
    return set;
  }
  constexpr bool Contains(E value) const { return (bits_ >> value) & 1u; }
  constexpr void Include(E value) { bits_ |= 1u << value; }
  constexpr void Exclude(E value) { bits_ &= ~(1u << value); }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool operator==(const TdvFilterSet&) const = default;

 private:
  uint32_t bits_ = 0;
};

using TdvFileImportFilterSet = TdvFilterSet<TdvFileImportFilter>;
using TdvFileOpenFilterSet = TdvFileImportFilterSet;
using TdvFileExportFilterSet = TdvFilterSet<TdvFileExportFilter>;
using TdvFileSaveFilterSet = TdvFileExportFilterSet;

// The filter text for the formats of `filter`: DVF (dvfFilter), RTF and
// 8-bit text, then, with ffiOfficeConverters and a converter, the
// converters' import entries. The UTF-16 and automatic text formats have no
// entry of their own. `formats` gets the format of each entry.
void MakeImportFilter(TdvFileImportFilterSet filter, const std::string& dvfFilter, std::vector<int>& formats,
                      std::string& filterText, TDVTextConverter* converter);
// The format of the entry at the 0-based index; past the list the index
// names a converter (converterIndex = index - the list's length).
void GetImportFilterFormat(const std::vector<int>& formats, int index, TdvFileImportFilter& format,
                           int& converterIndex);

// The same for saving: DVF, RTF, 8-bit text, HTML with styles, simplified
// HTML, then the converters' export entries; UTF-16 text has no entry.
void MakeExportFilter(TdvFileExportFilterSet filter, const std::string& dvfFilter, std::vector<int>& formats,
                      std::string& filterText, TDVTextConverter* converter);
void GetExportFilterFormat(const std::vector<int>& formats, int index, TdvFileExportFilter& format,
                           int& converterIndex);

}  // namespace quillet
