#include "commands/resource_strings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quillet {

namespace {

constexpr std::array<std::pair<uint16_t, std::string_view>, 29> kStrings{{
    {dvrsSaveChanges, "是否保存对 %s 的修改?"},
    {dvrsConfirm, "确认"},
    {dvrsFormatWarning,
     "%s may contain features that are not compatible with the chosen saving format.\r"
     "Do you want to save the document in this format?"},
    {dvrsNoFindAction, "TdvActionFind object is not assigned!"},
    {dvrsNoSaveAsAction, "TdvActionSaveAs object is not assigned!"},
    {dvrsNoSaveAction, "TdvActionSave object is not assigned!"},
    {dvrsSampleLong,
     "Text text text text text. Text text text text text. Text text text text text.Text text text text text. "
     "Text text text text text. Text text text text text."},
    {dvrsSampleShort, "Text text text text text. Text text text text text. Text text text text text."},
    {dvrsDefaultSize, "Default size: %d x %d"},
    {dvrsFilterDVF, "DocView Files (*.dvf)|*.dvf"},
    {dvrsFilterRTF, "RTF Files (*.rtf)|*.rtf"},
    {dvrsFilterText, "Text Files (*.txt)|*.txt"},
    {dvrsFilterHTML, "HTML - Simplified (*.htm;*.html)|*.htm;*.html"},
    {dvrsFilterHTMLCSS, "HTML (*.htm;*.html)|*.htm;*.html"},
    {dvrsDefaultExt, "dvf"},
    {dvrsSelection, "<<selection>>"},
    {dvrsSearchDone, "搜索完成"},
    {dvrsNotFound, "没有找到字符串'%s'"},
    {dvrsOneReplaced, "1个字符串被替换"},
    {dvrsReplaced, "%d 个字符串被替换"},
    {dvrsSaveError, "保存过程中出错"},
    {dvrsLoadError, "加载过程中出错"},
    {dvrsControlsVersion, "This control requires version 4.70 or greater of COMCTL32.DLL"},
    {dvrsTransparent, "Transparent"},
    {dvrsAuto, "Auto"},
    {dvrsTransparentButton, "Tr&ansparent"},
    {dvrsAutoButton, "&Auto"},
    {dvrsMoreColors, "&More Colors..."},
    {dvrsDefaultButton, "&Default"},
}};

}  // namespace

std::string_view LoadResString(uint16_t id) {
  const auto* it = std::find_if(kStrings.begin(), kStrings.end(), [id](const auto& e) { return e.first == id; });
  return it == kStrings.end() ? std::string_view() : it->second;
}

std::string ReplacePlaceholder(std::string_view text, std::string_view placeholder, std::string_view value) {
  std::string result(text);
  const size_t at = result.find(placeholder);
  if (at != std::string::npos) result.replace(at, placeholder.size(), value);
  return result;
}

}  // namespace quillet
