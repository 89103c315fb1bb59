#ifndef PLATFORM_WINRT_IMAGING_SOFTWARE_BITMAP_H_
#define PLATFORM_WINRT_IMAGING_SOFTWARE_BITMAP_H_

#include <windows.graphics.imaging.h>

#include <memory>

#include "platform/winrt/imaging/bitmap_pixels.h"
#include "platform/winrt/runtime/runtime_class.h"

namespace winrt_layer {

// Windows.Graphics.Imaging.SoftwareBitmap over decoded pixels. Gray pixels
// without a colormap report Gray8 (Gray16 at 16 bits), every other kind
// Bgra8; the alpha mode is Straight when the file has alpha, else Ignore.
class SoftwareBitmap final : public RuntimeClass<ABI::Windows::Graphics::Imaging::ISoftwareBitmap,
                                                 IBitmapPixels,
                                                 IAgileObject> {
 public:
  SoftwareBitmap(std::shared_ptr<const LeptonicaImage> pixels, bool has_alpha);

  IFACEMETHODIMP get_BitmapPixelFormat(
      ABI::Windows::Graphics::Imaging::BitmapPixelFormat* value) override;
  IFACEMETHODIMP get_BitmapAlphaMode(
      ABI::Windows::Graphics::Imaging::BitmapAlphaMode* value) override;
  IFACEMETHODIMP get_PixelWidth(INT32* value) override;
  IFACEMETHODIMP get_PixelHeight(INT32* value) override;

  std::shared_ptr<const LeptonicaImage> STDMETHODCALLTYPE Pixels() override;

 private:
  const wchar_t* ClassName() const override;

  const std::shared_ptr<const LeptonicaImage> pixels_;
  const bool has_alpha_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_SOFTWARE_BITMAP_H_
