#include "ocr/platform_error.h"

#include <oleauto.h>
#include <roerrorapi.h>

#include <string_view>
#include <utility>

#include "ocr/message_failure.h"

namespace {

constexpr DWORD kSystemMessageFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
constexpr DWORD kNeutralLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);

constexpr std::wstring_view kWhiteSpace = L" \t\n\v\f\r";

class UniqueBstr {
 public:
  UniqueBstr() = default;
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { SysFreeString(string_); }

  BSTR* Put() { return &string_; }
  std::wstring_view View() const {
    return string_ == nullptr ? std::wstring_view()
                              : std::wstring_view(string_, SysStringLen(string_));
  }

 private:
  BSTR string_ = nullptr;
};

// A buffer that FormatMessageW allocated.
class LocalBuffer {
 public:
  LocalBuffer() = default;
  LocalBuffer(const LocalBuffer&) = delete;
  LocalBuffer& operator=(const LocalBuffer&) = delete;
  ~LocalBuffer() {
    if (text_ != nullptr) {
      LocalFree(text_);
    }
  }

  wchar_t** Put() { return &text_; }
  const wchar_t* Get() const { return text_; }

 private:
  wchar_t* text_ = nullptr;
};

// The description of `details` if they were recorded for `code`.
std::wstring RecordedDescription(IRestrictedErrorInfo* details, HRESULT code) {
  if (details == nullptr) {
    return {};
  }
  UniqueBstr description;
  UniqueBstr restricted_description;
  UniqueBstr capability_sid;
  HRESULT recorded_code = S_OK;
  if (FAILED(details->GetErrorDetails(description.Put(), &recorded_code,
                                      restricted_description.Put(), capability_sid.Put())) ||
      recorded_code != code) {
    return {};
  }
  return std::wstring(restricted_description.View().empty() ? description.View()
                                                            : restricted_description.View());
}

std::wstring SystemMessage(HRESULT code) {
  LocalBuffer buffer;
  const DWORD length =
      FormatMessageW(kSystemMessageFlags, nullptr, static_cast<DWORD>(code), kNeutralLanguage,
                     reinterpret_cast<LPWSTR>(buffer.Put()), 0, nullptr);
  if (length == 0 || buffer.Get() == nullptr) {
    return {};
  }
  return std::wstring(buffer.Get(), length);
}

}  // namespace

PlatformError::PlatformError(HRESULT code) : code_(code) {
  GetRestrictedErrorInfo(details_.Put());
}

std::wstring PlatformError::Message() const {
  std::wstring text = RecordedDescription(details_.Get(), code_);
  if (text.empty()) {
    text = SystemMessage(code_);
  }
  text.erase(text.find_last_not_of(kWhiteSpace) + 1);
  return text;
}

void ThrowPlatformError(HRESULT code) {
  if (code == E_OUTOFMEMORY) {
    throw MessageFailure(kBadAllocationMessage);
  }
  throw PlatformError(code);
}
