#ifndef PLATFORM_ENGINE_APP_THREAD_H_
#define PLATFORM_ENGINE_APP_THREAD_H_

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace norvalis_engine {

// The application's thread: it runs the application's entry point, then the
// tasks posted to it, one at a time in the order they were posted, until it
// is stopped.
class AppThread {
 public:
  AppThread() = default;
  AppThread(const AppThread&) = delete;
  AppThread& operator=(const AppThread&) = delete;
  ~AppThread();

  // Once.
  void Start(std::function<void()> main);

  // Any thread. A task posted once the thread is stopping is dropped.
  void PostTask(std::function<void()> task);

  // Lets the thread finish what it runs now and joins it; tasks still queued
  // are dropped. Not from the thread itself.
  void Stop();

  bool IsCurrent() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  void Run(const std::function<void()>& main) noexcept;
  // Waits, with the lock held on entry and return, until a task or the stop
  // request arrives; polls briefly before sleeping, because a sleeping
  // thread takes tens of microseconds to wake on the machines we run on.
  void WaitForWork(std::unique_lock<std::mutex>& lock);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
  bool stopping_ = false;
  // Counts posts and the stop request, for polling without the lock.
  std::atomic<uint64_t> arrivals_{0};
  std::thread thread_;
};

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_APP_THREAD_H_
