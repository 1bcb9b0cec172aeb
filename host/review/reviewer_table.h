#pragma once
// The reviewers of a document: 15 slots of name, time and colour (slot 0 the
// drafter), the current reviewer's slot and the number of slots taken. The
// table travels in the document as 15 "QV" lines, "QV;name;time;colour",
// which are outside data when read back.
//
// Names and times are in the system code page. Names never hold ";", CR or
// LF (they would split the line): they become the full-width "；" and
// spaces as a name enters the table.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/colors.h"

namespace quillet {

// Damaged reviewer lines, and tracking refused to a reviewer the table
// cannot hold.
class EReviewerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TReviewer {
  std::string Name;  // empty: a free slot
  std::string Time;
  TColor Color = 0;
  friend bool operator==(const TReviewer&, const TReviewer&) = default;
};

class TReviewerTable {
 public:
  static constexpr int kSlots = 15;
  // Colours handed to new reviewers in turn, blue-green-red.
  static constexpr std::array<TColor, 16> kPalette = {
      0x0000FF, 0x990000, 0x009900, 0xAF8E20, 0x663300, 0xCC3399, 0xFF0000, 0x000099,
      0x33CCFF, 0xFF9900, 0x93608A, 0x408080, 0x808040, 0xFFFF00, 0x00FF00, 0x00FFFF};

  const TReviewer& Slot(int index) const { return slots_.at(static_cast<size_t>(index)); }
  // The current reviewer's slot; -1 after lines whose first name is empty.
  int32_t CurUserNo() const { return curUserNo_; }
  // Slots taken, and the palette index of the next new reviewer.
  int32_t UsedUserNo() const { return usedUserNo_; }

  // All slots free, both counters 0 (a new document).
  void Clear();

  // The 15 lines, slot 0 first; slot 0 is named "起草人" first. lines is
  // replaced, never appended to.
  void WriteLines(std::vector<std::string>& lines);
  // The table from a document's lines; no lines give a cleared table. Lines
  // are read until the first empty name, the end of the lines or the 15th
  // slot: those slots are taken and the last of them is current. A read line
  // with fewer than four fields, or a taken slot whose colour is not a
  // 32-bit decimal integer, raises EReviewerError naming the line, and the
  // table stays as it was.
  void ReadLines(const std::vector<std::string>& lines);

  // The reviewer named userName becomes current, its time refreshed to now;
  // a new one takes the first free slot from 1 up and the next palette
  // colour. Answers the slot. Raises EReviewerError, changing nothing, for
  // an empty name or when slots 1-14 are all taken by others.
  int32_t Enter(std::string_view userName, const std::string& now);

 private:
  std::array<TReviewer, kSlots> slots_{};
  int32_t curUserNo_ = 0;
  int32_t usedUserNo_ = 0;
};

// The local date and time as reviewer times are written, in every locale:
// "yyyy-mm-dd hh:mm:ss".
std::string ReviewerNow();

}  // namespace quillet
