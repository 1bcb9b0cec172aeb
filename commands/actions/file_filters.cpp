#include "commands/actions/file_filters.h"

#include <algorithm>
#include <utility>

#include "commands/resource_strings.h"
#include "interchange/convert/text_converter.h"

namespace quillet {

namespace {

void Append(std::string& filterText, std::string_view entry) {
  if (entry.empty()) return;
  if (!filterText.empty()) filterText += '|';
  filterText += entry;
}

template <class E>
void MakeFilter(TdvFilterSet<E> filter, std::initializer_list<std::pair<E, std::string_view>> entries,
                std::vector<int>& formats, std::string& filterText, std::string_view converters) {
  filterText.clear();
  formats.clear();
  for (const auto& [format, text] : entries) {
    if (!filter.Contains(format)) continue;
    Append(filterText, text);
    formats.push_back(format);
  }
  Append(filterText, converters);
}

template <class E>
void GetFormat(const std::vector<int>& formats, int index, E converters, E& format, int& converterIndex) {
  // Dialogs answer 0 for "no filter chosen": that is the first entry.
  index = std::max(index, 0);
  const int count = static_cast<int>(formats.size());
  if (index < count) {
    format = static_cast<E>(formats[static_cast<size_t>(index)]);
    return;
  }
  format = converters;
  converterIndex = index - count;
}

}  // namespace

void MakeImportFilter(TdvFileImportFilterSet filter, const std::string& dvfFilter, std::vector<int>& formats,
                      std::string& filterText, TDVTextConverter* converter) {
  const std::string converters =
      converter && filter.Contains(ffiOfficeConverters) ? converter->GetImportFilter() : std::string();
  MakeFilter<TdvFileImportFilter>(filter,
                                  {{ffiDVF, dvfFilter},
                                   {ffiRTF, LoadResString(dvrsFilterRTF)},
                                   {ffiTextANSI, LoadResString(dvrsFilterText)}},
                                  formats, filterText, converters);
}

void GetImportFilterFormat(const std::vector<int>& formats, int index, TdvFileImportFilter& format,
                           int& converterIndex) {
  GetFormat(formats, index, ffiOfficeConverters, format, converterIndex);
}

void MakeExportFilter(TdvFileExportFilterSet filter, const std::string& dvfFilter, std::vector<int>& formats,
                      std::string& filterText, TDVTextConverter* converter) {
  const std::string converters =
      converter && filter.Contains(ffeOfficeConverters) ? converter->GetExportFilter() : std::string();
  MakeFilter<TdvFileExportFilter>(filter,
                                  {{ffeDVF, dvfFilter},
                                   {ffeRTF, LoadResString(dvrsFilterRTF)},
                                   {ffeTextANSI, LoadResString(dvrsFilterText)},
                                   {ffeHTMLCSS, LoadResString(dvrsFilterHTMLCSS)},
                                   {ffeHTML, LoadResString(dvrsFilterHTML)}},
                                  formats, filterText, converters);
}

void GetExportFilterFormat(const std::vector<int>& formats, int index, TdvFileExportFilter& format,
                           int& converterIndex) {
  GetFormat(formats, index, ffeOfficeConverters, format, converterIndex);
}

}  // namespace quillet
