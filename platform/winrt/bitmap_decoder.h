#ifndef PLATFORM_WINRT_BITMAP_DECODER_H_
#define PLATFORM_WINRT_BITMAP_DECODER_H_

#include <windows.graphics.imaging.h>

#include <memory>
#include <vector>

#include "platform/winrt/image_header.h"
#include "platform/winrt/runtime_class.h"

namespace winrt_layer {

// Windows.Graphics.Imaging.BitmapDecoder over an encoded image whose header
// has been read; the pixels are decoded on request, first frame only.
class BitmapDecoder final
    : public RuntimeClass<ABI::Windows::Graphics::Imaging::IBitmapDecoder,
                          ABI::Windows::Graphics::Imaging::IBitmapFrameWithSoftwareBitmap,
                          IAgileObject> {
 public:
  BitmapDecoder(std::shared_ptr<const std::vector<BYTE>> content, const ImageHeader& header);

  // Container properties and decoder information: E_NOTIMPL.
  IFACEMETHODIMP get_BitmapContainerProperties(IInspectable** value) override;
  IFACEMETHODIMP get_DecoderInformation(IInspectable** value) override;
  // The pages of a TIFF, the frames of a GIF, 1 for the other formats.
  IFACEMETHODIMP get_FrameCount(UINT32* value) override;

  // Decodes the first frame (page 0 of a TIFF) on the thread pool. Pixels
  // that cannot be decoded (a truncated or corrupt file) end the operation
  // with WINCODEC_ERR_BADIMAGE.
  IFACEMETHODIMP GetSoftwareBitmapAsync(
      ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Graphics::Imaging::SoftwareBitmap*>**
          operation) override;

 private:
  const wchar_t* ClassName() const override;

  const std::shared_ptr<const std::vector<BYTE>> content_;
  const ImageHeader header_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_BITMAP_DECODER_H_
