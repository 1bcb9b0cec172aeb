#pragma once
// Table, field and key names are pasted into the SQL text, so only plain
// identifiers get there: letters, digits and underscores, not starting with a
// digit, at most 63 characters (the longest name PostgreSQL keeps whole); a
// table name may carry one schema qualifier ("schema.table").
#include <string>
#include <string_view>

namespace quillet {

bool IsPlainSqlName(std::string_view name);
bool IsPlainSqlTableName(std::string_view name);

// Raise EDatabaseError naming the property and the refused text.
void CheckSqlTableName(const std::string& name);
void CheckSqlColumnName(const char* property, const std::string& name);

}  // namespace quillet
