#pragma once
// The annotation records ("QP" lines): their tags, fields and numbers, read
// as outside data. A record that does not hold what its tag needs is skipped
// by every reader and kept verbatim.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/colors.h"

namespace quillet {

enum class TPostilTag : uint8_t { Pen, MoveTo, LineTo, Seal, User, SealData, Other };

// "QPP", "QPM", "QPL", "QPT", "QPUser", "QPTDATA"; compared exactly.
TPostilTag PostilTagOf(std::string_view line);
const char* PostilTagText(TPostilTag tag);

// The fields of a record split at ";" (the tag is field 0); empty fields
// between delimiters are kept, a trailing delimiter adds none.
void SplitPostilFields(std::string_view line, std::vector<std::string_view>& fields);

// Coordinates beyond this many pixels and widths beyond kMaxPostilWidth are
// taken as damage, not as annotations.
constexpr double kMaxPostilCoordinate = 10'000'000;
constexpr double kMaxPostilWidth = 1'000;

// A decimal number with "." or "," as the separator, perhaps with an
// exponent; nothing else may follow.
std::optional<double> ParsePostilNumber(std::string_view text);
// A number written so that every reader takes it back: integers as integers,
// fractions with at most 15 significant digits and "." (2.05714297294617).
std::string PostilNumberText(double value);
void AppendPostilNumber(std::string& out, double value);

// The pen of a "QPP" record, or none when the record is damaged.
struct TPostilPen {
  TColor Color = 0;
  double Width = 0;
  friend bool operator==(const TPostilPen&, const TPostilPen&) = default;
};
std::optional<TPostilPen> ReadPostilPen(const std::vector<std::string_view>& fields);
// The point of a "QPM", "QPL" or "QPT" record, or none when it is damaged.
struct TPostilPoint {
  double X = 0, Y = 0;
};
std::optional<TPostilPoint> ReadPostilPoint(const std::vector<std::string_view>& fields);

// A user name as records can carry it: ";" becomes the full-width "；" of the
// system code page, CR and LF spaces, whole characters kept.
std::string PostilSafeName(std::string_view name);
// Seal ids cannot be mended (the host looks pictures up by them): one holding
// ";", CR or LF is refused.
bool IsPostilSealId(std::string_view id);

// Today's date as records carry it: "yyyy-mm-dd".
std::string PostilToday();

}  // namespace quillet
