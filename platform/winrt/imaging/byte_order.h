#ifndef PLATFORM_WINRT_IMAGING_BYTE_ORDER_H_
#define PLATFORM_WINRT_IMAGING_BYTE_ORDER_H_

#include <windef.h>

#include <cstdint>

namespace winrt_layer {

// Unsigned numbers stored least significant byte first, as GIF and BMP
// headers store them. The caller has checked that the bytes are there.
inline uint32_t ReadLittleEndian16(const BYTE* bytes) {
  return bytes[0] | (uint32_t{bytes[1]} << 8);
}

inline uint32_t ReadLittleEndian32(const BYTE* bytes) {
  return ReadLittleEndian16(bytes) | (ReadLittleEndian16(bytes + 2) << 16);
}

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_BYTE_ORDER_H_
