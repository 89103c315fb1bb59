// The layer's UTF conversion: Windows' rules, and no text cut short where
// the conversion functions' int lengths end.

#include "platform/winrt/runtime/utf_conversion.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstddef>
#include <limits>
#include <stdexcept>

namespace winrt_layer {
namespace {

// Address space for `size` bytes that reads as zeros and is never backed by
// memory unless touched.
class ZeroPages {
 public:
  explicit ZeroPages(size_t size)
      : size_(size),
        data_(mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0)) {}
  ZeroPages(const ZeroPages&) = delete;
  ZeroPages& operator=(const ZeroPages&) = delete;
  ~ZeroPages() {
    if (data_ != MAP_FAILED) {
      munmap(data_, size_);
    }
  }

  bool ok() const { return data_ != MAP_FAILED; }
  template <typename Char>
  const Char* As() const {
    return static_cast<const Char*>(data_);
  }

 private:
  size_t size_;
  void* data_;
};

TEST(WinrtUtfConversionTest, ConvertsByWindowsRules) {
  EXPECT_EQ(Utf8ToWide("caf\xC3\xA9 \xF0\x9F\x93\xB7"), L"caf\u00E9 \xD83D\xDCF7");
  EXPECT_EQ(WideToUtf8(L"caf\u00E9 \xD83D\xDCF7"), "caf\xC3\xA9 \xF0\x9F\x93\xB7");
  // Ill-formed input becomes U+FFFD, not an error.
  EXPECT_EQ(Utf8ToWide("a\xFF"), L"a\uFFFD");
  EXPECT_EQ(WideToUtf8(std::wstring(1, wchar_t{0xD800})), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToWide(""), L"");
  EXPECT_EQ(WideToUtf8(L""), "");
}

TEST(WinrtUtfConversionTest, TextsLongerThanAnIntCountsAreRefused) {
  constexpr size_t kTooLong = static_cast<size_t>(std::numeric_limits<int>::max()) + 1;
  const ZeroPages bytes(kTooLong);
  const ZeroPages units(kTooLong * sizeof(wchar_t));
  ASSERT_TRUE(bytes.ok() && units.ok());
  EXPECT_THROW(Utf8ToWide(std::string_view(bytes.As<char>(), kTooLong)), std::length_error);
  EXPECT_THROW(WideToUtf8(std::wstring_view(units.As<wchar_t>(), kTooLong)), std::length_error);
}

}  // namespace
}  // namespace winrt_layer
