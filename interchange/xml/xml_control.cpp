// The textual component form of a "control" element's "data": read into a
// component stream for the closed set of control kinds, never used to make
// anything else. One pass over the lines; nested objects and values of kinds
// no such control has (lists, binary data, collections) are passed over.
#include <string>
#include <string_view>
#include <vector>

#include "interchange/xml/xml_items.h"
#include "interchange/xml/xml_tag.h"
#include "interchange/xml/xml_text.h"
#include "platform/core/arith.h"
#include "platform/core/control.h"
#include "platform/core/property_stream.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

[[noreturn]] void Bad() { throw EReadError("Invalid component text"); }

bool IsIdentChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimBlanks(text.substr(start, end - start));
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool StartsWord(std::string_view line, std::string_view word) {
  return line.size() >= word.size() && AnsiSameText(line.substr(0, word.size()), word) &&
         (line.size() == word.size() || !IsIdentChar(line[word.size()]));
}

// 'quoted' pieces with '' for a quote and #n character codes; true when a
// trailing "+" continues the string on the next line.
bool ReadStringPieces(std::string_view s, std::string& out) {
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == '\'') {
      for (++i;; ++i) {
        if (i >= s.size()) Bad();
        if (s[i] == '\'') {
          if (i + 1 < s.size() && s[i + 1] == '\'') {
            out.push_back('\'');
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          out.push_back(s[i]);
        }
      }
    } else if (s[i] == '#') {
      size_t end = ++i;
      while (end < s.size() && (IsIdentChar(s[end]) || s[end] == '$')) ++end;
      const std::optional<int32_t> code = StrToIntOpt(s.substr(i, end - i));
      if (!code || *code < 0 || *code > 255) Bad();
      out.push_back(static_cast<char>(*code));
      i = end;
    } else if (s[i] == ' ') {
      ++i;
    } else if (s[i] == '+' && TrimBlanks(s.substr(i + 1)).empty()) {
      return true;
    } else {
      Bad();
    }
  }
  return false;
}

// The closing character of a value that spans lines, or 0.
char MultiLineClose(char open) {
  switch (open) {
    case '(': return ')';
    case '{': return '}';
    case '<': return '>';
    default: return 0;
  }
}

TPropObject ReadObjectText(std::string_view text) {
  const std::vector<std::string_view> lines = Lines(text);
  if (lines.empty() || !StartsWord(lines[0], "object")) Bad();
  TPropObject object;
  {
    const std::string_view header = TrimBlanks(lines[0].substr(6));
    const size_t colon = header.find(':');
    object.name = colon == std::string_view::npos ? std::string() : std::string(TrimBlanks(header.substr(0, colon)));
    object.className = TrimBlanks(colon == std::string_view::npos ? header : header.substr(colon + 1));
    if (object.className.empty()) Bad();
  }
  int depth = 1;  // objects open, this one included
  for (size_t n = 1; n < lines.size(); ++n) {
    const std::string_view line = lines[n];
    if (StartsWord(line, "end")) {
      if (--depth == 0) return object;
      continue;
    }
    if (StartsWord(line, "object") || StartsWord(line, "inherited") || StartsWord(line, "inline")) {
      ++depth;
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) Bad();
    const std::string name(TrimBlanks(line.substr(0, equals)));
    const std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (name.empty() || value.empty()) Bad();
    if (const char close = MultiLineClose(value.front())) {
      // Passed over up to its closing line.
      while (n < lines.size() && lines[n].back() != close) ++n;
      if (n == lines.size()) Bad();
      continue;
    }
    TPropValue v;
    if (value.front() == '\'' || value.front() == '#') {
      std::string s;
      for (bool more = ReadStringPieces(value, s); more; more = ReadStringPieces(lines[n], s))
        if (++n == lines.size()) Bad();
      v = TPropValue::String(std::move(s));
    } else if (value.front() == '[') {
      if (value.back() != ']') Bad();
      std::vector<std::string> names;
      std::string_view rest = value.substr(1, value.size() - 2);
      while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view item = TrimBlanks(rest.substr(0, comma));
        if (!item.empty()) names.emplace_back(item);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
      }
      v = TPropValue::Set(std::move(names));
    } else if (const std::optional<int32_t> integer = StrToIntOpt(value)) {
      v = TPropValue::Integer(*integer);
    } else if (IsIdentChar(value.front()) && !(value.front() >= '0' && value.front() <= '9')) {
      v = TPropValue::Ident(std::string(value));
    } else {
      continue;  // a number of a kind no known control has
    }
    if (depth == 1) object.properties.push_back({name, std::move(v)});  // not a child component's
  }
  Bad();
}

}  // namespace

std::unique_ptr<TControl> LoadControlFromText(const std::string& text, std::string_view className,
                                              TControl* parent) {
  const TPropObject object = ReadObjectText(text);
  std::unique_ptr<TControl> control = CreateControl(className);
  if (!control) return nullptr;
  control->SetParent(parent);
  control->LoadComponent(WriteComponentStream(object));
  control->SetParent(parent);
  return control;
}

}  // namespace quillet
