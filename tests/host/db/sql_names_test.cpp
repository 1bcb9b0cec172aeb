#include "host/db/sql_names.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(SqlNames, OnlyPlainIdentifiersPass) {
  struct Case {
    std::string name;
    bool column;  // a plain identifier
    bool table;   // the same, or schema.identifier
  } cases[] = {
      {"DOCS", true, true},
      {"_docs_2", true, true},
      {"a", true, true},
      {"public.DOCS", false, true},
      {"main._t1", false, true},
      {"", false, false},
      {"1DOCS", false, false},
      {"public.1DOCS", false, false},
      {"a.b.c", false, false},
      {"a.", false, false},
      {".a", false, false},
      {"DOCS ", false, false},
      {"DO CS", false, false},
      {"DOCS;", false, false},
      {"DOCS--", false, false},
      {"\"DOCS\"", false, false},
      {"[DOCS]", false, false},
      {"DOCS'", false, false},
      {std::string("DO\0CS", 5), false, false},
      {"文档", false, false},
      {"D\xC3\x89", false, false},
      {"a$b", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsPlainSqlName(c.name), c.column);
    EXPECT_EQ(IsPlainSqlTableName(c.name), c.table);
  }
  // PostgreSQL keeps 63 characters of a name and cuts the rest silently.
  EXPECT_TRUE(IsPlainSqlName(std::string(63, 'a')));
  EXPECT_FALSE(IsPlainSqlName(std::string(64, 'a')));
  EXPECT_TRUE(IsPlainSqlTableName(std::string(63, 's') + "." + std::string(63, 't')));
}

}  // namespace
}  // namespace quillet
