#include "platform/win32/message_queue.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace win32 {

namespace {

// Long enough to cover a reply from another thread that is already at work,
// short enough that an idle thread soon sleeps.
constexpr std::chrono::microseconds kPollBeforeSleeping(50);

}  // namespace

void MessageQueue::Wake() {
  wake_count_.fetch_add(1, std::memory_order_release);
  wake_.notify_all();
}

bool MessageQueue::WaitForWake(std::unique_lock<std::mutex>& lock,
                               std::chrono::steady_clock::time_point deadline) {
  const uint64_t seen = wake_count_.load(std::memory_order_acquire);
  waiting_ = true;
  lock.unlock();
  const auto poll_end = std::min(deadline, std::chrono::steady_clock::now() + kPollBeforeSleeping);
  bool woken = false;
  while (!woken && std::chrono::steady_clock::now() < poll_end) {
    std::this_thread::yield();
    woken = wake_count_.load(std::memory_order_acquire) != seen;
  }
  lock.lock();
  // Wake runs under the lock, so a wake after this test finds the thread
  // waiting and is not lost.
  const auto woken_since = [this, seen] {
    return wake_count_.load(std::memory_order_acquire) != seen;
  };
  if (!woken) {
    if (deadline == std::chrono::steady_clock::time_point::max()) {
      wake_.wait(lock, woken_since);
      woken = true;
    } else {
      woken = wake_.wait_until(lock, deadline, woken_since);
    }
  }
  waiting_ = false;
  return woken;
}

bool MessageQueue::Post(const MSG& message) {
  if (posted_.size() >= kPostedLimit) {
    return false;
  }
  posted_.push_back(message);
  return true;
}

std::optional<MSG> MessageQueue::FindPosted(const std::function<bool(const MSG&)>& matches,
                                            bool remove) {
  const auto found = std::find_if(posted_.begin(), posted_.end(), matches);
  if (found == posted_.end()) {
    return std::nullopt;
  }
  const MSG message = *found;
  if (remove) {
    posted_.erase(found);
  }
  return message;
}

void MessageQueue::RemovePostedFor(HWND window) {
  std::erase_if(posted_, [window](const MSG& message) { return message.hwnd == window; });
}

std::shared_ptr<SentCall> MessageQueue::PopSent() {
  if (sent_.empty()) {
    return nullptr;
  }
  std::shared_ptr<SentCall> call = std::move(sent_.front());
  sent_.pop_front();
  return call;
}

bool MessageQueue::WithdrawSent(const std::shared_ptr<SentCall>& call) {
  return std::erase(sent_, call) != 0;
}

void MessageQueue::Abandon() {
  for (const auto& call : sent_) {
    CompleteSentCall(*call, 0);
  }
  sent_.clear();
  posted_.clear();
  quit_requested_ = false;
  focus = nullptr;
  active = nullptr;
}

void CompleteSentCall(SentCall& call, LRESULT result) {
  call.result = result;
  call.done = true;
  call.call = nullptr;
  if (call.reply_to != nullptr) {
    call.reply_to->Wake();
    call.reply_to = nullptr;
  }
}

}  // namespace win32
