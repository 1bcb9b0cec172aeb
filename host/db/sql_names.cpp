#include "host/db/sql_names.h"

#include "host/db/record_store.h"

namespace quillet {

namespace {

constexpr size_t kMaxNameLength = 63;

bool IsAsciiLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

std::string Refusal(const char* property, const std::string& name, const char* rule) {
  return std::string("Invalid ") + property + " \"" + name + "\": " + rule;
}

}  // namespace

bool IsPlainSqlName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  if (!IsAsciiLetter(name.front()) && name.front() != '_') return false;
  for (char ch : name) {
    if (!IsAsciiLetter(ch) && !(ch >= '0' && ch <= '9') && ch != '_') return false;
  }
  return true;
}

bool IsPlainSqlTableName(std::string_view name) {
  const size_t dot = name.find('.');
  if (dot == std::string_view::npos) return IsPlainSqlName(name);
  return IsPlainSqlName(name.substr(0, dot)) && IsPlainSqlName(name.substr(dot + 1));
}

void CheckSqlTableName(const std::string& name) {
  if (!IsPlainSqlTableName(name)) {
    throw EDatabaseError(Refusal("table name", name,
                                 "only letters, digits and underscores, not starting with a digit, "
                                 "with at most one schema qualifier, are allowed"));
  }
}

void CheckSqlColumnName(const char* property, const std::string& name) {
  if (!IsPlainSqlName(name)) {
    throw EDatabaseError(Refusal(property, name,
                                 "only letters, digits and underscores, not starting with a digit, are allowed"));
  }
}

}  // namespace quillet
