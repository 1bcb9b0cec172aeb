#include "host/db/user_name.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>

#include <vector>

namespace quillet {

std::string LoginUserNameOf(uid_t uid) {
  long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(hint > 0 ? static_cast<size_t>(hint) : 1024);
  passwd entry{};
  passwd* found = nullptr;
  // The buffer grows only on ERANGE and stays bounded: a user database entry
  // is never near a megabyte.
  for (;;) {
    const int rc = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
    if (rc == ERANGE && buffer.size() < (size_t(1) << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (rc != 0 || found == nullptr || found->pw_name == nullptr) return {};
    return found->pw_name;
  }
}

std::string GetLoginUserName() { return LoginUserNameOf(getuid()); }

}  // namespace quillet
