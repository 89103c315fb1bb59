#ifndef PLATFORM_WINRT_IMAGING_BMP_HEADER_H_
#define PLATFORM_WINRT_IMAGING_BMP_HEADER_H_

#include <windef.h>

#include <cstdint>
#include <vector>

namespace winrt_layer {

// The size of the bitmap in `content`, a BMP, from its file and bitmap
// headers (a core header or an info header of any version); a bitmap stored
// top-down has its height as a positive number. False when the headers are
// cut short, of no known size, or an info header declares no pixels.
// Leptonica would decode the whole bitmap to read them.
bool ReadBmpSize(const std::vector<BYTE>& content, uint32_t* width, uint32_t* height);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_BMP_HEADER_H_
