#ifndef PLATFORM_WINRT_RUNTIME_THREAD_POOL_H_
#define PLATFORM_WINRT_RUNTIME_THREAD_POOL_H_

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace winrt_layer {

// The threads that run asynchronous operations. A thread is added when a
// task arrives and none is idle, up to a maximum; idle threads wait for the
// next task until the pool is destroyed.
class ThreadPool {
 public:
  explicit ThreadPool(size_t max_threads);
  ThreadPool(const ThreadPool&) = delete;
  ThreadPool& operator=(const ThreadPool&) = delete;
  // Stops the pool, so no thread of it outlives it.
  ~ThreadPool();

  // The pool of the process, stopped at exit.
  static ThreadPool& Shared();

  // Runs `task` on a thread of the pool. A task must not throw. Tasks posted
  // while the pool is being destroyed are dropped.
  void Post(std::function<void()> task);

  // Lets the running tasks end, drops the queued ones and joins every
  // thread; later tasks are dropped. May be called again.
  void Stop();

  // Whether Stop has begun: long work may end early then.
  bool IsStopping() const { return stopping_.load(); }

 private:
  void Run() noexcept;

  const size_t max_threads_;
  std::mutex mutex_;
  std::condition_variable task_posted_;
  std::deque<std::function<void()>> tasks_;
  size_t idle_threads_ = 0;
  std::atomic<bool> stopping_{false};
  std::vector<std::thread> threads_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RUNTIME_THREAD_POOL_H_
