#pragma once
// The insertion tests: text inserted as the editor inserts it (one undo
// group around the data's insertion), UTF-16 strings from UTF-8, and a
// conversion handler with a fixed style map.
#include <map>
#include <string>

#include "caret_test_util.h"
#include "engine/text/item_text.h"
#include "platform/core/code_page.h"

namespace quillet::test {

// UTF-16LE bytes of UTF-8 text.
inline std::string W(const std::string& utf8) { return DVU_UnitBytes(Utf8ToUtf16(utf8)); }

class InsertionTest : public RandomCaretTest {
 protected:
  // As the editor runs an insertion: one group, Change, no empty group left.
  bool Inserting(const std::function<bool()>& insert) {
    TDVEditOperation operation(Data());
    Data().BeginUndoSequence(dvutInsert, true);
    const bool ok = insert();
    if (ok) Data().Change();
    Data().UndoList->PopIfEmpty();
    return ok;
  }
  bool InsertW(const std::string& utf8, bool caretBefore = false) {
    return Inserting([&] { return Data().InsertTextW_(W(utf8), caretBefore); });
  }
  bool Insert8(const std::string& bytes, bool caretBefore = false) {
    return Inserting([&] { return Data().InsertText_(bytes, caretBefore); });
  }
  // The handler answers styles through the map (others unchanged) and
  // remembers what it was asked last.
  void MapStyles(std::map<int32_t, int32_t> map) {
    editor->FCurStyleConversion = [this, map](void*, int32_t styleNo, int32_t userData, bool appliedToText,
                                              int32_t& newStyleNo) {
      lastUserData = userData;
      lastAppliedToText = appliedToText;
      if (auto it = map.find(styleNo); it != map.end()) newStyleNo = it->second;
    };
  }
  int32_t lastUserData = -1;
  bool lastAppliedToText = true;
};

}  // namespace quillet::test
