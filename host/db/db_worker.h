#pragma once
// A thread of its own for the database connection. The server's work (the
// connect, the query, the transfer) runs there, while the calling thread
// keeps running its event loop, so windows repaint and take input meanwhile.
#include <functional>
#include <memory>

class QObject;
class QThread;

namespace quillet {

class TDbWorker {
 public:
  TDbWorker();
  // Runs `last` on the worker thread, waiting without an event loop, then
  // stops the thread.
  void Stop(const std::function<void()>& last);
  ~TDbWorker();
  TDbWorker(const TDbWorker&) = delete;
  TDbWorker& operator=(const TDbWorker&) = delete;

  // Runs `job` on the worker thread and returns when it is done, processing
  // the caller's events meanwhile. An exception of the job is raised here.
  // Jobs run one at a time in the order they were given, so a call made from
  // an event handler during another one waits its turn.
  void Run(const std::function<void()>& job);

 private:
  std::unique_ptr<QThread> thread_;
  std::unique_ptr<QObject> context_;  // lives in the worker thread
};

}  // namespace quillet
