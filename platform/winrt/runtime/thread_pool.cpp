#include "platform/winrt/runtime/thread_pool.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace winrt_layer {
namespace {

// Enough that a completion handler which waits for another operation does
// not starve the pool; recognitions themselves use every core.
constexpr size_t kMaxSharedThreads = 8;

}  // namespace

ThreadPool::ThreadPool(size_t max_threads) : max_threads_(std::max<size_t>(max_threads, 1)) {}

ThreadPool::~ThreadPool() {
  Stop();
}

void ThreadPool::Stop() {
  std::deque<std::function<void()>> dropped;
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    dropped.swap(tasks_);
    threads.swap(threads_);
  }
  task_posted_.notify_all();
  for (std::thread& thread : threads) {
    thread.join();
  }
}

ThreadPool& ThreadPool::Shared() {
  // Never destroyed, so that work still ending while the process exits
  // finds it; its threads are joined at exit.
  static ThreadPool* pool = [] {
    auto* shared = new ThreadPool(kMaxSharedThreads);
    std::atexit([] { Shared().Stop(); });
    return shared;
  }();
  return *pool;
}

void ThreadPool::Post(std::function<void()> task) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stopping_) {
    return;
  }
  // The new thread waits for the lock, so it sees the task.
  if (idle_threads_ <= tasks_.size() && threads_.size() < max_threads_) {
    threads_.emplace_back([this] { Run(); });
  }
  tasks_.push_back(std::move(task));
  task_posted_.notify_one();
}

void ThreadPool::Run() noexcept {
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    ++idle_threads_;
    task_posted_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
    --idle_threads_;
    if (stopping_) {
      return;
    }
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task();
    task = nullptr;
    lock.lock();
  }
}

}  // namespace winrt_layer
