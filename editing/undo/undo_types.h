#pragma once
// The kinds of undo groups with their captions, the kinds of undo records,
// and where the editing primitives record.
#include <array>
#include <cstdint>
#include <string_view>

namespace quillet {

enum TDVUndoType : uint8_t {
  dvutNone, dvutDelete, dvutInsert, dvutPara, dvutMiscTyping, dvutInsertPageBreak, dvutRemovePageBreak,
  dvutTyping, dvutTag, dvutStyleNo, dvutAddCheckpoint, dvutRemoveCheckpoint, dvutModifyCheckpoint,
  dvutModifyItem, dvutList, dvutCustom, dvutPicture
};

// The captions the host's Undo and Redo menus show for the top group's
// type (a dvutCustom group shows its own caption).
inline constexpr std::array<std::string_view, 17> DVUndoTypeNamesEn = {
    "",         "删除",         "插入",           "更改段落样式", "编辑",         "插入分页符",
    "删除分页符", "键入",         "tag modification", "更改文本样式", "插入CheckPoint", "删除CheckPoint",
    "编辑CheckPoint", "修改",   "",               "",             "图片痕迹保留"};

enum TDVUndoAction : uint8_t {
  dvuDeleteItem, dvuDeleteItems, dvuDeleteSubstring, dvuInsertItem, dvuInsertItems, dvuInsertSubstring,
  dvuNewLine, dvuBR, dvuPara, dvuPageBreak, dvuTyping, dvuTag, dvuStyleNo, dvuCheckpoint, dvuModifyItem,
  dvuChangeText, dvuChangeVAlign
};

// udNone: nothing is recorded; udUndo: into the undo list; udRedo: into the
// redo list (while a group is being undone).
enum TDVUndoDest : uint8_t { udNone, udUndo, udRedo };

}  // namespace quillet
