#include "platform/win32/message_queue.h"

#include <algorithm>

namespace win32 {

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
    call.reply_to->wake().notify_all();
    call.reply_to = nullptr;
  }
}

}  // namespace win32
