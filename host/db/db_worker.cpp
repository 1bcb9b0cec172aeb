#include "host/db/db_worker.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QThread>

#include <exception>

namespace quillet {

TDbWorker::TDbWorker() : thread_(std::make_unique<QThread>()), context_(std::make_unique<QObject>()) {
  thread_->setObjectName("quillet-db");
  context_->moveToThread(thread_.get());
  thread_->start();
}

void TDbWorker::Stop(const std::function<void()>& last) {
  if (!thread_->isRunning()) return;
  QMetaObject::invokeMethod(
      context_.get(),
      [&last] {
        try {
          last();
        } catch (...) {  // closing: nothing left to report to
        }
      },
      Qt::BlockingQueuedConnection);
  thread_->quit();
  thread_->wait();
}

TDbWorker::~TDbWorker() {
  Stop([] {});
  context_.reset();  // its thread has ended, so it can go from here
}

void TDbWorker::Run(const std::function<void()>& job) {
  std::exception_ptr error;
  if (QCoreApplication::instance() == nullptr) {
    // No event loop to keep running: wait plainly.
    QMetaObject::invokeMethod(
        context_.get(),
        [&] {
          try {
            job();
          } catch (...) {
            error = std::current_exception();
          }
        },
        Qt::BlockingQueuedConnection);
  } else {
    QEventLoop loop;
    QMetaObject::invokeMethod(
        context_.get(),
        [&] {
          try {
            job();
          } catch (...) {
            error = std::current_exception();
          }
          // Queued to the caller's thread: delivered by the loop below, even
          // when the job finished before the loop started.
          QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    loop.exec();
  }
  if (error) std::rethrow_exception(error);
}

}  // namespace quillet
