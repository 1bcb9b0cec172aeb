#pragma once
// The name of the user logged in on this machine, the default reviewer name.
#include <string>
#include <sys/types.h>

namespace quillet {

// The account name of the process's real user; empty when it cannot be found.
std::string GetLoginUserName();
// The account name of `uid`; empty when the user database has none.
std::string LoginUserNameOf(uid_t uid);

}  // namespace quillet
