#ifndef PLATFORM_WINRT_IMAGING_TIFF_HEADER_H_
#define PLATFORM_WINRT_IMAGING_TIFF_HEADER_H_

#include <windef.h>

#include <cstdint>
#include <vector>

namespace winrt_layer {

// The pages of `content`, a TIFF (classic or BigTIFF): the chain of its
// image file directories, walked without decoding. A link that leaves the
// content ends the count; a chain that loops is cut at 65536 pages. 0 when
// the file has no readable directory.
uint32_t CountTiffPages(const std::vector<BYTE>& content);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_TIFF_HEADER_H_
