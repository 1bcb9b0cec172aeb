#include "host/annotation/postil_record.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>
#include <ctime>

#include "platform/core/code_page.h"

namespace quillet {

TPostilTag PostilTagOf(std::string_view line) {
  const std::string_view tag = line.substr(0, line.find(';'));
  if (tag.size() < 3 || tag[0] != 'Q' || tag[1] != 'P') return TPostilTag::Other;
  if (tag == "QPP") return TPostilTag::Pen;
  if (tag == "QPM") return TPostilTag::MoveTo;
  if (tag == "QPL") return TPostilTag::LineTo;
  if (tag == "QPT") return TPostilTag::Seal;
  if (tag == "QPUser") return TPostilTag::User;
  if (tag == "QPTDATA") return TPostilTag::SealData;
  return TPostilTag::Other;
}

const char* PostilTagText(TPostilTag tag) {
  switch (tag) {
    case TPostilTag::Pen: return "QPP";
    case TPostilTag::MoveTo: return "QPM";
    case TPostilTag::LineTo: return "QPL";
    case TPostilTag::Seal: return "QPT";
    case TPostilTag::User: return "QPUser";
    case TPostilTag::SealData: return "QPTDATA";
    case TPostilTag::Other: break;
  }
  return "";
}

void SplitPostilFields(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  if (line.empty()) return;
  // Records are short: a plain scan beats a library search per field.
  size_t start = 0;
  for (size_t i = 0; i < line.size(); ++i)
    if (line[i] == ';') {
      fields.push_back(line.substr(start, i - start));
      start = i + 1;
    }
  if (start < line.size()) fields.push_back(line.substr(start));
}

std::optional<double> ParsePostilNumber(std::string_view text) {
  // Records written where "," was the decimal separator read the same.
  char buf[64];
  if (text.empty() || text.size() >= sizeof buf) return std::nullopt;
  const char* first = text.data();
  const char* last = first + text.size();
  if (text.find(',') != std::string_view::npos) {
    for (size_t i = 0; i < text.size(); ++i) buf[i] = text[i] == ',' ? '.' : text[i];
    first = buf;
    last = buf + text.size();
  }
  if (*first == '+') ++first;
  double value = 0;
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

void AppendPostilNumber(std::string& out, double value) {
  // to_chars ignores the locale, which printf would follow (the program runs
  // with the user's locale, and a decimal comma makes a record unreadable).
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value == 0 ? 0.0 : value, std::chars_format::general, 15);
  if (ec == std::errc())
    out.append(buf, end);
  else
    out += '0';
}

std::string PostilNumberText(double value) {
  std::string text;
  AppendPostilNumber(text, value);
  return text;
}

namespace {

std::optional<double> Coordinate(std::string_view text) {
  const std::optional<double> v = ParsePostilNumber(text);
  if (!v || std::fabs(*v) > kMaxPostilCoordinate) return std::nullopt;
  return v;
}

}  // namespace

std::optional<TPostilPen> ReadPostilPen(const std::vector<std::string_view>& fields) {
  if (fields.size() < 3) return std::nullopt;
  int64_t color = 0;
  const std::string_view c = fields[1];
  const auto [end, ec] = std::from_chars(c.data(), c.data() + c.size(), color);
  if (c.empty() || ec != std::errc() || end != c.data() + c.size() || color < INT32_MIN || color > UINT32_MAX)
    return std::nullopt;
  const std::optional<double> width = ParsePostilNumber(fields[2]);
  if (!width || *width < 0 || *width > kMaxPostilWidth) return std::nullopt;
  return TPostilPen{static_cast<TColor>(static_cast<uint32_t>(color)), *width};
}

std::optional<TPostilPoint> ReadPostilPoint(const std::vector<std::string_view>& fields) {
  if (fields.size() < 3) return std::nullopt;
  const std::optional<double> x = Coordinate(fields[1]), y = Coordinate(fields[2]);
  if (!x || !y) return std::nullopt;
  return TPostilPoint{*x, *y};
}

std::string PostilSafeName(std::string_view name) {
  const int codePage = GetACP();
  bool lost = false;
  std::string semicolon = WideCharToMultiByte(codePage, u"\uFF1B", &lost);
  if (lost || semicolon.empty()) semicolon = ",";
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    const size_t next = std::max(CharNextEx(codePage, name, i), i + 1);
    if (next == i + 1 && name[i] == ';')
      out += semicolon;
    else if (next == i + 1 && (name[i] == '\r' || name[i] == '\n'))
      out += ' ';
    else
      out.append(name.substr(i, next - i));
    i = next;
  }
  return out;
}

bool IsPostilSealId(std::string_view id) { return id.find_first_of(";\r\n") == std::string_view::npos; }

std::string PostilToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return buf;
}

}  // namespace quillet
