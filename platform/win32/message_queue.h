#ifndef PLATFORM_WIN32_MESSAGE_QUEUE_H_
#define PLATFORM_WIN32_MESSAGE_QUEUE_H_

#include <winuser.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace win32 {

class MessageQueue;

// A call that another thread asked this queue's thread to run: a message sent
// to one of its windows, or an operation on one (ShowWindow, SetWindowPos,
// activation) that must run on the window's own thread.
struct SentCall {
  std::function<LRESULT()> call;
  // The sender's queue, woken when the call is done; null when nobody waits.
  std::shared_ptr<MessageQueue> reply_to;
  bool done = false;
  LRESULT result = 0;
};

// One thread's message queue and input state. Everything but the thread id is
// used under the desktop lock.
class MessageQueue {
 public:
  // Windows refuses posts beyond this many waiting messages.
  static constexpr size_t kPostedLimit = 10000;
  // How long a thread may go without asking for its messages, while not
  // waiting for any, before its windows count as hung.
  static constexpr std::chrono::seconds kHungAfter{5};

  explicit MessageQueue(DWORD thread_id)
      : thread_id_(thread_id), last_retrieval_(std::chrono::steady_clock::now()) {}
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  DWORD thread_id() const { return thread_id_; }

  // Called, under the desktop lock, whenever something arrives for this
  // thread: a posted message, a sent call, the quit request, or the
  // completion of a call it sent.
  void Wake();

  // Blocks the queue's thread until the next Wake. `lock` holds the desktop
  // lock; it is released while waiting and held again on return. The thread
  // first polls for a short while without the lock: putting a thread to
  // sleep and waking it costs tens of microseconds on the machines we run
  // on, which would dominate every cross-thread message.
  // Returns false when `deadline` passed first. Either way the thread
  // counts as waiting for its messages meanwhile, so it is not hung.
  bool WaitForWake(std::unique_lock<std::mutex>& lock,
                   std::chrono::steady_clock::time_point deadline =
                       std::chrono::steady_clock::time_point::max());

  // GetMessageW and PeekMessageW call this each time they look at the queue.
  void NoteRetrieval() { last_retrieval_ = std::chrono::steady_clock::now(); }
  // Neither waiting for its messages nor asking for them for kHungAfter, as
  // IsHungAppWindow and SMTO_ABORTIFHUNG judge a thread.
  bool IsHung() const {
    return !waiting_ && std::chrono::steady_clock::now() - last_retrieval_ > kHungAfter;
  }

  // False when the queue already holds kPostedLimit messages.
  bool Post(const MSG& message);
  // The first posted message `matches` accepts, removed when `remove`.
  std::optional<MSG> FindPosted(const std::function<bool(const MSG&)>& matches, bool remove);
  void RemovePostedFor(HWND window);

  void PushSent(std::shared_ptr<SentCall> call) { sent_.push_back(std::move(call)); }
  std::shared_ptr<SentCall> PopSent();
  // Takes `call` back out of the queue; false when the thread has already
  // started on it.
  bool WithdrawSent(const std::shared_ptr<SentCall>& call);

  // Completes every waiting sent call with 0 and drops the posted messages
  // and the quit request.
  void Abandon();

  // PostQuitMessage: a quit request delivered once no posted message is left.
  void RequestQuit(int exit_code) {
    quit_requested_ = true;
    quit_code_ = exit_code;
  }
  bool quit_requested() const { return quit_requested_; }
  int quit_code() const { return quit_code_; }
  void ClearQuit() { quit_requested_ = false; }

  HWND focus = nullptr;
  HWND active = nullptr;
  // Above zero while this thread sends WM_ACTIVATE; SetFocus then does not
  // start another activation.
  int activation_depth = 0;

 private:
  const DWORD thread_id_;
  std::condition_variable wake_;
  // Counts Wake calls, so that a thread polling without the lock sees one.
  std::atomic<uint64_t> wake_count_{0};
  bool waiting_ = false;
  std::chrono::steady_clock::time_point last_retrieval_;
  std::deque<MSG> posted_;
  std::deque<std::shared_ptr<SentCall>> sent_;
  bool quit_requested_ = false;
  int quit_code_ = 0;
};

// Marks `call` done with `result` and wakes its sender.
void CompleteSentCall(SentCall& call, LRESULT result);

}  // namespace win32

#endif  // PLATFORM_WIN32_MESSAGE_QUEUE_H_
