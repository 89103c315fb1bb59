#include "platform/engine/app_thread.h"

#include <chrono>
#include <utility>

#include "platform/engine/dropped_call.h"

namespace norvalis_engine {

namespace {

constexpr std::chrono::microseconds kPollBeforeSleeping(50);

}  // namespace

AppThread::~AppThread() {
  Stop();
}

void AppThread::Start(std::function<void()> main) {
  // Held until thread_ is assigned; Run takes it first, so that IsCurrent
  // works on the new thread from its first step.
  std::lock_guard<std::mutex> lock(mutex_);
  thread_ = std::thread([this, main = std::move(main)] { Run(main); });
}

void AppThread::PostTask(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      return;
    }
    tasks_.push_back(std::move(task));
    arrivals_.fetch_add(1, std::memory_order_release);
  }
  wake_.notify_one();
}

void AppThread::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    arrivals_.fetch_add(1, std::memory_order_release);
  }
  wake_.notify_one();
  if (thread_.joinable()) {
    thread_.join();
  }
  // Destroyed outside the lock: a task's captures may be anything.
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    dropped.swap(tasks_);
  }
}

void AppThread::Run(const std::function<void()>& main) noexcept {
  { std::lock_guard<std::mutex> started(mutex_); }
  // An exception ends only the piece of application work that raised it.
  try {
    main();
  } catch (...) {
    ReportDroppedCall("the application's entry point");
  }
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      while (!stopping_ && tasks_.empty()) {
        WaitForWork(lock);
      }
      if (stopping_) {
        return;
      }
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    try {
      task();
    } catch (...) {
      ReportDroppedCall("a task of the application thread");
    }
  }
}

void AppThread::WaitForWork(std::unique_lock<std::mutex>& lock) {
  const uint64_t seen = arrivals_.load(std::memory_order_acquire);
  lock.unlock();
  const auto deadline = std::chrono::steady_clock::now() + kPollBeforeSleeping;
  bool arrived = false;
  while (!arrived && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
    arrived = arrivals_.load(std::memory_order_acquire) != seen;
  }
  lock.lock();
  // Arrivals are counted under the lock, so one after this test finds the
  // thread waiting.
  if (!arrived && arrivals_.load(std::memory_order_acquire) == seen) {
    wake_.wait(lock);
  }
}

}  // namespace norvalis_engine
