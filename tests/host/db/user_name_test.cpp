#include "host/db/user_name.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace quillet {
namespace {

TEST(UserName, IsTheLoggedInAccountOrEmpty) {
  // What the system's own tool says.
  std::string expected;
  if (FILE* id = popen("id -un", "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, id)) expected += buffer;
    pclose(id);
  }
  while (!expected.empty() && expected.back() == '\n') expected.pop_back();
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(GetLoginUserName(), expected);
  EXPECT_EQ(LoginUserNameOf(0), "root");
  // A user the system does not know: no name, no failure.
  EXPECT_EQ(LoginUserNameOf(static_cast<uid_t>(3999999999u)), "");
}

}  // namespace
}  // namespace quillet
