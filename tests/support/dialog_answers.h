#pragma once
// Answers for the scripted common dialogs: a file chosen under a filter
// entry, a message box button, Cancel.
#include <string>

#include "platform/ui/common_dialogs.h"

namespace quillet::test {

using TAnswer = TScriptedCommonDialogs::TAnswer;

inline TAnswer File(const std::string& path, int filterIndex = 1) {
  TFileQuestion chosen;
  chosen.FileName = path;
  chosen.FilterIndex = filterIndex;
  return {true, chosen};
}
inline TAnswer Button(TMsgAnswer button) { return {true, {}, button}; }
inline TAnswer Cancel() { return {false, {}, IDCANCEL}; }

}  // namespace quillet::test
