#include "platform/win32/message_delivery.h"

#include <errhandlingapi.h>
#include <processthreadsapi.h>
#include <winerror.h>

#include <chrono>
#include <memory>

#include "platform/win32/desktop.h"

namespace win32 {

namespace {

LRESULT Deliver(HWND handle, UINT message, WPARAM wparam, LPARAM lparam, bool report_missing) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window =
      report_missing ? desktop.FindWindowOrFail(handle) : desktop.FindWindow(handle);
  if (window == nullptr) {
    return 0;
  }
  if (window->thread_id != GetCurrentThreadId()) {
    return CallOnThread(lock, window->thread_id,
                        [=] { return Deliver(handle, message, wparam, lparam, report_missing); });
  }
  const WNDPROC procedure = window->procedure;
  lock.unlock();
  return procedure(handle, message, wparam, lparam);
}

}  // namespace

LRESULT DeliverMessage(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  return Deliver(handle, message, wparam, lparam, true);
}

BOOL DeliverMessageWithin(HWND handle,
                          UINT message,
                          WPARAM wparam,
                          LPARAM lparam,
                          UINT flags,
                          UINT timeout_ms,
                          DWORD_PTR* result) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return FALSE;
  }
  LRESULT answer = 0;
  if (window->thread_id == GetCurrentThreadId()) {
    const WNDPROC procedure = window->procedure;
    lock.unlock();
    answer = procedure(handle, message, wparam, lparam);
  } else {
    const std::shared_ptr<MessageQueue> target = desktop.QueueOf(window->thread_id);
    if ((flags & SMTO_ABORTIFHUNG) != 0 && target->IsHung()) {
      SetLastError(ERROR_TIMEOUT);
      return FALSE;
    }
    const std::shared_ptr<MessageQueue>& own = desktop.CurrentQueue();
    auto sent = std::make_shared<SentCall>();
    sent->call = [=] { return Deliver(handle, message, wparam, lparam, true); };
    sent->reply_to = own;
    target->PushSent(sent);
    target->Wake();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!sent->done) {
      if ((flags & SMTO_BLOCK) == 0 && RunOneSentCall(lock, *own)) {
        continue;
      }
      if (!own->WaitForWake(lock, deadline) && !sent->done) {
        // Withdrawn unless its thread has started on it: then its answer
        // goes nowhere.
        target->WithdrawSent(sent);
        SetLastError(ERROR_TIMEOUT);
        return FALSE;
      }
    }
    answer = sent->result;
  }
  if (result != nullptr) {
    *result = static_cast<DWORD_PTR>(answer);
  }
  return TRUE;
}

LRESULT NotifyWindow(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  return Deliver(handle, message, wparam, lparam, false);
}

LRESULT RunOnWindowThread(HWND handle, std::function<LRESULT()> call) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return 0;
  }
  if (window->thread_id != GetCurrentThreadId()) {
    return CallOnThread(lock, window->thread_id, std::move(call));
  }
  lock.unlock();
  return call();
}

LRESULT CallOnThread(std::unique_lock<std::mutex>& lock,
                     DWORD thread_id,
                     std::function<LRESULT()> call) {
  Desktop& desktop = Desktop::Get();
  const std::shared_ptr<MessageQueue> target = desktop.QueueOf(thread_id);
  if (target == nullptr) {
    return 0;
  }
  const std::shared_ptr<MessageQueue>& own = desktop.CurrentQueue();
  auto sent = std::make_shared<SentCall>();
  sent->call = std::move(call);
  sent->reply_to = own;
  target->PushSent(sent);
  target->Wake();
  while (!sent->done) {
    if (!RunOneSentCall(lock, *own)) {
      own->WaitForWake(lock);
    }
  }
  return sent->result;
}

void CallOnThreadAsync(DWORD thread_id, std::function<LRESULT()> call) {
  const std::shared_ptr<MessageQueue> target = Desktop::Get().QueueOf(thread_id);
  if (target == nullptr) {
    return;
  }
  auto sent = std::make_shared<SentCall>();
  sent->call = std::move(call);
  target->PushSent(std::move(sent));
  target->Wake();
}

bool RunOneSentCall(std::unique_lock<std::mutex>& lock, MessageQueue& queue) {
  const std::shared_ptr<SentCall> sent = queue.PopSent();
  if (sent == nullptr) {
    return false;
  }
  std::function<LRESULT()> call = std::move(sent->call);
  LRESULT result = 0;
  lock.unlock();
  try {
    result = call();
  } catch (...) {
    // The sender must not wait for ever on a procedure that threw.
    lock.lock();
    CompleteSentCall(*sent, 0);
    throw;
  }
  lock.lock();
  CompleteSentCall(*sent, result);
  return true;
}

}  // namespace win32
