#include "platform/core/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

extern char** environ;

namespace quillet {

namespace {

// How often a wait looks whether the program has ended.
constexpr int kPollMs = 20;

class TSpawnSetup {
 public:
  TSpawnSetup(int errWrite) {
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errWrite, 2);
    // Descriptors of ours that lack close-on-exec stay out of the child.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_init(&attr);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    // Signals this process ignores (a broken pipe, say) are the child's default again.
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~TSpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
  }
  TSpawnSetup(const TSpawnSetup&) = delete;
  TSpawnSetup& operator=(const TSpawnSetup&) = delete;

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
};

}  // namespace

TProcess::TProcess(const std::string& program, const std::vector<std::string>& arguments) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw EProcessError("Cannot run \"" + program + "\": " + std::strerror(errno));
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  int rc;
  {
    TSpawnSetup setup(fds[1]);
    rc = ::posix_spawn(&pid_, program.c_str(), &setup.actions, &setup.attr, argv.data(), environ);
  }
  ::close(fds[1]);
  if (rc != 0) {
    ::close(fds[0]);
    pid_ = -1;
    throw EProcessError("Cannot run \"" + program + "\": " + std::strerror(rc));
  }
  errFd_ = fds[0];
  ::fcntl(errFd_, F_SETFL, ::fcntl(errFd_, F_GETFL) | O_NONBLOCK);
}

TProcess::~TProcess() {
  Kill();
  if (errFd_ >= 0) ::close(errFd_);
}

void TProcess::ReadErrors(bool drain) {
  char buffer[4096];
  while (errFd_ >= 0) {
    const ssize_t n = ::read(errFd_, buffer, sizeof buffer);
    if (n > 0) {
      result_.StdErr.append(buffer, static_cast<size_t>(n));
      if (result_.StdErr.size() > 2 * kMaxStdErr) result_.StdErr.erase(0, result_.StdErr.size() - kMaxStdErr);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    // Nothing more now; a helper that outlives the program may hold the
    // pipe open, so after the end only what is there is taken.
    if (n < 0 && errno == EAGAIN && !drain) return;
    ::close(errFd_);
    errFd_ = -1;
  }
}

void TProcess::Reap(int status) {
  reaped_ = true;
  ReadErrors(true);
  if (result_.StdErr.size() > kMaxStdErr) result_.StdErr.erase(0, result_.StdErr.size() - kMaxStdErr);
  if (WIFEXITED(status)) result_.ExitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result_.Signal = WTERMSIG(status);
}

TProcessResult TProcess::Wait(std::chrono::milliseconds timeout) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + timeout;
  while (Running()) {
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      Reap(status);
      break;
    }
    if (done < 0 && errno != EINTR) throw EProcessError(std::string("Cannot wait for a program: ") + std::strerror(errno));
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      Kill();
      result_.TimedOut = true;
      break;
    }
    pollfd fd{errFd_, POLLIN, 0};
    if (::poll(&fd, errFd_ >= 0 ? 1 : 0, static_cast<int>(std::min<long long>(left, kPollMs))) > 0)
      ReadErrors(false);
  }
  return result_;
}

void TProcess::Kill() {
  if (!Running()) return;
  // The group's id is the child's, so this reaches the child and what it
  // started, nothing else.
  ::kill(-pid_, SIGKILL);
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  Reap(status);
}

std::string FindProgramOnPath(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return {};
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
    struct stat info {};
    if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return {};
}

}  // namespace quillet
