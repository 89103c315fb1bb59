#ifndef PLATFORM_WINRT_IMAGING_BITMAP_DECODER_STATICS_H_
#define PLATFORM_WINRT_IMAGING_BITMAP_DECODER_STATICS_H_

#include <windows.graphics.imaging.h>

#include "platform/winrt/runtime/runtime_class.h"

namespace winrt_layer {

// The activation factory of Windows.Graphics.Imaging.BitmapDecoder. The
// decoder identifiers and the enumerator of decoders are E_NOTIMPL.
class BitmapDecoderStatics final
    : public RuntimeClass<ABI::Windows::Graphics::Imaging::IBitmapDecoderStatics, IAgileObject> {
 public:
  BitmapDecoderStatics() = default;

  IFACEMETHODIMP get_BmpDecoderId(GUID* value) override;
  IFACEMETHODIMP get_JpegDecoderId(GUID* value) override;
  IFACEMETHODIMP get_PngDecoderId(GUID* value) override;
  IFACEMETHODIMP get_TiffDecoderId(GUID* value) override;
  IFACEMETHODIMP get_GifDecoderId(GUID* value) override;
  IFACEMETHODIMP get_JpegXRDecoderId(GUID* value) override;
  IFACEMETHODIMP get_IcoDecoderId(GUID* value) override;
  IFACEMETHODIMP GetDecoderInformationEnumerator(IInspectable** value) override;

  // A null stream, or one this runtime did not open, fails at once with
  // E_INVALIDARG. The stream is read and its header checked on the thread
  // pool; the operation ends in failure for content that is not PNG, JPEG,
  // TIFF, BMP, GIF or WebP (WINCODEC_ERR_COMPONENTNOTFOUND, an empty file
  // too), a header that cannot be read (WINCODEC_ERR_BADHEADER), and an
  // image or a file over the limits of image_limits.h
  // (WINCODEC_ERR_IMAGESIZEOUTOFRANGE, with a description).
  IFACEMETHODIMP CreateAsync(
      ABI::Windows::Storage::Streams::IRandomAccessStream* stream,
      ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Graphics::Imaging::BitmapDecoder*>**
          operation) override;

 private:
  const wchar_t* ClassName() const override;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_BITMAP_DECODER_STATICS_H_
