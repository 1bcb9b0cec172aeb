#pragma once
// Splits a record of delimited fields ("QV;name;time;255") into its parts.
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TDivisionString {
 public:
  TDivisionString() = default;  // Create
  // Starts over with an empty list of parts.
  void Init();
  // Stores the source and the delimiter and splits.
  void Run(std::string_view source, std::string_view delimiter);
  // Empty parts between delimiters and before a leading one are kept; a
  // trailing delimiter adds none; an empty source gives no parts. Only a
  // one-character delimiter splits.
  void Comminute();

  int StrCount() const { return static_cast<int>(strItems_.size()); }
  const std::vector<std::string>& StrItems() const { return strItems_; }
  // A part by index; an index outside 0..StrCount()-1 raises EDocViewError
  // "List index out of bounds (N)" as the string list does.
  const std::string& StrItems(int index) const;

 private:
  std::string barbarismStr_;
  std::vector<std::string> strItems_;
  std::string parSym_;
};

}  // namespace quillet
