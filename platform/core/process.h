#pragma once
// Running another program: an argument list handed to the program as it is
// (no shell between), a wait with a timeout, and the exit status and the
// error output collected. The child gets a process group of its own, so that
// killing it by its id also ends the helpers it started (an office suite's
// launcher leaves its real work to a child) and nothing else.
#include <sys/types.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillet {

class EProcessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TProcessResult {
  int ExitCode = -1;  // when the program exited by itself
  int Signal = 0;     // the signal that ended it; 0 when it exited
  bool TimedOut = false;
  // The end of what it wrote to its error output (at most kMaxStdErr bytes).
  std::string StdErr;

  bool Succeeded() const { return !TimedOut && Signal == 0 && ExitCode == 0; }
};

class TProcess {
 public:
  static constexpr size_t kMaxStdErr = 64 * 1024;

  // Starts the program (a path: no search, no shell) with the arguments;
  // standard input and output are the null device. EProcessError with the
  // reason when it cannot be started.
  TProcess(const std::string& program, const std::vector<std::string>& arguments);
  // A process still running is killed.
  ~TProcess();
  TProcess(const TProcess&) = delete;
  TProcess& operator=(const TProcess&) = delete;

  pid_t Pid() const { return pid_; }
  bool Running() const { return pid_ > 0 && !reaped_; }
  // Waits until the program ends or the timeout passes; a program still
  // running then is killed and the result says TimedOut.
  TProcessResult Wait(std::chrono::milliseconds timeout);
  // Kills the program and its group and reaps it; nothing when it has ended.
  void Kill();

 private:
  void ReadErrors(bool drain);
  void Reap(int status);

  pid_t pid_ = -1;
  int errFd_ = -1;
  bool reaped_ = false;
  TProcessResult result_;
};

// The first executable file of that name in the folders of PATH; empty when
// there is none.
std::string FindProgramOnPath(const std::string& name);

}  // namespace quillet
