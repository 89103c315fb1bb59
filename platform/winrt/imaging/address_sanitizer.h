#ifndef PLATFORM_WINRT_IMAGING_ADDRESS_SANITIZER_H_
#define PLATFORM_WINRT_IMAGING_ADDRESS_SANITIZER_H_

namespace winrt_layer {

// Whether this build runs under AddressSanitizer (GCC says so with a macro,
// Clang with a feature).
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_ADDRESS_SANITIZER_H_
