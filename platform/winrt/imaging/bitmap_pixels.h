#ifndef PLATFORM_WINRT_IMAGING_BITMAP_PIXELS_H_
#define PLATFORM_WINRT_IMAGING_BITMAP_PIXELS_H_

#include <unknwn.h>

#include <memory>

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// Implemented by the layer's software bitmaps: their pixels, for the OCR
// engine.
struct IBitmapPixels : public IUnknown {
  virtual std::shared_ptr<const LeptonicaImage> STDMETHODCALLTYPE Pixels() = 0;

 protected:
  ~IBitmapPixels() = default;
};

}  // namespace winrt_layer

// clang-format off
__CRT_UUID_DECL(winrt_layer::IBitmapPixels, 0x3d9c5e20, 0x81b4, 0x4f0e, 0xb6, 0x2a, 0x57, 0x0c, 0xe1, 0x94, 0x6d, 0x28)
// clang-format on

#endif  // PLATFORM_WINRT_IMAGING_BITMAP_PIXELS_H_
