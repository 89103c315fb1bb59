#ifndef OCR_UNIQUE_HSTRING_H_
#define OCR_UNIQUE_HSTRING_H_

#include <hstring.h>
#include <winstring.h>

#include <string_view>
#include <utility>

// Owns one HSTRING and deletes it when it goes.
class UniqueHString {
 public:
  UniqueHString() = default;
  UniqueHString(const UniqueHString&) = delete;
  UniqueHString& operator=(const UniqueHString&) = delete;
  UniqueHString(UniqueHString&& other) noexcept : string_(std::exchange(other.string_, nullptr)) {}
  UniqueHString& operator=(UniqueHString&& other) noexcept {
    std::swap(string_, other.string_);
    return *this;
  }
  ~UniqueHString() { WindowsDeleteString(string_); }

  HSTRING Get() const { return string_; }
  // Deletes the string held and returns the slot for an out parameter.
  HSTRING* Put() {
    WindowsDeleteString(std::exchange(string_, nullptr));
    return &string_;
  }
  // The string's UTF-16 units; empty for the null string.
  std::wstring_view View() const {
    UINT32 length = 0;
    const wchar_t* units = WindowsGetStringRawBuffer(string_, &length);
    return std::wstring_view(units, length);
  }

 private:
  HSTRING string_ = nullptr;
};

#endif  // OCR_UNIQUE_HSTRING_H_
