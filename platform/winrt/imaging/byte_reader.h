#ifndef PLATFORM_WINRT_IMAGING_BYTE_READER_H_
#define PLATFORM_WINRT_IMAGING_BYTE_READER_H_

#include <windef.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace winrt_layer {

// `a + b` and `a * b` into `*result`; false, with `*result` unspecified,
// when the exact value does not fit in 64 bits.
inline bool CheckedAdd(uint64_t a, uint64_t b, uint64_t* result) {
  return !__builtin_add_overflow(a, b, result);
}
inline bool CheckedMultiply(uint64_t a, uint64_t b, uint64_t* result) {
  return !__builtin_mul_overflow(a, b, result);
}

// Unsigned numbers read at offsets into bytes from a file: its headers,
// its EXIF block. An offset and length are checked against the content
// without an addition that could wrap, so a read that would leave the
// content fails instead of reaching outside it, whatever the offset.
class ByteReader {
 public:
  enum class Order { kLittleEndian, kBigEndian };

  ByteReader(const BYTE* data, size_t size, Order order = Order::kLittleEndian)
      : data_(data), size_(size), order_(order) {}
  explicit ByteReader(const std::vector<BYTE>& content, Order order = Order::kLittleEndian)
      : ByteReader(content.data(), content.size(), order) {}

  // Whether the `length` bytes from `offset` lie within the content.
  bool Has(uint64_t offset, uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }

  // The number of `length` bytes (1 to 8) at `offset`, in the reader's
  // byte order; false, with `*value` untouched, when those bytes do not lie
  // within the content.
  bool Read(uint64_t offset, size_t length, uint64_t* value) const;
  // The same for a number of at most 4 bytes.
  bool Read(uint64_t offset, size_t length, uint32_t* value) const;

  size_t size() const { return size_; }
  const BYTE* data() const { return data_; }

 private:
  const BYTE* data_;
  size_t size_;
  Order order_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_BYTE_READER_H_
