#pragma once
// The names that mark a picture as a reviewer's change: the reviewer's
// name with "插入的图片" (inserted) or "删除的图片" (deleted); "图片" is a
// picture without a mark. Names are in the system code page.
#include <string>
#include <string_view>

namespace quillet {

class TReviewerTable;

enum class TPictureMark : uint8_t { Inserted, Deleted };

std::string PlainPictureName();
// The slot k, from 0 to the number of slots taken (the first free slot,
// whose name is empty, included), whose name with the mark's suffix is
// name; -1 when there is none.
int MarkedPictureSlot(const TReviewerTable& table, std::string_view name, TPictureMark mark);

}  // namespace quillet
