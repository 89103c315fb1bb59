#ifndef PLATFORM_WINRT_RUNTIME_SCOPED_HSTRING_H_
#define PLATFORM_WINRT_RUNTIME_SCOPED_HSTRING_H_

#include <hstring.h>
#include <windef.h>

#include <string>
#include <string_view>
#include <utility>

namespace winrt_layer {

// Owns one HSTRING (null is the empty string).
class ScopedHString {
 public:
  ScopedHString() = default;
  explicit ScopedHString(HSTRING string) : string_(string) {}
  ScopedHString(ScopedHString&& other) noexcept : string_(std::exchange(other.string_, nullptr)) {}
  ScopedHString& operator=(ScopedHString&& other) noexcept;
  ~ScopedHString();

  // A new string with a copy of `text`; the failure's HRESULT in *result.
  static ScopedHString Create(std::wstring_view text, HRESULT* result);

  HSTRING Get() const { return string_; }
  HSTRING* Receive();
  HSTRING Release() { return std::exchange(string_, nullptr); }
  std::wstring_view View() const { return View(string_); }

  // The units of any HSTRING the caller does not own.
  static std::wstring_view View(HSTRING string);

 private:
  HSTRING string_ = nullptr;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RUNTIME_SCOPED_HSTRING_H_
