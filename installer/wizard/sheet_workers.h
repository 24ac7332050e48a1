// Where the wizard's long operations run: one worker thread at a time,
// normal priority, default stack, never waited for. Tests take the queued
// form and run each worker when they choose, on their own thread.
#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "installer/engine/engine_sink.h"

namespace lx {

// A detached thread per worker; a worker still running when the wizard
// closes ends with the process.
class ThreadWorkers : public IWorkerStarter {
 public:
  // std::thread throws when the system refuses a thread; that is answered
  // here, on the UI thread, as a failed start.
  bool Start(std::function<void()> work) override;
};

class QueuedWorkers : public IWorkerStarter {
 public:
  bool Start(std::function<void()> work) override {
    std::lock_guard<std::mutex> lock(lock_);
    if (refuse) return false;
    queue_.push_back(std::move(work));
    ++started;
    return true;
  }
  // Every start fails, as when the system has no thread left to give.
  bool refuse = false;
  // Runs the oldest waiting worker; false when none waits.
  bool RunNext() {
    std::function<void()> work;
    {
      std::lock_guard<std::mutex> lock(lock_);
      if (queue_.empty()) return false;
      work = std::move(queue_.front());
      queue_.pop_front();
    }
    work();
    return true;
  }
  size_t Waiting() {
    std::lock_guard<std::mutex> lock(lock_);
    return queue_.size();
  }
  int started = 0;

 private:
  std::mutex lock_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace lx
