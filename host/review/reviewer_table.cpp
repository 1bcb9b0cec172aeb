#include "host/review/reviewer_table.h"

#include <algorithm>
#include <ctime>
#include <optional>

#include "host/annotation/postil_record.h"
#include "host/codec/division_string.h"
#include "platform/core/arith.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

// Text of a damaged line as a message shows it, cut at a whole character
// when long (a damaged record may hold anything).
std::string Shown(std::string_view text) {
  constexpr size_t kShown = 60;
  const int codePage = GetACP();
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = std::max(CharNextEx(codePage, text, end), end + 1);
    if (next > kShown) break;
    end = next;
  }
  std::string shown = AnsiToUtf8(text.substr(0, end));
  if (end < text.size()) shown += "...";
  return shown;
}

// The line by its number from 1 and its text.
std::string LineInMessage(int index, std::string_view line) {
  return "Reviewer line " + std::to_string(index + 1) + " (\"" + Shown(line) + "\")";
}

}  // namespace

void TReviewerTable::Clear() { *this = TReviewerTable(); }

void TReviewerTable::WriteLines(std::vector<std::string>& lines) {
  slots_[0].Name = Utf8ToAnsi("起草人");
  lines.clear();
  lines.reserve(kSlots);
  for (const TReviewer& r : slots_) lines.push_back("QV;" + r.Name + ";" + r.Time + ";" + IntToStr(r.Color));
}

void TReviewerTable::ReadLines(const std::vector<std::string>& lines) {
  if (lines.empty()) {
    Clear();
    return;
  }
  // Read whole into a scratch table, so that a bad line changes nothing.
  TReviewerTable read;
  TDivisionString splitter;
  int taken = 0;
  const int count = std::min(static_cast<int>(lines.size()), kSlots);
  for (; taken < count; ++taken) {
    const std::string& line = lines[static_cast<size_t>(taken)];
    splitter.Run(line, ";");
    if (splitter.StrCount() < 4) throw EReviewerError(LineInMessage(taken, line) + " has fewer than four fields");
    const std::string& name = splitter.StrItems(1);
    if (name.empty()) break;
    const std::optional<int32_t> color = ParseInt32(splitter.StrItems(3));
    if (!color)
      throw EReviewerError(LineInMessage(taken, line) + ": '" + Shown(splitter.StrItems(3)) +
                           "' is not a valid integer value");
    TReviewer& slot = read.slots_[static_cast<size_t>(taken)];
    slot.Name = PostilSafeName(name);
    slot.Time = PostilSafeName(splitter.StrItems(2));
    slot.Color = *color;
  }
  read.curUserNo_ = taken - 1;
  read.usedUserNo_ = taken;
  *this = std::move(read);
}

int32_t TReviewerTable::Enter(std::string_view userName, const std::string& now) {
  const std::string name = PostilSafeName(userName);
  // An empty name is a free slot: such a reviewer could not be told apart
  // or read back.
  if (name.empty()) throw EReviewerError("Tracking needs a user name");
  auto found = std::find_if(slots_.begin(), slots_.end(), [&](const TReviewer& r) { return r.Name == name; });
  if (found == slots_.end()) {
    // Slot 0 is the drafter's, kept for the save to name.
    found = std::find_if(slots_.begin() + 1, slots_.end(), [](const TReviewer& r) { return r.Name.empty(); });
    if (found == slots_.end())
      throw EReviewerError("All " + std::to_string(kSlots - 1) +
                           " reviewer places of the document are taken; tracking cannot start for another reviewer");
    found->Name = name;
    // Never past the palette: every new reviewer takes a slot, so the count
    // stays within the slots.
    found->Color = kPalette[static_cast<size_t>(std::clamp<int32_t>(usedUserNo_, 0, static_cast<int32_t>(kPalette.size()) - 1))];
    ++usedUserNo_;
  }
  found->Time = now;
  curUserNo_ = static_cast<int32_t>(found - slots_.begin());
  return curUserNo_;
}

std::string ReviewerNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  return buf;
}

}  // namespace quillet
