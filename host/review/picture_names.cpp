#include "host/review/picture_names.h"

#include <algorithm>

#include "host/review/reviewer_table.h"
#include "platform/core/code_page.h"

namespace quillet {

std::string PlainPictureName() { return Utf8ToAnsi("图片"); }

int MarkedPictureSlot(const TReviewerTable& table, std::string_view name, TPictureMark mark) {
  const std::string suffix = Utf8ToAnsi(mark == TPictureMark::Inserted ? "插入的图片" : "删除的图片");
  if (name.size() < suffix.size() || name.substr(name.size() - suffix.size()) != suffix) return -1;
  const std::string_view reviewer = name.substr(0, name.size() - suffix.size());
  // With every slot taken there is no free one to match.
  const int last = std::min(table.UsedUserNo(), TReviewerTable::kSlots - 1);
  for (int k = 0; k <= last; ++k)
    if (table.Slot(k).Name == reviewer) return k;
  return -1;
}

}  // namespace quillet
